#include "FWColorModels.h"

#include <cmath>

namespace {

// The hue of a colour that is not grey, from its maximum and its spread d: the red, green and
// blue sectors start at 0, 85 and 170 (as -86 wrapped), a tie at the maximum taking the earlier
// channel.
int byteHue(int r, int g, int b, int max, int d)
{
    const int d6 = 6 * d;
    if (r == max)
        return (g - b) * 255 / d6;
    if (g == max)
        return (b - r) * 255 / d6 + 85;
    return (r - g) * 255 / d6 - 86;
}

// The sector (0..5) of a byte hue and the position f (0..254) within it; 255 is the angle 0.
void byteSector(int h, int& sector, int& f)
{
    const int h6 = h == 255 ? 0 : 6 * h;
    sector = h6 / 255;
    f = h6 - 255 * sector;
}

} // namespace

FWHsv32& FWHsv32::operator=(const FWArgb32& color)
{
    RGBToHSV(color.r, color.g, color.b, h, s, v);
    return *this;
}

FWHwb32& FWHwb32::operator=(const FWArgb32& color)
{
    RGBToHWB(color.r, color.g, color.b, h, w, b);
    return *this;
}

FWCmyk32& FWCmyk32::operator=(const FWArgb32& color)
{
    RGBToCMYK(color.r, color.g, color.b, c, m, y, k);
    return *this;
}

bool near_zero(float x)
{
    return std::fabs(double(x)) < 1e-7;
}

bool near_equal(float a, float b)
{
    const double da = a;
    const double db = b;
    return db >= da ? da >= db - 1e-7 : db + 1e-7 >= da;
}

// ---- byte forms

int GetLuminance(uint8_t r, uint8_t g, uint8_t b)
{
    return (77 * r + 150 * g + 29 * b) >> 8;
}

void RGBToHSV(uint8_t r, uint8_t g, uint8_t b, uint8_t& h, uint8_t& s, uint8_t& v)
{
    const int max = STDMax(STDMax(r, g), b);
    const int min = STDMin(STDMin(r, g), b);
    const int d = max - min;
    v = uint8_t(max);
    if (max == 0) {
        h = s = 0;
        return;
    }
    s = uint8_t(d * 255 / max);
    if (s == 0) {
        h = 0;
        return;
    }
    h = uint8_t(byteHue(r, g, b, max, d));
}

void HSVToRGB(uint8_t h, uint8_t s, uint8_t v, uint8_t& r, uint8_t& g, uint8_t& b)
{
    if (s == 0) {
        r = g = b = v;
        return;
    }
    int sector, f;
    byteSector(h, sector, f);
    const uint8_t p = uint8_t(v * (255 - s) / 255);
    const uint8_t q = uint8_t(v * (65025 - s * f) / 65025);
    const uint8_t t = uint8_t(v * (65025 - s * (255 - f)) / 65025);
    switch (sector) {
    case 0: AssignThree(r, g, b, v, t, p); break;
    case 1: AssignThree(r, g, b, q, v, p); break;
    case 2: AssignThree(r, g, b, p, v, t); break;
    case 3: AssignThree(r, g, b, p, q, v); break;
    case 4: AssignThree(r, g, b, t, p, v); break;
    default: AssignThree(r, g, b, v, p, q); break;
    }
}

void HToRGB(uint8_t h, uint8_t& r, uint8_t& g, uint8_t& b)
{
    int sector, f;
    byteSector(h, sector, f);
    const uint8_t up = uint8_t(f);
    const uint8_t down = uint8_t(255 - f);
    switch (sector) {
    case 0: AssignThree<uint8_t>(r, g, b, 255, up, 0); break;
    case 1: AssignThree<uint8_t>(r, g, b, down, 255, 0); break;
    case 2: AssignThree<uint8_t>(r, g, b, 0, 255, up); break;
    case 3: AssignThree<uint8_t>(r, g, b, 0, down, 255); break;
    case 4: AssignThree<uint8_t>(r, g, b, up, 0, 255); break;
    default: AssignThree<uint8_t>(r, g, b, 255, 0, down); break;
    }
}

void RGBToHWB(uint8_t r, uint8_t g, uint8_t b, uint8_t& h, uint8_t& w, uint8_t& bk)
{
    const int max = STDMax(STDMax(r, g), b);
    const int min = STDMin(STDMin(r, g), b);
    w = uint8_t(min);
    bk = uint8_t(255 - max);
    h = max == min || max == 0 ? 0 : uint8_t(byteHue(r, g, b, max, max - min));
}

void HWBToRGB(uint8_t h, uint8_t w, uint8_t bk, uint8_t& r, uint8_t& g, uint8_t& b)
{
    const uint8_t v = uint8_t(255 - bk);
    // Whiteness and blackness adding up to more than 255 leave a grey.
    if (w > v) {
        r = g = b = v;
        return;
    }
    int sector, f;
    byteSector(h, sector, f);
    if (sector & 1)
        f = 255 - f;
    const uint8_t n = uint8_t(w + (v - w) * f / 255);
    switch (sector) {
    case 0: AssignThree(r, g, b, v, n, w); break;
    case 1: AssignThree(r, g, b, n, v, w); break;
    case 2: AssignThree(r, g, b, w, v, n); break;
    case 3: AssignThree(r, g, b, w, n, v); break;
    case 4: AssignThree(r, g, b, n, w, v); break;
    default: AssignThree(r, g, b, v, w, n); break;
    }
}

