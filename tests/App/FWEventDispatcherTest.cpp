#include "FWApp.h"
#include "FWDocument.h"
#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "FWUserOp.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostSound.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;
// Hover notices are logged only when a test asks for them.
bool gLogHover = false;

void note(const std::string& entry)
{
    gLog.push_back(entry);
}

std::vector<std::string> takeLog()
{
    std::vector<std::string> log;
    log.swap(gLog);
    return log;
}

class TestApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
    bool KeyDownEvent(FWEvent&) override
    {
        note("app key");
        return true;
    }
    bool MouseDownEvent(FWEvent&) override
    {
        note("app mouse");
        return true;
    }
    void WindowIsClosing(FWWindow* window) override { note(std::string("app closing ") + window->Name().GetCString()); }
};

class TestDocument : public FWDocument {
public:
    bool KeyDownEvent(FWEvent&) override
    {
        note("doc key");
        return false;
    }
};

// A shown window at a global rectangle that logs what it is told. It has no view tree unless
// a test builds one, so events and hover notices reach the window itself.
class RecWindow : public FWWindow {
public:
    RecWindow(const std::string& name, const FWRect& rect, WindowStyle style = 0, bool acceptsKeys = true)
        : FWWindow(style), mTag(name), mAcceptsKeys(acceptsKeys)
    {
        FWStr<255> title(name.c_str());
        SetName(&title, false);
        FWRect bounds = rect;
        CreatePlatformWindow(&bounds);
        FWApp::Instance()->AddWindow(this);
        Show();
    }
    ~RecWindow() override { note("~" + mTag); }

    bool MouseDownEvent(FWEvent& event) override
    {
        note(mTag + " mouse" + (mCheckBackground ? backgroundState() : ""));
        return mTakesMouse;
    }
    bool ContextualMouseDownEvent(FWEvent& event) override
    {
        if (!mOwnContextual)
            return FWWindow::ContextualMouseDownEvent(event);
        note(mTag + " contextual");
        return true;
    }
    bool MouseUpEvent(FWEvent&) override
    {
        note(mTag + " up");
        return false;
    }
    bool KeyDownEvent(FWEvent&) override
    {
        note(mTag + " key");
        return false;
    }
    bool TitleBarEvent(FWEvent&) override
    {
        note(mTag + " title");
        return mTakesTitle;
    }
    bool MoveEvent() override
    {
        note(mTag + " move");
        return true;
    }
    bool ZoomEvent() override
    {
        note(mTag + " zoom");
        return true;
    }
    bool ResizeEvent() override
    {
        note(mTag + " resize");
        return true;
    }
    bool ExposureEvent() override
    {
        note(mTag + " exposure");
        return true;
    }
    bool ActivateEvent(bool active) override
    {
        note(mTag + (active ? " on" : " off"));
        return FWWindow::ActivateEvent(active);
    }
    bool CloseEvent() override
    {
        note(mTag + " close?");
        return mConsents;
    }
    bool UpdateEvent(FWEvent& event, FWDrawContext& context) override
    {
        note(mTag + " update");
        return FWWindow::UpdateEvent(event, context);
    }
    bool CopyEvent(FWEvent&) override
    {
        note(mTag + " copy");
        return true;
    }
    bool CanCopy() override { return true; }
    bool AcceptsKeyEvents() const override { return mAcceptsKeys; }

    bool MouseMovedIn() override { return hover(" in", false); }
    bool MouseMovedOut() override { return hover(" out", true); }
    bool SetCursor() override { return hover(" cursor", false); }
    bool MousePaused() override { return hover(" paused", mHandlesPause); }
    bool MouseResumed() override { return hover(" resumed", false); }

    std::string mTag;
    bool mAcceptsKeys = true;
    bool mTakesMouse = false;
    bool mOwnContextual = false;
    bool mTakesTitle = false;
    bool mConsents = true;
    bool mHandlesPause = false;
    bool mCheckBackground = false;

private:
    bool hover(const char* what, bool result)
    {
        if (gLogHover)
            note(mTag + what);
        return result;
    }
    static std::string backgroundState()
    {
        const bool disabled = FWView::DisableBackgroundUpdate(true);
        FWView::DisableBackgroundUpdate(disabled);
        return disabled ? " (background off)" : " (background on)";
    }
};

