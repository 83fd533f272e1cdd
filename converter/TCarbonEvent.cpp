#include "TCarbonEvent.h"

TCarbonEvent::TCarbonEvent(EventRef event) : mEvent(RetainEvent(event))
{
}

TCarbonEvent::~TCarbonEvent()
{
    ReleaseEvent(mEvent);
}

OSStatus TCarbonEvent::GetParameter(EventParamName name, HICommandExtended* command) const
{
    return GetEventParameter(mEvent, name, typeHICommand, nullptr, sizeof *command, nullptr, command);
}
