// Text comparison by the system's script-aware order (the host's CompareText with its default
// sort table), used by FWString's comparison operators and wherever names are matched.
#pragma once

#include <cstdint>

class FWStringUtils {
public:
    // a sorts before b.
    static bool Less(const char* a, int16_t lenA, const char* b, int16_t lenB);
    // a and b are the same text by that order.
    static bool Equal(const char* a, int16_t lenA, const char* b, int16_t lenB);
};