// A view that logs its hover notices.
class RecView : public FWView {
public:
    bool MouseMovedIn() override { return hover(" in"); }
    bool MouseMovedOut() override { return hover(" out"); }
    bool SetCursor() override { return hover(" cursor"); }
    bool MousePaused() override { return hover(" paused"); }
    bool MouseResumed() override { return hover(" resumed"); }

private:
    bool hover(const char* what)
    {
        if (gLogHover)
            note(std::string("view") + what);
        return true;
    }
};

class Capturer : public FWEventHandler {
public:
    bool KeyDownEvent(FWEvent&) override
    {
        note("capture key");
        return true;
    }
    bool MouseMoved(FWPoint where, FWWindow* window) override
    {
        note("moved to " + std::to_string(where.h) + "," + std::to_string(where.v) +
             (window != nullptr ? std::string(" over ") + window->Name().GetCString() : std::string()));
        return true;
    }
};

class FWEventDispatcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLog.clear();
        gLogHover = false;
        mApp = new TestApp;
        mDispatcher = FWEventDispatcher::Instance();
    }
    void TearDown() override
    {
        FWWindow::sModalCount = 0;
        FWWindow::sModalWindow = nullptr;
        gLogHover = false;
        delete mApp;
        FWEventDispatcher::Destroy();
        FWEventManager::Destroy();
        EXPECT_TRUE(mMessages.Messages().empty());
    }

    static void moveMouse(int16_t h, int16_t v)
    {
        HostInjectMouseMove(Point{v, h});
        HostTakeInjectedInput();
    }

    static FWEvent eventFor(FWEventType type, FWWindow* window, uint16_t modifiers = 0)
    {
        return FWEvent(type, window, modifiers);
    }

    HostDesktopScope mDesk;
    ProgrammerMessageRecorder mMessages;
    TestApp* mApp = nullptr;
    FWEventDispatcher* mDispatcher = nullptr;
};

TEST_F(FWEventDispatcherTest, WindowEventsReachTheirWindowAndExposeTheOthers)
{
    RecWindow other("o", FWRect(500, 100, 700, 300));
    RecWindow window("w", FWRect(100, 100, 400, 300));
    takeLog();

    FWEvent move = eventFor(kMoveEvent, &window);
    mDispatcher->Dispatch(move);
    EXPECT_EQ((std::vector<std::string>{"w move", "o exposure"}), takeLog());
    FWEvent zoom = eventFor(kZoomEvent, &window);
    mDispatcher->Dispatch(zoom);
    EXPECT_EQ((std::vector<std::string>{"w zoom", "o exposure"}), takeLog());
    FWEvent resize = eventFor(kResizeEvent, &window);
    mDispatcher->Dispatch(resize);
    EXPECT_EQ((std::vector<std::string>{"w resize", "o exposure"}), takeLog());

    // Activation exposes every window; deactivation nothing.
    FWEvent activate = eventFor(kActivateEvent, &window);
    activate.mMessage = 1;
    mDispatcher->Dispatch(activate);
    EXPECT_EQ((std::vector<std::string>{"w on", "o exposure", "w exposure"}), takeLog());
    activate.mMessage = 0;
    mDispatcher->Dispatch(activate);
    EXPECT_EQ((std::vector<std::string>{"w off"}), takeLog());

    // Edit events go to their window; without one, and for null and move events, nothing.
    FWEvent copy = eventFor(kCopyEvent, &window);
    mDispatcher->Dispatch(copy);
    FWEvent orphan = eventFor(kCopyEvent, nullptr);
    mDispatcher->Dispatch(orphan);
    FWEvent idle = eventFor(kNullEvent, &window);
    mDispatcher->Dispatch(idle);
    FWEvent moved = eventFor(kMouseMovedEvent, &window);
    mDispatcher->Dispatch(moved);
    EXPECT_EQ((std::vector<std::string>{"w copy"}), takeLog());
}

TEST_F(FWEventDispatcherTest, KeysFindTheirFirstHandlerAndWalkUpTheChain)
{
    // No window, no capture, no document: the application.
    FWEvent key = eventFor(kKeyDownEvent, nullptr);
    mDispatcher->Dispatch(key);
    EXPECT_EQ((std::vector<std::string>{"app key"}), takeLog());

    // The active document first, then its parent, the application.
    auto* document = new TestDocument;
    mDispatcher->Dispatch(key);
    EXPECT_EQ((std::vector<std::string>{"doc key", "app key"}), takeLog());

    // A window that declines passes on to the active document.
    RecWindow window("w", FWRect(100, 100, 400, 300));
    takeLog();
    FWEvent windowKey = eventFor(kKeyDownEvent, &window);
    mDispatcher->Dispatch(windowKey);
    EXPECT_EQ((std::vector<std::string>{"w key", "doc key", "app key"}), takeLog());

    // A capturing handler comes before everything.
    Capturer capturer;
    EXPECT_EQ(nullptr, mDispatcher->CaptureEventControl(&capturer));
    mDispatcher->Dispatch(windowKey);
    EXPECT_EQ((std::vector<std::string>{"capture key"}), takeLog());
    mDispatcher->ReleaseEventControl(nullptr);
    EXPECT_EQ(&window, mDispatcher->GetEventHandler(windowKey));

    document->SendMessage(Dependable::IsBeingDeleted);
    delete document;
}

