// The application object: its menu bar and enabling rules, the recent files kept in path.txt,
// opening and creating files, and the custom events of closed edit windows.
#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "CQF_Document.h"
#include "EditWindow.h"
#include "FWEvent.h"
#include "FWMenuMgr.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "HostHeadless.h"
#include "HostMenus.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "QFEventDispatcher.h"
#include "QuillformApp.h"
#include "QuillformPrefs.h"
#include "ShownMessages.h"

#include "../Files/ResourceFileMaker.h"

#include <filesystem>

namespace {

const std::string kSep = "----------- [off]";

int documentCount()
{
    return FWApp::Instance()->GetDocumentList().Size();
}

void chooseForOpen(const std::string& path)
{
    HostNavAnswer answer;
    answer.cancel = false;
    answer.paths = {path};
    HostNavPresetAnswer(answer);
}

} // namespace

class EditorAppTest : public EditorFixture {};

TEST_F(EditorAppTest, TheMenuBarHoldsTheCommandTablesRowsAndEnablesThemWithoutAnEditWindow)
{
    StartApp();
    EXPECT_EQ((std::vector<std::string>{"New...", "Open..", "Open Recent [off]", kSep, "Save [off]",
                                        "Save All [off]", kSep, "Quit"}),
              MenuRows("File"));
    EXPECT_EQ((std::vector<std::string>{"Undo [off]", kSep, "Cut [off]", "Copy [off]", "Paste [off]", "Clear [off]",
                                        kSep, "Align Left [off]", "Align Right [off]", "Align Top [off]",
                                        "Align Bottom [off]", "Align Horizontal [off]", "Align Vertical. [off]", kSep,
                                        "Align Edits [off]", "Align Distribution [off]"}),
              MenuRows("Edit"));
    EXPECT_EQ((std::vector<std::string>{"Set Tab Order [off]", kSep, "Recompute IDs [off]", "Write Control IDs [off]",
                                        kSep, "Shader..  [off]", kSep, "Adjust Grid [off]", kSep,
                                        "Resize Dialog [off]"}),
              MenuRows("Utility"));
    EXPECT_EQ((std::vector<std::string>{kSep}), MenuRows("Window"));
    EXPECT_EQ((std::vector<std::string>{"- [off]"}), RecentRows());
    // While the tab order is set, the File rows but Quit are off.
    EditWindow::mActMode = 1;
    EXPECT_EQ((std::vector<std::string>{"New... [off]", "Open.. [off]", "Open Recent [off]", kSep, "Save [off]",
                                        "Save All [off]", kSep, "Quit"}),
              MenuRows("File"));
    EditWindow::mActMode = 0;
    // Shortcuts of the table, with their modifiers; a rebuild of the Window menu after a menu
    // choice (made with no modifier held) keeps them.
    FWMenuMgr::Instance()->adjust_menus(0);
    QuillformApp::Instance()->UpdateWindowMenu();
    EXPECT_EQ((std::vector<std::string>{"cmd N", "cmd O", "", "", "cmd S", "cmd shift S", "", "cmd Q"}),
              MenuShortcuts("File"));
    EXPECT_EQ("cmd Y", MenuShortcuts("Utility").at(5));
    EXPECT_EQ(1, QuillformApp::Instance()->GetGridSize());
}

TEST(PreferenceLinesTest, KeepsTheFolderAndExistingFilesWithinTheLimits)
{
    auto all = [](const std::string&) { return true; };
    auto odd = [](const std::string& line) { return !line.empty() && line.back() == '1'; };
    std::string thirty = "/folder\n";
    for (int i = 0; i < 30; ++i)
        thirty += "/f" + std::to_string(i) + "\n";
    const std::string longLine(300, 'x');

    EXPECT_EQ((std::vector<std::string>{}), ReadPreferenceLines("", all));
    EXPECT_EQ((std::vector<std::string>{"/a", "/b"}), ReadPreferenceLines("/a\n/b", all));
    EXPECT_EQ((std::vector<std::string>{"/a", "/x1"}), ReadPreferenceLines("/a\n/x0\n/x1\n\n", odd));
    EXPECT_EQ(22u, ReadPreferenceLines(thirty, all).size());
    EXPECT_EQ("/f20", ReadPreferenceLines(thirty, all).back());
    EXPECT_EQ((std::vector<std::string>{"/a", std::string(255, 'x')}),
              ReadPreferenceLines("/a\n" + longLine + "\n/b\n/c\n", all));
    EXPECT_EQ((std::vector<std::string>{std::string(255, 'x')}), ReadPreferenceLines(longLine + "\n/b\n", all));
}

TEST_F(EditorAppTest, OpeningFilesKeepsTheRecentListInPathTxt)
{
    QuillformApp* app = StartApp();
    app->UpdatePrefs2Open(FileReference("/a/b/c.rsrc"));
    EXPECT_EQ("/a/b\n/a/b/c.rsrc\n", TempFolder::ReadFile(PrefsPath()));
    app->UpdatePrefs2Open(FileReference("/d/e.rsrc"));
    app->UpdatePrefs2Open(FileReference("/a/b/c.rsrc"));
    EXPECT_EQ("/a/b\n/d/e.rsrc\n/a/b/c.rsrc\n", TempFolder::ReadFile(PrefsPath()));
    EXPECT_EQ((std::vector<std::string>{"c.rsrc", "e.rsrc"}), RecentRows());

    for (int i = 0; i < 25; ++i)
        app->UpdatePrefs2Open(FileReference(("/z/f" + std::to_string(i) + ".rsrc").c_str()));
    ASSERT_EQ(20u, app->RecentLines().size());
    EXPECT_EQ("/z", app->RecentLines()[0]);
    EXPECT_EQ("/z/f6.rsrc", app->RecentLines()[1]);
    EXPECT_EQ("/z/f24.rsrc", app->RecentLines()[19]);
}

