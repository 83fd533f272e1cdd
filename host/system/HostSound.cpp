// Beeps are recorded, not sounded.
#include "HostSound.h"

namespace {
uint32_t sBeeps = 0;
int16_t sLastDuration = 0;
} // namespace

void SysBeep(int16_t duration)
{
    ++sBeeps;
    sLastDuration = duration;
}

uint32_t HostBeepCount()
{
    return sBeeps;
}

int16_t HostLastBeepDuration()
{
    return sLastDuration;
}

void HostResetBeeps()
{
    sBeeps = 0;
    sLastDuration = 0;
}
