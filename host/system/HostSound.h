// The system beep. The host has no sound: it counts the beeps so that tests and the display
// back ends can see them.
#pragma once

#include "HostTypes.h"

void SysBeep(int16_t duration);

// Reading interface.
uint32_t HostBeepCount();
int16_t HostLastBeepDuration();
void HostResetBeeps();
