#include "DeletePtr.h"
#include "FD_MacUtil.h"
#include "FWApp.h"
#include "FWAppColor.h"
#include "FWDocument.h"
#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "FWIdleProcess.h"
#include "FWMenuMgr.h"
#include "FWOpMenu.h"
#include "FWException.h"
#include "FWPlatformUtils.h"
#include "FWStreamException.h"
#include "FWUserOp.h"
#include "FWWindow.h"
#include "HostAppleEvents.h"
#include "HostBackend.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostMenus.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "HostSound.h"
#include "HostTimers.h"

#include "HostDesktopScope.h"
#include "ShownMessages.h"
#include "ProgrammerMessageRecorder.h"
#include "TempFolder.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

enum class Failure { kNone, kFWException, kDiskFull, kOther };

class TestDocument : public FWDocument {
public:
    explicit TestDocument(std::string name) : mName(std::move(name)) {}
    ~TestDocument() override { gLog.push_back("~" + mName); }

    void ReadDocument(const FileReference& file) override
    {
        gLog.push_back(mName + " read " + file.PathName().GetCString());
        fail(sReadFailure);
    }
    void WriteDocument(const FileReference& file) override
    {
        gLog.push_back(mName + " write " + file.PathName().GetCString());
        fail(mWriteFailure);
        TempFolder::WriteFile(file.PathName().GetCString(), "saved");
    }

    Failure mWriteFailure = Failure::kNone;
    static Failure sReadFailure;

private:
    static void fail(Failure failure)
    {
        switch (failure) {
        case Failure::kNone:
            return;
        case Failure::kFWException:
            throw FWException("the file is damaged");
        case Failure::kDiskFull:
            throw FWDiskFullException();
        case Failure::kOther:
            throw std::runtime_error("boom");
        }
    }

    std::string mName;
};

Failure TestDocument::sReadFailure = Failure::kNone;

class TestApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
    void DoFirstAction() override { gLog.push_back("first action"); }
    void InitMenus() override { gLog.push_back("init menus"); }
    FWDocument* NewDocument() override { return new TestDocument("opened" + std::to_string(++mMade)); }

private:
    int mMade = 0;
};

class KeyWindow : public FWWindow {
public:
    explicit KeyWindow(bool acceptsKeys = true, WindowStyle style = 0) : FWWindow(style), mAcceptsKeys(acceptsKeys) {}
    ~KeyWindow() override { gLog.push_back("~window"); }
    bool AcceptsKeyEvents() const override { return mAcceptsKeys; }
    bool UpdateEvent(FWEvent& event, FWDrawContext& context) override
    {
        gLog.push_back("window update");
        return FWWindow::UpdateEvent(event, context);
    }

private:
    bool mAcceptsKeys;
};

// Records what the application asks of the dispatcher; it stays installed until the application
// takes the dispatcher down.
class RecordingDispatcher : public FWEventDispatcher {
public:
    static RecordingDispatcher* Install()
    {
        FWEventDispatcher::Destroy();
        auto* dispatcher = new RecordingDispatcher;
        sAppEventDispatcher = dispatcher;
        return dispatcher;
    }
    void Quit() override { ++mQuits; }
    void HandleIdleEvent(FWEvent& event) override { mIdleTypes.push_back(event.mType); }

    int mQuits = 0;
    std::vector<int> mIdleTypes;
};

void answer(std::initializer_list<HostModalAnswer> answers)
{
    for (HostModalAnswer a : answers)
        HostModalPresetAnswer(a);
}

void chooseFile(const std::string& path)
{
    HostNavAnswer nav;
    nav.cancel = false;
    nav.paths = {path};
    HostNavPresetAnswer(nav);
}

void cancelFileDialog()
{
    HostNavPresetAnswer(HostNavAnswer{});
}

FWEvent commandKey(char c, uint16_t modifiers = 0)
{
    FWEvent event(kKeyDownEvent, nullptr, uint16_t(kFWCommandKey | modifiers));
    event.mMessage = uint8_t(c);
    return event;
}

