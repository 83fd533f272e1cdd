// A colour of three bytes red, green, blue.
#pragma once

#include "FWArgb32.h"

#include <cstdint>

class FWArgbColor;

class FWRgb32 {
public:
    constexpr FWRgb32() = default;
    constexpr FWRgb32(int r_, int g_, int b_) : r(uint8_t(r_)), g(uint8_t(g_)), b(uint8_t(b_)) {}

    void Set(int r_, int g_, int b_)
    {
        r = uint8_t(r_);
        g = uint8_t(g_);
        b = uint8_t(b_);
    }
    // Opaque, with the same red, green and blue.
    operator FWArgb32() const { return FWArgb32(255, r, g, b); }
    // 255 x component, truncated toward zero; alpha dropped.
    FWRgb32& operator=(const FWArgbColor& color);

    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};
