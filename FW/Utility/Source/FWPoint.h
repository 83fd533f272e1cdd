// A point in 16-bit pixel coordinates, vertical first in memory; v grows downward.
#pragma once

#include <cstdint>

class FWRect;

class FWPoint {
public:
    constexpr FWPoint() = default;
    constexpr FWPoint(int16_t h_, int16_t v_) : v(v_), h(h_) {}

    void Set(int16_t h_, int16_t v_)
    {
        h = h_;
        v = v_;
    }
    void Offset(int16_t dh, int16_t dv);
    // Clamps h into [left, right] and v into [top, bottom], edges included.
    void PinToRect(const FWRect& rect);

    bool operator==(const FWPoint& other) const { return v == other.v && h == other.h; }
    bool operator!=(const FWPoint& other) const { return !(*this == other); }

    int16_t v = 0;
    int16_t h = 0;
};