const HostModalAnswer kSave = HostModalAnswer::kDefault;
const HostModalAnswer kCancel = HostModalAnswer::kCancel;
const HostModalAnswer kDontSave = HostModalAnswer::kAlternative;
const HostModalAnswer kOK = HostModalAnswer::kDefault;

class FWAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLog.clear();
        TestDocument::sReadFailure = Failure::kNone;
        HostResetModalLoops();
        HostNavClearPresetAnswers();
        HostResetBeeps();
        mApp = new TestApp;
    }
    void TearDown() override
    {
        // Documents still open go without questions.
        while (FWDocument* document = mApp->GetActiveDocument()) {
            document->SendMessage(Dependable::IsBeingDeleted);
            delete document;
        }
        delete mApp;
        EXPECT_FALSE(FWApp::Exists());
        HostResetModalLoops();
        HostNavClearPresetAnswers();
        EXPECT_TRUE(mMessages.Messages().empty()) << mMessages.Messages()[0].message;
    }

    // A document with an existing file, marked dirty or not.
    TestDocument* documentWithFile(const std::string& name, bool dirty)
    {
        auto* document = new TestDocument(name);
        TempFolder::WriteFile(mFolder.File(name), "old");
        document->SetAssociatedFile(FileReference(mFolder.File(name).c_str()));
        document->SetDirtyFlag(dirty);
        return document;
    }

    HostDesktopScope mDesktop;
    TempFolder mFolder;
    ProgrammerMessageRecorder mMessages;
    TestApp* mApp = nullptr;
};

} // namespace

TEST_F(FWAppTest, QuitAsksForEachDirtyDocumentAndCancelStopsIt)
{
    RecordingDispatcher* dispatcher = RecordingDispatcher::Install();
    TestDocument* first = documentWithFile("a.txt", true);
    documentWithFile("b.txt", true);
    answer({kDontSave, kCancel});
    FWApp::FileQuit(nullptr);
    EXPECT_EQ(0, dispatcher->mQuits);
    // The active (newest) document is asked first; the first stays after Cancel.
    EXPECT_EQ((std::vector<std::string>{"Save changes to \"b.txt\"?", "Save changes to \"a.txt\"?"}), ShownMessageTexts());
    EXPECT_EQ((std::vector<std::string>{"~b.txt"}), gLog);
    EXPECT_EQ(first, mApp->GetActiveDocument());
    EXPECT_EQ(1, mApp->GetDocumentList().Size());

    // Saving closes the last one; a clean document closes without a question.
    HostResetModalLoops();
    gLog.clear();
    documentWithFile("c.txt", false);
    answer({kSave});
    mApp->DoFileQuit();
    EXPECT_EQ((std::vector<std::string>{"~c.txt", "a.txt write " + mFolder.File("a.txt"), "~a.txt"}), gLog);
    EXPECT_EQ(1u, ShownMessageTexts().size());
    EXPECT_EQ(nullptr, mApp->GetActiveDocument());
    EXPECT_EQ(1, dispatcher->mQuits);
}

TEST_F(FWAppTest, SingleDocumentOpenAsksAboutTheDirtyOneFirst)
{
    mApp->SetAllowMultipleDocuments(false);
    TestDocument* open = documentWithFile("old.txt", true);
    TempFolder::WriteFile(mFolder.File("new.txt"), "new");

    chooseFile(mFolder.File("new.txt"));
    answer({kCancel});
    mApp->DoFileOpen();
    EXPECT_EQ((std::vector<std::string>{"Save changes to \"old.txt\"?"}), ShownMessageTexts());
    EXPECT_EQ(open, mApp->GetActiveDocument());
    EXPECT_TRUE(gLog.empty()); // nothing read, nothing closed

    chooseFile(mFolder.File("new.txt"));
    answer({kDontSave});
    mApp->DoFileOpen();
    EXPECT_EQ((std::vector<std::string>{"~old.txt", "opened1 read " + mFolder.File("new.txt")}), gLog);
    ASSERT_NE(nullptr, mApp->GetActiveDocument());
    EXPECT_FALSE(mApp->GetActiveDocument()->IsDirty());
    EXPECT_EQ(FileReference(mFolder.File("new.txt").c_str()), mApp->GetActiveDocument()->AssociatedFile());
    EXPECT_EQ(1, mApp->GetDocumentList().Size());

    // A cancelled file dialog opens nothing.
    gLog.clear();
    cancelFileDialog();
    mApp->DoFileOpen();
    EXPECT_TRUE(gLog.empty());
}