TEST_F(FWEventDispatcherTest, APressMakesTheWindowKeyAndSuspendsBackgroundDrawing)
{
    RecWindow first("a", FWRect(100, 100, 400, 300));
    RecWindow refuses("r", FWRect(500, 100, 700, 300));
    refuses.mAcceptsKeys = false;
    first.mCheckBackground = true;
    EXPECT_EQ(&first, mDispatcher->KeyWindow());
    takeLog();

    FWEvent press = eventFor(kMouseDownEvent, &refuses);
    mDispatcher->Dispatch(press);
    EXPECT_EQ(&first, mDispatcher->KeyWindow());
    EXPECT_EQ((std::vector<std::string>{"r mouse", "app mouse"}), takeLog());

    FWEvent up = eventFor(kMouseUpEvent, &first);
    mDispatcher->Dispatch(up);
    EXPECT_EQ((std::vector<std::string>{"a up"}), takeLog());

    // Setting the key window it already is does nothing; another one is swapped in.
    EXPECT_EQ(&first, mDispatcher->SetKeyWindow(&first));
    EXPECT_TRUE(takeLog().empty());
    refuses.mAcceptsKeys = true;
    mDispatcher->Dispatch(press);
    EXPECT_EQ(&refuses, mDispatcher->KeyWindow());
    EXPECT_EQ((std::vector<std::string>{"a off", "r on", "r mouse", "app mouse"}), takeLog());

    first.mTakesMouse = true;
    FWEvent again = eventFor(kMouseDownEvent, &first);
    mDispatcher->Dispatch(again);
    EXPECT_EQ((std::vector<std::string>{"r off", "a on", "a mouse (background off)"}), takeLog());
    EXPECT_FALSE(FWView::DisableBackgroundUpdate(false));
}

TEST_F(FWEventDispatcherTest, WhileAModalDialogIsUpOtherWindowsOnlyBeep)
{
    RecWindow window("w", FWRect(100, 100, 400, 300));
    RecWindow modal("m", FWRect(500, 100, 700, 300), 1);
    modal.mTakesMouse = true;
    FWWindow::sModalCount = 1;
    FWWindow::sModalWindow = &modal;
    takeLog();
    const uint32_t beeps = HostBeepCount();

    FWEvent elsewhere = eventFor(kMouseDownEvent, &window);
    mDispatcher->Dispatch(elsewhere);
    EXPECT_EQ(beeps + 1, HostBeepCount());
    EXPECT_TRUE(takeLog().empty());

    FWEvent onModal = eventFor(kMouseDownEvent, &modal);
    mDispatcher->Dispatch(onModal);
    EXPECT_EQ(beeps + 1, HostBeepCount());
    const std::vector<std::string> log = takeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("m mouse", log.back());
}

TEST_F(FWEventDispatcherTest, ControlClicksAreContextualAndDefaultToPlainPresses)
{
    RecWindow window("w", FWRect(100, 100, 400, 300));
    window.mTakesMouse = true;
    takeLog();
    FWEvent click = eventFor(kMouseDownEvent, &window, kFWControlKey);
    mDispatcher->Dispatch(click);
    EXPECT_EQ((std::vector<std::string>{"w mouse"}), takeLog());
    window.mOwnContextual = true;
    mDispatcher->Dispatch(click);
    EXPECT_EQ((std::vector<std::string>{"w contextual"}), takeLog());
}

