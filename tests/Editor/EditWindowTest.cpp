// The edit window: its title and change tracking, the keys of Test and Edit mode, deleting the
// selection, and the question before closing a changed layout.
#include "EditorFixture.h"

#include "CQF_Document.h"
#include "EditWindow.h"
#include "FWEvent.h"
#include "FWEventDispatcher.h"
#include "FWView.h"
#include "HostModalLoop.h"
#include "QuillformApp.h"
#include "PreorderTraversal.h"
#include "ShownMessages.h"

#include "../Files/ResourceFileMaker.h"

#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

bool key(EditWindow& window, int character, uint16_t modifiers = 0)
{
    FWEvent event(kKeyDownEvent, &window, modifiers);
    event.mMessage = character;
    return window.KeyDownEvent(event);
}

int viewCount(EditWindow& window)
{
    int count = 0;
    PreorderTraversal<FWView> walk(window.ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        ++count;
    return count;
}

} // namespace

class EditWindowTest : public EditorFixture {
protected:
    void SetUp() override
    {
        StartApp();
        mPath = File("sample.rsrc");
        std::filesystem::copy_file(FW_SAMPLE_RSRC, mPath);
        mDocument = new CQF_Document;
        mDocument->SetAssociatedFile(FileReference(mPath.c_str()));
        ASSERT_TRUE(mDocument->ReadWINT());
    }
    EditWindow* open(int32_t id)
    {
        auto* window = new EditWindow(mDocument, id);
        EditWindow::mCreatedInstance = nullptr;
        return window;
    }

    std::string mPath;
    CQF_Document* mDocument = nullptr;
};

TEST_F(EditWindowTest, KeysOfTestAndEditMode)
{
    EditWindow* main = open(128);  // has default accept and cancel views
    EditWindow* second = open(129);
    EXPECT_EQ(1, EditWindow::mToolType) << "opening a layout switches to Edit mode";
    EditWindow::OnTestTool(nullptr);
    EXPECT_TRUE(key(*main, 13));
    EXPECT_TRUE(key(*main, 3));
    EXPECT_TRUE(key(*main, 27));
    EXPECT_TRUE(key(*main, '.', kFWCommandKey));
    EXPECT_FALSE(key(*main, 'a'));
    // Without default views: Return is left to others, Escape is swallowed.
    second->ViewMngr().DefaultAccept()->SetDefaultAccept(false);
    second->ViewMngr().DefaultCancel()->SetDefaultCancel(false);
    EXPECT_FALSE(key(*second, 13));
    EXPECT_TRUE(key(*second, 27));
    EXPECT_FALSE(main->IsDirty());

    // Edit mode: Backspace deletes the selection, reporting the key as not handled.
    EditWindow::OnEditTool(nullptr);
    const int before = viewCount(*main);
    EXPECT_FALSE(key(*main, 8));
    EXPECT_EQ(before, viewCount(*main));
    EXPECT_FALSE(main->IsDirty());
    main->ViewMngr().GetView(11)->SetSelected(true);
    main->ViewMngr().GetView(14)->SetSelected(true);
    EXPECT_FALSE(key(*main, 127));
    EXPECT_EQ(before - 2, viewCount(*main));
    EXPECT_EQ(nullptr, main->ViewMngr().GetView(11));
    EXPECT_TRUE(main->IsDirty());
    EXPECT_TRUE(mDocument->IsDirty());
}

TEST_F(EditWindowTest, ClosingAChangedLayoutAsksAndTheAnswerDecides)
{
    EditWindow* window = open(129);
    EXPECT_STREQ("129 Second [sample.rsrc]", window->Name().GetCString());
    EXPECT_TRUE(window->CloseEvent()) << "an unchanged layout closes without a question";
    window->SetDirty(true);
    struct Case {
        HostModalAnswer answer;
        bool closes;
    };
    for (const Case& c : {Case{HostModalAnswer::kCancel, false}, Case{HostModalAnswer::kAlternative, true},
                          Case{HostModalAnswer::kDefault, true}}) {
        HostModalPresetAnswer(c.answer);
        EXPECT_EQ(c.closes, window->CloseEvent()) << int(c.answer);
    }
    EXPECT_FALSE(window->IsDirty()) << "Yes saved the layout";
    ASSERT_EQ(3u, ShownMessageTexts().size());
    EXPECT_EQ("Save changes before close ?", ShownMessageTexts().at(0));
}

