// Decodes the image resource types into 32-bit pixels: the icon families, 'cicn', 'ppat',
// 'PICT' version 2 (also stored as 'QZPV') and 'argb'. Pure functions of the resource bytes,
// so DiskImage, the tests and the fuzz target share them. Every size, offset and count is
// checked against the data; damaged data throws DiskImageAllocateFailureX.
#pragma once

#include "FWRect.h"
#include "FWRgb32.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class DiskImageDecoder {
public:
    // Decoded pixels: the image rectangle and its words (alpha in bits 24-31, then red, green,
    // blue), row by row from the top. No words means nothing was decoded.
    struct Pixels {
        FWRect rect;
        int32_t width = 0;
        int32_t height = 0;
        std::vector<uint32_t> words;

        bool Valid() const { return !words.empty(); }
        // Takes the rectangle and fills every pixel with the given word; throws for a size
        // outside 1..32767 on either axis or beyond kMaxPixels.
        void Allocate(const FWRect& bounds, uint32_t fill = 0);
        uint32_t& At(int32_t x, int32_t y) { return words[size_t(y) * size_t(width) + size_t(x)]; }
        uint32_t At(int32_t x, int32_t y) const { return words[size_t(y) * size_t(width) + size_t(x)]; }
    };

    // The largest image decoded (64 MiB of pixels): resource images are icons and pictures,
    // and a damaged size must not claim more.
    static constexpr int64_t kMaxPixels = int64_t(4096) * 4096;

    // The readers of the types, each over a resource's bytes: the icon families ('ICN#',
    // 'ics#', 'icm#' with their masks; the colour icons taking iconMask as Decode does), 'cicn',
    // 'ppat', 'PICT' (also 'QZPV') and 'argb'.
    static Pixels ReadICN(const uint8_t* data, size_t size);
    static Pixels Readics(const uint8_t* data, size_t size);
    static Pixels Readicm(const uint8_t* data, size_t size);
    static Pixels Readicl4(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask);
    static Pixels Readicl8(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask);
    static Pixels Readics4(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask);
    static Pixels Readics8(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask);
    static Pixels Readicm4(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask);
    static Pixels Readicm8(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask);
    static Pixels Readcicn(const uint8_t* data, size_t size);
    static Pixels Readppat(const uint8_t* data, size_t size);
    static Pixels ReadPICT(const uint8_t* data, size_t size);
    static Pixels Read32Bit(const uint8_t* data, size_t size);

    // Decodes the bytes of a resource of the given type. iconMask holds the bytes of the 1-bit
    // icon of the same id for the colour icon types ('ICN#' for 'icl4'/'icl8', 'ics#' for
    // 'ics4'/'ics8', 'icm#' for 'icm4'/'icm8'), or is null when that resource does not exist.
    // A type not listed here, or a picture that is not version 2, gives invalid Pixels.
    static Pixels Decode(uint32_t type, const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask);
    // The 1-bit icon type whose mask a colour icon type uses, or 0.
    static uint32_t IconMaskType(uint32_t type);
    // Whether Decode knows the type.
    static bool DecodesType(uint32_t type);

    // The icon colour tables (DiskImage::g8BitColorTable and g4BitColorTable): the 256-colour
    // system palette and the 16-colour icon palette, built on first use.
    static void BuildIconColorTables();
    static const FWRgb32* Get8BitColorTable();
    static const FWRgb32* Get4BitColorTable();

    // Sets each pixel's alpha to 255 where its mask bit (leftmost pixel in the most significant
    // bit, rowBytes bytes a row) is 1, else to 0. Bits beyond the mask bytes count as 0.
    static void MakeAlphaFromIconMask(Pixels& pixels, const uint8_t* mask, size_t maskSize, int32_t rowBytes);

    // Unpacks PackBits runs of unitSize-byte units (1 or 2) from in[0..inSize) into
    // out[0..outSize); runs that pass either end are cut. Returns the bytes written.
    static size_t UnpackBits(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, int unitSize);

    // The classic 5-bit channel widened to 8 bits: v * 8 + v / 4.
    static uint8_t Widen5(uint32_t v) { return uint8_t(v * 8 + v / 4); }
};
