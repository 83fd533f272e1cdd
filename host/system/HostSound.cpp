// Beeps are counted, and rung on the display's bell where the back end has one.
#include "HostSound.h"

#include <utility>

namespace {
uint32_t sBeeps = 0;
int16_t sLastDuration = 0;

std::function<void()>& bellRinger()
{
    static auto* sRinger = new std::function<void()>;
    return *sRinger;
}
} // namespace

void SysBeep(int16_t duration)
{
    ++sBeeps;
    sLastDuration = duration;
    if (bellRinger())
        bellRinger()();
}

void HostSetBellRinger(std::function<void()> ringer)
{
    bellRinger() = std::move(ringer);
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
