#include "FWPoint.h"

#include "FWRect.h"

void FWPoint::Offset(int16_t dh, int16_t dv)
{
    h = int16_t(h + dh);
    v = int16_t(v + dv);
}

void FWPoint::PinToRect(const FWRect& rect)
{
    if (h < rect.left)
        h = rect.left;
    else if (h > rect.right)
        h = rect.right;
    if (v < rect.top)
        v = rect.top;
    else if (v > rect.bottom)
        v = rect.bottom;
}
