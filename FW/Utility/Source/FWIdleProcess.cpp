// The rotation of idle processes: the list in the order they started and a cursor that marks
// whose turn is next.
#include "FWIdleProcess.h"

#include "FWTickCount.h"

#include <algorithm>
#include <cstddef>
#include <list>

namespace {

struct Rotation {
    std::list<FWIdleProcess*> active; // sActiveIdlers
    std::list<FWIdleProcess*>::iterator cursor = active.end(); // sCurrentIdler; may be end()
    uint32_t pass = 0;
    void (*startHook)() = nullptr;
};

Rotation& rotation()
{
    static Rotation sRotation;
    return sRotation;
}

} // namespace

FWIdleProcess::FWIdleProcess()
{
    rotation();
}

FWIdleProcess::~FWIdleProcess()
{
    StopIdling();
}

void FWIdleProcess::StartIdling()
{
    if (mIdling)
        return;
    Rotation& r = rotation();
    mIdling = true;
    r.active.push_back(this);
    if (r.active.size() == 1)
        r.cursor = r.active.begin();
    if (r.startHook != nullptr)
        r.startHook();
}

void FWIdleProcess::StopIdling()
{
    if (!mIdling)
        return;
    Rotation& r = rotation();
    for (auto it = r.active.begin(); it != r.active.end(); ++it) {
        if (*it != this)
            continue;
        if (r.cursor == it)
            ++r.cursor;
        r.active.erase(it);
        break;
    }
    mIdling = false;
}

void FWIdleProcess::DispatchIdleTime()
{
    Rotation& r = rotation();
    if (r.active.empty())
        return;
    const uint32_t deadline = FWTickCount() + gIdleTimeOut;
    // Every process is stamped with the pass in which it had its turn, so the pass ends once
    // no process in the list is left unserved, whatever was added or removed meanwhile.
    const uint32_t pass = ++r.pass == 0 ? ++r.pass : r.pass;
    for (;;) {
        if (r.active.empty())
            return;
        // From the cursor once around the list, to the first process not yet served.
        FWIdleProcess* next = nullptr;
        for (std::size_t step = 0, n = r.active.size(); step < n; ++step) {
            if (r.cursor == r.active.end())
                r.cursor = r.active.begin();
            if ((*r.cursor)->mServedInPass != pass) {
                next = *r.cursor;
                break;
            }
            ++r.cursor;
        }
        if (next == nullptr)
            return;
        // The cursor moves on before the turn, so a process that stops idling (itself or the
        // next one) during its turn moves the cursor at most once, and no process is skipped.
        ++r.cursor;
        next->mServedInPass = pass;
        next->UseIdleTime();
        if (FWTickCount() >= deadline)
            return;
    }
}

uint32_t FWIdleProcess::TicksToNextIdleWork()
{
    uint32_t next = kNoIdleWork;
    for (const FWIdleProcess* process : rotation().active)
        next = std::min(next, process->TicksToIdleWork());
    return next;
}

void FWIdleProcess::SetStartHook(void (*hook)())
{
    rotation().startHook = hook;
}
