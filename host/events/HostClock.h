// The host's clock: one monotonic time source for ticks (1/60 s) and event times. Tests
// replace it with a manual clock that moves only when told to.
#pragma once

#include <cstdint>

// Nanoseconds of the monotonic clock since the host first read it (or the manual reading).
uint64_t HostClockNanoseconds();

// The time of the current event, in seconds of the same clock.
double GetCurrentEventTime();

// Ticks (sixtieths of a second) of the same clock; wraps after about 2.2 years.
uint32_t TickCount();

// Waits numTicks ticks. Under the manual clock nothing sleeps: the clock moves on by numTicks.
// finalTicks, when given, receives TickCount() after the wait.
void Delay(uint32_t numTicks, uint32_t* finalTicks);

// Test interface: freeze the clock at a reading; it then moves only through the Advance calls.
void HostSetManualClock(uint64_t nanoseconds);
void HostAdvanceManualClock(uint64_t nanoseconds);
// The same in ticks: after HostSetManualTicks(t), TickCount() answers t exactly.
void HostSetManualTicks(uint32_t ticks);
void HostAdvanceTicks(uint32_t ticks);
// Back to the monotonic clock; it goes on from the last manual reading, so time never runs back.
void HostUseSystemClock();
bool HostClockIsManual();
