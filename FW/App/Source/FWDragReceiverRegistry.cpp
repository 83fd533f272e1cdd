#include "FWDragReceiverRegistry.h"

#include <algorithm>

std::vector<FWDragReceiverRegistry::Entry>& FWDragReceiverRegistry::entries()
{
    static std::vector<Entry> theEntries;
    return theEntries;
}

void FWDragReceiverRegistry::Register(FWDragReceiver* receiver, const FWWindow* window, const FWRect& rect)
{
    if (receiver == nullptr)
        return;
    for (Entry& entry : entries()) {
        if (entry.receiver == receiver) {
            entry.window = window;
            entry.rect = rect;
            return;
        }
    }
    entries().push_back({window, rect, receiver});
}

void FWDragReceiverRegistry::Unregister(FWDragReceiver* receiver)
{
    std::vector<Entry>& list = entries();
    list.erase(std::remove_if(list.begin(), list.end(), [&](const Entry& e) { return e.receiver == receiver; }),
               list.end());
}

FWDragReceiver* FWDragReceiverRegistry::FindReceiver(const FWPoint& point, const FWWindow* window)
{
    for (const Entry& entry : entries()) {
        if (entry.window == window && entry.rect.PtInRect(point))
            return entry.receiver;
    }
    return nullptr;
}

bool FWDragReceiverRegistry::WindowHasReceivers(const FWWindow* window)
{
    return std::any_of(entries().begin(), entries().end(), [&](const Entry& e) { return e.window == window; });
}
