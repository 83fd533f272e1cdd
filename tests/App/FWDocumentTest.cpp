#include "FWApp.h"
#include "FWDocument.h"
#include "FWWindow.h"
#include "HostWindows.h"

#include "HostDesktopScope.h"
#include "ProgrammerMessageRecorder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

class TestApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
};

class TestDocument : public FWDocument {
public:
    explicit TestDocument(std::string name) : mName(std::move(name)) {}
    ~TestDocument() override { gLog.push_back("~" + mName); }
    void ActivateEvent(bool active) override { gLog.push_back(mName + (active ? " on" : " off")); }

private:
    std::string mName;
};

class TestWindow : public FWWindow {
public:
    explicit TestWindow(std::string name, bool answersUpdates = false)
        : mName(std::move(name)), mAnswersUpdates(answersUpdates)
    {
    }
    ~TestWindow() override
    {
        // With the number of documents the application still lists.
        gLog.push_back("~" + mName + "/" + std::to_string(FWApp::Instance()->GetDocumentList().Size()));
    }
    bool DocumentUpdateEvent() override
    {
        gLog.push_back(mName + " update");
        return mAnswersUpdates;
    }
    bool ReceiveMessage(Dependable* sender, Message m) override
    {
        if (m == IsBeingDeleted && sender == this)
            gLog.push_back(mName + " deleted notice");
        return FWWindow::ReceiveMessage(sender, m);
    }

private:
    std::string mName;
    bool mAnswersUpdates;
};

bool inList(FWList<FWWindow>& list, FWWindow* window)
{
    ListTraversal<FWWindow> walk(&list);
    for (FWWindow* w = walk.First(); w != nullptr; w = walk.Next())
        if (w == window)
            return true;
    return false;
}

// Closes a document the way the application does: the deletion notice, then the deletion.
void closeDocument(FWDocument* document)
{
    document->SendMessage(Dependable::IsBeingDeleted);
    delete document;
}

class FWDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLog.clear();
        mApp = new TestApp;
    }
    void TearDown() override
    {
        delete mApp;
        EXPECT_TRUE(mMessages.Messages().empty()) << mMessages.Messages()[0].message;
    }

    ProgrammerMessageRecorder mMessages;
    TestApp* mApp = nullptr;
};

TEST_F(FWDocumentTest, ANewDocumentBecomesTheActiveOne)
{
    auto* first = new TestDocument("first");
    EXPECT_EQ(first, mApp->GetActiveDocument());
    auto* second = new TestDocument("second");
    EXPECT_EQ(second, mApp->GetActiveDocument());
    // The new document is still being made when it becomes active, so only the old one hears.
    EXPECT_EQ((std::vector<std::string>{"first off"}), gLog);
    EXPECT_EQ(2, mApp->GetDocumentList().Size());
    FWEvent event;
    EXPECT_EQ(mApp, first->GetParent(event));

    gLog.clear();
    mApp->SetActiveDocument(second); // the same again: off and on
    EXPECT_EQ((std::vector<std::string>{"second off", "second on"}), gLog);

    // Removing the active document makes the first remaining one active, without notices.
    gLog.clear();
    closeDocument(second);
    EXPECT_EQ(first, mApp->GetActiveDocument());
    EXPECT_EQ((std::vector<std::string>{"~second"}), gLog);
    closeDocument(first);
    EXPECT_EQ(nullptr, mApp->GetActiveDocument());
    EXPECT_EQ(0, mApp->GetDocumentList().Size());
}

TEST_F(FWDocumentTest, ClosingTakesTheWindowsInOrder)
{
    auto* document = new TestDocument("doc");
    auto* other = new TestDocument("other");
    std::vector<TestWindow*> windows = {new TestWindow("w1"), new TestWindow("w2"), new TestWindow("w3")};
    for (TestWindow* window : windows)
        window->SetDocument(document);
    auto* outside = new TestWindow("outside");
    outside->SetDocument(other);
    EXPECT_EQ(3, document->GetWindowList().Size());
    EXPECT_EQ(4, mApp->GetWindowList().Size());
    EXPECT_EQ(document, windows[0]->GetDocument());

    gLog.clear();
    closeDocument(document);
    // The windows hear the notice first; the document then leaves the application's list and
    // deletes its windows from the first.
    EXPECT_EQ((std::vector<std::string>{"w1 deleted notice", "w2 deleted notice", "w3 deleted notice", "~doc",
                                        "~w1/1", "~w2/1", "~w3/1"}),
              gLog);
    EXPECT_EQ(1, mApp->GetWindowList().Size());
    EXPECT_TRUE(inList(mApp->GetWindowList(), outside));
    EXPECT_EQ(other, mApp->GetActiveDocument());
    closeDocument(other);
}

