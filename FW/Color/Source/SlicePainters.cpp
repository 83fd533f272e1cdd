#include "SlicePainters.h"

namespace {

// The ramp value of column x of 0..maxX, 0..255. A slice one pixel wide (maxX 0) has only the
// value 0.
uint8_t ramp(int16_t x, int16_t maxX)
{
    return maxX > 0 ? uint8_t(int32_t(x) * 255 / maxX) : 0;
}

uint32_t opaqueless(uint8_t r, uint8_t g, uint8_t b)
{
    return MakeColor32(0, r, g, b);
}

} // namespace

void CRGBSlicePainter::SetReferenceRGB(FWArgb32 color)
{
    mReference = MakeColor32(color.a, color.r, color.g, color.b);
}

void CHSVSlicePainter::SetReferenceRGB(FWArgb32 color)
{
    CRGBSlicePainter::SetReferenceRGB(color);
    mHSV = color;
}

void CHSVSlicePainter::SetReferenceHSV(FWHsv32 hsv)
{
    mHSV = hsv;
    uint8_t r, g, b;
    HSVToRGB(hsv.h, hsv.s, hsv.v, r, g, b);
    mReference = opaqueless(r, g, b);
}

void CCMYKSlicePainter::SetReferenceRGB(FWArgb32 color)
{
    CRGBSlicePainter::SetReferenceRGB(color);
    mCMYK = color;
}

void CCMYKSlicePainter::SetReferenceCMYK(FWCmyk32 cmyk)
{
    mCMYK = cmyk;
    uint8_t r, g, b;
    CMYKToRGB(cmyk.c, cmyk.m, cmyk.y, cmyk.k, r, g, b);
    mReference = opaqueless(r, g, b);
}

void CHWBSlicePainter::SetReferenceRGB(FWArgb32 color)
{
    CRGBSlicePainter::SetReferenceRGB(color);
    mHWB = color;
}

void CHWBSlicePainter::SetReferenceHWB(FWHwb32 hwb)
{
    mHWB = hwb;
    uint8_t r, g, b;
    HWBToRGB(hwb.h, hwb.w, hwb.b, r, g, b);
    mReference = opaqueless(r, g, b);
}

void CGrayRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    const uint8_t n = ramp(x, maxX);
    pixel = opaqueless(n, n, n);
}

void CRedRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    pixel = mReference;
    SetRed32(pixel, ramp(x, maxX));
}

void CGreenRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    pixel = mReference;
    SetGreen32(pixel, ramp(x, maxX));
}

void CBlueRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    pixel = mReference;
    SetBlue32(pixel, ramp(x, maxX));
}

void CHueRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    HToRGB(ramp(x, maxX), r, g, b);
    pixel = opaqueless(r, g, b);
}

void CSaturationRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    HSVToRGB(mHSV.h, ramp(x, maxX), mHSV.v, r, g, b);
    pixel = opaqueless(r, g, b);
}

void CValueRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    HSVToRGB(mHSV.h, mHSV.s, ramp(x, maxX), r, g, b);
    pixel = opaqueless(r, g, b);
}

void CCyanRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    CMYKToRGB(ramp(x, maxX), mCMYK.m, mCMYK.y, mCMYK.k, r, g, b);
    pixel = opaqueless(r, g, b);
}

void CMagentaRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    CMYKToRGB(mCMYK.c, ramp(x, maxX), mCMYK.y, mCMYK.k, r, g, b);
    pixel = opaqueless(r, g, b);
}

void CYellowRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    CMYKToRGB(mCMYK.c, mCMYK.m, ramp(x, maxX), mCMYK.k, r, g, b);
    pixel = opaqueless(r, g, b);
}

void CBlackRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    CMYKToRGB(mCMYK.c, mCMYK.m, mCMYK.y, ramp(x, maxX), r, g, b);
    pixel = opaqueless(r, g, b);
}

void CWhitenessRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    HWBToRGB(mHWB.h, ramp(x, maxX), mHWB.b, r, g, b);
    pixel = opaqueless(r, g, b);
}

void CBlacknessRowPainter::ComputeColor(int16_t x, int16_t, int16_t maxX, int16_t, uint32_t& pixel)
{
    uint8_t r, g, b;
    HWBToRGB(mHWB.h, mHWB.w, ramp(x, maxX), r, g, b);
    pixel = opaqueless(r, g, b);
}

void CHueLightnessGrayPainter::ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel)
{
    const int32_t limit = int32_t(maxY) * 7 / 8;
    const uint8_t n = ramp(x, maxX);
    if (y > limit) {
        pixel = opaqueless(n, n, n);
        return;
    }
    // With a limit of 0 (a slice less than three pixels high) only row 0 is left: white.
    const uint8_t lightness = limit > 0 ? uint8_t((limit - y) * 255 / limit) : 255;
    uint8_t r, g, b;
    HLToRGB(n, lightness, r, g, b);
    pixel = opaqueless(r, g, b);
}
