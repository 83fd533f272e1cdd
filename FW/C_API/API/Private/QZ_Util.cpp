#include "QZ_Util.h"

uint32_t QZ_Util::GetQZModifiers(unsigned short modifiers)
{
    uint32_t flags = 0;
    if (modifiers & 0x0200)
        flags |= 1;
    if (modifiers & 0x1000)
        flags |= 2 | 16;
    if (modifiers & 0x0100)
        flags |= 4;
    if (modifiers & 0x0800)
        flags |= 8;
    return flags;
}