void RGBToCMYK(uint8_t r, uint8_t g, uint8_t b, uint8_t& c, uint8_t& m, uint8_t& y, uint8_t& k)
{
    const int cc = 255 - r;
    const int mm = 255 - g;
    const int yy = 255 - b;
    const int kk = STDMin(STDMin(cc, mm), yy);
    k = uint8_t(kk);
    if (kk == 255) {
        c = m = y = 0;
        return;
    }
    c = uint8_t((cc - kk) * 255 / (255 - kk));
    m = uint8_t((mm - kk) * 255 / (255 - kk));
    y = uint8_t((yy - kk) * 255 / (255 - kk));
}

void CMYKToRGB(uint8_t c, uint8_t m, uint8_t y, uint8_t k, uint8_t& r, uint8_t& g, uint8_t& b)
{
    const auto channel = [k](int ink) { return uint8_t(255 - STDMin(255, ink * (255 - k) / 255 + k)); };
    r = channel(c);
    g = channel(m);
    b = channel(y);
}

int32_t HLSValue(int32_t m1, int32_t m2, int32_t hue)
{
    if (hue > 1530)
        hue -= 1530;
    if (hue < 0)
        hue += 1530;
    if (hue < 255)
        return m1 + (m2 - m1) * hue / 255;
    if (hue < 765)
        return m2;
    if (hue < 1020)
        return m1 + (m2 - m1) * (1020 - hue) / 255;
    return m1;
}

void HLToRGB(uint8_t h, uint8_t l, uint8_t& r, uint8_t& g, uint8_t& b)
{
    int32_t m1 = 0;
    int32_t m2 = 510 * l;
    if (l >= 128) {
        m1 = 510 * l - 65025;
        m2 = 65025;
    }
    const int32_t h6 = 6 * h;
    r = uint8_t(HLSValue(m1, m2, h6 + 510) / 255);
    g = uint8_t(HLSValue(m1, m2, h6) / 255);
    b = uint8_t(HLSValue(m1, m2, h6 - 510) / 255);
}

// ---- float forms

void RGBToHSV(float r, float g, float b, float& h, float& s, float& v)
{
    const float max = STDMax(STDMax(r, g), b);
    const float min = STDMin(STDMin(r, g), b);
    const float d = max - min;
    v = max;
    if (near_zero(v)) {
        h = s = 0;
        return;
    }
    s = near_zero(max) ? 0 : d / max;
    if (near_zero(s)) {
        h = 0;
        return;
    }
    if (r == max)
        h = (g - b) / d;
    else if (g == max)
        h = 2 + (b - r) / d;
    else
        h = 4 + (r - g) / d;
    h *= 60;
    if (h < 0)
        h += 360;
}

void HSVToRGB(float h, float s, float v, float& r, float& g, float& b)
{
    if (near_zero(s)) {
        r = g = b = v;
        return;
    }
    if (h > 360)
        h = std::fmod(h, 360.0f);
    if (near_equal(h, 360))
        h = 0;
    h /= 60;
    // Only sectors 0..5 have a colour; the test also keeps an infinite or NaN hue (fmod of an
    // infinity is NaN) and a huge negative one away from the integer conversion.
    if (!(h >= 0 && h < 6))
        return;
    const int sector = int(std::floor(h));
    const float f = h - float(sector);
    const float p = v * (1 - s);
    const float q = v * (1 - s * f);
    const float t = v * (1 - s * (1 - f));
    switch (sector) {
    case 0: AssignThree(r, g, b, v, t, p); break;
    case 1: AssignThree(r, g, b, q, v, p); break;
    case 2: AssignThree(r, g, b, p, v, t); break;
    case 3: AssignThree(r, g, b, p, q, v); break;
    case 4: AssignThree(r, g, b, t, p, v); break;
    default: AssignThree(r, g, b, v, p, q); break;
    }
}

void RGBToCMYK(float r, float g, float b, float& c, float& m, float& y, float& k)
{
    c = 1 - r;
    m = 1 - g;
    y = 1 - b;
    k = STDMin(STDMin(c, m), y);
    if (near_equal(k, 1)) {
        c = m = y = 0;
        return;
    }
    c = (c - k) / (1 - k);
    m = (m - k) / (1 - k);
    y = (y - k) / (1 - k);
}

void CMYKToRGB(float c, float m, float y, float k, float& r, float& g, float& b)
{
    r = 1 - STDMin(1.0f, c * (1 - k) + k);
    g = 1 - STDMin(1.0f, m * (1 - k) + k);
    b = 1 - STDMin(1.0f, y * (1 - k) + k);
}
