// TIFF files made in memory for tests of clipboard images.
#pragma once

#include <cstdint>
#include <vector>

// An RGBA TIFF (8 bits a channel, unassociated alpha) of width x height pixels given as
// 0xAARRGGBB words, top row first. compress uses LZW, so the data is not a plain copy.
std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                              bool compress = false);
