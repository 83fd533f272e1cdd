// A string on a heap array that it owns, grown and shrunk in 32-byte chunks: the array holds
// ChunkSize(length + 1) bytes, or more after ReserveLength.
#pragma once

#include "FWString.h"

class FWDynamicString : public FWString {
public:
    FWDynamicString();
    FWDynamicString(const char* p);        // null counts as empty
    FWDynamicString(const FWString& other);
    FWDynamicString(const FWDynamicString& other);
    ~FWDynamicString() override;

    FWDynamicString& operator=(const FWDynamicString& other);
    FWDynamicString& operator=(const FWString& other);
    FWDynamicString& operator=(const char* p);

    void SetCurrLength(uint32_t n) override;
    void ReserveLength(uint32_t n) override;

    // n rounded up to a multiple of 32; 32 for 0.
    static uint32_t ChunkSize(uint32_t n);
    // Bytes of the array held now.
    uint32_t ArraySize() const { return mArraySize; }

private:
    void allocate(uint32_t length);
    void replaceArray(uint32_t size, uint32_t keep);

    uint32_t mArraySize = 0;
};
