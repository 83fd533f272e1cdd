// The platform half of the idle timers: one event-loop timer per running idle timer, all
// sharing one callback that checks the timer is still alive before its action runs.
#pragma once

#include "HostTimers.h"

#include <map>

class FWIdleTimer;

class FWIdleTimerManagerPAC {
public:
    static void Start(FWIdleTimer* timer, int milliseconds);
    static void StartOneShot(FWIdleTimer* timer, int milliseconds);
    static void Stop(FWIdleTimer* timer);
    static void SetNextFire(FWIdleTimer* timer, int milliseconds);

private:
    static void install(FWIdleTimer* timer, int milliseconds, bool repeat);
    static void timerCallBack(EventLoopTimerRef platformTimer, void* userData);
    static std::map<FWIdleTimer*, EventLoopTimerRef>& timerMap();

    static EventLoopTimerUPP sTimerCallBackUPP;
};
