// A modal dialog built from a window of a nib: OK and Cancel ('ok  ', 'not!') end it, its
// controls report their text changes, and Run shows it and runs it application-modal.
#pragma once

#include "HostCommands.h"
#include "PascalString.h"

class CCarbonDialog {
public:
    // Makes the window windowName of the nib nibName; without it the dialog does not Check.
    CCarbonDialog(const char* windowName, const char* nibName);
    virtual ~CCarbonDialog();
    CCarbonDialog(const CCarbonDialog&) = delete;
    CCarbonDialog& operator=(const CCarbonDialog&) = delete;

    // Shows the dialog and runs it until OK or Cancel; true for OK. False at once when the
    // dialog could not be made.
    virtual bool Run();
    // Handles a command of the window; true when it was one of the dialog's.
    virtual bool Command(uint32_t commandID);
    // An event of one of the window's controls (by control ID).
    virtual bool CtlAction(int32_t controlID, EventRef event);
    virtual bool TxtChanged(int32_t controlID) { return false; }
    // Fill the controls before showing, read them after OK.
    virtual void SetData() {}
    virtual void GetData() {}
    // Whether the window and its handler exist.
    virtual bool Check();

    // Puts the text into the control with ID {0, id}.
    void SetText(int32_t id, const PascalString& text);
    WindowRef GetWindow() const { return mWindow; }

private:
    static OSStatus DialogEventProc(EventHandlerCallRef callRef, EventRef event, void* userData);
    static OSStatus ControlEventProc(EventHandlerCallRef callRef, EventRef event, void* userData);
    void InstallControlHandlers();

    WindowRef mWindow = nullptr;
    EventHandlerUPP mDialogEventProc = nullptr;
    EventHandlerUPP mControlEventProc = nullptr;
    bool mResult = false;
};
