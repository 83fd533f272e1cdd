// A length-prefixed string of up to 255 bytes, the form in which the platform passes file and
// resource names: one length byte, then the characters.
#pragma once

#include <cstdint>

namespace Corvel {

class Env_MacPString {
public:
    static constexpr uint32_t kCapacity = 255;
    // Mac Roman's ellipsis: marks a text that was cut to fit.
    static constexpr unsigned char kEllipsis = 0xC9;

    Env_MacPString() { mBytes[0] = 0; }

    // Copies a length-prefixed string (its length byte and that many characters).
    Env_MacPString& operator=(const unsigned char* lengthPrefixed);
    // Copies count characters; a text longer than the capacity keeps its first 254 characters
    // and ends in the ellipsis.
    void CopyChars(const char* chars, uint32_t count);

    uint32_t Size() const { return mBytes[0]; }
    // The i-th character, counted from 0 after the length byte.
    unsigned char operator[](uint32_t i) const { return mBytes[1 + (i < kCapacity ? i : kCapacity - 1)]; }
    // The characters, Size() of them.
    const char* Chars() const { return reinterpret_cast<const char*>(mBytes + 1); }
    // The whole length-prefixed form, as platform calls take it.
    const unsigned char* Bytes() const { return mBytes; }

private:
    unsigned char mBytes[kCapacity + 1];
};

} // namespace Corvel
