#include "FD_MultiTypesList.h"
#include "FD_NameFileDialog.h"
#include "FD_PickFileDialog.h"
#include "FS_FileTypeRegistry.h"
#include "FS_UtilPAC.h"
#include "FWFileDialog.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostNavDialogs.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Corvel;

namespace {

constexpr uint32_t kRSRC = FOUR_CHAR_CODE("RSRC");
constexpr uint32_t kTEXT = FOUR_CHAR_CODE("TEXT");

std::string pathOf(const FS_Locator& locator)
{
    FWDynamicString path;
    FS_UtilPAC::LocatorToPathName(locator, path, false);
    return path.GetCString();
}

FS_Locator locatorOf(const std::string& path)
{
    FS_Locator locator;
    FS_UtilPAC::DotPathNameToLocator(FWDynamicString(path.c_str()), locator);
    return locator;
}

HostNavAnswer openAnswer(const std::string& path, int typeIndex = -1)
{
    HostNavAnswer answer;
    answer.cancel = false;
    answer.paths = {path};
    answer.typeIndex = typeIndex;
    return answer;
}

class FDDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HostNavClearPresetAnswers();
        FS_FileTypeRegistry::Init();
        FS_FileTypeRegistry::RegisterFileType(kRSRC, FWDynamicString("rsrc"), 0);
        folder.Create("layouts.rsrc", "x");
        folder.Create("notes.txt", "x");
        std::filesystem::create_directory(folder.File("sub"));
        lists.AppendTypes("Resource Files", &kRSRC, 1);
        lists.AppendTypes("All Files", &kFD_AnyType, 1);
    }
    void TearDown() override
    {
        HostNavClearPresetAnswers();
        FS_FileTypeRegistry::CleanUp();
    }

    HostDesktopScope desktop;
    TempFolder folder;
    FD_MultiTypesList lists;
};

} // namespace

TEST_F(FDDialogsTest, PickShowsTheCurrentListsFilesAndRemembersTheListChosen)
{
    FD_PickFileDialog dialog;
    dialog.SetTypes(lists);
    dialog.SetInitialDirectory(locatorOf(folder.Path().string()));
    HostNavPresetAnswer(openAnswer(folder.File("notes.txt"), 1));
    FS_Locator out;
    ASSERT_TRUE(dialog.AskUserForFile(FWDynamicString("Pick one"), out));
    EXPECT_EQ(folder.File("notes.txt"), pathOf(out));
    EXPECT_EQ(1, dialog.GetCurrentTypeList());

    const HostNavShown& shown = HostNavLastShown();
    EXPECT_EQ("Pick one", shown.message);
    EXPECT_EQ((std::vector<std::string>{"Resource Files", "All Files"}), shown.typeNames);
    EXPECT_EQ(0, shown.startTypeIndex);
    EXPECT_EQ(folder.Path().string(), shown.startFolder);
    // A file without a type but with a registered extension is shown under its list; folders are
    // always shown.
    EXPECT_EQ((std::vector<std::string>{"layouts.rsrc", "sub/"}), shown.entries);

    // The next run starts on the list chosen; a cancel still records the list left selected.
    HostNavAnswer cancel;
    cancel.typeIndex = 0;
    HostNavPresetAnswer(cancel);
    FS_Locator untouched = locatorOf("/kept");
    EXPECT_FALSE(dialog.AskUserForFile(FWDynamicString("Again"), untouched));
    EXPECT_EQ(1, HostNavLastShown().startTypeIndex);
    EXPECT_EQ(3u, HostNavLastShown().entries.size());
    EXPECT_EQ("/kept", pathOf(untouched));
    EXPECT_EQ(0, dialog.GetCurrentTypeList());
}

TEST_F(FDDialogsTest, PickWithoutListsOrWithTooFewStartsPlain)
{
    FD_PickFileDialog plain;
    plain.SetInitialDirectory(locatorOf(folder.Path().string()));
    HostNavPresetAnswer(openAnswer(folder.File("layouts.rsrc")));
    FS_Locator out;
    ASSERT_TRUE(plain.AskUserForFile(FWDynamicString("Any"), out));
    EXPECT_EQ(kRSRC, out.FileType());
    EXPECT_TRUE(HostNavLastShown().typeNames.empty());
    EXPECT_EQ(3u, HostNavLastShown().entries.size());

    FD_PickFileDialog dialog;
    dialog.SetTypes(lists);
    dialog.SetCurrentTypeList(5);
    EXPECT_FALSE(dialog.AskUserForFile(FWDynamicString("Cancelled"), out));
    EXPECT_EQ(0, HostNavLastShown().startTypeIndex);
}

