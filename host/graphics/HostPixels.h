// The pixel store of the host's drawing: a rectangle of pixels of depth 1, 8 or 32, owned or
// borrowed, with conversions between its stored values and 32-bit colours. Nothing here paints;
// HostRaster paints on a store, ports and off-screen worlds own one.
#pragma once

#include "HostTypes.h"

#include <cstdint>
#include <memory>

// A 32-bit pixel is one native word: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7.
constexpr uint32_t HostArgb(uint8_t a, uint8_t r, uint8_t g, uint8_t b)
{
    return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}
constexpr uint8_t HostAlphaOf(uint32_t argb) { return uint8_t(argb >> 24); }
constexpr uint8_t HostRedOf(uint32_t argb) { return uint8_t(argb >> 16); }
constexpr uint8_t HostGreenOf(uint32_t argb) { return uint8_t(argb >> 8); }
constexpr uint8_t HostBlueOf(uint32_t argb) { return uint8_t(argb); }

// Opaque 32-bit colour of a 16-bit-per-channel colour (the high byte of each channel).
uint32_t HostArgbOf(const RGBColor& color);
// 16-bit-per-channel colour of a 32-bit pixel: each byte c becomes c * 257.
RGBColor HostRGBOf(uint32_t argb);

// Grey level of a colour, 0 black to 255 white (integer luminance).
uint8_t HostGreyLevel(uint32_t argb);
// The 8-bit grey table runs from white at index 0 to black at 255.
constexpr uint8_t HostGreyIndexOfLevel(uint8_t level) { return uint8_t(255 - level); }
uint32_t HostArgbOfGreyIndex(uint8_t index);
// In a 1-bit store a set bit is black: a colour is set when its grey level is below one half.
bool HostBitOf(uint32_t argb);

class HostPixelMap {
public:
    // Stores larger than this many pixels are refused, so a damaged or hostile size can never
    // take more than 256 MiB for one store: a square of kMaxSquareSide, the largest a window can be.
    static constexpr int32_t kMaxSquareSide = 8192;
    static constexpr int64_t kMaxPixels = int64_t(kMaxSquareSide) * kMaxSquareSide;

    HostPixelMap() = default;
    HostPixelMap(const HostPixelMap&) = delete;
    HostPixelMap& operator=(const HostPixelMap&) = delete;
    HostPixelMap(HostPixelMap&& other) noexcept;
    HostPixelMap& operator=(HostPixelMap&& other) noexcept;

    // Allocation. Allocate replaces any store with a new zero-filled one owned by this map
    // (noErr; paramErr for a depth other than 1, 8, 32 or an empty or inverted rectangle;
    // memFullErr beyond kMaxPixels or when memory runs out, leaving the map empty).
    OSErr Allocate(const Rect& bounds, int16_t depth);
    void Release();

    // Geometry. Bounds are in the map's own coordinates: the pixel at (bounds.left, bounds.top)
    // is the first pixel of the top row.
    bool Valid() const { return mBase != nullptr; }
    const Rect& Bounds() const { return mBounds; }
    int32_t Width() const { return mWidth; }
    int32_t Height() const { return mHeight; }
    int16_t Depth() const { return mDepth; }
    int32_t RowBytes() const { return mRowBytes; }
    uint8_t* BaseAddr() const { return mBase; }
    // Row y of the store (0 is the top row); callers keep 0 <= y < Height().
    uint8_t* Row(int32_t y) const { return mBase + int64_t(y) * mRowBytes; }

    // Pixels by store position (0..Width-1, 0..Height-1), as 32-bit colours. Reading outside
    // gives 0 and writing outside does nothing.
    uint32_t Get(int32_t x, int32_t y) const;
    void Set(int32_t x, int32_t y, uint32_t argb);
    // Pixels by the map's own coordinates (bounds-relative).
    uint32_t GetAt(int32_t h, int32_t v) const { return Get(h - mBounds.left, v - mBounds.top); }
    void SetAt(int32_t h, int32_t v, uint32_t argb) { Set(h - mBounds.left, v - mBounds.top, argb); }

    // Stored value of a colour at this map's depth (a word, a grey index or 0/1), and back.
    uint32_t StoredOf(uint32_t argb) const;
    uint32_t ArgbOfStored(uint32_t stored) const;
    // Whether a pixel counts as set when the map serves as a mask: a set bit at depth 1; a dark
    // pixel (grey level below one half) at depths 8 and 32.
    bool IsMaskSet(int32_t x, int32_t y) const;

private:

    Rect mBounds{0, 0, 0, 0};
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int16_t mDepth = 32;
    int32_t mRowBytes = 0;
    uint8_t* mBase = nullptr;
    // Owned stores start on a 64-byte boundary: rows then begin on whole cache lines, and copies
    // between stores stay off the slow paths that some alignments take.
    struct FreeDelete {
        void operator()(void* p) const;
    };
    std::unique_ptr<void, FreeDelete> mOwned;
};
