#include "TEventHandler.h"

namespace {

// The one handler procedure, made on first use and shared by every handler object.
EventHandlerUPP sharedHandlerProc()
{
    static EventHandlerUPP proc = nullptr;
    if (proc == nullptr)
        proc = NewEventHandlerUPP(
            [](EventHandlerCallRef callRef, EventRef event, void* userData) -> OSStatus {
                TCarbonEvent wrapped(event);
                return static_cast<TEventHandler*>(userData)->HandleEvent(callRef, wrapped);
            });
    return proc;
}

} // namespace

TEventHandler::~TEventHandler()
{
    if (mHandler != nullptr)
        RemoveEventHandler(mHandler);
}

EventHandlerRef TEventHandler::GetEventHandler()
{
    if (mHandler == nullptr)
        InstallEventHandler(GetEventTarget(), sharedHandlerProc(), 0, nullptr, this, &mHandler);
    return mHandler;
}

OSStatus TEventHandler::RegisterForEvents(ItemCount count, const EventTypeSpec* types)
{
    EventHandlerRef handler = GetEventHandler();
    if (handler == nullptr)
        return paramErr;
    return AddEventTypesToHandler(handler, count, types);
}
