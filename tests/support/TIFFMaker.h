// TIFF and PNG files made in memory for tests of clipboard images.
#pragma once

#include <cstdint>
#include <vector>

// An RGBA TIFF (8 bits a channel, unassociated alpha) of width x height pixels given as
// 0xAARRGGBB words, top row first. compress uses LZW, so the data is not a plain copy.
std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                              bool compress = false);

// Large honest images of a pattern, made at run time: the pixel at (x, y) is opaque
// PatternPixel(x, y). The TIFF is 8-bit RGB, or RGBA (unassociated, alpha 255) with alpha, in
// strips of rowsPerStrip rows (0: one strip) under the libtiff compression code.
constexpr uint32_t PatternPixel(uint32_t x, uint32_t y)
{
    return 0xFF000000u | ((x & 0xFF) << 16) | ((y & 0xFF) << 8) | ((x ^ y) & 0xFF);
}
std::vector<uint8_t> MakePatternTIFF(uint32_t width, uint32_t height, uint16_t compression, uint32_t rowsPerStrip,
                                     bool alpha);
std::vector<uint8_t> MakePatternPNG(int16_t width, int16_t height);
