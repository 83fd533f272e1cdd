// User settings of the desktop that the framework reads: the double-click and caret-blink
// intervals and the text highlight colour. Fixed defaults that tests may change.
#pragma once

#include "HostTypes.h"

// Longest interval between the clicks of a double click, in ticks (default 30, half a second).
uint32_t GetDblTime();
// Interval between caret blinks, in ticks (default 32).
uint32_t GetCaretTime();
// The colour behind selected text (default a light blue).
void LMGetHiliteRGB(RGBColor* hiliteRGB);

// Test interface.
void HostSetDoubleClickTime(uint32_t ticks);
void HostSetCaretTime(uint32_t ticks);
void HostSetHiliteColor(RGBColor color);
void HostResetSystemSettings();
