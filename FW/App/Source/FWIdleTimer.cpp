// Timer identity: every live timer is in the registry of live timers and ids, so that a firing
// can be checked against it.
#include "FWIdleTimer.h"

#include "FWIdleTimerManager.h"

#include <set>

int32_t FWIdleTimer::sNextID = 1;

namespace {

std::set<FWIdleTimer*>& validTimers()
{
    static std::set<FWIdleTimer*> sValidTimers;
    return sValidTimers;
}

std::set<int32_t>& validIDs()
{
    static std::set<int32_t> sValidIDs;
    return sValidIDs;
}

} // namespace

FWIdleTimer::FWIdleTimer() : mID(sNextID++)
{
    validTimers().insert(this);
    validIDs().insert(mID);
}

FWIdleTimer::~FWIdleTimer()
{
    FWIdleTimerManager::Stop(this);
    validTimers().erase(this);
    validIDs().erase(mID);
}

bool FWIdleTimer::IsValidTimer(FWIdleTimer* timer)
{
    return validTimers().count(timer) != 0;
}
