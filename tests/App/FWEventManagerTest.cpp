#include "FWApp.h"
#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "FWException.h"
#include "FWPlatformUtils.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostDesktopScope.h"
#include "ShownMessages.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class TestApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
};

// A window at a global rectangle, shown, with no view tree, so that events reach it directly.
class PlainWindow : public FWWindow {
public:
    explicit PlainWindow(const FWRect& rect, WindowStyle style = 0) : FWWindow(style)
    {
        FWRect bounds = rect;
        CreatePlatformWindow(&bounds);
        FWApp::Instance()->AddWindow(this);
        Show();
    }
};

class FWEventManagerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        FWEventManager::Destroy();
        FWEventDispatcher::Destroy();
    }

    // The next event of a kind not skipped; updates are dispatched on the way, as the loop does.
    FWEvent next(std::initializer_list<int> skipped = {kMouseMovedEvent})
    {
        for (;;) {
            FWEvent event;
            FWEventManager::Instance()->GetSystemEvent(event, false);
            if (event.mType == kUpdateEvent) {
                FWEventDispatcher::Instance()->Dispatch(event);
                continue;
            }
            bool skip = false;
            for (int type : skipped)
                skip = skip || event.mType == type;
            if (!skip)
                return event;
        }
    }

    // A key press that marks the end of what a test injected: whatever came before it was
    // consumed once the key arrives.
    static void injectSentinel() { HostInjectKeyDown(0, 'z'); }
    void expectSentinel()
    {
        const FWEvent event = next({kMouseMovedEvent, kMouseUpEvent});
        EXPECT_EQ(kKeyDownEvent, event.mType);
        EXPECT_EQ('z', event.EventCharacter());
    }

    HostDesktopScope mDesk;
    TestApp mApp;
};

TEST_F(FWEventManagerTest, UnblockGivesOneNullEventWithoutWaiting)
{
    HostInjectKeyDown(0, 'a');
    FWEventManager::Unblock();
    FWEvent event;
    event.mType = kKeyDownEvent;
    FWEventManager::Instance()->GetSystemEvent(event, false);
    EXPECT_EQ(kNullEvent, event.mType);
    // The flag is cleared: the key waiting behind it comes next.
    EXPECT_EQ(1u, HostPendingInjectedCount());
    event = next();
    EXPECT_EQ(kKeyDownEvent, event.mType);
    EXPECT_EQ('a', event.EventCharacter());
}

TEST_F(FWEventManagerTest, KeysCarryTheMessageAndTheKeyWindow)
{
    PlainWindow window(FWRect(100, 100, 400, 300));
    EXPECT_EQ(&window, FWEventDispatcher::Instance()->KeyWindow());
    HostInjectKeyDown(12, 'q', shiftKey);
    HostInjectAutoKey(12, 'q');
    HostInjectKeyUp(12, 'q');
    FWEvent down = next();
    EXPECT_EQ(kKeyDownEvent, down.mType);
    EXPECT_EQ(&window, down.mWindow);
    EXPECT_EQ('q', down.EventCharacter());
    EXPECT_EQ(12, (down.mMessage >> 8) & 0xFF);
    EXPECT_TRUE(down.ShiftKeyDown());
    EXPECT_EQ(kAutoKeyEvent, next().mType);
    EXPECT_EQ(kKeyUpEvent, next().mType);
}

TEST_F(FWEventManagerTest, DoubleClickNeedsTheSameWindowWithinTheInterval)
{
    PlainWindow left(FWRect(100, 100, 400, 300));
    PlainWindow right(FWRect(500, 100, 800, 300));
    const uint32_t interval = FWDoubleTime();
    ASSERT_GT(interval, 2u);
    const Point inLeft{200, 200};
    const Point inRight{200, 600};

    auto press = [this](Point where) {
        HostInjectClick(where);
        const FWEvent event = next({kMouseMovedEvent, kMouseUpEvent});
        EXPECT_EQ(kMouseDownEvent, event.mType);
        return event;
    };
    // Three quick presses on one window: only the second is a double click.
    EXPECT_EQ(0, press(inLeft).mMessage);
    HostAdvanceTicks(1);
    EXPECT_EQ(1, press(inLeft).mMessage);
    HostAdvanceTicks(1);
    EXPECT_EQ(0, press(inLeft).mMessage);
    // Another window is a new first click.
    HostAdvanceTicks(1);
    const FWEvent other = press(inRight);
    EXPECT_EQ(&right, other.mWindow);
    EXPECT_EQ(0, other.mMessage);
    // Exactly the interval later is too late.
    HostAdvanceTicks(interval);
    EXPECT_EQ(0, press(inRight).mMessage);
    HostAdvanceTicks(interval - 1);
    EXPECT_EQ(1, press(inRight).mMessage);
}