TEST_F(FWAppTest, SaveWithoutAFileRunsSaveAsAndTakesTheChosenFile)
{
    auto* document = new TestDocument("doc");
    document->SetDirtyFlag(true);
    FWUserOp save("Save", 1, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr);
    FWApp::AdjustFileSave(&save);
    EXPECT_FALSE(save.TestFlag(kUserOpDisabled));

    const std::string chosen = mFolder.File("chosen.txt");
    chooseFile(chosen);
    FWApp::FileSave(nullptr);
    EXPECT_EQ("Save project as:", HostNavLastShown().message);
    EXPECT_EQ((std::vector<std::string>{"doc write " + chosen}), gLog);
    EXPECT_EQ(FileReference(chosen.c_str()), document->AssociatedFile());
    EXPECT_FALSE(document->IsDirty());
    // Saved and clean: Save is disabled, Save As is not.
    FWApp::AdjustFileSave(&save);
    EXPECT_TRUE(save.TestFlag(kUserOpDisabled));
    FWUserOp saveAs("Save As", 2, kUserOpDisabled, 0, 0, 0, 0, nullptr, nullptr, nullptr);
    FWApp::AdjustFileSaveAs(&saveAs);
    EXPECT_FALSE(saveAs.TestFlag(kUserOpDisabled));

    // Save As proposes the file's name; a copy keeps the document's file and dirty state.
    document->SetDirtyFlag(true);
    chooseFile(mFolder.File("copy.txt"));
    mApp->DoFileSaveACopy();
    EXPECT_EQ("Save a copy of project as:", HostNavLastShown().message);
    EXPECT_EQ(FileReference(chosen.c_str()), document->AssociatedFile());
    EXPECT_TRUE(document->IsDirty());
    cancelFileDialog();
    mApp->DoFileSaveAs();
    EXPECT_EQ("chosen.txt", HostNavLastShown().saveFileName);
    EXPECT_TRUE(document->IsDirty());
    EXPECT_TRUE(ShownMessageTexts().empty());

    // A name longer than 31 bytes is proposed whole.
    const std::string longName = "a layout with a rather long name.rsrc";
    TempFolder::WriteFile(mFolder.File(longName), "saved");
    document->SetAssociatedFile(FileReference(mFolder.File(longName).c_str()));
    cancelFileDialog();
    mApp->DoFileSaveAs();
    EXPECT_EQ(longName, HostNavLastShown().saveFileName);
}

TEST_F(FWAppTest, AFailedSaveKeepsTheDocumentOpenAndStopsTheQuit)
{
    TestDocument* document = documentWithFile("a.txt", true);
    document->mWriteFailure = Failure::kFWException;
    answer({kSave, kOK});
    mApp->DoFileQuit();
    EXPECT_EQ((std::vector<std::string>{"Save changes to \"a.txt\"?",
                                        "Could not save the document \"" + mFolder.File("a.txt") +
                                            "\" because the file is damaged."}),
              ShownMessageTexts());
    EXPECT_EQ(document, mApp->GetActiveDocument());
    EXPECT_TRUE(document->IsDirty());

    // A cancelled Save As after "Save" keeps an untitled document too.
    HostResetModalLoops();
    auto* untitled = new TestDocument("untitled");
    untitled->SetDirtyFlag(true);
    answer({kSave});
    cancelFileDialog();
    mApp->DoFileClose();
    EXPECT_EQ((std::vector<std::string>{"Save changes to \"Untitled\"?"}), ShownMessageTexts());
    EXPECT_EQ(untitled, mApp->GetActiveDocument());
}