TEST_F(EditWindowTest, SaveAllGoesOnAfterARefusedWriteAndQuitThenStays)
{
    const std::string otherPath = File("other.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, otherPath);
    auto* other = new CQF_Document;
    other->SetAssociatedFile(FileReference(otherPath.c_str()));
    ASSERT_TRUE(other->ReadWINT());
    EditWindow* refused = new EditWindow(other, 128);
    EditWindow* saved = open(128);
    EditWindow::mCreatedInstance = nullptr;
    refused->SetDirty(true);
    saved->SetDirty(true);
    // Another holder has the file open for writing.
    const int holder = ::open(otherPath.c_str(), O_RDWR);
    ASSERT_EQ(0, flock(holder, LOCK_EX));
    const std::string before = TempFolder::ReadFile(otherPath);

    EXPECT_FALSE(QuillformApp::Instance()->DoFileSaveAll());
    EXPECT_FALSE(saved->IsDirty());
    EXPECT_TRUE(refused->IsDirty());
    EXPECT_EQ(before, TempFolder::ReadFile(otherPath));
    EXPECT_EQ((std::vector<std::string>{
                  "Resource error -54. Be sure the file is not opened by other application for writing"}),
              ShownMessageTexts());

    HostModalPresetAnswer(HostModalAnswer::kDefault);
    EXPECT_FALSE(QuillformApp::Instance()->CanQuit());
    EXPECT_EQ("Save changes before quit ?", ShownMessageTexts().at(1));
    close(holder);
    HostModalPresetAnswer(HostModalAnswer::kAlternative);
    EXPECT_TRUE(QuillformApp::Instance()->CanQuit()) << "Don't Save quits";
}

TEST_F(EditWindowTest, ADamagedLayoutLeavesNoHalfBuiltWindow)
{
    const std::string damaged = File("damaged.rsrc");
    ASSERT_TRUE(MakeResourceFile(damaged, {{FOUR_CHAR_CODE("WINT"), 300, "Broken", std::string(40, '\x7f')}}));
    auto* document = new CQF_Document;
    document->SetAssociatedFile(FileReference(damaged.c_str()));
    ASSERT_TRUE(document->ReadWINT());
    const int windows = FWApp::Instance()->GetWindowList().Size();
    EXPECT_ANY_THROW(new EditWindow(document, 300));
    EXPECT_EQ(windows, FWApp::Instance()->GetWindowList().Size());
    EXPECT_EQ(nullptr, document->GetWindowList().First());
}

TEST_F(EditWindowTest, TheWindowMenuListsDocumentsAndTheirLayoutsAndBringsOneForward)
{
    EditWindow* main = open(128);
    EditWindow* second = open(129);
    QuillformApp* app = QuillformApp::Instance();
    app->UpdateWindowMenu();
    EXPECT_EQ((std::vector<std::string>{"sample.rsrc", "  128 Main", "  129 Second"}), MenuRows("Window"));
    EXPECT_EQ(second, app->GetFrontEditWindow());
    app->SelectWindow(1);
    EXPECT_EQ(main, app->GetFrontEditWindow());

    // Closing both windows: the document goes at the next dispatched event, and its rows with it.
    for (EditWindow* window : {main, second}) {
        FWEvent close(kCloseEvent, window, 0);
        FWEventDispatcher::Instance()->Dispatch(close);
    }
    EXPECT_EQ(1, app->GetDocumentList().Size());
    FWEvent next;
    FWEventDispatcher::Instance()->Dispatch(next);
    EXPECT_EQ(0, app->GetDocumentList().Size());
    EXPECT_EQ((std::vector<std::string>{"- [off]"}), MenuRows("Window"));
}
