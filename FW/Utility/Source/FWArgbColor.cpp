#include "FWArgbColor.h"

#include "FWArgb32.h"

FWArgbColor::FWArgbColor(const FWArgb32& color)
{
    *this = color;
}

FWArgbColor& FWArgbColor::operator=(const FWArgb32& color)
{
    a = float(color.a / 255.0);
    r = float(color.r / 255.0);
    g = float(color.g / 255.0);
    b = float(color.b / 255.0);
    return *this;
}