TEST_F(FWEventDispatcherTest, ClosingTheKeyWindowHandsTheKeyToTheWindowUnder)
{
    auto* back = new RecWindow("c", FWRect(100, 100, 400, 300));
    auto* middle = new RecWindow("b", FWRect(120, 120, 420, 320));
    auto* front = new RecWindow("a", FWRect(140, 140, 440, 340));
    mDispatcher->SetKeyWindow(front);
    takeLog();

    FWEvent close = eventFor(kCloseEvent, front);
    mDispatcher->Dispatch(close);
    EXPECT_EQ((std::vector<std::string>{"a close?", "app closing a", "~a", "b on"}), takeLog());
    EXPECT_EQ(middle, mDispatcher->KeyWindow());

    // A refused close still moves the key window on.
    middle->mConsents = false;
    close.mWindow = middle;
    mDispatcher->Dispatch(close);
    EXPECT_EQ((std::vector<std::string>{"b close?", "b off", "c on"}), takeLog());
    EXPECT_EQ(back, mDispatcher->KeyWindow());

    // Closing a window that is not the key window leaves the key window alone.
    middle->mConsents = true;
    mDispatcher->Dispatch(close);
    EXPECT_EQ((std::vector<std::string>{"b close?", "app closing b", "~b"}), takeLog());
    EXPECT_EQ(back, mDispatcher->KeyWindow());

    // The last window: none is left to take the keys.
    close.mWindow = back;
    mDispatcher->Dispatch(close);
    EXPECT_EQ(nullptr, mDispatcher->KeyWindow());
    takeLog();

    close.mWindow = nullptr;
    mDispatcher->Dispatch(close);
    ASSERT_EQ(1u, mMessages.Messages().size());
    EXPECT_EQ("Called WindowCloseEvent on a NULL window", mMessages.Messages()[0].message);
    EXPECT_EQ("FW/App/Source/FWEventDispatcher", mMessages.Messages()[0].sourcePath);
    EXPECT_EQ(278, mMessages.Messages()[0].line);
    mMessages.Clear();
}

TEST_F(FWEventDispatcherTest, TitleBarPressesOutsideTheIconsDragTheWindow)
{
    RecWindow under("u", FWRect(500, 100, 700, 300));
    RecWindow window("w", FWRect(100, 100, 400, 300));
    window.mAcceptsKeys = true;
    mDispatcher->SetKeyWindow(&under);
    takeLog();

    // Taken by the window itself: nothing else happens.
    window.mTakesTitle = true;
    FWEvent title = eventFor(kTitleBarEvent, &window);
    title.mGlobalWhere = FWPoint(250, 110);
    mDispatcher->Dispatch(title);
    EXPECT_EQ((std::vector<std::string>{"w title"}), takeLog());

    // Declined: the window comes to the front, is dragged (the button is up, so it stays), takes
    // the keys and hears that it moved.
    window.mTakesTitle = false;
    mDispatcher->Dispatch(title);
    EXPECT_EQ((std::vector<std::string>{"w title", "u off", "w on", "w move", "u exposure"}), takeLog());
    EXPECT_EQ(&window, mDispatcher->KeyWindow());

    // A window that cannot be dragged only hears the press.
    window.SetDraging(false);
    mDispatcher->Dispatch(title);
    EXPECT_EQ((std::vector<std::string>{"w title"}), takeLog());
}

TEST_F(FWEventDispatcherTest, ShowingAndDeletingWindowsKeepsTheKeyWindowSound)
{
    // A window that refuses keys never becomes the key window by being shown.
    auto* refuses = new RecWindow("r", FWRect(100, 100, 400, 300), 0, false);
    EXPECT_EQ(nullptr, mDispatcher->KeyWindow());
    delete refuses;

    // The first shown window that takes keys becomes the key window; later ones do not.
    auto* first = new RecWindow("a", FWRect(100, 100, 400, 300));
    auto* second = new RecWindow("b", FWRect(500, 100, 700, 300));
    EXPECT_EQ(first, mDispatcher->KeyWindow());
    // Deleting the key window leaves no key window behind.
    delete first;
    EXPECT_EQ(nullptr, mDispatcher->KeyWindow());
    delete second;
}

