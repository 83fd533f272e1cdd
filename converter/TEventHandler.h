// The base of every object that handles platform events: it installs itself, once, on the event
// target it names, through one handler procedure shared by all such objects.
#pragma once

#include "TCarbonEvent.h"

class TEventHandler {
public:
    virtual ~TEventHandler();
    // Answers noErr when the event was handled, eventNotHandledErr to let it go on.
    virtual OSStatus HandleEvent(EventHandlerCallRef callRef, TCarbonEvent& event) = 0;
    virtual EventTargetRef GetEventTarget() = 0;

    // Installs the handler on GetEventTarget() the first time; null when that fails.
    EventHandlerRef GetEventHandler();
    // Adds event types to the handler, installing it first when needed.
    OSStatus RegisterForEvents(ItemCount count, const EventTypeSpec* types);

private:
    EventHandlerRef mHandler = nullptr;
};
