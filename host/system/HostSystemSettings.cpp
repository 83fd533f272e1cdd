// Desktop settings held as plain values.
#include "HostSystemSettings.h"

namespace {

constexpr uint32_t kDefaultDoubleClickTicks = 30;
constexpr uint32_t kDefaultCaretTicks = 32;
constexpr RGBColor kDefaultHilite = {0xB4B4, 0xD5D5, 0xFFFF};

uint32_t sDoubleClickTicks = kDefaultDoubleClickTicks;
uint32_t sCaretTicks = kDefaultCaretTicks;
RGBColor sHilite = kDefaultHilite;

} // namespace

uint32_t GetDblTime()
{
    return sDoubleClickTicks;
}

uint32_t GetCaretTime()
{
    return sCaretTicks;
}

void LMGetHiliteRGB(RGBColor* hiliteRGB)
{
    if (hiliteRGB != nullptr)
        *hiliteRGB = sHilite;
}

void HostSetDoubleClickTime(uint32_t ticks)
{
    sDoubleClickTicks = ticks;
}

void HostSetCaretTime(uint32_t ticks)
{
    sCaretTicks = ticks;
}

void HostSetHiliteColor(RGBColor color)
{
    sHilite = color;
}

void HostResetSystemSettings()
{
    sDoubleClickTicks = kDefaultDoubleClickTicks;
    sCaretTicks = kDefaultCaretTicks;
    sHilite = kDefaultHilite;
}