TEST_F(FWAppTest, SaveFailuresAreReportedAndTheDocumentStaysDirty)
{
    TestDocument* document = documentWithFile("a.txt", true);
    document->mWriteFailure = Failure::kDiskFull;
    mApp->DoFileSave();
    document->mWriteFailure = Failure::kOther;
    mApp->DoFileSave();
    const std::string action = "Could not save the document \"" + mFolder.File("a.txt") + "\" because ";
    EXPECT_EQ((std::vector<std::string>{
                  "Could not save the file because the disk is full. Please free some disk space and try again.",
                  action + "an unexpected error occurred."}),
              ShownMessageTexts());
    EXPECT_TRUE(document->IsDirty());
    EXPECT_EQ("old", TempFolder::ReadFile(mFolder.File("a.txt")));
}

TEST_F(FWAppTest, AFailedOpenDeletesTheHalfMadeDocument)
{
    mApp->SetAllowMultipleDocuments(true);
    TestDocument* kept = documentWithFile("kept.txt", false);
    TempFolder::WriteFile(mFolder.File("bad.txt"), "bad");
    FileReference bad(mFolder.File("bad.txt").c_str());
    TestDocument::sReadFailure = Failure::kFWException;
    mApp->OpenFile(bad);
    TestDocument::sReadFailure = Failure::kOther;
    mApp->OpenFile(bad);
    EXPECT_EQ((std::vector<std::string>{"Could not open the document \"bad.txt\" because the file is damaged.",
                                        "Could not open the document \"bad.txt\" because an unexpected error occurred."}),
              ShownMessageTexts());
    EXPECT_EQ((std::vector<std::string>{"opened1 read " + mFolder.File("bad.txt"), "~opened1",
                                        "opened2 read " + mFolder.File("bad.txt"), "~opened2"}),
              gLog);
    EXPECT_EQ(kept, mApp->GetActiveDocument());
    EXPECT_EQ(1, mApp->GetDocumentList().Size());
}

TEST_F(FWAppTest, QuitWithAModalDialogInFrontBeeps)
{
    documentWithFile("a.txt", false);
    auto* dialog = new KeyWindow(true, 1);
    dialog->Initialize(nullptr, FWRect(100, 100, 300, 200));
    dialog->Show();
    FWUserOp quit("Quit", 3, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr);
    FWApp::AdjustFileQuit(&quit);
    EXPECT_TRUE(quit.TestFlag(kUserOpDisabled));
    const uint32_t beeps = HostBeepCount();
    FWApp::FileQuit(nullptr);
    EXPECT_EQ(beeps + 1, HostBeepCount());
    EXPECT_EQ(10, HostLastBeepDuration());
    EXPECT_EQ(1, mApp->GetDocumentList().Size());

    dialog->Hide();
    FWApp::AdjustFileQuit(&quit);
    EXPECT_FALSE(quit.TestFlag(kUserOpDisabled));
}

TEST_F(FWAppTest, CommandTabCyclesTheWindowsThatTakeKeys)
{
    auto* back = new KeyWindow;
    auto* middle = new KeyWindow(false);
    auto* front = new KeyWindow;
    for (FWWindow* window : {static_cast<FWWindow*>(back), static_cast<FWWindow*>(middle), static_cast<FWWindow*>(front)}) {
        window->Initialize(nullptr, FWRect(100, 100, 300, 200));
        window->Show();
        window->BringToFront();
    }
    ASSERT_EQ(front, mApp->GetFrontWindow());
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();

    // No key window: the walk starts at the front window.
    dispatcher->SetKeyWindow(nullptr);
    FWEvent tab = commandKey(9);
    EXPECT_TRUE(mApp->KeyDownEvent(tab));
    EXPECT_EQ(back, dispatcher->KeyWindow()); // the middle window takes no keys
    EXPECT_TRUE(mApp->KeyDownEvent(tab));
    EXPECT_EQ(front, dispatcher->KeyWindow()); // wrapped to the front
    FWEvent shiftTab = commandKey(9, kFWShiftKey);
    EXPECT_TRUE(mApp->KeyDownEvent(shiftTab));
    EXPECT_EQ(back, dispatcher->KeyWindow()); // backward wraps to the back
    EXPECT_TRUE(mApp->KeyDownEvent(shiftTab));
    EXPECT_EQ(front, dispatcher->KeyWindow());

    // Only one window takes keys: the key window stays.
    back->Hide();
    EXPECT_TRUE(mApp->KeyDownEvent(tab));
    EXPECT_EQ(front, dispatcher->KeyWindow());

    // Without the command key the application declines.
    FWEvent plain(kKeyDownEvent, nullptr, 0);
    plain.mMessage = 9;
    EXPECT_FALSE(mApp->KeyDownEvent(plain));
}

