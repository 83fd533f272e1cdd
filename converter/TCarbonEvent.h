// A platform event held for the time it is handled: retained on construction, released on
// destruction.
#pragma once

#include "HostCommands.h"

class TCarbonEvent {
public:
    explicit TCarbonEvent(EventRef event);
    ~TCarbonEvent();
    TCarbonEvent(const TCarbonEvent&) = delete;
    TCarbonEvent& operator=(const TCarbonEvent&) = delete;

    uint32_t GetClass() const { return GetEventClass(mEvent); }
    uint32_t GetKind() const { return GetEventKind(mEvent); }
    EventRef GetEventRef() const { return mEvent; }

    // Reads the command parameter (type 'hcmd').
    OSStatus GetParameter(EventParamName name, HICommandExtended* command) const;

private:
    EventRef mEvent;
};
