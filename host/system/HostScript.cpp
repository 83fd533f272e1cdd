#include "HostScript.h"

namespace {

constexpr int16_t kSystemFont = 0;
constexpr int16_t kSystemFontSize = 12;

int16_t sDirection = 0;

} // namespace

int32_t GetScriptVariable(int16_t script, int16_t selector)
{
    if (script != smSystemScript && script != smRoman)
        return 0;
    switch (selector) {
    case smScriptSysFond:
    case smScriptMenuFond:
        return kSystemFont;
    case smScriptMenuFondSize:
        return kSystemFontSize;
    case smScriptSysFondSize:
        return int32_t(uint32_t(uint16_t(kSystemFont)) << 16 | uint16_t(kSystemFontSize));
    default:
        return 0;
    }
}

int16_t GetSysDirection()
{
    return sDirection;
}

void SetSysDirection(int16_t direction)
{
    sDirection = direction != 0 ? -1 : 0;
}
