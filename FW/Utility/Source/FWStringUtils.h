// Text by the system script: the script-aware order (the host's CompareText with its default
// sort table) used by FWString's comparison operators and wherever names are matched, and the
// character classes of text input.
#pragma once

#include <cstdint>

class FWStringUtils {
public:
    // a sorts before b.
    static bool Less(const char* a, uint32_t lenA, const char* b, uint32_t lenB);
    // a and b are the same text by that order.
    static bool Equal(const char* a, uint32_t lenA, const char* b, uint32_t lenB);

    // Whether c may be typed into text. In the Roman region only codes 32..127 are; in any
    // other region every byte is.
    static bool IsPrintable(char c);

    // What the byte at offset is: 0 at or past the end, 1 a single-byte character, 2 the
    // first byte of a double-byte character, 3 its last byte, 4 a middle byte.
    enum ByteType { kPastEnd = 0, kSingleByte = 1, kFirstByte = 2, kLastByte = 3, kMiddleByte = 4 };
    static int StringByteType(const char* text, int32_t length, int32_t offset);
};
