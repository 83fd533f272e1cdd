// Script Manager facts of the host: one script, Roman, whose system font is font 0 (the system
// font) at 12 points, and the system's line direction.
#pragma once

#include "HostText.h"

// The system script, wherever a script code is asked for (the host's only script is Roman).
enum : ScriptCode { smSystemScript = -1 };

// Script variables the framework reads.
enum : int16_t {
    smScriptSysFond = 14,     // the script's system font number
    smScriptSysFondSize = 86, // font number in the high 16 bits, size in the low 16
    smScriptMenuFond = 12,    // the font of menu items shown in the script's font
    smScriptMenuFondSize = 84, // their size
};

// A variable of a script (smSystemScript or smRoman); 0 for a variable the host does not keep.
int32_t GetScriptVariable(int16_t script, int16_t selector);

// The system's line direction: 0 left to right (the default), -1 right to left.
int16_t GetSysDirection();
void SetSysDirection(int16_t direction);
