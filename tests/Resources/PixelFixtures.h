// Pixel stores for the resource tests: built from words, from a seeded pattern, and compared.
#pragma once

#include "HostPixels.h"

#include <cstdint>
#include <random>
#include <vector>

inline HostPixelMap PixelsOf(int32_t width, int32_t height, const std::vector<uint32_t>& words)
{
    HostPixelMap pixels;
    pixels.Allocate(Rect{0, 0, int16_t(height), int16_t(width)}, 32);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels.Set(x, y, words[size_t(y) * size_t(width) + size_t(x)]);
    return pixels;
}

inline std::vector<uint32_t> WordsOf(const HostPixelMap& pixels)
{
    std::vector<uint32_t> words;
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x)
            words.push_back(pixels.Get(x, y));
    return words;
}

// Words drawn from a few colours, so that runs of every length occur; opaque when asked.
inline std::vector<uint32_t> PatternWords(size_t count, unsigned seed, int colours, bool opaque)
{
    std::mt19937 random(seed);
    std::vector<uint32_t> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(uint32_t(random()) | (opaque ? 0xFF000000u : 0u));
    std::vector<uint32_t> words;
    while (words.size() < count) {
        uint32_t word = palette[random() % palette.size()];
        size_t run = random() % 4 == 0 ? 1 + random() % 300 : 1;
        for (size_t i = 0; i < run && words.size() < count; ++i)
            words.push_back(word);
    }
    return words;
}
