#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostMenus.h"
#include "HostMessageWindows.h"
#include "HostModalLoop.h"
#include "HostNibs.h"
#include "HostScreen.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

struct Answer {
    uint32_t command = 0;
    int commands = 0;
};

// Ends the window's modal loop on OK or Cancel, remembering which.
OSStatus answerHandler(EventHandlerCallRef, EventRef event, void* userData)
{
    HICommandExtended command{};
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command);
    auto* answer = static_cast<Answer*>(userData);
    ++answer->commands;
    answer->command = command.commandID;
    QuitAppModalLoopForWindow(command.source.control != nullptr ? GetControlOwner(command.source.control) : nullptr);
    return noErr;
}

// A question window, shown, with the text set, answering into answer.
WindowRef question(Answer& answer, const char* text = "Go on?")
{
    HostMessageWindowSpec spec;
    spec.title = "Question";
    spec.buttons = {{"OK", kHICommandOK}, {"Cancel", kHICommandCancel}};
    WindowRef window = nullptr;
    EXPECT_EQ(noErr, HostCreateMessageWindow(spec, &window));
    ControlID id{0, 100};
    ControlRef item = nullptr;
    EXPECT_EQ(noErr, GetControlByID(window, &id, &item));
    SetControlData(item, 0, kControlStaticTextTextTag, Size(std::strlen(text)), text);
    const EventTypeSpec commands[] = {{kEventClassCommand, kEventCommandProcess}};
    InstallEventHandler(GetWindowEventTarget(window), answerHandler, 1, commands, &answer, nullptr);
    ShowWindow(window);
    return window;
}

Point globalCentreOf(WindowRef window, ControlRef control)
{
    Rect bounds;
    GetControlBounds(control, &bounds);
    Rect frame;
    GetWindowBounds(window, kWindowContentRgn, &frame);
    return Point{int16_t(frame.top + (bounds.top + bounds.bottom) / 2), int16_t(frame.left + (bounds.left + bounds.right) / 2)};
}

class ModalScope {
public:
    ModalScope() { HostResetModalLoops(); }
    ~ModalScope() { HostResetModalLoops(); }

private:
    HostDesktopScope mDesktop;
};

} // namespace

TEST(HostMessageWindows, TheButtonsAnswerByMouseAndByKey)
{
    ModalScope scope;
    for (int way = 0; way < 5; ++way) {
        Answer answer;
        WindowRef window = question(answer);
        ControlRef ok = nullptr;
        ControlRef cancel = nullptr;
        GetWindowDefaultButton(window, &ok);
        GetWindowCancelButton(window, &cancel);
        ASSERT_NE(nullptr, ok);
        ASSERT_NE(nullptr, cancel);
        uint32_t expected = kHICommandOK;
        switch (way) {
        case 0:
            HostInjectClick(globalCentreOf(window, cancel));
            expected = kHICommandCancel;
            break;
        case 1:
            HostInjectClick(globalCentreOf(window, ok));
            break;
        case 2:
            HostInjectKey(36, '\r');
            break;
        case 3:
            HostInjectKey(53, 27);
            expected = kHICommandCancel;
            break;
        case 4: {
            // Pressed on Cancel, released outside it: nothing; then Return.
            Point start = globalCentreOf(window, cancel);
            HostInjectMouseDown(start);
            HostInjectMouseMove(Point{int16_t(start.v - 60), start.h});
            HostInjectMouseUp(Point{int16_t(start.v - 60), start.h});
            HostInjectKey(36, '\r');
            break;
        }
        }
        EXPECT_EQ(noErr, RunAppModalLoopForWindow(window));
        EXPECT_EQ(expected, answer.command) << way;
        EXPECT_EQ(1, answer.commands) << way;
        DisposeWindow(window);
    }
}

