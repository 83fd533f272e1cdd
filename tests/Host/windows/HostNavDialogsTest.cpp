#include "HostClock.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

namespace {

// What a caller of the dialog sees: the callback's messages, the reply's files, and the filter's
// answers (files ending in ".txt" only, folders always, or every item for the "All" type).
struct Caller {
    std::vector<NavEventCallbackMessage> messages;
    std::vector<std::string> replied;
    bool replyValid = false;
    std::string startFolder;   // set at kNavCBStart when not empty
    int typeIndex = 0;
    int popupChoices = 0;
    bool disposeOnTerminate = false;
};

Boolean filter(AEDesc* item, void* info, void* userData, NavFilterModes)
{
    auto* caller = static_cast<Caller*>(userData);
    if (static_cast<NavFileOrFolderInfo*>(info)->isFolder || caller->typeIndex == 1)
        return true;
    FSRef ref;
    if (AEGetDescData(item, &ref, Size(sizeof ref)) != noErr)
        return false;
    std::string path = ref.path;
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0;
}

void events(NavEventCallbackMessage message, NavCBRecPtr params, void* userData)
{
    auto* caller = static_cast<Caller*>(userData);
    caller->messages.push_back(message);
    switch (message) {
    case kNavCBStart:
        if (!caller->startFolder.empty()) {
            FSRef folder;
            FSPathMakeRef(reinterpret_cast<const UInt8*>(caller->startFolder.c_str()), &folder, nullptr);
            AEDesc location;
            AECreateDesc(typeFSRef, &folder, Size(sizeof folder), &location);
            EXPECT_EQ(noErr, NavCustomControl(params->context, kNavCtlSetLocation, &location));
            AEDisposeDesc(&location);
        }
        break;
    case kNavCBPopupMenuSelect:
        ++caller->popupChoices;
        caller->typeIndex = int(static_cast<const NavMenuItemSpec*>(params->eventData)->menuType);
        break;
    case kNavCBUserAction: {
        if (NavDialogGetUserAction(params->context) != kNavUserActionOpen)
            break;
        NavReplyRecord reply;
        ASSERT_EQ(noErr, NavDialogGetReply(params->context, &reply));
        caller->replyValid = reply.validRecord;
        int32_t count = 0;
        AECountItems(&reply.selection, &count);
        for (int32_t i = 1; i <= count; ++i) {
            FSRef ref;
            if (AEGetNthPtr(&reply.selection, i, typeFSRef, nullptr, nullptr, &ref, Size(sizeof ref), nullptr) == noErr)
                caller->replied.push_back(ref.path);
        }
        NavDisposeReply(&reply);
        break;
    }
    case kNavCBTerminate:
        if (caller->disposeOnTerminate)
            NavDialogDispose(params->context);
        break;
    default:
        break;
    }
}

// A folder with two text files, a picture, a hidden file and a folder holding another text file.
class NavScope {
public:
    NavScope()
    {
        HostResetModalLoops();
        HostNavClearPresetAnswers();
        for (const char* name : {"b.txt", "A.txt", "c.png", ".hidden.txt"})
            WriteBytes(mFolder / name, {1});
        std::filesystem::create_directory(mFolder / "sub");
        WriteBytes(mFolder / "sub/inner.txt", {2});
    }
    ~NavScope()
    {
        HostResetModalLoops();
        HostNavClearPresetAnswers();
    }
    std::string Path(const std::string& name = "") const
    {
        std::string canonical = std::filesystem::canonical(mFolder.Path()).string();
        return name.empty() ? canonical : canonical + "/" + name;
    }

    // Runs a dialog with the options set by adjust; answers what the caller saw.
    Caller Run(Caller caller, void (*adjust)(NavDialogCreationOptions&) = nullptr)
    {
        NavDialogCreationOptions options;
        NavGetDefaultDialogCreationOptions(&options);
        options.optionFlags = kNavNoTypePopup | kNavSupportPackages;
        options.message = CFSTR("Pick a text");
        if (adjust != nullptr)
            adjust(options);
        NavDialogRef dialog = nullptr;
        EXPECT_EQ(noErr, NavCreateGetFileDialog(&options, nullptr, events, nullptr, filter, &caller, &dialog));
        EXPECT_EQ(noErr, NavDialogRun(dialog));
        if (!caller.disposeOnTerminate)
            NavDialogDispose(dialog);
        return caller;
    }