TEST_F(FWEventDispatcherTest, EditCommandsFollowTheKeyWindow)
{
    FWUserOp op("Copy", 1, 0, 0, 0, 'C', 0, nullptr, nullptr, nullptr);
    for (auto adjust : {&FWEventDispatcher::AdjustCut, &FWEventDispatcher::AdjustCopy,
                        &FWEventDispatcher::AdjustPaste, &FWEventDispatcher::AdjustClear,
                        &FWEventDispatcher::AdjustUndo}) {
        op.ClearFlag(kUserOpDisabled);
        adjust(&op);
        EXPECT_TRUE(op.TestFlag(kUserOpDisabled));
    }

    RecWindow window("w", FWRect(100, 100, 400, 300));
    ASSERT_EQ(&window, mDispatcher->KeyWindow());
    takeLog();
    FWEventDispatcher::AdjustCopy(&op);
    EXPECT_FALSE(op.TestFlag(kUserOpDisabled));
    FWEventDispatcher::AdjustCut(&op); // an empty window has nothing to cut
    EXPECT_TRUE(op.TestFlag(kUserOpDisabled));
    op.ClearFlag(kUserOpDisabled);
    FWEventDispatcher::AdjustUndo(&op);
    EXPECT_TRUE(op.TestFlag(kUserOpDisabled));

    FWEventDispatcher::DispatchCopy(&op);
    EXPECT_EQ((std::vector<std::string>{"w copy"}), takeLog());
}

TEST_F(FWEventDispatcherTest, UpdatingAWindowDrawsItInThePlatformUpdate)
{
    RecWindow window("w", FWRect(100, 100, 400, 300));
    ASSERT_FALSE(HostWindowUpdateRegion(window.GetPDW()).Empty());
    takeLog();
    FWEventDispatcher::UpdateWindow(&window);
    EXPECT_EQ((std::vector<std::string>{"w update"}), takeLog());
    EXPECT_TRUE(HostWindowUpdateRegion(window.GetPDW()).Empty());
}

TEST_F(FWEventDispatcherTest, PausesComeAfterSixtyTicksThenTenInTheSameWindow)
{
    RecWindow window("w", FWRect(100, 100, 400, 300));
    window.mHandlesPause = true;
    gLogHover = true;
    takeLog();

    moveMouse(200, 200);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"w resumed", "w in"}), takeLog());
    // At rest from the next check on; the pause comes 60 ticks later, once.
    mDispatcher->AllowCursorAdjustment();
    HostAdvanceTicks(59);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"w cursor", "w cursor"}), takeLog());
    HostAdvanceTicks(1);
    mDispatcher->AllowCursorAdjustment();
    HostAdvanceTicks(100);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"w paused", "w cursor", "w cursor"}), takeLog());

    // Moving on within the window that handled its pause: the next pause takes 10 ticks.
    gLogHover = false;
    moveMouse(210, 200);
    mDispatcher->AllowCursorAdjustment();
    mDispatcher->AllowCursorAdjustment();
    gLogHover = true;
    takeLog();
    HostAdvanceTicks(9);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"w cursor"}), takeLog());
    HostAdvanceTicks(1);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"w paused", "w cursor"}), takeLog());

    // A click starts the wait over at 60.
    gLogHover = false;
    FWEvent press = eventFor(kMouseDownEvent, &window);
    mDispatcher->Dispatch(press);
    moveMouse(220, 200);
    mDispatcher->AllowCursorAdjustment();
    mDispatcher->AllowCursorAdjustment();
    gLogHover = true;
    takeLog();
    HostAdvanceTicks(59);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"w cursor"}), takeLog());
    HostAdvanceTicks(1);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"w paused", "w cursor"}), takeLog());
}

TEST_F(FWEventDispatcherTest, AHeldButtonSuppressesPauseAndResume)
{
    RecWindow window("w", FWRect(100, 100, 400, 300));
    moveMouse(200, 200);
    mDispatcher->AllowCursorAdjustment();
    mDispatcher->AllowCursorAdjustment();
    HostInjectMouseDown(Point{200, 200});
    HostTakeInjectedInput();
    gLogHover = true;
    takeLog();

    moveMouse(250, 220);
    mDispatcher->AllowCursorAdjustment();
    HostAdvanceTicks(200);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"w cursor", "w cursor"}), takeLog());
}

