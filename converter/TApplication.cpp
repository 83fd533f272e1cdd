#include "TApplication.h"

#include "HostModalLoop.h"
#include "TNib.h"

TApplication::TApplication(CFStringRef menuBar, CFStringRef nibName)
{
    Init(menuBar, nibName);
}

TApplication::~TApplication() = default;

OSStatus TApplication::Init(CFStringRef menuBar, CFStringRef nibName)
{
    const EventTypeSpec commands[] = {{kEventClassCommand, kEventCommandProcess}};
    OSStatus err = RegisterForEvents(1, commands);
    if (err != noErr)
        return err;
    TNib nib;
    err = nib.Create(nibName);
    if (err != noErr)
        return err;
    return SetMenuBarFromNib(nib.Get(), menuBar);
}

OSStatus TApplication::HandleEvent(EventHandlerCallRef, TCarbonEvent& event)
{
    if (event.GetClass() != kEventClassCommand)
        return eventNotHandledErr;
    HICommandExtended command{};
    if (event.GetParameter(kEventParamDirectObject, &command) != noErr)
        return eventNotHandledErr;
    bool handled = false;
    if (event.GetKind() == kEventCommandProcess)
        handled = HandleCommand(command);
    else if (event.GetKind() == kEventCommandUpdateStatus)
        handled = UpdateCommandStatus(command);
    return handled ? OSStatus(noErr) : OSStatus(eventNotHandledErr);
}

EventTargetRef TApplication::GetEventTarget()
{
    return GetApplicationEventTarget();
}

void TApplication::Run()
{
    RunApplicationEventLoop();
}
