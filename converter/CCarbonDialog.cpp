#include "CCarbonDialog.h"

#include "HostControls.h"
#include "HostModalLoop.h"
#include "TNib.h"

namespace {

// An ASCII core string, released with the object.
class AsciiString {
public:
    explicit AsciiString(const char* text)
        : mString(CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII))
    {
    }
    ~AsciiString()
    {
        if (mString != nullptr)
            CFRelease(mString);
    }
    AsciiString(const AsciiString&) = delete;
    AsciiString& operator=(const AsciiString&) = delete;
    CFStringRef Get() const { return mString; }

private:
    CFStringRef mString;
};

} // namespace

CCarbonDialog::CCarbonDialog(const char* windowName, const char* nibName)
{
    {
        AsciiString nibString(nibName);
        AsciiString windowString(windowName);
        TNib nib;
        if (nib.Create(nibString.Get()) != noErr ||
            CreateWindowFromNib(nib.Get(), windowString.Get(), &mWindow) != noErr)
            mWindow = nullptr;
    }
    if (mWindow == nullptr)
        return;
    SetWRefCon(mWindow, this);
    const EventTypeSpec commands[] = {{kEventClassCommand, kEventCommandProcess}};
    EventHandlerUPP proc = NewEventHandlerUPP(DialogEventProc);
    if (InstallEventHandler(GetWindowEventTarget(mWindow), proc, 1, commands, this, nullptr) == noErr)
        mDialogEventProc = proc;
    InstallControlHandlers();
}

CCarbonDialog::~CCarbonDialog()
{
    if (mWindow != nullptr) {
        HideWindow(mWindow);
        DisposeWindow(mWindow);
    }
    if (mDialogEventProc != nullptr)
        DisposeEventHandlerUPP(mDialogEventProc);
    if (mControlEventProc != nullptr)
        DisposeEventHandlerUPP(mControlEventProc);
}

void CCarbonDialog::InstallControlHandlers()
{
    ControlRef root = nullptr;
    if (GetRootControl(mWindow, &root) != noErr && CreateRootControl(mWindow, &root) != noErr)
        return;
    mControlEventProc = NewEventHandlerUPP(ControlEventProc);
    const EventTypeSpec textChanged[] = {{kEventClassTextField, kEventTextDidChange}};
    // The controls of the root and the controls inside those.
    UInt16 count = 0;
    CountSubControls(root, &count);
    for (UInt16 i = 1; i <= count; ++i) {
        ControlRef control = nullptr;
        if (GetIndexedSubControl(root, i, &control) != noErr)
            continue;
        InstallEventHandler(GetControlEventTarget(control), mControlEventProc, 1, textChanged, this, nullptr);
        UInt16 inner = 0;
        CountSubControls(control, &inner);
        for (UInt16 k = 1; k <= inner; ++k) {
            ControlRef child = nullptr;
            if (GetIndexedSubControl(control, k, &child) == noErr)
                InstallEventHandler(GetControlEventTarget(child), mControlEventProc, 1, textChanged, this, nullptr);
        }
    }
}

OSStatus CCarbonDialog::DialogEventProc(EventHandlerCallRef, EventRef event, void* userData)
{
    HICommandExtended command{};
    if (GetEventClass(event) != kEventClassCommand ||
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command) !=
            noErr)
        return eventNotHandledErr;
    return static_cast<CCarbonDialog*>(userData)->Command(command.commandID) ? OSStatus(noErr)
                                                                             : OSStatus(eventNotHandledErr);
}

OSStatus CCarbonDialog::ControlEventProc(EventHandlerCallRef, EventRef event, void*)
{
    ControlRef control = nullptr;
    if (GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control, nullptr, &control) !=
        noErr)
        return eventNotHandledErr;
    WindowRef window = GetControlOwner(control);
    auto* dialog = window != nullptr ? static_cast<CCarbonDialog*>(GetWRefCon(window)) : nullptr;
    ControlID id{0, 0};
    if (dialog == nullptr || GetControlID(control, &id) != noErr)
        return eventNotHandledErr;
    return dialog->CtlAction(id.id, event) ? OSStatus(noErr) : OSStatus(eventNotHandledErr);
}

bool CCarbonDialog::Command(uint32_t commandID)
{
    if (commandID != kHICommandOK && commandID != kHICommandCancel)
        return false;
    mResult = commandID == kHICommandOK;
    QuitAppModalLoopForWindow(mWindow);
    return true;
}

bool CCarbonDialog::CtlAction(int32_t controlID, EventRef event)
{
    if (GetEventClass(event) == kEventClassTextField && GetEventKind(event) == kEventTextDidChange)
        return TxtChanged(controlID);
    return false;
}

bool CCarbonDialog::Check()
{
    return mWindow != nullptr && mDialogEventProc != nullptr;
}

bool CCarbonDialog::Run()
{
    if (!Check())
        return false;
    mResult = false;
    SetData();
    ShowWindow(mWindow);
    RunAppModalLoopForWindow(mWindow);
    if (mResult)
        GetData();
    return mResult;
}

void CCarbonDialog::SetText(int32_t id, const PascalString& text)
{
    ControlRef control = nullptr;
    ControlID controlID{0, id};
    if (mWindow == nullptr || GetControlByID(mWindow, &controlID, &control) != noErr)
        return;
    SetControlData(control, 0, kControlStaticTextTextTag, text.Length(), text.CStr());
}