    // Runs a dialog at (100, 100); input(origin) injects what the user does, given the top left
    // of the window's content.
    Caller RunAt(Caller caller, const std::function<void(Point)>& input)
    {
        NavDialogCreationOptions options;
        NavGetDefaultDialogCreationOptions(&options);
        options.location = Point{100, 100};
        NavDialogRef dialog = nullptr;
        EXPECT_EQ(noErr, NavCreateGetFileDialog(&options, nullptr, events, nullptr, filter, &caller, &dialog));
        Rect frame;
        GetWindowBounds(NavDialogGetWindow(dialog), kWindowContentRgn, &frame);
        input(Point{frame.top, frame.left});
        EXPECT_EQ(noErr, NavDialogRun(dialog));
        NavDialogDispose(dialog);
        HostDiscardInjected();
        return caller;
    }

private:
    HostDesktopScope mDesktop;
    ScratchFolder mFolder;
};

const std::vector<NavEventCallbackMessage> kOpened{kNavCBStart, kNavCBUserAction, kNavCBTerminate};

} // namespace

TEST(HostNavDialogs, ShowsWhatTheFilterLetsThroughInTheStartFolder)
{
    NavScope scope;
    // A FIFO is no document, whatever its name.
    ASSERT_EQ(0, mkfifo(scope.Path("pipe.txt").c_str(), 0600));
    HostNavPresetAnswer(HostNavAnswer{true, {}});
    Caller caller;
    caller.startFolder = scope.Path();
    Caller seen = scope.Run(caller);
    EXPECT_EQ(kOpened, seen.messages);
    EXPECT_TRUE(seen.replied.empty());
    const HostNavShown& shown = HostNavLastShown();
    EXPECT_EQ("Pick a text", shown.message);
    EXPECT_FALSE(shown.allowsMultipleFiles);
    EXPECT_EQ(scope.Path(), shown.startFolder);
    EXPECT_EQ((std::vector<std::string>{"A.txt", "b.txt", "sub/"}), shown.entries);
    ASSERT_FALSE(HostModalShownLog().empty());
    EXPECT_EQ("Open", HostModalShownLog().back().title);
    EXPECT_EQ(std::vector<std::string>{"Pick a text"}, HostModalShownLog().back().texts);

    // e acute as UTF-8 and as the Latin-1 byte shows, and is typed (0x8E), as one; each keeps its bytes.
    WriteBytes(scope.Path("caf\xE9.txt"), {1});
    WriteBytes(scope.Path("caf\xC3\xA9.txt"), {1});
    for (char c : std::string("caf\x8E")) HostInjectKey(0, uint8_t(c));
    HostInjectKey(125, 31);
    HostInjectKey(36, '\r');
    EXPECT_EQ(std::vector<std::string>{scope.Path("caf\xE9.txt")}, scope.Run(caller).replied);
    EXPECT_EQ((std::vector<std::string>{"A.txt", "b.txt", "caf\xC3\xA9.txt", "caf\xC3\xA9.txt", "sub/"}),
              HostNavLastShown().entries);
}

