// The monotonic clock behind ticks and event times, and its manual replacement for tests.
#include "HostClock.h"

#include <chrono>
#include <thread>

namespace {

constexpr uint64_t kNanosecondsPerSecond = 1000000000ull;

bool sManual = false;
uint64_t sManualReading = 0;
// Added to the system clock's reading so that leaving manual mode never moves time backward.
uint64_t sSystemOffset = 0;

uint64_t systemNanoseconds()
{
    using namespace std::chrono;
    static const steady_clock::time_point sStart = steady_clock::now();
    return uint64_t(duration_cast<nanoseconds>(steady_clock::now() - sStart).count());
}

// The first reading at or after which TickCount() answers ticks.
uint64_t ticksToNanoseconds(uint64_t ticks)
{
    return (ticks * kNanosecondsPerSecond + 59) / 60;
}

} // namespace

uint64_t HostClockNanoseconds()
{
    if (sManual)
        return sManualReading;
    return systemNanoseconds() + sSystemOffset;
}

double GetCurrentEventTime()
{
    return double(HostClockNanoseconds()) / double(kNanosecondsPerSecond);
}

uint32_t TickCount()
{
    uint64_t now = HostClockNanoseconds();
    // Split to keep the product in range for any reading.
    uint64_t seconds = now / kNanosecondsPerSecond;
    uint64_t rest = now % kNanosecondsPerSecond;
    return uint32_t(seconds * 60 + rest * 60 / kNanosecondsPerSecond);
}

void Delay(uint32_t numTicks, uint32_t* finalTicks)
{
    if (sManual) {
        HostAdvanceTicks(numTicks);
    } else {
        uint32_t end = TickCount() + numTicks;
        // Ticks wrap; the signed difference stays right across the wrap.
        while (int32_t(end - TickCount()) > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (finalTicks != nullptr)
        *finalTicks = TickCount();
}

void HostSetManualClock(uint64_t nanoseconds)
{
    sManual = true;
    sManualReading = nanoseconds;
}

void HostAdvanceManualClock(uint64_t nanoseconds)
{
    if (!sManual)
        HostSetManualClock(HostClockNanoseconds());
    sManualReading += nanoseconds;
}

void HostSetManualTicks(uint32_t ticks)
{
    HostSetManualClock(ticksToNanoseconds(ticks));
}

void HostAdvanceTicks(uint32_t ticks)
{
    uint64_t now = HostClockNanoseconds();
    uint64_t seconds = now / kNanosecondsPerSecond;
    uint64_t rest = now % kNanosecondsPerSecond;
    uint64_t currentTicks = seconds * 60 + rest * 60 / kNanosecondsPerSecond;
    HostSetManualClock(ticksToNanoseconds(currentTicks + ticks));
}

void HostUseSystemClock()
{
    if (!sManual)
        return;
    uint64_t system = systemNanoseconds();
    if (system + sSystemOffset < sManualReading)
        sSystemOffset = sManualReading - system;
    sManual = false;
}

bool HostClockIsManual()
{
    return sManual;
}