TEST_F(FWAppTest, CommandTabUnderAModalDialogIsAMenuShortcut)
{
    auto* window = new KeyWindow;
    auto* dialog = new KeyWindow(true, 1);
    for (FWWindow* w : {static_cast<FWWindow*>(window), static_cast<FWWindow*>(dialog)}) {
        w->Initialize(nullptr, FWRect(100, 100, 300, 200));
        w->Show();
        w->BringToFront();
    }
    FWEventDispatcher::Instance()->SetKeyWindow(dialog);
    FWEvent tab = commandKey(9);
    EXPECT_FALSE(mApp->KeyDownEvent(tab)); // no menu has it
    EXPECT_EQ(dialog, FWEventDispatcher::Instance()->KeyWindow());
}

TEST_F(FWAppTest, OtherCommandKeysAreMenuShortcutsOfTheFileCommands)
{
    static const FWOpData kFile[] = {
        {"New", 1, 0, 0, 0, FWApp::AdjustFileNew, FWApp::FileNew, nullptr, 'N', kFWCommandKey, nullptr, 0},
        {"Save", 2, 0, 0, 0, FWApp::AdjustFileSave, FWApp::FileSave, nullptr, 'S', kFWCommandKey, nullptr, 0},
    };
    static const FWOpData kMenus[] = {{"File", 10, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kFile, 2}};
    static const FWOpData kRoot = {"Menu Root", 0, kUserOpHasChildren, 0, 0, nullptr, nullptr, nullptr, 0, 0, kMenus, 1};
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(kRoot));

    FWEvent save = commandKey('s');
    EXPECT_FALSE(mApp->KeyDownEvent(save)); // no document: Save is disabled
    FWEvent newDocument = commandKey('n');
    EXPECT_TRUE(mApp->KeyDownEvent(newDocument));
    EXPECT_NE(nullptr, mApp->GetActiveDocument());
    FWEvent unbound = commandKey('j');
    EXPECT_FALSE(mApp->KeyDownEvent(unbound));
    HostResetMenus();
}

TEST_F(FWAppTest, CommandTabWithNoWindowDoesNothing)
{
    FWEventDispatcher::Instance()->SetKeyWindow(nullptr);
    FWEvent tab = commandKey(9);
    EXPECT_TRUE(mApp->KeyDownEvent(tab));
    EXPECT_EQ(nullptr, FWEventDispatcher::Instance()->KeyWindow());
}

TEST_F(FWAppTest, AppleEventsOpenTheApplicationAndItsDocuments)
{
    mApp->SetAllowMultipleDocuments(true);
    EXPECT_EQ(noErr, HostDeliverOpenApplication());
    EXPECT_EQ((std::vector<std::string>{"first action"}), gLog);

    gLog.clear();
    TempFolder::WriteFile(mFolder.File("one.txt"), "1");
    TempFolder::WriteFile(mFolder.File("two.txt"), "2");
    EXPECT_EQ(noErr, HostDeliverOpenDocuments({mFolder.File("one.txt"), mFolder.File("two.txt")}));
    EXPECT_EQ((std::vector<std::string>{"opened1 read " + mFolder.File("one.txt"),
                                        "opened2 read " + mFolder.File("two.txt")}),
              gLog);
    // A second event opens only its own files; the first action no longer runs.
    gLog.clear();
    EXPECT_EQ(noErr, HostDeliverOpenDocuments({mFolder.File("one.txt")}));
    EXPECT_EQ(noErr, HostDeliverOpenApplication());
    EXPECT_EQ((std::vector<std::string>{"opened3 read " + mFolder.File("one.txt")}), gLog);
}

TEST_F(FWAppTest, AQuitEventAnswersCancelledWhileADocumentStays)
{
    documentWithFile("a.txt", true);
    answer({kCancel});
    EXPECT_EQ(userCanceledErr, HostDeliverQuitApplication());
    EXPECT_EQ(1, mApp->GetDocumentList().Size());
    answer({kDontSave});
    EXPECT_EQ(noErr, HostDeliverQuitApplication());
    EXPECT_EQ(0, mApp->GetDocumentList().Size());
}

