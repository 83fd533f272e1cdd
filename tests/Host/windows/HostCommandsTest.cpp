#include "HostCommands.h"
#include "HostControls.h"
#include "HostDesktopScope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder {
    std::string name;
    OSStatus answer;
    std::vector<std::string>* calls;
    bool callNext = false;
    EventHandlerRef removeDuringCall = nullptr;
};

OSStatus record(EventHandlerCallRef next, EventRef event, void* userData)
{
    auto* recorder = static_cast<Recorder*>(userData);
    HICommandExtended command{};
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command);
    recorder->calls->push_back(recorder->name + ":" + std::to_string(command.commandID));
    if (recorder->removeDuringCall != nullptr)
        RemoveEventHandler(recorder->removeDuringCall);
    if (recorder->callNext) {
        OSStatus nextResult = CallNextEventHandler(next, event);
        recorder->calls->push_back(recorder->name + " after next: " + std::to_string(nextResult));
    }
    return recorder->answer;
}

const EventTypeSpec kCommands[] = {{kEventClassCommand, kEventCommandProcess}};

OSStatus sendCommand(uint32_t commandID)
{
    HICommand command{};
    command.commandID = commandID;
    return ProcessHICommand(&command);
}

} // namespace

TEST(HostCommands, HandlersRunNewestFirstAndPassOnWhatTheyDoNotTake)
{
    HostDesktopScope desktop;
    HostResetApplicationEventTarget();
    std::vector<std::string> calls;
    Recorder older{"older", noErr, &calls};
    Recorder newer{"newer", eventNotHandledErr, &calls};
    EventHandlerRef olderRef = nullptr;
    EventHandlerRef newerRef = nullptr;
    ASSERT_EQ(noErr, InstallEventHandler(GetApplicationEventTarget(), record, 1, kCommands, &older, &olderRef));
    ASSERT_EQ(noErr, InstallEventHandler(GetApplicationEventTarget(), record, 0, nullptr, &newer, &newerRef));
    // Without types the newer handler hears nothing until it registers some.
    EXPECT_EQ(noErr, sendCommand(1));
    EXPECT_EQ((std::vector<std::string>{"older:1"}), calls);
    ASSERT_EQ(noErr, AddEventTypesToHandler(newerRef, 1, kCommands));
    calls.clear();
    EXPECT_EQ(noErr, sendCommand(2));
    EXPECT_EQ((std::vector<std::string>{"newer:2", "older:2"}), calls);

    // A handler can call the rest of the chain itself.
    newer.callNext = true;
    newer.answer = noErr;
    calls.clear();
    EXPECT_EQ(noErr, sendCommand(3));
    EXPECT_EQ((std::vector<std::string>{"newer:3", "older:3", "newer after next: 0"}), calls);

    // Nothing takes the event: not handled.
    newer.callNext = false;
    newer.answer = eventNotHandledErr;
    older.answer = eventNotHandledErr;
    EXPECT_EQ(eventNotHandledErr, sendCommand(4));

    // A handler removed while the event is being handled is not called again, nor freed under it.
    newer.removeDuringCall = olderRef;
    calls.clear();
    EXPECT_EQ(eventNotHandledErr, sendCommand(5));
    EXPECT_EQ((std::vector<std::string>{"newer:5"}), calls);
    EXPECT_EQ(noErr, RemoveEventHandler(newerRef));
    EXPECT_EQ(eventNotHandledErr, sendCommand(6));
    HostResetApplicationEventTarget();
}

TEST(HostCommands, CommandsGoFromControlToWindowToApplicationAndToTheActiveWindow)
{
    HostDesktopScope desktop;
    HostResetApplicationEventTarget();
    std::vector<std::string> calls;
    Recorder app{"app", noErr, &calls};
    Recorder window{"window", eventNotHandledErr, &calls};
    Recorder button{"button", eventNotHandledErr, &calls};
    InstallEventHandler(GetApplicationEventTarget(), record, 1, kCommands, &app, nullptr);

    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 300}, 0xFFFFFFFF);
    InstallEventHandler(GetWindowEventTarget(w), record, 1, kCommands, &window, nullptr);
    Rect r{10, 10, 30, 90};
    ControlRef control = nullptr;
    ASSERT_EQ(noErr, CreatePushButtonControl(w, &r, CFSTR("OK"), &control));
    InstallEventHandler(GetControlEventTarget(control), record, 1, kCommands, &button, nullptr);
    SetControlCommandID(control, 7);

    EXPECT_EQ(noErr, HostPressButton(control));
    EXPECT_EQ((std::vector<std::string>{"button:7", "window:7", "app:7"}), calls);
    calls.clear();
    // A command without a source goes to the active window first.
    EXPECT_EQ(noErr, sendCommand(8));
    EXPECT_EQ((std::vector<std::string>{"window:8", "app:8"}), calls);

    // The window's and the control's targets go with the window; a new window starts clean.
    DisposeWindow(w);
    EXPECT_EQ(nullptr, GetWindowEventTarget(w));
    EXPECT_EQ(nullptr, GetControlEventTarget(control));
    EXPECT_EQ(nullptr, GetControlOwner(control));
    calls.clear();
    WindowRef other = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 300}, 0xFFFFFFFF);
    EXPECT_NE(nullptr, GetWindowEventTarget(other));
    EXPECT_EQ(noErr, sendCommand(9));
    EXPECT_EQ((std::vector<std::string>{"app:9"}), calls);
    HostResetApplicationEventTarget();
}

TEST(HostCommands, EventParametersAreTypedAndCopiedWithinTheBuffer)
{
    EventRef event = nullptr;
    ASSERT_EQ(noErr, CreateEvent(kCFAllocatorDefault, kEventClassCommand, kEventCommandProcess, 0, 0, &event));
    EXPECT_EQ(kEventClassCommand, GetEventClass(event));
    EXPECT_EQ(uint32_t(kEventCommandProcess), GetEventKind(event));
    HICommandExtended command{};
    command.commandID = kHICommandOK;
    SetEventParameter(event, kEventParamDirectObject, typeHICommand, sizeof command, &command);

    HICommandExtended back{};
    EventParamType type = 0;
    ByteCount size = 0;
    EXPECT_EQ(noErr, GetEventParameter(event, kEventParamDirectObject, typeHICommand, &type, sizeof back, &size, &back));
    EXPECT_EQ(kHICommandOK, back.commandID);
    EXPECT_EQ(typeHICommand, type);
    EXPECT_EQ(sizeof command, size);
    uint8_t small[2] = {0xEE, 0xEE};
    EXPECT_EQ(noErr, GetEventParameter(event, kEventParamDirectObject, typeWildCard, nullptr, 1, &size, small));
    EXPECT_EQ(0xEE, small[1]);
    EXPECT_EQ(errAECoercionFail, GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, 8, nullptr, small));
    EXPECT_EQ(eventParameterNotFoundErr, GetEventParameter(event, FOUR_CHAR_CODE("none"), typeWildCard, nullptr, 0, nullptr, nullptr));
    RetainEvent(event);
    ReleaseEvent(event);
    ReleaseEvent(event);
    EXPECT_EQ(paramErr, SendEventToEventTarget(nullptr, GetApplicationEventTarget()));
}
