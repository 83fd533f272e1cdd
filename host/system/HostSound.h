// The system beep. Every beep is counted, so that tests see them; a display back end that has a
// bell (the SDL back end on X11) also rings it.
#pragma once

#include "HostTypes.h"

#include <functional>

void SysBeep(int16_t duration);

// The display back end's bell, rung by every beep from then on; an empty function for none.
void HostSetBellRinger(std::function<void()> ringer);

// Reading interface.
uint32_t HostBeepCount();
int16_t HostLastBeepDuration();
void HostResetBeeps();
