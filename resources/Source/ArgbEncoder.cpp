// Run coding of 'argb' images: repeats of two or more equal pixels become repeat runs, and
// everything between them literal runs, each at most 128 pixels long.
#include "ArgbEncoder.h"

#include "RsrcBytes.h"
#include "RsrcError.h"

namespace {

void putPixel(RsrcBytes& out, uint32_t word)
{
    out.Put32(word); // alpha, red, green, blue: the word's bytes from the top
}

// How many pixels from `at` on equal the pixel at `at`, at most kMaxRun.
size_t repeatLength(const std::vector<uint32_t>& words, size_t at)
{
    size_t length = 1;
    while (at + length < words.size() && length < ArgbEncoder::kMaxRun && words[at + length] == words[at])
        ++length;
    return length;
}

} // namespace

std::vector<uint8_t> ArgbEncoder::Encode(const HostPixelMap& pixels)
{
    if (!pixels.Valid() || pixels.Depth() != 32)
        throw RsrcError("an 'argb' image needs a 32-bit store");
    std::vector<uint32_t> words;
    words.reserve(size_t(pixels.Width()) * size_t(pixels.Height()));
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x)
            words.push_back(pixels.Get(x, y));
    return Encode(pixels.Width(), pixels.Height(), words);
}

std::vector<uint8_t> ArgbEncoder::Encode(int32_t width, int32_t height, const std::vector<uint32_t>& words)
{
    if (width <= 0 || height <= 0 || words.size() != size_t(width) * size_t(height))
        throw RsrcError("an 'argb' image needs a positive size and one word per pixel");

    RsrcBytes out;
    out.Put32(uint32_t(width));
    out.Put32(uint32_t(height));

    size_t at = 0;
    while (at < words.size()) {
        size_t repeat = repeatLength(words, at);
        if (repeat >= 2) {
            out.Put8(uint8_t(repeat - 1));
            putPixel(out, words[at]);
            at += repeat;
            continue;
        }
        // Literal pixels up to the next pair of equal pixels: a pair already saves bytes as a
        // repeat run.
        size_t start = at;
        while (at < words.size() && at - start < kMaxRun && repeatLength(words, at) < 2)
            ++at;
        out.Put8(uint8_t(127 + (at - start)));
        for (size_t i = start; i < at; ++i)
            putPixel(out, words[i]);
    }
    return out.Take();
}
