#include "FWDragManager.h"

#include "FWDragData.h"
#include "FWDragManagerPAC.h"
#include "FWDragReceiver.h"
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

void FWDragManager::NewReceiver(FWDragReceiver* receiver, const FWPoint& where)
{
    const FWDragData* proxy = FWDragManagerPAC::Proxy();
    if (proxy == nullptr)
        return;
    FWDragReceiver* current = FWDragManagerPAC::CurrentReceiver();
    if (receiver == current) {
        if (receiver != nullptr)
            receiver->Within(where, *proxy);
        return;
    }
    if (current != nullptr)
        current->Exit(where, *proxy);
    FWDragManagerPAC::SetCurrentReceiver(receiver);
    if (receiver != nullptr)
        receiver->Enter(where, *proxy);
}