TEST_F(FWEventDispatcherTest, EnteringAndLeavingWindowsAndViews)
{
    RecWindow left("l", FWRect(100, 100, 400, 300));
    RecWindow right("r", FWRect(500, 100, 800, 300));
    // A view tree for the right window: a root and a logging view at (20, 10)-(60, 40).
    right.ViewMngr().Initialize(FWRect(0, 0, 294, 172));
    auto* view = new RecView;
    view->Init(&right);
    view->SetRect(FWRect(20, 10, 60, 40));
    view->SetVisibility(true);
    right.ViewMngr().GetViewTree()->AppendChild(view);
    right.ViewMngr().GetViewTree()->SetVisibility(true);

    Capturer listener;
    mDispatcher->SetMouseMovedListener(&listener);
    gLogHover = true;
    takeLog();

    moveMouse(200, 200);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"l resumed", "moved to 200,200 over l", "l in"}), takeLog());
    // Over the desktop nothing is told, and the window under the mouse is still remembered.
    moveMouse(450, 200);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"moved to 450,200"}), takeLog());
    EXPECT_EQ(&left, mDispatcher->MouseWindow());

    // Onto the view: global (503 + 30, 125 + 20).
    moveMouse(533, 145);
    mDispatcher->AllowCursorAdjustment();
    // Still moving: no resume notice, only the change of view.
    EXPECT_EQ((std::vector<std::string>{"moved to 533,145 over r", "view in"}), takeLog());
    EXPECT_EQ(view, mDispatcher->MouseView());
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"view cursor"}), takeLog());

    // Off the view onto the bare root, which takes no events: the window itself is entered.
    // Then back to the left window.
    moveMouse(700, 250);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"moved to 700,250 over r", "view out", "l out", "r in"}), takeLog());
    moveMouse(200, 200);
    mDispatcher->AllowCursorAdjustment();
    EXPECT_EQ((std::vector<std::string>{"moved to 200,200 over l", "r out", "l in"}), takeLog());
    mDispatcher->SetMouseMovedListener(nullptr);
}

TEST_F(FWEventDispatcherTest, MouseTrackingReportsMovesAndTheRelease)
{
    RecWindow window("w", FWRect(100, 100, 400, 300));
    HostInjectMouseDown(Point{200, 200});
    // The press leaves the queue, as when the loop took it.
    EventRecord record;
    ASSERT_TRUE(WaitNextEvent(mDownMask, &record, 0, nullptr));
    FWEventUtil::ResetMouseTrack();
    int h = 0;
    int v = 0;
    // After a reset the first call reports the position at once.
    EXPECT_TRUE(FWEventUtil::TrackMouseDown(window, h, v));
    EXPECT_EQ(97, h);
    EXPECT_EQ(75, v);
    HostInjectMouseMove(Point{210, 230});
    EXPECT_TRUE(FWEventUtil::TrackMouseDown(window, h, v));
    EXPECT_EQ(127, h);
    EXPECT_EQ(85, v);
    HostInjectMouseUp(Point{210, 230});
    EXPECT_FALSE(FWEventUtil::TrackMouseDown(window, h, v));
    EXPECT_EQ(127, h);
    EXPECT_EQ(85, v);
}

TEST_F(FWEventDispatcherTest, QuitEndsTheLoopAfterTheCurrentEvent)
{
    FWEvent event;
    event.mType = kKeyDownEvent;
    mDispatcher->Quit();
    // The wait is unblocked at once.
    mDispatcher->GetEvent(event, false);
    EXPECT_EQ(kNullEvent, event.mType);
    HostInjectKeyDown(0, 'x');
    FWEventManager::Instance()->Execute();
    EXPECT_EQ(1u, HostPendingInjectedCount());
}

TEST_F(FWEventDispatcherTest, TheApplicationFindsItsWindowsByStyleAndPlace)
{
    RecWindow other("c", FWRect(100, 100, 400, 300), 2);
    RecWindow middle("b", FWRect(150, 150, 450, 350), 0);
    RecWindow front("a", FWRect(200, 200, 500, 400), 0);
    EXPECT_EQ(&front, mApp->GetFrontWindowOfStyle(0));
    EXPECT_EQ(&middle, mApp->GetBackWindowOfStyle(0));
    EXPECT_EQ(&other, mApp->GetFrontWindowOfStyle(2));
    EXPECT_EQ(&other, mApp->GetBackWindowOfStyle(2));
    EXPECT_EQ(nullptr, mApp->GetFrontWindowOfStyle(1));
    EXPECT_EQ(nullptr, mApp->GetBackWindowOfStyle(1));
    EXPECT_EQ(&front, mApp->FindWindow(FWPoint(300, 300)));
    EXPECT_EQ(&other, mApp->FindWindow(FWPoint(120, 120)));
    EXPECT_EQ(nullptr, mApp->FindWindow(FWPoint(1000, 600)));

    EXPECT_FALSE(mApp->ForeignWindowOpen());
    const WindowRef foreign = HostDesktopScope::MakeWindow(Rect{600, 900, 700, 1000}, 0xFF0000FF);
    EXPECT_TRUE(mApp->ForeignWindowOpen());
    HideWindow(foreign);
    EXPECT_TRUE(mApp->ForeignWindowOpen()); // hidden, but still in front
}

} // namespace
