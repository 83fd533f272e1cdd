// The application object: handles command events on the application target and installs the
// menu bar of its nib.
#pragma once

#include "TEventHandler.h"

class TApplication : public TEventHandler {
public:
    // Registers for command events and sets the menu bar menuBar of the nib nibName; a failure
    // leaves the application without them.
    TApplication(CFStringRef menuBar, CFStringRef nibName);
    ~TApplication() override;

    OSStatus HandleEvent(EventHandlerCallRef callRef, TCarbonEvent& event) override;
    EventTargetRef GetEventTarget() override;
    // Runs the application event loop until it is asked to quit.
    virtual void Run();
    virtual void Activated() {}
    virtual void Deactivated() {}
    // Whether the command's state was updated / the command carried out.
    virtual bool UpdateCommandStatus(const HICommandExtended& command) { return false; }
    virtual bool HandleCommand(const HICommandExtended& command) { return false; }

private:
    OSStatus Init(CFStringRef menuBar, CFStringRef nibName);
};