TEST(HostNavDialogs, PresetAnswersGiveWhatAUserCouldChoose)
{
    NavScope scope;
    // One file at a time: the first of several; a folder or a missing file cannot be chosen.
    HostNavPresetAnswer(HostNavAnswer{false, {scope.Path("b.txt"), scope.Path("A.txt")}});
    HostNavPresetAnswer(HostNavAnswer{false, {scope.Path("sub"), scope.Path("gone.txt")}});
    Caller first = scope.Run(Caller());
    EXPECT_EQ(kOpened, first.messages);
    EXPECT_TRUE(first.replyValid);
    EXPECT_EQ(std::vector<std::string>{scope.Path("b.txt")}, first.replied);
    Caller second = scope.Run(Caller());
    EXPECT_TRUE(second.replied.empty());

    HostNavPresetAnswer(HostNavAnswer{false, {scope.Path("b.txt"), scope.Path("sub/inner.txt")}});
    Caller several = scope.Run(Caller(), [](NavDialogCreationOptions& o) { o.optionFlags |= kNavAllowMultipleFiles; });
    EXPECT_EQ((std::vector<std::string>{scope.Path("b.txt"), scope.Path("sub/inner.txt")}), several.replied);
    EXPECT_TRUE(HostNavLastShown().allowsMultipleFiles);

    // The environment's answer serves every run once the test's presets are used up.
    setenv("FW_HOST_NAV_ANSWER", (scope.Path("A.txt") + "\n" + scope.Path("b.txt")).c_str(), 1);
    Caller fromEnvironment = scope.Run(Caller());
    setenv("FW_HOST_NAV_ANSWER", "cancel", 1);
    Caller cancelled = scope.Run(Caller());
    unsetenv("FW_HOST_NAV_ANSWER");
    EXPECT_EQ(std::vector<std::string>{scope.Path("A.txt")}, fromEnvironment.replied);
    EXPECT_TRUE(cancelled.replied.empty());
    EXPECT_EQ(kOpened, cancelled.messages);

    // Nobody there and nothing preset: cancelled rather than waiting.
    Caller unattended = scope.Run(Caller());
    EXPECT_TRUE(unattended.replied.empty());
}

TEST(HostNavDialogs, TheKeyboardAndTheMouseWalkTheFoldersAndChoose)
{
    NavScope scope;
    Caller caller;
    caller.startFolder = scope.Path();
    // Down three times reaches "sub/"; Return enters it; Down and Return choose inner.txt.
    for (int i = 0; i < 3; ++i)
        HostInjectKey(125, 31);
    HostInjectKey(36, '\r');
    HostInjectKey(125, 31);
    HostInjectKey(36, '\r');
    Caller keyboard = scope.Run(caller);
    EXPECT_EQ(std::vector<std::string>{scope.Path("sub/inner.txt")}, keyboard.replied);

    // Command-up goes to the folder above; a double click on a file chooses it.
    caller.startFolder = scope.Path("sub");
    HostInjectKey(126, 30, cmdKey);
    // The item list's second row ("b.txt").
    Caller clicked = scope.RunAt(caller, [](Point o) {
        Point row{int16_t(o.v + 62 + 2 + 18 + 9), int16_t(o.h + 260)};
        HostInjectClick(row);
        HostInjectClick(row);
    });
    EXPECT_EQ(std::vector<std::string>{scope.Path("b.txt")}, clicked.replied);
}

TEST(HostNavDialogs, TheTypePopupTellsTheCallerAndShowsTheItemsOfTheNewType)
{
    NavScope scope;
    Caller caller;
    caller.startFolder = scope.Path();
    caller.disposeOnTerminate = true; // disposing from the callback is safe
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.location = Point{100, 100};
    const void* names[] = {CFSTR("Texts"), CFSTR("All")};
    CFArrayRef types = CFArrayCreate(kCFAllocatorDefault, names, 2, &kCFTypeArrayCallBacks);
    options.popupExtension = types;
    NavDialogRef dialog = nullptr;
    ASSERT_EQ(noErr, NavCreateGetFileDialog(&options, nullptr, events, nullptr, filter, &caller, &dialog));
    CFRelease(types); // the dialog keeps its own reference
    Rect frame;
    GetWindowBounds(NavDialogGetWindow(dialog), kWindowContentRgn, &frame);
    HostInjectClick(Point{int16_t(frame.top + 420 - 33), int16_t(frame.left + 100)});
    EXPECT_EQ(noErr, NavDialogRun(dialog));
    EXPECT_EQ(1, caller.popupChoices);
    EXPECT_EQ(1, caller.typeIndex);
    EXPECT_EQ((std::vector<std::string>{"Texts", "All"}), HostNavLastShown().typeNames);

    NavMenuItemSpec wrong{};
    wrong.menuCreator = FOUR_CHAR_CODE("abcd");
    NavDialogRef other = nullptr;
    NavCreateGetFileDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &other);
    EXPECT_EQ(kNavCustomControlMessageFailedErr, NavCustomControl(other, kNavCtlSelectCustomType, &wrong));
    EXPECT_EQ(kNavInvalidCustomControlMessageErr, NavCustomControl(other, 99, nullptr));
    AEDesc notAFolder;
    FSRef file;
    FSPathMakeRef(reinterpret_cast<const UInt8*>(scope.Path("b.txt").c_str()), &file, nullptr);
    AECreateDesc(typeFSRef, &file, Size(sizeof file), &notAFolder);
    EXPECT_EQ(kNavCustomControlMessageFailedErr, NavCustomControl(other, kNavCtlSetLocation, &notAFolder));
    AEDisposeDesc(&notAFolder);
    NavDialogDispose(other);
    EXPECT_EQ(paramErr, NavDialogRun(nullptr));
}

