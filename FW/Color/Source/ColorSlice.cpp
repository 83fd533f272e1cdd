#include "SlicePainters.h"

#include <cstring>

ColorSlice::ColorSlice(const FWRect* rect, CSlicePainter* painter, bool flag)
    : ImageBuffer(rect, kImageBufferDepth32, flag), mPainter(painter)
{
}

bool ColorSlice::inside(int16_t x, int16_t y) const
{
    const FWRect& r = GetRect();
    return x >= 0 && y >= 0 && x < int32_t(r.right) - r.left && y < int32_t(r.bottom) - r.top;
}

bool ColorSlice::ComputeSliceImage()
{
    if (!canPaint())
        return false;
    const FWRect& r = GetRect();
    const int16_t maxX = int16_t(int32_t(r.right) - r.left - 1);
    const int16_t maxY = int16_t(int32_t(r.bottom) - r.top - 1);
    const int32_t width = int32_t(r.right) - r.left;
    const int32_t height = int32_t(r.bottom) - r.top;
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(Row(y));
        for (int32_t x = 0; x < width; ++x)
            mPainter->ComputeColor(int16_t(x), int16_t(y), maxX, maxY, row[x]);
    }
    return true;
}

void ColorSlice::ComputeColor(int16_t x, int16_t y, uint32_t& pixel)
{
    pixel = 0;
    if (!canPaint() || !inside(x, y))
        return;
    const FWRect& r = GetRect();
    mPainter->ComputeColor(x, y, int16_t(int32_t(r.right) - r.left - 1), int16_t(int32_t(r.bottom) - r.top - 1),
                           pixel);
}

bool HorizontalColorSlice::ComputeSliceImage()
{
    if (!canPaint())
        return false;
    const FWRect& r = GetRect();
    const int16_t maxX = int16_t(int32_t(r.right) - r.left - 1);
    const int32_t width = int32_t(r.right) - r.left;
    const int32_t height = int32_t(r.bottom) - r.top;
    if (width <= 0 || height <= 0)
        return true;
    // One painter call a column for the first row; the rows below are copies of it.
    auto* first = reinterpret_cast<uint32_t*>(Row(0));
    for (int32_t x = 0; x < width; ++x)
        mPainter->ComputeColor(int16_t(x), 0, maxX, 0, first[x]);
    const size_t bytes = size_t(width) * sizeof(uint32_t);
    for (int32_t y = 1; y < height; ++y)
        std::memcpy(Row(y), first, bytes);
    return true;
}

void HorizontalColorSlice::ComputeColor(int16_t x, int16_t y, uint32_t& pixel)
{
    pixel = 0;
    if (!canPaint() || !inside(x, y))
        return;
    const FWRect& r = GetRect();
    mPainter->ComputeColor(x, 0, int16_t(int32_t(r.right) - r.left - 1), 0, pixel);
}
