#include "FWDragManager.h"

#include "FWDragManagerPAC.h"
#include "FWDragReceiverRegistry.h"

void FWDragManager::Init()
{
    FWDragManagerPAC::Init();
}

void FWDragManager::CleanUp()
{
    FWDragManagerPAC::CleanUp();
}

int FWDragManager::TrackDrag(const FWEvent& event, const FWWindow* window, const FWDragData& data)
{
    return FWDragManagerPAC::TrackDrag(event, window, data);
}

void FWDragManager::RegisterReceiver(FWDragReceiver* receiver, const FWWindow* window, const FWRect& rect)
{
    FWDragReceiverRegistry::Register(receiver, window, rect);
}

void FWDragManager::UnregisterReceiver(FWDragReceiver* receiver)
{
    FWDragReceiverRegistry::Unregister(receiver);
}
