#include "FWArgb32.h"

#include "FWArgbColor.h"
#include "FWColorConversion.h"

FWArgb32::FWArgb32(const FWArgbColor& color)
{
    *this = color;
}

FWArgb32& FWArgb32::operator=(const FWArgbColor& color)
{
    a = FWComponentToByte(color.a);
    r = FWComponentToByte(color.r);
    g = FWComponentToByte(color.g);
    b = FWComponentToByte(color.b);
    return *this;
}

namespace {
uint8_t lerp(uint8_t from, uint8_t to, int32_t num, int32_t den)
{
    int64_t step = (int64_t(to) - int64_t(from)) * num / den;
    return uint8_t(int64_t(from) + step);
}
} // namespace

void FWArgb32::LerpTo(const FWArgb32& target, int32_t num, int32_t den)
{
    if (den == 0)
        return;
    r = lerp(r, target.r, num, den);
    g = lerp(g, target.g, num, den);
    b = lerp(b, target.b, num, den);
}

bool FWArgb32::NearEquals(const FWArgb32& other, int32_t tolerance) const
{
    auto near = [tolerance](uint8_t x, uint8_t y) {
        int32_t difference = int32_t(x) - int32_t(y);
        return (difference < 0 ? -difference : difference) <= tolerance;
    };
    return near(r, other.r) && near(g, other.g) && near(b, other.b);
}
