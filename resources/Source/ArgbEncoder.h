// Packs a 32-bit image as an 'argb' resource: width and height (signed 32-bit), then the pixels
// row by row from the top as runs. A run opens with a control byte c: below 128, one pixel
// (alpha, red, green, blue) repeated c + 1 times; 128 or more, c - 127 literal pixels follow.
// Runs may cross rows: the reader takes the pixels as one stream of width x height.
#pragma once

#include "HostPixels.h"

#include <cstdint>
#include <vector>

class ArgbEncoder {
public:
    // The resource bytes of a valid 32-bit store; RsrcError for any other.
    static std::vector<uint8_t> Encode(const HostPixelMap& pixels);
    // The same for pixel words given row by row (alpha in bits 24-31).
    static std::vector<uint8_t> Encode(int32_t width, int32_t height, const std::vector<uint32_t>& words);

    // The longest run either kind of run holds.
    static constexpr size_t kMaxRun = 128;
};
