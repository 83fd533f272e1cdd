// Colour models beside RGB (HSV, HWB, CMYK) and the conversions between them, in two families:
// bytes (every channel 0..255, a hue 0..255 for the full circle, 85 green, 170 blue) for the
// slice painters, and floats (channels 0..1, hue in degrees 0..360) for the channel pickers.
// Every function is pure; the byte forms use integer arithmetic only.
#pragma once

#include "FWArgb32.h"
#include "STDMinMax.h"

#include <cstdint>

// Hue, saturation, value.
class FWHsv32 {
public:
    FWHsv32() = default;
    FWHsv32(uint8_t h_, uint8_t s_, uint8_t v_) : h(h_), s(s_), v(v_) {}
    void Set(uint8_t h_, uint8_t s_, uint8_t v_)
    {
        h = h_;
        s = s_;
        v = v_;
    }
    // From red, green and blue; alpha is ignored.
    FWHsv32& operator=(const FWArgb32& color);

    uint8_t h = 0;
    uint8_t s = 0;
    uint8_t v = 0;
};

// Hue, whiteness, blackness.
class FWHwb32 {
public:
    FWHwb32() = default;
    FWHwb32(uint8_t h_, uint8_t w_, uint8_t b_) : h(h_), w(w_), b(b_) {}
    void Set(uint8_t h_, uint8_t w_, uint8_t b_)
    {
        h = h_;
        w = w_;
        b = b_;
    }
    FWHwb32& operator=(const FWArgb32& color);

    uint8_t h = 0;
    uint8_t w = 0;
    uint8_t b = 0;
};

// Cyan, magenta, yellow, black.
class FWCmyk32 {
public:
    FWCmyk32() = default;
    FWCmyk32(uint8_t c_, uint8_t m_, uint8_t y_, uint8_t k_) : c(c_), m(m_), y(y_), k(k_) {}
    void Set(uint8_t c_, uint8_t m_, uint8_t y_, uint8_t k_)
    {
        c = c_;
        m = m_;
        y = y_;
        k = k_;
    }
    FWCmyk32& operator=(const FWArgb32& color);

    uint8_t c = 0;
    uint8_t m = 0;
    uint8_t y = 0;
    uint8_t k = 0;
};

// Stores three results in one step.
template <class T>
void AssignThree(T& x, T& y, T& z, T a, T b, T c)
{
    x = a;
    y = b;
    z = c;
}

// Tolerances of the float forms: |x| < 1e-7, and a difference of at most 1e-7.
bool near_zero(float x);
bool near_equal(float a, float b);

// ---- byte forms
// Arithmetic is done in int with divisions truncating toward zero; a result keeps its low byte,
// so a negative hue wraps (-10 is 246).

// (77 r + 150 g + 29 b) >> 8: 255 for white.
int GetLuminance(uint8_t r, uint8_t g, uint8_t b);
void RGBToHSV(uint8_t r, uint8_t g, uint8_t b, uint8_t& h, uint8_t& s, uint8_t& v);
void HSVToRGB(uint8_t h, uint8_t s, uint8_t v, uint8_t& r, uint8_t& g, uint8_t& b);
// The pure hue at full saturation and value.
void HToRGB(uint8_t h, uint8_t& r, uint8_t& g, uint8_t& b);
void RGBToHWB(uint8_t r, uint8_t g, uint8_t b, uint8_t& h, uint8_t& w, uint8_t& bk);
void HWBToRGB(uint8_t h, uint8_t w, uint8_t bk, uint8_t& r, uint8_t& g, uint8_t& b);
void RGBToCMYK(uint8_t r, uint8_t g, uint8_t b, uint8_t& c, uint8_t& m, uint8_t& y, uint8_t& k);
void CMYKToRGB(uint8_t c, uint8_t m, uint8_t y, uint8_t k, uint8_t& r, uint8_t& g, uint8_t& b);
// One channel of a hue-lightness colour, on a hue scale of 0..1530 (six sectors of 255).
int32_t HLSValue(int32_t m1, int32_t m2, int32_t hue);
// Hue and lightness at full saturation.
void HLToRGB(uint8_t h, uint8_t l, uint8_t& r, uint8_t& g, uint8_t& b);

// ---- float forms (hue in degrees)
void RGBToHSV(float r, float g, float b, float& h, float& s, float& v);
// A hue that is negative, infinite or not a number assigns nothing.
void HSVToRGB(float h, float s, float v, float& r, float& g, float& b);
void RGBToCMYK(float r, float g, float b, float& c, float& m, float& y, float& k);
void CMYKToRGB(float c, float m, float y, float k, float& r, float& g, float& b);