TEST_F(FWAppTest, AQuitEventRefusedForAModalDialogAnswersCancelled)
{
    auto* dialog = new KeyWindow(true, 1);
    dialog->Initialize(nullptr, FWRect(100, 100, 300, 200));
    dialog->Show();
    EXPECT_EQ(userCanceledErr, HostDeliverQuitApplication());
    EXPECT_EQ(1u, HostBeepCount());
}

TEST_F(FWAppTest, AQuitEventDuringTheCloseQuestionIsRefused)
{
    documentWithFile("a.txt", true);
    // Nobody answers: the quit arrives inside the question's loop, then the default button
    // (Save) ends it.
    HostInjectQuit();
    mApp->DoFileClose();
    EXPECT_EQ(1u, HostBeepCount());
    EXPECT_EQ((std::vector<std::string>{"Save changes to \"a.txt\"?"}), ShownMessageTexts());
    EXPECT_EQ((std::vector<std::string>{"a.txt write " + mFolder.File("a.txt"), "~a.txt"}), gLog);
    EXPECT_EQ(nullptr, mApp->GetActiveDocument());
}

TEST_F(FWAppTest, TheIdleTimerSendsEmptyEventsEveryTenMilliseconds)
{
    RecordingDispatcher* dispatcher = RecordingDispatcher::Install();
    ASSERT_TRUE(HostClockIsManual()); // the desktop scope holds the clock
    HostAdvanceManualClock(10'000'000);
    HostFireDueTimers();
    dispatcher->mIdleTypes.clear();
    for (int i = 0; i < 3; ++i) {
        HostAdvanceManualClock(10'000'000);
        HostFireDueTimers();
    }
    EXPECT_EQ((std::vector<int>{kNullEvent, kNullEvent, kNullEvent}), dispatcher->mIdleTypes);
}

namespace {

// An idle process whose work comes due `every` ticks after its last pass.
class PacedIdler : public FWIdleProcess {
public:
    explicit PacedIdler(uint32_t every) : mEvery(every) { StartIdling(); }
    void UseIdleTime() override { ++mPasses, mLast = TickCount(); }
    uint32_t TicksToIdleWork() const override
    {
        const uint32_t waited = TickCount() - mLast;
        return mEvery == kNoIdleWork ? kNoIdleWork : waited >= mEvery ? 0 : mEvery - waited;
    }
    uint32_t mEvery, mLast = 0;
    int mPasses = 0;
};

// After act, runs the manual clock on ms milliseconds, firing what is due at each; answers the
// idler's passes meanwhile.
int passesIn(int ms, const PacedIdler& idler, const std::function<void()>& act = {})
{
    const int before = idler.mPasses;
    if (act)
        act();
    for (int i = 0; i < ms; ++i) {
        HostAdvanceManualClock(1'000'000);
        HostFireDueTimers();
    }
    return idler.mPasses - before;
}

} // namespace

TEST_F(FWAppTest, TheIdleTimerPassesAsOftenAsIdleWorkIsDue)
{
    ASSERT_TRUE(HostClockIsManual());
    // In a second: 100 passes at 10 ms, one every 30 ticks, one (the longest wait) with none due;
    // first the hover check sees the mouse rest.
    const std::pair<uint32_t, int> cases[] = {{0, 100}, {30, 2}, {FWIdleProcess::kNoIdleWork, 1}};
    for (auto [every, passes] : cases) {
        PacedIdler idler(every);
        passesIn(2000, idler);
        EXPECT_NEAR(passes, passesIn(1000, idler), 1) << "every " << every;
    }
    // With none due, what may bring work brings a pass within 10 ms: a new idle process, a
    // modifier key (which brings no event), an event.
    PacedIdler resting(FWIdleProcess::kNoIdleWork);
    passesIn(2000, resting);
    EXPECT_EQ(1, passesIn(10, resting, [] { PacedIdler newcomer(0); }));
    passesIn(2000, resting);
    EXPECT_EQ(0, passesIn(10, resting, [] { FWApp::HurryIdleTimeIfKeysChanged(); }));
    EXPECT_EQ(1, passesIn(10, resting, [] { HostSetKeyDown(kVK_Option, true), FWApp::HurryIdleTimeIfKeysChanged(); }));
    passesIn(2000, resting);
    FWEvent event;
    EXPECT_EQ(1, passesIn(10, resting, [&] {
        HostInjectKey(0, 'a'); // the A key
        for (int i = 0; i < 2 && event.mType == kNullEvent; ++i) // an unblock left by another test comes first
            FWEventManager::Instance()->GetSystemEvent(event, false);
    }));
    EXPECT_EQ(kKeyDownEvent, event.mType);
    HostReleaseAllKeys();
}