TEST(HostNavDialogs, ABigFolderScrollsByWheelAndBarAndSelectsByKeysAndTyping)
{
    // Sorted: A.txt, b.txt, n0000.txt ... n2999.txt, sub/ (item i + 2 is n<i>). The item list
    // shows 16 rows from local (64, 212); its bar runs from 63 to 359 at the right, and the
    // thumb, 16 long, travels 280 pixels over the 2987 first rows there can be.
    NavScope scope;
    for (int i = 0; i < 3000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "n%04d.txt", i);
        WriteBytes(scope.Path(name), {1});
    }
    auto row = [](Point o, int r) { return Point{int16_t(o.v + 64 + r * 18 + 9), int16_t(o.h + 300)}; };
    auto bar = [](Point o, int v) { return Point{int16_t(o.v + v), int16_t(o.h + 578)}; };
    auto choose = [&](Point o, int r) { HostInjectClick(row(o, r)); HostInjectClick(row(o, r)); };
    auto key = [](uint8_t code, uint8_t c) { HostInjectKey(code, c); };
    auto type = [](const char* text) { for (; *text != 0; ++text) HostInjectKey(0, uint8_t(*text)); };
    auto drag = [&](Point o, int to) {
        HostInjectMouseDown(bar(o, 71));
        HostInjectMouseMove(bar(o, to));
        HostInjectMouseUp(bar(o, to));
    };
    const struct {
        const char* what;
        std::function<void(Point)> input;
        const char* chosen;
    } cases[] = {
        {"wheel toward the user", [&](Point o) { HostInjectWheel(row(o, 3), -4); choose(o, 0); }, "n0010.txt"},
        {"wheel past the end and back",
         [&](Point o) { HostInjectWheel(row(o, 3), -2000); HostInjectWheel(row(o, 3), 1); choose(o, 0); }, "n2982.txt"},
        {"thumb dragged half way", [&](Point o) { drag(o, 211); choose(o, 0); }, "n1492.txt"},
        {"thumb dragged past the end", [&](Point o) { drag(o, 600); choose(o, 14); }, "n2999.txt"},
        {"track below the thumb", [&](Point o) { HostInjectClick(bar(o, 300)); choose(o, 0); }, "n0014.txt"},
        {"track above the thumb, in the lower half",
         [&](Point o) { HostInjectWheel(row(o, 3), -2000); HostInjectClick(bar(o, 250)); choose(o, 0); }, "n2969.txt"},
        {"page keys", [&](Point) { key(125, 31); key(121, 12); key(121, 12); key(116, 11); key(125, 31); key(36, 13); },
         "n0015.txt"},
        {"End, Page Up", [&](Point) { key(119, 4); key(116, 11); key(36, 13); }, "n2984.txt"},
        {"End, Home", [&](Point) { key(119, 4); key(115, 1); key(125, 31); key(36, 13); }, "b.txt"},
        {"typed prefix", [&](Point) { type("n12"); key(36, 13); }, "n1200.txt"},
        {"a pause starts afresh, in any case",
         [&](Point) { type("N25"); HostAdvanceTicks(120); type("B"); key(36, 13); }, "b.txt"},
        {"no name starts so", [&](Point) { type("n25z"); key(36, 13); }, "n2500.txt"},
    };
    Caller caller;
    caller.startFolder = scope.Path();
    for (const auto& c : cases)
        EXPECT_EQ(std::vector<std::string>{scope.Path(c.chosen)}, scope.RunAt(caller, c.input).replied) << c.what;
}
