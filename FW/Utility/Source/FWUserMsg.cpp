// The message dialog, shown through the host's message windows: OK is the default button,
// Cancel the cancel button, and the alternative button carries its own command.
#include "FWUserMsg.h"

#include "FWPlatformUtils.h"
#include "HostCommands.h"
#include "HostMessageWindows.h"
#include "HostModalLoop.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kAlternativeCommand = FOUR_CHAR_CODE("alt ");
constexpr int32_t kTextItemID = 100;

struct RunState {
    WindowRef window;
    int32_t result;
};

// Any of the three buttons ends the loop with its result.
OSStatus buttonCommand(EventHandlerCallRef, EventRef event, void* userData)
{
    HICommandExtended command{};
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command) !=
        noErr)
        return eventNotHandledErr;
    auto* state = static_cast<RunState*>(userData);
    switch (command.commandID) {
    case kHICommandOK:
        state->result = FWUserMsg::kResultOK;
        break;
    case kHICommandCancel:
        state->result = FWUserMsg::kResultCancel;
        break;
    case kAlternativeCommand:
        state->result = FWUserMsg::kResultAlternative;
        break;
    default:
        return eventNotHandledErr;
    }
    QuitAppModalLoopForWindow(state->window);
    return noErr;
}

bool hasText(const char* title)
{
    return title != nullptr && title[0] != '\0';
}

} // namespace

FWUserMsg::FWUserMsg(const char* format, ...) : mText(new char[kTextSize])
{
    mText[0] = '\0';
    if (format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    // vsnprintf cuts the text at kTextSize - 1 characters.
    std::vsnprintf(mText.get(), kTextSize, format, args);
    va_end(args);
}

bool FWUserMsg::Execute()
{
    if (mPlayBeep)
        FWSystemBeep(1);
    mResult = kNoResult;

    HostMessageWindowSpec spec;
    spec.textID = kTextItemID;
    spec.buttons.push_back({mOKTitle != nullptr ? mOKTitle : "OK", kHICommandOK});
    if (hasText(mCancelTitle))
        spec.buttons.push_back({mCancelTitle, kHICommandCancel});
    if (hasText(mAltTitle))
        spec.buttons.push_back({mAltTitle, kAlternativeCommand});
    WindowRef window = nullptr;
    if (HostCreateMessageWindow(spec, &window) != noErr)
        return false;

    ControlID textID{0, kTextItemID};
    ControlRef text = nullptr;
    if (GetControlByID(window, &textID, &text) == noErr)
        SetControlData(text, 0, kControlStaticTextTextTag, Size(std::strlen(mText.get())), mText.get());

    RunState state{window, kNoResult};
    const EventTypeSpec commands[] = {{kEventClassCommand, kEventCommandProcess}};
    InstallEventHandler(GetWindowEventTarget(window), buttonCommand, 1, commands, &state, nullptr);
    ShowWindow(window);
    RunAppModalLoopForWindow(window);
    DisposeWindow(window);

    mResult = state.result;
    return mResult == kResultOK;
}

int32_t FWUserMsg::Display(const char* format, ...)
{
    if (format == nullptr)
        return 0;
    static char sText[kTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(sText, sizeof sText, format, args);
    va_end(args);

    // The text is shown as it is: it is data, not a second format.
    FWUserMsg message("%s", sText);
    int32_t result = message.Execute() ? 1 : 0;
    message.SendMessage(IsBeingDeleted);
    return result;
}