// A second of waiting with the application up and nothing to do wakes the back end a few
// times, where a 10 ms idle timer woke it a hundred.
TEST_F(FWAppTest, AnIdleApplicationWaitsWithoutWaking)
{
    XvfbServer server;
    if (!XvfbServer::Installed() || !server.Running())
        GTEST_SKIP() << "Xvfb is not installed or did not start";
    HostUseSystemClock();
    setenv("DISPLAY", server.Display().c_str(), 1);
    ASSERT_TRUE(HostSelectBackend("sdl"));
    EventRecord event;
    for (int i = 0; i < 3; ++i) // the window maps and draws; the hover check sees the mouse rest
        while (WaitNextEvent(everyEvent, &event, 40, nullptr)) {
        }
    const uint64_t before = HostCurrentBackend().WaitCount();
    EXPECT_FALSE(WaitNextEvent(everyEvent, &event, 60, nullptr));
    EXPECT_LE(HostCurrentBackend().WaitCount() - before, 20u);
    HostSelectBackend("headless");
    unsetenv("DISPLAY");
}

TEST_F(FWAppTest, ExecuteBuildsTheMenusAndRunsUntilAQuitEvent)
{
    HostInjectQuit();
    FWApp::Execute(mApp);
    EXPECT_EQ((std::vector<std::string>{"init menus"}), gLog);
    EXPECT_EQ(mApp, FWApp::Instance());
}

TEST_F(FWAppTest, WindowsBehindAFileDialogAreRedrawn)
{
    auto* window = new KeyWindow;
    window->Initialize(nullptr, FWRect(100, 100, 300, 200));
    window->Show();
    Corvel::FD_MacUtil::EventFunction function = Corvel::FD_MacUtil::GetEventFunction();
    ASSERT_NE(nullptr, function);
    EventRecord update{};
    update.what = updateEvt;
    update.message = reinterpret_cast<uintptr_t>(window->GetPDW());
    EXPECT_TRUE(function(&update));
    EXPECT_EQ((std::vector<std::string>{"window update"}), gLog);

    // Other kinds of events are not the application's while a dialog is up.
    EventRecord key{};
    key.what = keyDown;
    key.message = 'a';
    EXPECT_FALSE(function(&key));
    EventRecord idle{};
    EXPECT_FALSE(function(&idle));
    EXPECT_EQ(1u, gLog.size());
}

