#include "AppPreferences.h"
#include "CCarbonDialog.h"
#include "CarbonAlerts.h"
#include "CarbonApp.h"
#include "ConverterMessages.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "HostNibs.h"
#include "HostPreferences.h"
#include "PreferencesFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

OSStatus command(uint32_t commandID)
{
    HICommand open{};
    open.commandID = commandID;
    return ProcessHICommand(&open);
}

std::string rememberedFolder()
{
    HostResetPreferences();
    Str255 folder;
    LoadPref(folder, "PATH");
    return std::string(reinterpret_cast<char*>(folder + 1), folder[0]);
}

// The messages shown apart from the open dialog's window.
std::vector<ShownMessage> notes(const ConverterMessages& messages)
{
    std::vector<ShownMessage> shown = messages.Shown();
    std::erase_if(shown, [](const ShownMessage& m) { return m.window == "Open"; });
    return shown;
}

// A folder with one resource file among look-alikes.
struct Folder {
    Folder()
    {
        path = std::filesystem::canonical(temp.Path()).string();
        for (const char* name : {"a.rsc", "a.RSC", "x.rsc.bak", "rsc"})
            TempFolder::WriteFile(path + "/" + name, "fork");
        std::filesystem::create_directory(path + "/sub.d");
    }
    TempFolder temp;
    std::string path;
};

} // namespace

TEST(ForkflipShell, OpenAsksInTheRememberedFolderConvertsAndRemembersTheFolder)
{
    PreferencesFolder preferences;
    ConverterMessages messages;
    Folder folder;
    CarbonApp app;
    HostNavPresetAnswer(HostNavAnswer{false, {folder.path + "/a.rsc"}});
    EXPECT_EQ(noErr, command(kHICommandOpen));

    const HostNavShown& shown = HostNavLastShown();
    EXPECT_EQ("Select rsc file(s)", shown.message);
    EXPECT_FALSE(shown.allowsMultipleFiles);
    EXPECT_TRUE(shown.typeNames.empty());
    EXPECT_EQ(std::vector<ShownMessage>{(ShownMessage{"Note", "1 file (PC) was created Ok"})}, notes(messages));
    EXPECT_TRUE(std::filesystem::exists(folder.path + "/a.rsc(PC)"));
    EXPECT_EQ(folder.path, rememberedFolder());

    // The next run starts there and offers only the folder and the ".rsc" file; cancelling
    // converts nothing and shows no note.
    ConverterMessages next;
    HostNavPresetAnswer(HostNavAnswer{true, {}});
    EXPECT_EQ(noErr, command(kHICommandOpen));
    EXPECT_EQ(folder.path, HostNavLastShown().startFolder);
    EXPECT_EQ((std::vector<std::string>{"a.rsc", "sub.d/"}), HostNavLastShown().entries);
    EXPECT_TRUE(notes(next).empty());
}

TEST(ForkflipShell, AFolderThatIsGoneLeavesTheDialogWhereItStarts)
{
    PreferencesFolder preferences;
    ConverterMessages messages;
    SavePref("/no/such/folder", "PATH");
    CarbonApp app;
    HostNavPresetAnswer(HostNavAnswer{true, {}});
    EXPECT_EQ(noErr, command(kHICommandOpen));
    EXPECT_EQ(std::filesystem::current_path().string(), HostNavLastShown().startFolder);
}

TEST(ForkflipShell, TheApplicationAnswersOpenAndNewOnly)
{
    PreferencesFolder preferences;
    ConverterMessages messages;
    {
        CarbonApp app;
        EXPECT_EQ(noErr, command(kHICommandNew));
        EXPECT_EQ(eventNotHandledErr, command(FOUR_CHAR_CODE("xxxx")));
        ASSERT_EQ(1u, HostInstalledNibMenuBar().size());
    }
    // Gone with the application object.
    EXPECT_EQ(eventNotHandledErr, command(kHICommandNew));
}

TEST(ForkflipShell, AMissingMessageWindowShowsNothingAndAnswersCancel)
{
    ConverterMessages messages;
    CCarbonDialog missing("Nope", "main");
    EXPECT_FALSE(missing.Check());
    EXPECT_FALSE(missing.Run());
    CCarbonDialog noNib("Question", "other");
    EXPECT_FALSE(noNib.Run());
    EXPECT_FALSE(ShowQuestion(PascalString("Go on?"), "Nope"));
    EXPECT_TRUE(messages.Shown().empty());

    // The windows that exist answer as their buttons say.
    messages.AnswerQuestions({false, true});
    EXPECT_FALSE(ShowQuestion(PascalString("first"), "Question"));
    EXPECT_TRUE(ShowQuestion(PascalString("second"), "Question"));
    EXPECT_EQ((std::vector<ShownMessage>{{"Question", "first"}, {"Question", "second"}}), messages.Shown());
}
