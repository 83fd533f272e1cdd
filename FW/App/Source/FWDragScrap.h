// One flavour of dragged data: a four-character type and its bytes. Subclasses own the bytes.
#pragma once

#include <cstdint>

class FWDragScrap {
public:
    virtual ~FWDragScrap() = default;
    // A four-character code.
    virtual uint32_t Type() const = 0;
    // The bytes and their number; null and 0 when there are none.
    virtual void RetrieveData(const void*& data, int& size) const = 0;
};
