// The one string interface of the framework. FWString holds the data pointer and the length;
// its subclasses supply the storage: FWStr<N> an inline buffer, FWDynamicString a heap array.
// The data is always followed by a 0 byte, so GetCString is valid at all times.
#pragma once

#include <cstdint>

class RELexer;

class FWString {
public:
    // The value type of an edit field.
    enum Type : int32_t {
        kUnsignedInteger = 0,
        kSignedInteger = 1,
        kUnsignedReal = 2,
        kSignedReal = 3,
        kOnOff = 4,
        kExpressionList = 5,
    };

    virtual ~FWString() = default;

    // Storage: sets the length and writes the terminating 0 (a subclass may cut n to its
    // capacity); ReserveLength makes room ahead of growth without changing the text.
    virtual void SetCurrLength(uint32_t n);
    virtual void ReserveLength(uint32_t n);

    // Access
    const char* GetCString() const { return mData; }
    char* GetCurrData() { return mData; }
    const char* GetCurrData() const { return mData; }
    char* GetCurrChar() { return mData; }
    const char* GetCurrChar() const { return mData; }
    uint32_t GetCurrLength() const { return mLength; }
    char& operator[](uint32_t i) { return mData[i]; }
    const char& operator[](uint32_t i) const { return mData[i]; }

    // Setting and appending. A source may lie inside this string's own data.
    void Set(uint32_t n, const char* p);   // n bytes, cut to the capacity
    void Set(const char* p);               // null leaves the string unchanged
    FWString& operator=(const FWString& other);
    FWString& operator=(const char* p);    // p must not be null
    void Copy(FWString* dest) const;
    void Append(uint32_t n, const char* p);
    void Append(const char* p);            // null is ignored
    FWString& operator+=(char c);
    FWString& operator+=(const FWString& other);
    FWString& operator+=(const char* p);   // p must not be null

    // Pieces. GetSubString takes an inclusive end; Erase and ReplaceInsert a half-open range.
    void GetSubString(uint32_t start, uint32_t end, FWString& out) const;
    void Erase(uint32_t start, uint32_t end);
    void ReplaceInsert(const FWString* src, uint32_t start, uint32_t end);

    // Numbers, in the "C" numeric locale. GetReal accepts ',' as the decimal separator.
    int32_t GetLong() const;
    float GetReal() const;
    void Set(int32_t value);
    void Set(double value, int16_t width, int16_t precision, bool keepZeros);
    void Set(double value) = delete;       // the formatting arguments are required
    static int32_t GetFloatingPtPrecision() { return gFloatingPrecision; }
    static void SetFloatingPtPrecision(int32_t precision) { gFloatingPrecision = precision; }

    // Comparison by the system's script-aware text order, not by bytes.
    bool operator<(const FWString& other) const;
    bool operator==(const FWString& other) const;
    bool operator==(const char* p) const;
    bool operator!=(const FWString& other) const { return !(*this == other); }
    bool operator!=(const char* p) const { return !(*this == p); }

    // The standard lexers that validate typed input: built once, on first use.
    static void InitStandardLexers();
    static RELexer* GetLexerForType(Type type, bool allowExpression);

    // The precision that real-number displays use, process-wide; initially 6.
    static int32_t gFloatingPrecision;

protected:
    FWString() = default;
    FWString(const FWString&) = delete;

    char* mData = nullptr;
    uint32_t mLength = 0;
};

#include "FWDynamicString.h"
#include "FWStr.h"
