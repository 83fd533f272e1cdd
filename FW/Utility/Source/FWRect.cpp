#include "FWRect.h"

#include <algorithm>

int16_t& FWRect::operator[](int i)
{
    switch (i) {
    case 1:
        return left;
    case 2:
        return bottom;
    case 3:
        return right;
    default:
        return top;
    }
}

int16_t FWRect::operator[](int i) const
{
    return const_cast<FWRect&>(*this)[i];
}

void FWRect::Offset(int16_t dh, int16_t dv)
{
    left = int16_t(left + dh);
    right = int16_t(right + dh);
    top = int16_t(top + dv);
    bottom = int16_t(bottom + dv);
}

void FWRect::Grow(int16_t d)
{
    left = int16_t(left - d);
    top = int16_t(top - d);
    right = int16_t(right + d);
    bottom = int16_t(bottom + d);
}

void FWRect::Inset(int16_t dh, int16_t dv)
{
    left = int16_t(left + dh);
    right = int16_t(right - dh);
    top = int16_t(top + dv);
    bottom = int16_t(bottom - dv);
}

void FWRect::MoveTo(int16_t h, int16_t v)
{
    Offset(int16_t(h - left), int16_t(v - top));
}

void FWRect::CenterInsideOf(const FWRect& other)
{
    int16_t width = Width();
    int16_t height = Height();
    int16_t newLeft = int16_t(other.left + (other.Width() - width) / 2);
    int16_t newTop = int16_t(other.top + (other.Height() - height) / 2);
    Set(newLeft, newTop, int16_t(newLeft + width), int16_t(newTop + height));
}

FWPoint FWRect::Center() const
{
    return FWPoint(int16_t((left + right) / 2), int16_t((top + bottom) / 2));
}

void FWRect::TopLeft(FWPoint* out) const
{
    if (out == nullptr)
        return;
    out->h = left;
    out->v = top;
}

void FWRect::Fix()
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
}

bool FWRect::PtInRect(FWPoint p) const
{
    return left < p.h && p.h < right && top < p.v && p.v < bottom;
}

bool FWRect::IntersectRect(const FWRect& other) const
{
    return left < other.right && top < other.bottom && right > other.left && bottom > other.top;
}

bool FWRect::IntersectRect(const FWRect& other, FWRect* result) const
{
    FWRect overlap(std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                   std::min(bottom, other.bottom));
    bool overlaps = overlap.left < overlap.right && overlap.top < overlap.bottom;
    if (result != nullptr)
        *result = overlaps ? overlap : FWRect();
    return overlaps;
}

void FWRect::UnionRect(const FWRect& other, FWRect* result) const
{
    if (result == nullptr)
        return;
    *result = FWRect(std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                     std::max(bottom, other.bottom));
}