TEST_F(FWEventManagerTest, PressesInTheContentAndInTheTitleBand)
{
    // Frame 3, title 25: the content starts at (103, 125).
    PlainWindow window(FWRect(100, 100, 400, 300));

    HostInjectClick(Point{200, 200});
    FWEvent content = next({kMouseMovedEvent});
    EXPECT_EQ(kMouseDownEvent, content.mType);
    EXPECT_EQ(&window, content.mWindow);
    EXPECT_EQ(FWPoint(97, 75), content.mWhere);
    EXPECT_EQ(FWPoint(200, 200), content.mGlobalWhere);
    FWEvent up = next({kMouseMovedEvent});
    EXPECT_EQ(kMouseUpEvent, up.mType);
    EXPECT_EQ(FWPoint(97, 75), up.mWhere);

    // Above the content and inside the title rectangle inset by 3: a title-bar press.
    HostInjectClick(Point{110, 200});
    FWEvent title = next({kMouseMovedEvent, kMouseUpEvent});
    EXPECT_EQ(kTitleBarEvent, title.mType);
    EXPECT_EQ(FWPoint(97, -15), title.mWhere);

    // In the outer 3 pixels of the band: an ordinary press.
    HostInjectClick(Point{101, 200});
    FWEvent edge = next({kMouseMovedEvent, kMouseUpEvent});
    EXPECT_EQ(kMouseDownEvent, edge.mType);
    EXPECT_EQ(FWPoint(97, -24), edge.mWhere);
}

TEST_F(FWEventManagerTest, AStyleFiveWindowGetsPressesUnconverted)
{
    PlainWindow window(FWRect(100, 100, 400, 300), 5);
    HostInjectClick(Point{110, 200});
    const FWEvent event = next({kMouseMovedEvent, kMouseUpEvent});
    EXPECT_EQ(kMouseDownEvent, event.mType);
    EXPECT_EQ(&window, event.mWindow);
    EXPECT_EQ(FWPoint(200, 110), event.mWhere);
}

TEST_F(FWEventManagerTest, ForeignWindowsAndTheDesktop)
{
    const WindowRef foreign = HostDesktopScope::MakeWindow(Rect{100, 100, 300, 400}, 0xFF00FF00);
    // Its update is consumed here and never dispatched: the move, which comes only once no
    // update is left, is the next event.
    HostInjectMouseMove(Point{500, 600});
    EXPECT_EQ(kMouseMovedEvent, next({}).mType);
    EXPECT_TRUE(HostWindowUpdateRegion(foreign).Empty());

    // A press on a foreign window is dispatched without a window; its release is not.
    HostInjectClick(Point{200, 200});
    injectSentinel();
    FWEvent press = next({kMouseMovedEvent});
    EXPECT_EQ(kMouseDownEvent, press.mType);
    EXPECT_EQ(nullptr, press.mWindow);
    expectSentinel();

    // A press on the desktop goes to the menu bar and is not dispatched.
    HostInjectMouseDown(Point{700, 900});
    injectSentinel();
    expectSentinel();
    // A release over the desktop is dispatched without a window.
    HostInjectMouseUp(Point{700, 900});
    FWEvent release = next({kMouseMovedEvent});
    EXPECT_EQ(kMouseUpEvent, release.mType);
    EXPECT_EQ(nullptr, release.mWindow);
    EXPECT_EQ(FWPoint(900, 700), release.mWhere);
}

TEST_F(FWEventManagerTest, AOnePixelMoveGivesOneMoveAndRecentresTheRegion)
{
    PlainWindow window(FWRect(100, 100, 400, 300));
    HostInjectMouseMove(Point{200, 200});
    EXPECT_EQ(kMouseMovedEvent, next({}).mType); // the region now lies where the mouse rests

    HostInjectMouseMove(Point{200, 201});
    FWEvent moved = next({});
    EXPECT_EQ(kMouseMovedEvent, moved.mType);
    EXPECT_EQ(FWPoint(-1, 0), moved.mDelta);
    EXPECT_EQ(&window, moved.mWindow);
    EXPECT_EQ(FWPoint(98, 75), moved.mWhere);
    EXPECT_EQ(FWPoint(201, 200), moved.mGlobalWhere);
    // Resting at the new point gives no further move.
    injectSentinel();
    EXPECT_EQ(kKeyDownEvent, next({}).mType);

    HostInjectMouseMove(Point{210, 201});
    moved = next({});
    EXPECT_EQ(kMouseMovedEvent, moved.mType);
    EXPECT_EQ(FWPoint(0, -10), moved.mDelta);
}

