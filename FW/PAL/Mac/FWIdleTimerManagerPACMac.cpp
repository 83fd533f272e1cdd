// Idle timers on the host's event-loop timers.
#include "FWIdleTimerManagerPAC.h"

#include "FWIdleTimer.h"
#include "HostPorts.h"

#include <cstdio>

EventLoopTimerUPP FWIdleTimerManagerPAC::sTimerCallBackUPP = nullptr;

std::map<FWIdleTimer*, EventLoopTimerRef>& FWIdleTimerManagerPAC::timerMap()
{
    static std::map<FWIdleTimer*, EventLoopTimerRef> sTimerMap;
    return sTimerMap;
}

void FWIdleTimerManagerPAC::Start(FWIdleTimer* timer, int milliseconds)
{
    install(timer, milliseconds, true);
}

void FWIdleTimerManagerPAC::StartOneShot(FWIdleTimer* timer, int milliseconds)
{
    install(timer, milliseconds, false);
}

void FWIdleTimerManagerPAC::install(FWIdleTimer* timer, int milliseconds, bool repeat)
{
    if (sTimerCallBackUPP == nullptr)
        sTimerCallBackUPP = NewEventLoopTimerUPP(&FWIdleTimerManagerPAC::timerCallBack);
    const double seconds = milliseconds * 0.001;
    // A timer is never installed twice.
    Stop(timer);
    EventLoopTimerRef platformTimer = nullptr;
    if (InstallEventLoopTimer(GetCurrentEventLoop(), seconds, repeat ? seconds : 0.0, sTimerCallBackUPP, timer,
                              &platformTimer) != noErr)
        return;
    timerMap()[timer] = platformTimer;
}

void FWIdleTimerManagerPAC::Stop(FWIdleTimer* timer)
{
    auto& map = timerMap();
    auto it = map.find(timer);
    if (it == map.end())
        return;
    RemoveEventLoopTimer(it->second);
    map.erase(it);
}

void FWIdleTimerManagerPAC::SetNextFire(FWIdleTimer* timer, int milliseconds)
{
    auto& map = timerMap();
    auto it = map.find(timer);
    if (it != map.end())
        SetEventLoopTimerNextFireTime(it->second, milliseconds * 0.001);
}

void FWIdleTimerManagerPAC::timerCallBack(EventLoopTimerRef, void* userData)
{
    // A timer action may draw: the drawing port of whatever the timer interrupted comes back.
    GrafPtr savedPort = nullptr;
    GetPort(&savedPort);
    auto* timer = static_cast<FWIdleTimer*>(userData);
    if (FWIdleTimer::IsValidTimer(timer))
        timer->TimerAction();
    else
        std::puts("destroyed timer");
    SetPort(savedPort);
}
