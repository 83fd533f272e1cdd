// Event-loop timers kept by the host: a table of installed timers, each with its next due time
// on the host clock; HostFireDueTimers runs the due ones.
#include "HostTimers.h"

#include "HostClock.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

struct HostEventLoop {
};

struct HostEventLoopTimer {
    uint64_t serial;     // unique for the run: tells a timer apart from a later one at the same address
    uint64_t due;        // host clock reading of the next firing; kNever when it will not fire
    uint64_t interval;   // nanoseconds; 0 for a one-shot timer
    EventLoopTimerUPP proc;
    void* userData;
};

namespace {

constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

std::vector<std::unique_ptr<HostEventLoopTimer>>& timers()
{
    static std::vector<std::unique_ptr<HostEventLoopTimer>> sTimers;
    return sTimers;
}

uint64_t sNextSerial = 1;

// Seconds to nanoseconds, negative and non-finite values as 0, huge ones as never.
uint64_t toNanoseconds(EventTimerInterval seconds)
{
    if (!(seconds > 0))
        return 0;
    const double ns = seconds * 1e9;
    if (ns >= 1.8e19)
        return kNever;
    return uint64_t(std::llround(ns));
}

uint64_t later(uint64_t now, uint64_t delay)
{
    if (delay == kNever || now > kNever - delay)
        return kNever;
    return now + delay;
}

HostEventLoopTimer* findBySerial(uint64_t serial)
{
    for (auto& t : timers())
        if (t->serial == serial)
            return t.get();
    return nullptr;
}

auto findByRef(EventLoopTimerRef timer)
{
    return std::find_if(timers().begin(), timers().end(), [timer](const auto& t) { return t.get() == timer; });
}

} // namespace

EventLoopTimerUPP NewEventLoopTimerUPP(EventLoopTimerProcPtr proc)
{
    return proc;
}

EventLoopRef GetCurrentEventLoop()
{
    static HostEventLoop sMainLoop;
    return &sMainLoop;
}

OSStatus InstallEventLoopTimer(EventLoopRef loop, EventTimerInterval fireDelay, EventTimerInterval interval,
                               EventLoopTimerUPP proc, void* userData, EventLoopTimerRef* outTimer)
{
    if (loop == nullptr || proc == nullptr)
        return paramErr;
    auto timer = std::make_unique<HostEventLoopTimer>();
    timer->serial = sNextSerial++;
    timer->due = later(HostClockNanoseconds(), toNanoseconds(fireDelay));
    timer->interval = toNanoseconds(interval);
    timer->proc = proc;
    timer->userData = userData;
    if (outTimer != nullptr)
        *outTimer = timer.get();
    timers().push_back(std::move(timer));
    return noErr;
}

OSStatus RemoveEventLoopTimer(EventLoopTimerRef timer)
{
    auto it = findByRef(timer);
    if (it == timers().end())
        return kHostTimerNotInstalledErr;
    timers().erase(it);
    return noErr;
}

OSStatus SetEventLoopTimerNextFireTime(EventLoopTimerRef timer, EventTimerInterval nextFire)
{
    auto it = findByRef(timer);
    if (it == timers().end())
        return kHostTimerNotInstalledErr;
    (*it)->due = later(HostClockNanoseconds(), toNanoseconds(nextFire));
    return noErr;
}

int HostFireDueTimers()
{
    const uint64_t now = HostClockNanoseconds();
    std::vector<std::pair<uint64_t, uint64_t>> due; // (due time, serial)
    for (const auto& t : timers())
        if (t->due <= now)
            due.emplace_back(t->due, t->serial);
    std::sort(due.begin(), due.end());

    int fired = 0;
    for (const auto& [when, serial] : due) {
        HostEventLoopTimer* timer = findBySerial(serial);
        if (timer == nullptr || timer->due > now)
            continue; // removed or re-armed by an earlier callback
        // The next firing is set before the callback, which may re-arm or remove the timer.
        timer->due = timer->interval == 0 ? kNever : later(now, timer->interval);
        ++fired;
        timer->proc(timer, timer->userData);
    }
    return fired;
}

uint64_t HostNanosecondsToNextTimer()
{
    const uint64_t now = HostClockNanoseconds();
    uint64_t next = UINT64_MAX;
    for (const auto& t : timers())
        if (t->due != kNever)
            next = std::min(next, t->due <= now ? 0 : t->due - now);
    return next;
}

int HostInstalledTimerCount()
{
    return int(timers().size());
}
