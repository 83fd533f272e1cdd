// TIFF and PNG files made in memory for tests and benchmarks of clipboard images.
#pragma once

#include <cstdint>
#include <vector>

// An RGBA TIFF (8 bits a channel, unassociated alpha) of width x height pixels given as
// 0xAARRGGBB words, top row first as stored, under a TIFF orientation. compress uses LZW, so the
// data is not a plain copy.
std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                              bool compress = false, uint16_t orientation = 1);

// Large honest images of noise, made at run time, whose files take as many bytes as their pixels:
// the pixel at (x, y) is opaque PatternPixel(x, y). The TIFF is 8-bit RGB, or RGBA (unassociated,
// alpha 255) with alpha, in strips of rowsPerStrip rows (0: one strip) under the libtiff
// compression code; the PNG 8-bit RGB.
constexpr uint32_t PatternPixel(uint32_t x, uint32_t y)
{
    uint32_t h = (x * 0x9E3779B1u) ^ ((y + 0x7F4A7C15u) * 0x85EBCA77u);
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    return 0xFF000000u | ((h ^ (h >> 12)) & 0xFFFFFF);
}
std::vector<uint8_t> MakePatternTIFF(uint32_t width, uint32_t height, uint16_t compression, uint32_t rowsPerStrip,
                                     bool alpha);
std::vector<uint8_t> MakePatternPNG(int16_t width, int16_t height);