TEST(FWAppLifetime, TheApplicationSetsUpAndTakesDownTheFramework)
{
    HostDesktopScope desktop;
    gLog.clear();
    EXPECT_TRUE(FWApp::Init());
    EXPECT_NE(nullptr, FWString::GetLexerForType(FWString::kSignedInteger, false));

    auto* app = new TestApp;
    EXPECT_EQ(app, FWApp::Instance());
    EXPECT_NE(nullptr, Corvel::FD_MacUtil::GetEventFunction());
    EXPECT_NE(0, FWGetAppColor(0).a); // the colour scheme is set
    EXPECT_EQ(noErr, HostDeliverOpenApplication()); // the handlers are in place
    gLog.clear();
    auto* window = new KeyWindow;
    window->Initialize(nullptr, FWRect(100, 100, 300, 200));
    window->Show();
    FWEventDispatcher::Instance()->SetKeyWindow(window);
    // A window closed from its own menu just before the quit waits for deferred deletion.
    struct QueuedWindow : KeyWindow {
        ~QueuedWindow() override { gLog.push_back(FWApp::Exists() ? "~queued, app alive" : "~queued late"); }
    };
    auto* queued = new QueuedWindow;
    queued->Initialize(nullptr, FWRect(300, 100, 400, 200));
    DeletePtrLater<FWWindow>(queued);

    // The windows go with the application, the queued one first; the dispatcher is made anew.
    FWApp::Uninit();
    EXPECT_FALSE(FWApp::Exists());
    EXPECT_EQ((std::vector<std::string>{"~queued, app alive", "~window", "~window"}), gLog);
    EXPECT_EQ(nullptr, FWEventDispatcher::Instance()->KeyWindow());
    // A late Apple event finds no application and is not handled.
    EXPECT_EQ(errAEEventNotHandled, HostDeliverOpenApplication());
    EventRecord update{};
    update.what = updateEvt;
    EXPECT_FALSE(Corvel::FD_MacUtil::GetEventFunction()(&update));
    FWEventDispatcher::Destroy();
}

TEST_F(FWAppTest, NewDocumentsAndTheAdjustRules)
{
    FWUserOp close("Close", 4, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr);
    FWUserOp copy("Save A Copy", 5, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr);
    FWUserOp open("Open", 6, kUserOpDisabled, 0, 0, 0, 0, nullptr, nullptr, nullptr);
    mApp->DoAdjustFileClose(&close);
    mApp->DoAdjustFileSaveACopy(&copy);
    FWApp::AdjustFileOpen(&open);
    EXPECT_TRUE(close.TestFlag(kUserOpDisabled));
    EXPECT_TRUE(copy.TestFlag(kUserOpDisabled));
    EXPECT_FALSE(open.TestFlag(kUserOpDisabled));

    FWApp::FileNew(nullptr);
    ASSERT_NE(nullptr, mApp->GetActiveDocument());
    EXPECT_FALSE(mApp->GetActiveDocument()->IsDirty());
    mApp->DoAdjustFileClose(&close);
    mApp->DoAdjustFileSaveACopy(&copy);
    EXPECT_FALSE(close.TestFlag(kUserOpDisabled));
    EXPECT_FALSE(copy.TestFlag(kUserOpDisabled));
    // A clean document closes without a question.
    mApp->DoFileClose();
    EXPECT_EQ(nullptr, mApp->GetActiveDocument());
    EXPECT_TRUE(ShownMessageTexts().empty());
}

TEST_F(FWAppTest, FourViewRectsSplitTheMainScreen)
{
    FWRect bounds;
    FWGetAppRect(&bounds);
    ASSERT_EQ(0, bounds.left);
    ASSERT_EQ(1280, bounds.right);
    ASSERT_EQ(800, bounds.bottom);
    const int16_t middle = int16_t(bounds.top + (800 - bounds.top) / 2);
    FWRect rect;
    mApp->GetFourViewRect(0, &rect);
    EXPECT_EQ(FWRect(0, bounds.top, 639, int16_t(middle - 1)), rect);
    mApp->GetFourViewRect(1, &rect);
    EXPECT_EQ(FWRect(640, bounds.top, 1280, int16_t(middle - 1)), rect);
    mApp->GetFourViewRect(2, &rect);
    EXPECT_EQ(FWRect(640, middle, 1280, 800), rect);
    mApp->GetFourViewRect(3, &rect);
    EXPECT_EQ(FWRect(0, middle, 639, 800), rect);
    mApp->GetFourViewRect(4, &rect);
    EXPECT_EQ(FWRect(0, middle, 639, 800), rect); // unchanged
}

TEST_F(FWAppTest, SuspendAndResumeSetTheForegroundFlag)
{
    FWApp::ProcessSuspend();
    EXPECT_FALSE(FWApp::AppInForeground());
    FWApp::ProcessResume();
    EXPECT_TRUE(FWApp::AppInForeground());
}

TEST_F(FWAppTest, AboutNamesTheApplication)
{
    mApp->DoAboutApp();
    EXPECT_EQ((std::vector<std::string>{"Orlenta Framework Application\r\rMade by the FW team."}), ShownMessageTexts());
}