TEST_F(FWDocumentTest, WindowsMoveBetweenDocumentsAndLeaveWhenDeleted)
{
    auto* a = new TestDocument("a");
    auto* b = new TestDocument("b");
    auto* window = new TestWindow("w");
    window->SetDocument(a);
    window->SetDocument(b);
    EXPECT_EQ(0, a->GetWindowList().Size());
    EXPECT_EQ(1, b->GetWindowList().Size());
    EXPECT_EQ(1, mApp->GetWindowList().Size());

    window->SendMessage(Dependable::IsBeingDeleted);
    EXPECT_EQ(nullptr, window->GetDocument()); // forgotten, yet left on deletion
    delete window;
    EXPECT_EQ(0, b->GetWindowList().Size());
    EXPECT_EQ(0, mApp->GetWindowList().Size());

    // A window of the application alone leaves its list too.
    auto* loose = new TestWindow("loose");
    mApp->AddWindow(loose);
    EXPECT_EQ(1, mApp->GetWindowList().Size());
    delete loose;
    EXPECT_EQ(0, mApp->GetWindowList().Size());
    closeDocument(a);
    closeDocument(b);
}

TEST_F(FWDocumentTest, UpdatingAllWindowsButOne)
{
    auto* document = new TestDocument("doc");
    auto* quiet = new TestWindow("quiet");
    auto* busy = new TestWindow("busy", true);
    quiet->SetDocument(document);
    EXPECT_FALSE(document->UpdateAllWindows(quiet)); // the only window excepted: nothing called
    busy->SetDocument(document);
    gLog.clear();
    EXPECT_TRUE(document->UpdateAllWindows(nullptr));
    EXPECT_EQ((std::vector<std::string>{"quiet update", "busy update"}), gLog);
    gLog.clear();
    EXPECT_FALSE(document->UpdateAllWindows(busy));
    EXPECT_EQ((std::vector<std::string>{"quiet update"}), gLog);
    closeDocument(document);
}

TEST_F(FWDocumentTest, DirtyStateAndFile)
{
    TempFolder folder;
    TempFolder::WriteFile(folder.File("plan.rsrc"), "x");
    auto* document = new TestDocument("doc");
    EXPECT_FALSE(document->IsDirty());
    document->SetDirtyFlag(true);
    EXPECT_TRUE(document->IsDirty());

    FWDynamicString name;
    document->DocName(name);
    EXPECT_EQ("Untitled", std::string(name.GetCString()));
    EXPECT_FALSE(document->HasAssociatedFile());

    document->SetAssociatedFile(FileReference(folder.File("gone.rsrc").c_str()));
    EXPECT_FALSE(document->HasAssociatedFile());
    document->DocName(name);
    EXPECT_EQ("Untitled", std::string(name.GetCString())); // a file that does not exist

    document->SetAssociatedFile(FileReference(folder.File("plan.rsrc").c_str()));
    EXPECT_TRUE(document->HasAssociatedFile());
    EXPECT_EQ(folder.File("plan.rsrc"), std::string(document->AssociatedFile().GetCString()));
    document->DocName(name);
    EXPECT_EQ("plan.rsrc", std::string(name.GetCString()));

    // The name is shown as system text: a Mac Roman letter as its byte, the rest as '?', a name
    // that is not UTF-8 as Latin-1; the file keeps its own bytes.
    const std::pair<std::string, std::string> names[] = {
        {"Caf\xC3\xA9.rsrc", "Caf\x8E.rsrc"},
        {"\xE6\x97\xA5 1.rsrc", "? 1.rsrc"},
        {"Caf\xE9.rsrc", "Caf\x8E.rsrc"},
    };
    for (const auto& [file, shown] : names) {
        TempFolder::WriteFile(folder.File(file), "x");
        document->SetAssociatedFile(FileReference(folder.File(file).c_str()));
        document->DocName(name);
        EXPECT_EQ(shown, std::string(name.GetCString())) << file;
        EXPECT_EQ(folder.File(file), std::string(document->AssociatedFile().GetCString()));
    }
    closeDocument(document);
}

TEST_F(FWDocumentTest, TheApplicationDeletesTheWindowsLeftAtTheEnd)
{
    auto* window = new TestWindow("left");
    mApp->AddWindow(window);
    gLog.clear();
    delete mApp;
    mApp = nullptr;
    EXPECT_EQ((std::vector<std::string>{"~left/0"}), gLog);
    mApp = new TestApp;
}

TEST_F(FWDocumentTest, TheFrontWindowIsTheFrontmostVisibleFrameworkWindow)
{
    HostDesktopScope desktop;
    EXPECT_EQ(nullptr, mApp->GetFrontWindow());
    auto* back = new TestWindow("back");
    auto* front = new TestWindow("front");
    mApp->AddWindow(back);
    mApp->AddWindow(front);
    TestWindow stranger("stranger"); // not the application's
    WindowRef backPlatform = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, 0xFFFFFFFF);
    WindowRef frontPlatform = HostDesktopScope::MakeWindow(Rect{120, 120, 220, 220}, 0xFFFFFFFF);
    WindowRef foreign = HostDesktopScope::MakeWindow(Rect{140, 140, 240, 240}, 0xFFFFFFFF);
    SetWRefCon(backPlatform, back);
    SetWRefCon(frontPlatform, front);
    SetWRefCon(foreign, &stranger);
    EXPECT_EQ(front, mApp->GetFrontWindow());
    HideWindow(frontPlatform);
    EXPECT_EQ(back, mApp->GetFrontWindow());
    SelectWindow(frontPlatform);
    EXPECT_EQ(back, mApp->GetFrontWindow()); // still hidden
    ShowWindow(frontPlatform);
    EXPECT_EQ(front, mApp->GetFrontWindow());
}

} // namespace
