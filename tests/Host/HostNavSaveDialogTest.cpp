#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostNavDialogs.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

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

// Runs a save dialog proposing name in folder with the input injected beforehand; answers the
// user's action and, after a save, the reply's folder and name.
NavUserAction runSave(const std::string& folder, const char* name, std::string* savedPath)
{
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.saveFileName = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    StartFolder start{folder};
    NavDialogRef dialog = nullptr;
    EXPECT_EQ(noErr, NavCreatePutFileDialog(&options, 0, 0, startIn, &start, &dialog));
    CFRelease(options.saveFileName);
    EXPECT_EQ(noErr, NavDialogRun(dialog));
    const NavUserAction action = NavDialogGetUserAction(dialog);
    NavReplyRecord reply;
    if (action == kNavUserActionSaveAs && NavDialogGetReply(dialog, &reply) == noErr) {
        FSRef ref;
        AEKeyword keyword;
        DescType type;
        Size size;
        AEGetNthPtr(&reply.selection, 1, typeFSRef, &keyword, &type, &ref, Size(sizeof ref), &size);
        *savedPath = std::string(ref.path) + "/" + HostCFStringToUtf8(reply.saveFileName);
        EXPECT_TRUE(reply.replacing);
        NavDisposeReply(&reply);
    }
    NavDialogDispose(dialog);
    return action;
}

} // namespace

TEST(HostNavSaveDialog, UserIsAskedBeforeAFileIsReplaced)
{
    HostDesktopScope desktop;
    HostNavClearPresetAnswers();
    TempFolder folder;
    TempFolder::WriteFile(folder.File("notes.txt"), "x");

    // Return once asks; Escape then cancels.
    HostInjectKey(36, 13);
    HostInjectKey(53, 27);
    std::string saved;
    EXPECT_EQ(kNavUserActionCancel, runSave(folder.Path().string(), "notes.txt", &saved));
    EXPECT_EQ("notes.txt", HostNavLastShown().replaceAsked);

    // Return twice: asked, then replaced.
    HostInjectKey(36, 13);
    HostInjectKey(36, 13);
    EXPECT_EQ(kNavUserActionSaveAs, runSave(folder.Path().string(), "notes.txt", &saved));
    EXPECT_EQ(folder.File("notes.txt"), saved);
}
