// The pixel store: allocation with bounded size, and conversion of pixels between depths.
#include "HostPixels.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

uint32_t HostArgbOf(const RGBColor& color)
{
    return HostArgb(255, uint8_t(color.red >> 8), uint8_t(color.green >> 8), uint8_t(color.blue >> 8));
}

RGBColor HostRGBOf(uint32_t argb)
{
    return RGBColor{uint16_t(HostRedOf(argb) * 257), uint16_t(HostGreenOf(argb) * 257),
                    uint16_t(HostBlueOf(argb) * 257)};
}

uint8_t HostGreyLevel(uint32_t argb)
{
    // Weights 299, 587, 114 per thousand, rounded; a grey (v, v, v) keeps its level v.
    uint32_t sum = 299u * HostRedOf(argb) + 587u * HostGreenOf(argb) + 114u * HostBlueOf(argb);
    return uint8_t((sum + 500) / 1000);
}

uint32_t HostArgbOfGreyIndex(uint8_t index)
{
    uint8_t level = uint8_t(255 - index);
    return HostArgb(255, level, level, level);
}

bool HostBitOf(uint32_t argb)
{
    return HostGreyLevel(argb) < 128;
}

namespace {

constexpr size_t kStoreAlignment = 64;

} // namespace

void HostPixelMap::FreeDelete::operator()(void* p) const
{
    std::free(p);
}

HostPixelMap::HostPixelMap(HostPixelMap&& other) noexcept
{
    *this = std::move(other);
}

HostPixelMap& HostPixelMap::operator=(HostPixelMap&& other) noexcept
{
    if (this == &other)
        return *this;
    mBounds = other.mBounds;
    mWidth = other.mWidth;
    mHeight = other.mHeight;
    mDepth = other.mDepth;
    mRowBytes = other.mRowBytes;
    mBase = other.mBase;
    mOwned = std::move(other.mOwned);
    other.mBase = nullptr;
    other.mWidth = other.mHeight = other.mRowBytes = 0;
    other.mBounds = Rect{0, 0, 0, 0};
    return *this;
}

OSErr HostPixelMap::Allocate(const Rect& bounds, int16_t depth)
{
    Release();
    if (depth != 1 && depth != 8 && depth != 32)
        return paramErr;
    int32_t width = int32_t(bounds.right) - bounds.left;
    int32_t height = int32_t(bounds.bottom) - bounds.top;
    if (width <= 0 || height <= 0)
        return paramErr;
    if (int64_t(width) * height > kMaxPixels)
        return memFullErr;

    // Rows are padded to whole 32-bit words.
    int64_t rowBits = int64_t(width) * depth;
    int32_t rowBytes = int32_t(((rowBits + 31) / 32) * 4);
    size_t bytes = size_t(rowBytes) * size_t(height);
    // calloc takes a large store as fresh zero pages without writing them, so a big store costs
    // only the pages that are drawn on.
    void* store = std::calloc(bytes + kStoreAlignment - 1, 1);
    if (store == nullptr)
        return memFullErr;
    mOwned.reset(store);

    mBounds = bounds;
    mWidth = width;
    mHeight = height;
    mDepth = depth;
    mRowBytes = rowBytes;
    const uintptr_t start = reinterpret_cast<uintptr_t>(store);
    mBase = static_cast<uint8_t*>(store) + ((kStoreAlignment - start % kStoreAlignment) % kStoreAlignment);
    return noErr;
}

void HostPixelMap::Release()
{
    mOwned.reset();
    mBase = nullptr;
    mWidth = mHeight = mRowBytes = 0;
    mBounds = Rect{0, 0, 0, 0};
}

uint32_t HostPixelMap::StoredOf(uint32_t argb) const
{
    switch (mDepth) {
    case 1:
        return HostBitOf(argb) ? 1 : 0;
    case 8:
        return HostGreyIndexOfLevel(HostGreyLevel(argb));
    default:
        return argb;
    }
}

uint32_t HostPixelMap::ArgbOfStored(uint32_t stored) const
{
    switch (mDepth) {
    case 1:
        return stored ? HostArgb(255, 0, 0, 0) : HostArgb(255, 255, 255, 255);
    case 8:
        return HostArgbOfGreyIndex(uint8_t(stored));
    default:
        return stored;
    }
}

uint32_t HostPixelMap::Get(int32_t x, int32_t y) const
{
    if (!mBase || x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return 0;
    const uint8_t* row = Row(y);
    switch (mDepth) {
    case 1:
        return ArgbOfStored((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 8:
        return ArgbOfStored(row[x]);
    default:
        return reinterpret_cast<const uint32_t*>(row)[x];
    }
}

void HostPixelMap::Set(int32_t x, int32_t y, uint32_t argb)
{
    if (!mBase || x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return;
    uint8_t* row = Row(y);
    switch (mDepth) {
    case 1: {
        uint8_t bit = uint8_t(0x80 >> (x & 7));
        if (HostBitOf(argb))
            row[x >> 3] |= bit;
        else
            row[x >> 3] &= uint8_t(~bit);
        break;
    }
    case 8:
        row[x] = uint8_t(StoredOf(argb));
        break;
    default:
        reinterpret_cast<uint32_t*>(row)[x] = argb;
        break;
    }
}

bool HostPixelMap::IsMaskSet(int32_t x, int32_t y) const
{
    if (!mBase || x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return false;
    const uint8_t* row = Row(y);
    switch (mDepth) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 8:
        return row[x] >= 128;
    default:
        return HostBitOf(reinterpret_cast<const uint32_t*>(row)[x]);
    }
}
