#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostNavDialogs.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

struct StartFolder {
    std::string path;
};

void startIn(NavEventCallbackMessage message, NavCBRecPtr params, void* userData)
{
    if (message != kNavCBStart)
        return;
    FSRef folder;
    const std::string& path = static_cast<StartFolder*>(userData)->path;
    ASSERT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &folder, nullptr));
    AEDesc location;
    ASSERT_EQ(noErr, AECreateDesc(typeFSRef, &folder, Size(sizeof folder), &location));
    NavCustomControl(params->context, kNavCtlSetLocation, &location);
    AEDisposeDesc(&location);
}

// What a run of the save dialog answered.
struct Saved {
    NavUserAction action = kNavUserActionNone;
    std::string path;       // the reply's folder and name
    bool replacing = false;
};

// Types Mac Roman characters into the dialog.
void type(const std::string& text)
{
    for (char c : text)
        HostInjectKey(0, uint8_t(c));
}

void pressReturn()
{
    HostInjectKey(36, 13);
}

void pressEscape()
{
    HostInjectKey(53, 27);
}

// Runs a save dialog proposing name in folder; input(window) injects the user's input once the
// window is made (its content's top left, to place clicks).
Saved runSave(const std::string& folder, const char* name, const std::function<void(Point)>& input)
{
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.saveFileName = HostCFStringCreateWithFileName(name);
    StartFolder start{folder};
    NavDialogRef dialog = nullptr;
    EXPECT_EQ(noErr, NavCreatePutFileDialog(&options, 0, 0, startIn, &start, &dialog));
    CFRelease(options.saveFileName);
    Rect content{};
    GetWindowBounds(NavDialogGetWindow(dialog), kWindowContentRgn, &content);
    input(Point{content.top, content.left});
    EXPECT_EQ(noErr, NavDialogRun(dialog));
    Saved saved;
    saved.action = NavDialogGetUserAction(dialog);
    NavReplyRecord reply;
    if (saved.action == kNavUserActionSaveAs && NavDialogGetReply(dialog, &reply) == noErr) {
        FSRef ref;
        AEKeyword keyword;
        DescType descType;
        Size size;
        AEGetNthPtr(&reply.selection, 1, typeFSRef, &keyword, &descType, &ref, Size(sizeof ref), &size);
        saved.path = std::string(ref.path) + "/" + HostCFStringToFileName(reply.saveFileName);
        saved.replacing = reply.replacing;
        NavDisposeReply(&reply);
    }
    NavDialogDispose(dialog);
    EXPECT_LE(HostPendingInjectedCount(), 1u); // the release of the last key may wait
    HostDiscardInjected();
    return saved;
}

// The middle of a row of the item list, in global coordinates.
Point itemRow(Point origin, int row)
{
    return Point{int16_t(origin.v + 94 + row * 18 + 9), int16_t(origin.h + 300)};
}

class HostNavSaveDialog : public ::testing::Test {
protected:
    HostDesktopScope mDesktop;
    TempFolder mFolder;

    void SetUp() override
    {
        HostNavClearPresetAnswers();
        TempFolder::WriteFile(mFolder.File("notes.txt"), "x");
        std::filesystem::create_directory(mFolder.Path() / "sub");
    }
    std::string Folder() const { return mFolder.Path().string(); }
};

} // namespace

TEST_F(HostNavSaveDialog, TypingReplacesTheProposedNameAndReturnSavesIt)
{
    Saved saved = runSave(Folder(), "Untitled", [](Point) {
        type("Plan.txt");
        pressReturn();
    });
    EXPECT_EQ(kNavUserActionSaveAs, saved.action);
    EXPECT_EQ(mFolder.File("Plan.txt"), saved.path);
    EXPECT_FALSE(saved.replacing);
    EXPECT_EQ("", HostNavLastShown().replaceAsked);
    EXPECT_EQ("Untitled", HostNavLastShown().saveFileName);

    // Enter saves too; the proposed name stands when nothing is typed.
    saved = runSave(Folder(), "Untitled", [](Point) { HostInjectKey(76, 3); });
    EXPECT_EQ(mFolder.File("Untitled"), saved.path);
}

TEST_F(HostNavSaveDialog, KeysEditTheNameAndTheReplyGivesItAsUtf8)
{
    Saved saved = runSave(Folder(), "Untitled", [](Point) {
        type("report");
        HostInjectKey(51, 8);
        HostInjectKey(51, 8);   // "repo"
        HostInjectKey(123, 28); // caret before 'o'
        HostInjectKey(117, 127); // "rep"
        type("ly caf\x8E");     // Mac Roman e acute
        HostInjectKey(123, 28);
        HostInjectKey(124, 29);
        HostInjectKey(124, 29); // the caret stops at the end
        type("s");
        pressReturn();
    });
    EXPECT_EQ(kNavUserActionSaveAs, saved.action);
    EXPECT_EQ(mFolder.File("reply caf\xC3\xA9s"), saved.path);

    // Shift-left selects back from the end; typing replaces what is selected.
    saved = runSave(Folder(), "Untitled", [](Point) {
        HostInjectKey(124, 29); // the selection collapses at its end
        HostInjectKey(123, 28, shiftKey);
        HostInjectKey(123, 28, shiftKey);
        type("ed");
        pressReturn();
    });
    EXPECT_EQ(mFolder.File("Untitled"), saved.path);

    // Home and End move the caret; shift-Home selects back to the start.
    saved = runSave(Folder(), "Untitled", [](Point) {
        HostInjectKey(119, 4);
        type("2");
        HostInjectKey(115, 1);
        type("My ");
        HostInjectKey(119, 4);
        HostInjectKey(123, 28);
        HostInjectKey(115, 1, shiftKey);
        type("A");
        pressReturn();
    });
    EXPECT_EQ(mFolder.File("A2"), saved.path);
}

