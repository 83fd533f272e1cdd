// TIFF and PNG files made in memory for tests of clipboard images and their benchmark.
#pragma once

#include <cstdint>
#include <vector>

// How a made TIFF lays out its 8-bit samples: RGB, or RGBA (unassociated alpha) with alpha; in
// strips of rowsPerStrip rows (0: one strip), or in tiles of tileSide pixels a side when that is
// not 0; interleaved or in separate planes; under a libtiff compression code (1: none), with a
// TIFF orientation.
struct TIFFLayout {
    uint16_t compression = 1;
    uint32_t rowsPerStrip = 1;
    uint32_t tileSide = 0;
    bool alpha = true;
    bool separate = false;
    uint16_t orientation = 1;
};

// An RGBA TIFF of width x height pixels given as 0xAARRGGBB words, top row first, as stored.
// compress uses LZW, so the data is not a plain copy.
std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                              bool compress = false);
std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                              const TIFFLayout& layout);

// Large honest images of noise, made at run time, so that their files take as many bytes as their
// pixels: the pixel at (x, y) is opaque PatternPixel(x, y).
constexpr uint32_t PatternPixel(uint32_t x, uint32_t y)
{
    uint32_t h = (x * 0x9E3779B1u) ^ ((y + 0x7F4A7C15u) * 0x85EBCA77u);
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    return 0xFF000000u | ((h ^ (h >> 12)) & 0xFFFFFF);
}
std::vector<uint8_t> MakePatternTIFF(uint32_t width, uint32_t height, const TIFFLayout& layout);
// An 8-bit RGB PNG.
std::vector<uint8_t> MakePatternPNG(int16_t width, int16_t height);
// A YCbCr TIFF subsampled in blocks of 2 x 2 pixels, in strips of rowsPerStrip rows (even), whose
// lumas are the low bytes of PatternPixel and whose chroma is neutral: it shows grey.
std::vector<uint8_t> MakeGreyYCbCrTIFF(uint32_t width, uint32_t height, uint16_t compression, uint32_t rowsPerStrip);