TEST(HostMessageWindows, TheWindowShowsItsTitleTextAndButtons)
{
    ModalScope scope;
    Answer answer;
    WindowRef window = question(answer, "Error opening a.rsc");
    HostModalPresetAnswer(HostModalAnswer::kCancel);
    RunAppModalLoopForWindow(window);
    EXPECT_EQ(kHICommandCancel, answer.command);
    ASSERT_EQ(1u, HostModalShownLog().size());
    EXPECT_EQ("Question", HostModalShownLog()[0].title);
    EXPECT_EQ(std::vector<std::string>{"Error opening a.rsc"}, HostModalShownLog()[0].texts);

    // Ink where the text, the title and the buttons are; white in the text area's far corner.
    HostComposeScreen();
    Rect frame;
    GetWindowBounds(window, kWindowContentRgn, &frame);
    auto inkIn = [&](int top, int left, int bottom, int right) {
        int ink = 0;
        for (int v = top; v < bottom; ++v)
            for (int h = left; h < right; ++h)
                ink += HostDesktopScope::Rgb(HostScreenPixel(Point{int16_t(frame.top + v), int16_t(frame.left + h)})) <
                       0x404040;
        return ink;
    };
    EXPECT_GT(inkIn(38, 16, 56, 200), 20);  // the text's first line
    EXPECT_GT(inkIn(2, 150, 20, 270), 10);  // the title
    EXPECT_GT(inkIn(112, 320, 134, 404), 10); // the OK button
    EXPECT_EQ(0, inkIn(70, 300, 90, 400));
    DisposeWindow(window);
}

TEST(HostMessageWindows, NibsMakeTheirWindowsByName)
{
    ModalScope scope;
    HostResetNibs();
    HostMessageWindowSpec spec;
    spec.title = "Note";
    spec.buttons = {{"OK", kHICommandOK}};
    HostRegisterNibWindow("main", "Note", [spec](WindowRef* out) { return HostCreateMessageWindow(spec, out); });
    HostRegisterNibMenuBar("main", "MenuBar", {{"File", {{"Quit", kHICommandQuit, 'Q'}}}});

    IBNibRef nib = nullptr;
    EXPECT_EQ(kIBCarbonRuntimeCantFindNibFile, CreateNibReference(CFSTR("other"), &nib));
    EXPECT_EQ(nullptr, nib);
    ASSERT_EQ(noErr, CreateNibReference(CFSTR("main"), &nib));
    WindowRef window = nullptr;
    EXPECT_EQ(kIBCarbonRuntimeCantFindObject, CreateWindowFromNib(nib, CFSTR("Error"), &window));
    EXPECT_EQ(nullptr, window);
    ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Note"), &window));
    EXPECT_FALSE(IsWindowVisible(window));
    Str255 title;
    GetWTitle(window, title);
    EXPECT_EQ("Note", std::string(reinterpret_cast<char*>(title + 1), title[0]));
    EXPECT_EQ(kIBCarbonRuntimeCantFindObject, SetMenuBarFromNib(nib, CFSTR("Other")));
    EXPECT_TRUE(HostInstalledNibMenuBar().empty());
    EXPECT_EQ(noErr, SetMenuBarFromNib(nib, CFSTR("MenuBar")));
    ASSERT_EQ(1u, HostInstalledNibMenuBar().size());
    EXPECT_EQ("Quit", HostInstalledNibMenuBar()[0].items[0].text);
    // The installed bar is the host's bar, and is drawn: its title shows in the strip.
    ASSERT_EQ(1u, HostMenuBarMenus().size());
    MenuRef file = HostMenuBarMenus()[0];
    ASSERT_EQ(1, CountMenuItems(file));
    Str255 text;
    GetMenuItemText(file, 1, text);
    EXPECT_EQ("Quit", std::string(reinterpret_cast<char*>(text + 1), text[0]));
    MenuRef found = nullptr;
    MenuItemIndex index = 0;
    EXPECT_EQ(noErr, GetIndMenuItemWithCommandID(nullptr, kHICommandQuit, 1, &found, &index));
    EXPECT_EQ(file, found);
    HostComposeScreen();
    const Rect bar = HostMenuBarBounds();
    int dark = 0;
    for (int v = bar.top; v < bar.bottom - 1; ++v)
        for (int h = 0; h < 80; ++h)
            dark += HostGreyLevel(HostScreenPixel(Point{int16_t(v), int16_t(h)})) < 96 ? 1 : 0;
    EXPECT_GT(dark, 10);
    DisposeNibReference(nib);
    DisposeWindow(window);
    HostResetNibs();
}

