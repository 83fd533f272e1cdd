// A fixed-size length-prefixed string: a length byte, up to 254 characters and a zero byte kept
// after the last character, so the text reads both as a counted and as a C string. Every
// operation cuts what does not fit instead of growing.
#pragma once

#include <cstddef>
#include <cstdint>

class PascalString {
public:
    static constexpr int kCapacity = 254;

    PascalString();
    // The text formatted printf-style, then appended to an empty string (so cut at 254).
    explicit PascalString(const char* format, ...) __attribute__((format(printf, 2, 3)));

    PascalString& operator=(const char* text);
    // Appends at most 254 - length characters.
    PascalString& operator+=(const char* text);
    PascalString& operator+=(const PascalString& other);
    PascalString operator+(const PascalString& other) const;

    // The 1-based position of the last occurrence of c; 0 when absent.
    int CharLast(char c) const;
    // The text from the 1-based position from to the end, cut to len characters when len is at
    // least 0 and below the text's length.
    PascalString SubStr(short from, short len) const;

    int Length() const { return mBytes[0]; }
    bool IsEmpty() const { return mBytes[0] == 0; }
    const char* CStr() const { return reinterpret_cast<const char*>(mBytes + 1); }
    // The length byte followed by the characters.
    const unsigned char* Bytes() const { return mBytes; }

private:
    // Length byte, up to 254 characters, the zero after them, and one spare byte.
    unsigned char mBytes[256];
};