TEST_F(FDDialogsTest, AProposedFileNameIsShownAsItsCharactersAndKeptAsItsBytes)
{
    // A letter Mac Roman has, one it lacks, and a name whose bytes are not UTF-8 (Latin-1).
    const struct {
        std::string name, shown;
    } cases[] = {
        {"Caf\xC3\xA9.rsrc", "Caf\xC3\xA9.rsrc"},
        {"\xE6\x97\xA5.rsrc", "\xE6\x97\xA5.rsrc"},
        {"Caf\xE9.rsrc", "Caf\xC3\xA9.rsrc"},
    };
    for (const auto& c : cases) {
        FD_NameFileDialog dialog;
        dialog.SetInitialName(FWDynamicString(c.name.c_str()));
        HostInjectKey(36, 13); // Return saves under the proposed name
        FS_Locator out;
        ASSERT_TRUE(dialog.AskUserForNewFile(FWDynamicString("Save as"), 0, out)) << c.name;
        HostDiscardInjected();
        EXPECT_EQ(c.shown, HostNavLastShown().saveFileName);
        EXPECT_EQ(c.name, std::string(out.LastName().GetCString()));
    }
}

TEST_F(FDDialogsTest, NameDialogGivesFolderAndUTF8NameAndAsksBeforeReplacing)
{
    FD_NameFileDialog dialog;
    dialog.SetInitialName(FWDynamicString("untitled"));
    HostNavPresetAnswer(openAnswer(folder.File("caf\xC3\xA9.rsrc")));
    FS_Locator out;
    ASSERT_TRUE(dialog.AskUserForNewFile(FWDynamicString("Save as"), kTEXT, out));
    EXPECT_EQ(folder.File("caf\xC3\xA9.rsrc"), pathOf(out));
    EXPECT_EQ(kTEXT, out.FileType());
    const HostNavShown& shown = HostNavLastShown();
    EXPECT_TRUE(shown.save);
    EXPECT_EQ("untitled", shown.saveFileName);
    EXPECT_EQ("Save as", shown.message);
    EXPECT_EQ(FOUR_CHAR_CODE("QZAM"), shown.creator);
    EXPECT_EQ(kTEXT, shown.fileType);
    EXPECT_EQ("", shown.replaceAsked);

    HostNavAnswer keep = openAnswer(folder.File("notes.txt"));
    keep.replace = false;
    HostNavPresetAnswer(keep);
    FS_Locator untouched;
    EXPECT_FALSE(dialog.AskUserForNewFile(FWDynamicString("Save as"), 0, untouched));
    EXPECT_EQ("notes.txt", HostNavLastShown().replaceAsked);
    EXPECT_EQ(0u, untouched.NumNames());

    HostNavPresetAnswer(openAnswer(folder.File("notes.txt")));
    EXPECT_TRUE(dialog.AskUserForNewFile(FWDynamicString("Save as"), 0, out));
    EXPECT_EQ(folder.File("notes.txt"), pathOf(out));
}

TEST_F(FDDialogsTest, FrameworkOpenOffersItsFiltersAndAllFilesAndStartsOnTheLastList)
{
    FWFileDialog::SetLastChosenFilter(-1);
    {
        FWFileDialog bare(nullptr);
        EXPECT_FALSE(bare.SelectFileForOpen());
        EXPECT_EQ((std::vector<std::string>{"All Files"}), HostNavLastShown().typeNames);
        FileReference chosen;
        bare.GetChosenFile(chosen);
        EXPECT_EQ(0u, chosen.GetCurrLength());
        EXPECT_EQ(-1, FWFileDialog::LastChosenFilter());
    }
    {
        FWStr<31> title("Select Resource File");
        FWFileDialog dialog(&title);
        dialog.AddFilter(FWFileType(kRSRC, FWDynamicString("Resource Files")));
        HostNavPresetAnswer(openAnswer(folder.File("notes.txt"), 1));
        ASSERT_TRUE(dialog.SelectFileForOpen());
        EXPECT_EQ("Select Resource File", HostNavLastShown().message);
        EXPECT_EQ((std::vector<std::string>{"Resource Files", "All Files"}), HostNavLastShown().typeNames);
        EXPECT_EQ(0, HostNavLastShown().startTypeIndex);
        FileReference chosen;
        dialog.GetChosenFile(chosen);
        EXPECT_TRUE(chosen == FileReference(folder.File("notes.txt").c_str()));
        EXPECT_EQ(1, FWFileDialog::LastChosenFilter());
    }
    {
        FWFileDialog next(nullptr);
        next.AddFilter(FWFileType(kRSRC, FWDynamicString("Resource Files")));
        EXPECT_FALSE(next.SelectFileForOpen());
        EXPECT_EQ(1, HostNavLastShown().startTypeIndex);
        EXPECT_EQ(1, FWFileDialog::LastChosenFilter());
    }
    {
        FWFileDialog save(nullptr);
        save.SetDialogName(FWDynamicString("Save layout"));
        save.SetDefaultFileName(FWStr<31>("layout.rsrc"));
        HostNavPresetAnswer(openAnswer(folder.File("new.rsrc")));
        ASSERT_TRUE(save.SelectFileForSave());
        EXPECT_EQ("layout.rsrc", HostNavLastShown().saveFileName);
        EXPECT_EQ("Save layout", HostNavLastShown().message);
        FileReference chosen;
        save.GetChosenFile(chosen);
        EXPECT_TRUE(chosen == FileReference(folder.File("new.rsrc").c_str()));
    }
    FWFileDialog::SetLastChosenFilter(-1);
}