TEST(HostModalLoop, HeadlessLoopsAnswerFromPresetsThenAsNobodyWould)
{
    ModalScope scope;
    ScratchFolder folder;
    setenv("FW_HOST_LOG", (folder / "log").c_str(), 1);
    setenv("FW_HOST_MODAL_ANSWERS", "cancel,bogus,ok", 1);
    HostModalPresetAnswer(HostModalAnswer::kDefault);
    std::vector<uint32_t> answers;
    for (int i = 0; i < 4; ++i) {
        Answer answer;
        WindowRef window = question(answer, i == 0 ? "caf\x8E" : "later"); // Mac Roman e acute
        RunAppModalLoopForWindow(window);
        answers.push_back(answer.command);
        DisposeWindow(window);
    }
    unsetenv("FW_HOST_MODAL_ANSWERS");
    unsetenv("FW_HOST_LOG");
    // The test's preset, then the environment's in order, then the default button.
    EXPECT_EQ((std::vector<uint32_t>{kHICommandOK, kHICommandCancel, kHICommandOK, kHICommandOK}), answers);
    std::vector<uint8_t> log = ReadBytes(folder / "log");
    const std::string later = "window\tQuestion\tlater\nclosed\tQuestion\n";
    EXPECT_EQ("window\tQuestion\tcaf\xC3\xA9\nclosed\tQuestion\n" + later + later + later, std::string(log.begin(), log.end()));
}

TEST(HostModalLoop, AQuitNobodyHandlesCancelsTheLoopsAndTheOnesAfter)
{
    ModalScope scope;
    Answer answer;
    WindowRef window = question(answer);
    HostInjectQuit();
    RunAppModalLoopForWindow(window);
    EXPECT_EQ(kHICommandCancel, answer.command);
    Answer later;
    WindowRef next = question(later);
    HostInjectKey(36, '\r');
    RunAppModalLoopForWindow(next);
    EXPECT_EQ(kHICommandCancel, later.command);
    EXPECT_EQ(errInvalidWindowRef, RunAppModalLoopForWindow(nullptr));
    DisposeWindow(window);
    DisposeWindow(next);
    HostDiscardInjected();
}

TEST(HostModalLoop, TheAlternativePresetPressesTheThirdButton)
{
    ModalScope scope;
    constexpr uint32_t kDontSave = FOUR_CHAR_CODE("nosv");
    HostMessageWindowSpec spec;
    spec.title = "Save?";
    spec.buttons = {{"Save", kHICommandOK}, {"Cancel", kHICommandCancel}, {"Don't Save", kDontSave}};
    setenv("FW_HOST_MODAL_ANSWERS", "alternative,cancel", 1);
    HostModalPresetAnswer(HostModalAnswer::kAlternative);
    std::vector<uint32_t> answers;
    for (int i = 0; i < 3; ++i) {
        WindowRef window = nullptr;
        ASSERT_EQ(noErr, HostCreateMessageWindow(spec, &window));
        Answer answer;
        const EventTypeSpec commands[] = {{kEventClassCommand, kEventCommandProcess}};
        InstallEventHandler(GetWindowEventTarget(window), answerHandler, 1, commands, &answer, nullptr);
        ShowWindow(window);
        RunAppModalLoopForWindow(window);
        answers.push_back(answer.command);
        DisposeWindow(window);
    }
    unsetenv("FW_HOST_MODAL_ANSWERS");
    EXPECT_EQ((std::vector<uint32_t>{kDontSave, kDontSave, kHICommandCancel}), answers);

    // A window without a third button cannot take that answer: its loop just ends.
    Answer answer;
    WindowRef window = question(answer);
    HostModalPresetAnswer(HostModalAnswer::kAlternative);
    RunAppModalLoopForWindow(window);
    EXPECT_EQ(0, answer.commands);
    DisposeWindow(window);
}
