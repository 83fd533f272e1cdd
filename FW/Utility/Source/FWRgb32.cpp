#include "FWRgb32.h"

#include "FWArgbColor.h"
#include "FWColorConversion.h"

FWRgb32& FWRgb32::operator=(const FWArgbColor& color)
{
    r = FWComponentToByte(color.r);
    g = FWComponentToByte(color.g);
    b = FWComponentToByte(color.b);
    return *this;
}
