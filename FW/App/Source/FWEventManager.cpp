#include "FWEventManager.h"

#include "HostEvents.h"

namespace {
FWEventManager* sAppEventManager = nullptr;
}

FWEventManager* FWEventManager::Instance()
{
    if (sAppEventManager == nullptr)
        sAppEventManager = new FWEventManager;
    return sAppEventManager;
}

void FWEventManager::Destroy()
{
    delete sAppEventManager;
    sAppEventManager = nullptr;
}

// To be built.
void FWEventManager::Execute() {}
void FWEventManager::Unblock() {}
void FWEventManager::GetSystemEvent(FWEvent& out, bool) { out = FWEvent(); }
bool FWEventManager::FilterEvent(const EventRecord&, bool, FWEvent&) { return false; }
bool FWEventManager::DoGrowWindow(FWWindow*, FWPoint*) { return false; }
void FWEventManager::countPress(FWEvent&) {}
void FWEventManager::rememberPress(const FWEvent&) {}
