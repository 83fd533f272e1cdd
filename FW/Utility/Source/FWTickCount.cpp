#include "FWTickCount.h"

#include "HostClock.h"

uint32_t FWTickCount()
{
    // Whole ticks of the event time; the host's TickCount reads the same clock exactly.
    return TickCount();
}