TEST_F(FWEventManagerTest, NestedLoopsGetPressesAndReleasesUnconvertedAndSuspendResumeIsConsumed)
{
    PlainWindow window(FWRect(100, 100, 400, 300));
    FWEventManager* manager = FWEventManager::Instance();
    HostInjectClick(Point{110, 200});
    EventRecord record;
    ASSERT_TRUE(WaitNextEvent(mDownMask, &record, 0, nullptr));
    FWEvent out;
    // In the title band, but a nested loop gets a plain press in global coordinates.
    ASSERT_TRUE(manager->FilterEvent(record, true, out));
    EXPECT_EQ(kMouseDownEvent, out.mType);
    EXPECT_EQ(&window, out.mWindow);
    EXPECT_EQ(FWPoint(200, 110), out.mWhere);
    ASSERT_TRUE(WaitNextEvent(mUpMask, &record, 0, nullptr));
    ASSERT_TRUE(manager->FilterEvent(record, true, out));
    EXPECT_EQ(kMouseUpEvent, out.mType);
    EXPECT_EQ(&window, out.mWindow);
    EXPECT_EQ(FWPoint(200, 110), out.mWhere);

    EventRecord suspend;
    suspend.what = osEvt;
    suspend.message = uintptr_t(suspendResumeMessage) << 24;
    EXPECT_FALSE(manager->FilterEvent(suspend, false, out));
    EXPECT_FALSE(FWApp::AppInForeground());
    EventRecord resume = suspend;
    resume.message |= resumeFlag;
    EXPECT_FALSE(manager->FilterEvent(resume, false, out));
    EXPECT_TRUE(FWApp::AppInForeground());
}

TEST_F(FWEventManagerTest, GrowingFollowsTheTravelOfTheMouse)
{
    PlainWindow window(FWRect(100, 100, 400, 300));
    FWPoint press(390, 290);
    HostInjectMouseDown(Point{290, 390});
    HostTakeInjectedInput();
    HostInjectMouseMove(Point{310, 420});
    HostInjectMouseUp(Point{310, 420});
    EXPECT_TRUE(FWEventManager::Instance()->DoGrowWindow(&window, &press));
    EXPECT_EQ(FWRect(0, 0, 330, 220), window.Size());

    // Released where it was pressed: nothing changes.
    press = FWPoint(420, 310);
    HostInjectMouseDown(Point{310, 420});
    HostTakeInjectedInput();
    HostInjectMouseUp(Point{310, 420});
    EXPECT_FALSE(FWEventManager::Instance()->DoGrowWindow(&window, &press));
    EXPECT_EQ(FWRect(0, 0, 330, 220), window.Size());
}

// A dispatcher that fails on its first two events and quits on the third. Each event asks for
// the next at once, so the loop never waits for input.
class FailingDispatcher : public FWEventDispatcher {
public:
    FailingDispatcher() { sAppEventDispatcher = this; }
    void Dispatch(FWEvent& event) override
    {
        // The failure reports are modal dialogs, whose own events pass as usual.
        if (FWWindow::ModalCount() != 0) {
            FWEventDispatcher::Dispatch(event);
            return;
        }
        FWEventManager::Unblock();
        ++mCalls;
        if (mCalls == 1)
            throw std::runtime_error("not a framework failure");
        if (mCalls == 2)
            throw FWException("the disk is full");
        Quit();
    }
    int mCalls = 0;
};

TEST_F(FWEventManagerTest, TheLoopReportsFailuresOfSingleEventsAndGoesOnUntilQuit)
{
    HostResetModalLoops();
    FWEventDispatcher::Destroy();
    auto* dispatcher = new FailingDispatcher;
    ASSERT_EQ(dispatcher, FWEventDispatcher::Instance());
    FWEventManager::Unblock();
    FWEventManager::Instance()->Execute();
    EXPECT_EQ(3, dispatcher->mCalls);
    EXPECT_EQ((std::vector<std::string>{"Sorry, an unexpected error occurred.", "Sorry, the disk is full."}), ShownMessageTexts());
    HostResetModalLoops();
}

} // namespace