TEST_F(HostNavSaveDialog, NamesThatCannotBeSavedUnderKeepTheDialogOpen)
{
    // Erased: Return does nothing; Escape then cancels.
    Saved saved = runSave(Folder(), "Untitled", [](Point) {
        HostInjectKey(51, 8);
        pressReturn();
        pressEscape();
    });
    EXPECT_EQ(kNavUserActionCancel, saved.action);

    // Each refusal says why.
    const std::pair<const char*, const char*> refused[] = {
        {"a/b", "A name cannot hold \"/\". Choose another name."},
        {"..", "\"..\" names a folder. Choose another name."},
        {"sub", "\"sub\" is a folder. Choose another name."},
    };
    for (const auto& [name, why] : refused) {
        saved = runSave(Folder(), "Untitled", [name](Point) {
            type(name);
            pressReturn();
            pressEscape();
        });
        EXPECT_EQ(kNavUserActionCancel, saved.action) << name;
        EXPECT_EQ("", HostNavLastShown().replaceAsked) << name;
        EXPECT_EQ(why, HostNavLastShown().refusal) << name;
    }

    // A refused name can be mended in place.
    saved = runSave(Folder(), "Untitled", [](Point) {
        type("a/b");
        pressReturn();
        HostInjectKey(51, 8);
        HostInjectKey(51, 8);
        pressReturn();
    });
    EXPECT_EQ(mFolder.File("a"), saved.path);
}

TEST_F(HostNavSaveDialog, ReplacingAnExistingFileAsksFirst)
{
    TempFolder logFolder; // not listed in the dialog
    setenv("FW_HOST_LOG", logFolder.File("log").c_str(), 1);
    // The proposed name: Return once asks; Escape then cancels.
    Saved saved = runSave(Folder(), "notes.txt", [](Point) {
        pressReturn();
        pressEscape();
    });
    EXPECT_EQ(kNavUserActionCancel, saved.action);
    EXPECT_EQ("notes.txt", HostNavLastShown().replaceAsked);

    // A typed name: asked, then replaced.
    saved = runSave(Folder(), "Untitled", [](Point) {
        type("notes.txt");
        pressReturn();
        pressReturn();
    });
    EXPECT_EQ(mFolder.File("notes.txt"), saved.path);
    EXPECT_TRUE(saved.replacing);

    // Asked, then the name edited: the new name is saved without a question.
    saved = runSave(Folder(), "notes.txt", [](Point) {
        pressReturn();
        HostInjectKey(124, 29);
        HostInjectKey(51, 8);
        pressReturn();
    });
    EXPECT_EQ(mFolder.File("notes.tx"), saved.path);
    EXPECT_FALSE(saved.replacing);

    // A click on a file in the list (row 0 is "notes.txt", row 1 "sub/") takes its name.
    saved = runSave(Folder(), "Untitled", [](Point origin) {
        HostInjectClick(itemRow(origin, 0));
        pressReturn();
        pressReturn();
    });
    EXPECT_EQ(mFolder.File("notes.txt"), saved.path);
    EXPECT_TRUE(saved.replacing);

    // A Latin-1 name, proposed or clicked (now row 0), is asked about as shown, saved by its bytes.
    TempFolder::WriteFile(mFolder.File("caf\xE9.txt"), "x");
    for (const std::string proposed : {"caf\xE9.txt", "Untitled"}) {
        saved = runSave(Folder(), proposed.c_str(), [&](Point origin) {
            if (proposed == "Untitled")
                HostInjectClick(itemRow(origin, 0));
            pressReturn();
            pressReturn();
        });
        EXPECT_EQ("caf\xC3\xA9.txt", HostNavLastShown().replaceAsked) << proposed;
        EXPECT_EQ(mFolder.File("caf\xE9.txt"), saved.path) << proposed;
    }
    unsetenv("FW_HOST_LOG");
    // The log says what was answered, its names in UTF-8.
    const std::string log = TempFolder::ReadFile(logFolder.File("log")), save = "\nnav-answer\tsave\t" + Folder() + "/";
    for (const std::string& line : {std::string("\nnav-answer\tcancel\n"), save + "notes.tx\n", save + "caf\xC3\xA9.txt\n"})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
}

TEST_F(HostNavSaveDialog, PresetAnswersDoNotGoThroughTheField)
{
    HostNavPresetAnswer(HostNavAnswer{false, {mFolder.File("preset.txt")}});
    Saved saved = runSave(Folder(), "Untitled", [](Point) {});
    EXPECT_EQ(mFolder.File("preset.txt"), saved.path);
    EXPECT_FALSE(saved.replacing);
}