TEST_F(EditorAppTest, AtStartMissingRecentFilesDropAndTheRestAreListedNewestFirst)
{
    const std::string first = mFolder.Create("first.rsrc");
    const std::string second = mFolder.Create("second.rsrc");
    TempFolder::WriteFile(PrefsPath(), "/old\n" + first + "\n/gone/missing.rsrc\n" + second + "\n");
    QuillformApp* app = StartApp();
    EXPECT_EQ((std::vector<std::string>{"/old", first, second}), app->RecentLines());
    EXPECT_EQ((std::vector<std::string>{"second.rsrc", "first.rsrc"}), RecentRows());
}

TEST_F(EditorAppTest, OpenMakesOneDocumentPerFileAndABadFileOnlyARecentRow)
{
    // A UTF-8 name, shown in the system encoding, that begins as a separator line does.
    const std::string good = File("-caf\xC3\xA9.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, good);
    const std::string bad = mFolder.Create("bad.rsrc", "no resources here");
    StartApp();

    // The list of layouts comes up: its first row opened, the document stays.
    const LayoutListPlaces list = LocateLayoutList();
    HostInjectClick(list.Row(0));
    HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
    chooseForOpen(good);
    FWApp::FileOpen(nullptr);
    EXPECT_EQ("Select Resource File", HostNavLastShown().message);
    EXPECT_EQ((std::vector<std::string>{"Resource Files", "All Files"}), HostNavLastShown().typeNames);
    ASSERT_EQ(1, documentCount());
    auto* document = dynamic_cast<CQF_Document*>(FWApp::Instance()->GetActiveDocument());
    ASSERT_NE(nullptr, document);
    EXPECT_EQ("Main", document->ResMap().Name(128));
    EXPECT_EQ((std::vector<std::string>{"-caf\x8E.rsrc", "  128 Main"}), MenuRows("Window"));
    EXPECT_FALSE(HostMenuBarMenus().back()->Item(1)->IsSeparator());

    // Again: the same document, not read again.
    document->ResMap()[5] = "kept";
    chooseForOpen(good);
    FWApp::FileOpen(nullptr);
    EXPECT_EQ(1, documentCount());
    EXPECT_EQ("kept", document->ResMap().Name(5));

    HostResetModalLoops();
    chooseForOpen(bad);
    FWApp::FileOpen(nullptr);
    EXPECT_EQ(1, documentCount());
    ASSERT_EQ(1u, ShownMessageTexts().size());
    EXPECT_EQ(0u, ShownMessageTexts()[0].rfind("Resource error ", 0)) << ShownMessageTexts()[0];
    EXPECT_EQ((std::vector<std::string>{"bad.rsrc", "-caf\x8E.rsrc"}), RecentRows());
}

TEST_F(EditorAppTest, NewCreatesAnEmptyResourceFileAndNeverOverwrites)
{
    StartApp();
    auto chooseForSave = [](const std::string& path) {
        HostNavAnswer answer;
        answer.cancel = false;
        answer.paths = {path};
        HostNavPresetAnswer(answer);
    };
    const std::string created = File("made.rsrc");
    // The empty file's list of layouts comes up; a new layout there keeps the document open.
    HostInjectClick(LocateLayoutList().buttons.at(CDialogWINT::kNew));
    HostInjectKey(36, 13);
    chooseForSave(created);
    FWApp::FileNew(nullptr);
    EXPECT_EQ("Create New Resource File", HostNavLastShown().message);
    EXPECT_EQ("untitled.rsrc", HostNavLastShown().saveFileName);
    ASSERT_EQ(1, documentCount());
    auto* document = dynamic_cast<CQF_Document*>(FWApp::Instance()->GetActiveDocument());
    ASSERT_NE(nullptr, document);
    EXPECT_EQ((CResMap{{{21000, "Interface"}}}), document->ResMap());

    const std::string existing = mFolder.Create("existing.rsrc", "precious");
    chooseForSave(existing);
    FWApp::FileNew(nullptr);
    chooseForSave(created);
    FWApp::FileNew(nullptr);
    EXPECT_EQ("precious", TempFolder::ReadFile(existing));
    EXPECT_EQ(1, documentCount());
    EXPECT_EQ((std::vector<std::string>{"Error creating file", "Can't oveeride the file is opened now"}),
              ShownMessageTexts());
}

TEST_F(EditorAppTest, AWindowClosedEventDeletesADocumentLeftWithoutWindowsOnce)
{
    StartApp();
    auto* document = new CQF_Document;
    document->SetAssociatedFile(FileReference(File("a.rsrc").c_str()));
    auto* dispatcher = dynamic_cast<QFEventDispatcher*>(FWEventDispatcher::Instance());
    ASSERT_NE(nullptr, dispatcher);
    QuillformApp::PostCustomEvent(1000, 0, document);
    QuillformApp::PostCustomEvent(1000, 0, document);
    QuillformApp::PostCustomEvent(7, 0, document);
    EXPECT_EQ(2u, dispatcher->QueuedCount());
    EXPECT_EQ(1, documentCount());
    FWEvent idle;
    dispatcher->Dispatch(idle);
    EXPECT_EQ(0u, dispatcher->QueuedCount());
    EXPECT_EQ(0, documentCount());
    EXPECT_EQ((std::vector<std::string>{"- [off]"}), MenuRows("Window"));
}
