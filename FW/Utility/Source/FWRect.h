// A rectangle in 16-bit pixel coordinates, stored top, left, bottom, right but built from
// (left, top, right, bottom). Empty when left >= right or top >= bottom. A point is inside only
// when strictly between the edges.
#pragma once

#include "FWPoint.h"

#include <cstdint>

class FWRect {
public:
    constexpr FWRect() = default;
    constexpr FWRect(int16_t left_, int16_t top_, int16_t right_, int16_t bottom_)
        : top(top_), left(left_), bottom(bottom_), right(right_) {}

    void Set(int16_t left_, int16_t top_, int16_t right_, int16_t bottom_)
    {
        top = top_;
        left = left_;
        bottom = bottom_;
        right = right_;
    }
    // 0 top, 1 left, 2 bottom, 3 right.
    int16_t& operator[](int i);
    int16_t operator[](int i) const;

    // Size and position; all arithmetic is 16-bit.
    int16_t Width() const { return int16_t(right - left); }
    int16_t Height() const { return int16_t(bottom - top); }
    bool Empty() const { return left >= right || top >= bottom; }
    void Offset(int16_t dh, int16_t dv);
    void Grow(int16_t d);
    void Inset(int16_t dh, int16_t dv);
    void MoveTo(int16_t h, int16_t v);
    void SlideToOrigin() { MoveTo(0, 0); }
    void CenterInsideOf(const FWRect& other);
    void CenterInsideOf(const FWRect* other) { CenterInsideOf(*other); }
    FWPoint Center() const;
    void TopLeft(FWPoint* out) const;
    // Puts the corners in order.
    void Fix();

    // Hit testing and set operations.
    bool PtInRect(FWPoint p) const;
    // True when the two overlap with positive area; touching edges do not count.
    bool IntersectRect(const FWRect& other) const;
    bool IntersectRect(const FWRect* other) const { return IntersectRect(*other); }
    // result (may be null) gets the overlap, or all zeros when there is none.
    bool IntersectRect(const FWRect& other, FWRect* result) const;
    bool IntersectRect(const FWRect* other, FWRect* result) const { return IntersectRect(*other, result); }
    // The smallest rect holding both; empty rects count like any other.
    void UnionRect(const FWRect& other, FWRect* result) const;
    void UnionRect(const FWRect* other, FWRect* result) const { UnionRect(*other, result); }

    bool operator==(const FWRect& other) const
    {
        return top == other.top && left == other.left && bottom == other.bottom && right == other.right;
    }
    bool operator!=(const FWRect& other) const { return !(*this == other); }

    int16_t top = 0;
    int16_t left = 0;
    int16_t bottom = 0;
    int16_t right = 0;
};
