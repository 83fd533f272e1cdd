// Event-loop timers. A timer is installed with a first delay and a repeat interval (0: fire
// once) in seconds of the host clock, and fires only when the event wait (or a test) calls
// HostFireDueTimers.
#pragma once

#include "HostTypes.h"

#include <cstdint>

struct HostEventLoop;
struct HostEventLoopTimer;
using EventLoopRef = HostEventLoop*;
using EventLoopTimerRef = HostEventLoopTimer*;
using EventTimerInterval = double; // seconds

using EventLoopTimerProcPtr = void (*)(EventLoopTimerRef timer, void* userData);
using EventLoopTimerUPP = EventLoopTimerProcPtr;

enum : OSStatus {
    // A timer reference that names no installed timer.
    kHostTimerNotInstalledErr = paramErr,
};

EventLoopTimerUPP NewEventLoopTimerUPP(EventLoopTimerProcPtr proc);
EventLoopRef GetCurrentEventLoop();

// Installs a timer that first fires fireDelay seconds from now, then every interval seconds
// (never again for an interval of 0). outTimer receives the reference.
OSStatus InstallEventLoopTimer(EventLoopRef loop, EventTimerInterval fireDelay, EventTimerInterval interval,
                               EventLoopTimerUPP proc, void* userData, EventLoopTimerRef* outTimer);
// Removes and frees the timer; the reference is then invalid.
OSStatus RemoveEventLoopTimer(EventLoopTimerRef timer);
// The timer next fires nextFire seconds from now (also a one-shot timer that has fired).
OSStatus SetEventLoopTimerNextFireTime(EventLoopTimerRef timer, EventTimerInterval nextFire);

// Fires, in order of their due times, the timers due at the host clock's present reading; each
// at most once per call, so a callback that re-arms its timer cannot keep the call going. A
// timer removed by an earlier callback of the same call does not fire. Answers how many fired.
int HostFireDueTimers();
// How long, on the host clock, until the next timer is due: 0 when one is due now, UINT64_MAX
// when none will fire.
uint64_t HostNanosecondsToNextTimer();
// Test interface: the number of installed timers.
int HostInstalledTimerCount();
