#include "FWIdleTimerManager.h"

#include "FWIdleTimerManagerPAC.h"

void FWIdleTimerManager::Start(FWIdleTimer* timer, int milliseconds)
{
    FWIdleTimerManagerPAC::Start(timer, milliseconds);
}

void FWIdleTimerManager::StartOneShot(FWIdleTimer* timer, int milliseconds)
{
    FWIdleTimerManagerPAC::StartOneShot(timer, milliseconds);
}

void FWIdleTimerManager::Stop(FWIdleTimer* timer)
{
    FWIdleTimerManagerPAC::Stop(timer);
}

void FWIdleTimerManager::SetNextFire(FWIdleTimer* timer, int milliseconds)
{
    FWIdleTimerManagerPAC::SetNextFire(timer, milliseconds);
}
