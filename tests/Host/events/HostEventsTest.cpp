#include "HostAppleEvents.h"
#include "HostBackend.h"
#include "HostClock.h"
#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostSystemSettings.h"
#include "HostTimers.h"
#include "HostWindows.h"

#include <gtest/gtest.h>

#include <chrono>

#include <string>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

class HostEventsTest : public ::testing::Test {
protected:
    void SetUp() override { HostResetAppleEvents(); }
    void TearDown() override { HostResetAppleEvents(); }

    // The next event of the mask, waiting no time (the clock is manual).
    static EventRecord next(EventMask mask = everyEvent, RgnHandle mouseRgn = nullptr)
    {
        EventRecord event;
        WaitNextEvent(mask, &event, 10, mouseRgn);
        return event;
    }

    HostDesktopScope mDesktop{1000};
};

int sQuitCount = 0;

OSErr countQuit(const AppleEvent*, AppleEvent*, SRefCon)
{
    ++sQuitCount;
    return noErr;
}

void postKeyFromTimer(EventLoopTimerRef, void*)
{
    HostInjectKey(0, 'z');
}

} // namespace

TEST_F(HostEventsTest, InjectedInputComesOutInOrderWithItsFields)
{
    HostInjectMouseDown(Point{100, 200}, shiftKey);
    HostAdvanceTicks(5);
    HostInjectMouseUp(Point{102, 204});
    HostAdvanceTicks(5);
    HostInjectKeyDown(0, 'a', cmdKey);
    HostInjectAutoKey(0, 'a', cmdKey);
    HostInjectKeyUp(0, 'a');
    HostInjectKey(36, 13);

    struct Expected {
        EventKind what;
        uintptr_t message;
        uint32_t when;
        Point where;
        EventModifiers modifiers;
    };
    const Expected expected[] = {
        {mouseDown, 0, 1000, {100, 200}, shiftKey},
        {mouseUp, 0, 1005, {102, 204}, 0},
        {keyDown, 'a', 1010, {102, 204}, cmdKey},
        {autoKey, 'a', 1010, {102, 204}, cmdKey},
        {keyUp, 'a', 1010, {102, 204}, 0},
        {keyDown, (36 << 8) | 13, 1010, {102, 204}, 0},
        {keyUp, (36 << 8) | 13, 1010, {102, 204}, 0},
    };
    for (const Expected& e : expected) {
        EventRecord event = next();
        EXPECT_EQ(e.what, event.what);
        EXPECT_EQ(e.message, event.message);
        EXPECT_EQ(e.when, event.when);
        EXPECT_EQ(e.where.v, event.where.v);
        EXPECT_EQ(e.where.h, event.where.h);
        EXPECT_EQ(e.modifiers, event.modifiers);
    }
    EventRecord last;
    EXPECT_FALSE(WaitNextEvent(everyEvent, &last, 10, nullptr));
    EXPECT_EQ(nullEvent, last.what);
    EXPECT_EQ(1010u, last.when);
}

TEST_F(HostEventsTest, TheManualClockDecidesWhatIsADoubleClick)
{
    HostSetDoubleClickTime(20);
    HostInjectClick(Point{300, 300});
    HostAdvanceTicks(19);
    HostInjectClick(Point{300, 300});
    HostAdvanceTicks(25);
    HostInjectClick(Point{300, 300});
    std::vector<uint32_t> presses;
    for (int i = 0; i < 6; ++i) {
        EventRecord event = next();
        if (event.what == mouseDown)
            presses.push_back(event.when);
    }
    ASSERT_EQ(3u, presses.size());
    EXPECT_LT(presses[1] - presses[0], GetDblTime());
    EXPECT_GE(presses[2] - presses[1], GetDblTime());
    HostResetSystemSettings();
}

TEST_F(HostEventsTest, InputChangesTheMouseAndKeyStateAsItIsTaken)
{
    HostInjectMouseDown(Point{50, 60}, optionKey);
    HostInjectKeyDown(49, ' ');
    EXPECT_FALSE(HostButtonState());
    EXPECT_TRUE(Button()); // takes the press in
    Point mouse;
    GetGlobalMouse(&mouse);
    EXPECT_EQ(50, mouse.v);
    EXPECT_EQ(60, mouse.h);
    KeyMap keys;
    GetKeys(keys);
    EXPECT_TRUE((keys[kVK_Option / 8] >> (kVK_Option % 8)) & 1);
    EXPECT_FALSE((keys[kVK_Space / 8] >> (kVK_Space % 8)) & 1);
    EXPECT_EQ(mouseDown, next().what);
    EXPECT_EQ(keyDown, next().what);
    GetKeys(keys);
    EXPECT_TRUE((keys[kVK_Space / 8] >> (kVK_Space % 8)) & 1);
    // The modifier keys follow every input.
    EXPECT_FALSE((keys[kVK_Option / 8] >> (kVK_Option % 8)) & 1);
    HostInjectModifiers(cmdKey | controlKey);
    next();
    EXPECT_EQ(cmdKey | controlKey, next().modifiers);
}

TEST_F(HostEventsTest, TrackingLoopsSeeEachInputAndConsumeTheRelease)
{
    HostInjectMouseDown(Point{100, 100});
    HostInjectMouseMove(Point{110, 105});
    HostInjectMouseMove(Point{120, 110});
    HostInjectMouseUp(Point{130, 115});
    ASSERT_EQ(mouseDown, next().what);

    std::vector<int16_t> seen;
    while (WaitMouseUp()) {
        Point p;
        GetGlobalMouse(&p);
        seen.push_back(p.h);
    }
    EXPECT_EQ((std::vector<int16_t>{105, 110}), seen);
    // The release was taken by the loop.
    EXPECT_EQ(0u, HostQueuedEventCount());
    EXPECT_FALSE(StillDown());
}

TEST_F(HostEventsTest, StillDownIsFalseWhileAPressOrReleaseWaits)
{
    HostInjectMouseDown(Point{10, 10});
    HostInjectMouseUp(Point{10, 10});
    HostInjectMouseDown(Point{10, 10});
    EXPECT_EQ(mouseDown, next().what);
    EXPECT_FALSE(StillDown()); // the release came in
    EXPECT_EQ(mouseUp, next().what);
    HostSetMouseButton(true);
    EXPECT_TRUE(StillDown() == false); // the second press came in and waits
    EXPECT_EQ(mouseDown, next().what);
    EXPECT_TRUE(StillDown());
}

TEST_F(HostEventsTest, MasksLeaveOtherEventsQueuedAndFlushStopsAtTheStopKind)
{
    HostInjectKey(1, 'b');
    HostInjectClick(Point{40, 40});
    for (int i = 0; i < 4; ++i)
        HostTakeInjectedInput();
    EXPECT_EQ(mouseDown, next(mDownMask).what);
    EXPECT_EQ(4u - 1, HostQueuedEventCount());
    FlushEvents(everyEvent, mUpMask); // removes the keys, stops at the release
    EXPECT_EQ(1u, HostQueuedEventCount());
    EXPECT_EQ(mouseUp, next().what);

    SetEventMask(everyEvent & ~keyUpMask);
    HostInjectKey(1, 'b');
    EXPECT_EQ(keyDown, next().what);
    EXPECT_EQ(nullEvent, next().what);
}

TEST_F(HostEventsTest, MouseMovedEventsComeWhileTheMouseIsOutsideTheRegion)
{
    HostSetGlobalMouse(Point{100, 100});
    HostRegion region(Rect{100, 100, 101, 101});
    EXPECT_EQ(nullEvent, next(everyEvent, &region).what);
    HostInjectMouseMove(Point{100, 101});
    EventRecord moved = next(everyEvent, &region);
    EXPECT_EQ(osEvt, moved.what);
    EXPECT_EQ(uint32_t(mouseMovedMessage), uint32_t(moved.message >> 24));
    EXPECT_EQ(101, moved.where.h);
    region.Offset(1, 0);
    EXPECT_EQ(nullEvent, next(everyEvent, &region).what);
    EXPECT_EQ(nullEvent, next(everyEvent, nullptr).what);
}

TEST_F(HostEventsTest, ActivateEventsFollowTheActiveWindow)
{
    WindowRef first = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kWhite);
    EventRecord e = next(activMask);
    EXPECT_EQ(activateEvt, e.what);
    EXPECT_EQ(first, reinterpret_cast<WindowRef>(e.message));
    EXPECT_EQ(activeFlag, e.modifiers & activeFlag);
    EXPECT_TRUE(IsWindowHilited(first));

    // Floating and plain windows never take the activation.
    HostDesktopScope::MakeWindow(Rect{100, 300, 200, 400}, kWhite, kHostFloatingWindowClass);
    HostDesktopScope::MakeWindow(Rect{100, 500, 200, 600}, kWhite, kHostPlainWindowClass);
    EXPECT_EQ(nullEvent, next(activMask).what);

    WindowRef second = HostDesktopScope::MakeWindow(Rect{300, 100, 400, 200}, kWhite);
    e = next(activMask);
    EXPECT_EQ(first, reinterpret_cast<WindowRef>(e.message));
    EXPECT_EQ(0, e.modifiers & activeFlag);
    EXPECT_FALSE(IsWindowHilited(first));
    e = next(activMask);
    EXPECT_EQ(second, reinterpret_cast<WindowRef>(e.message));
    EXPECT_EQ(activeFlag, e.modifiers & activeFlag);

    // The active window disposed of: no event names it; the next one is activated.
    DisposeWindow(second);
    e = next(activMask);
    EXPECT_EQ(first, reinterpret_cast<WindowRef>(e.message));
    EXPECT_EQ(activeFlag, e.modifiers & activeFlag);
    EXPECT_EQ(nullEvent, next(activMask).what);
}

TEST_F(HostEventsTest, UpdateEventsComeFrontToBackAfterQueuedInput)
{
    WindowRef back = HostDesktopScope::MakeWindow(Rect{100, 100, 300, 300}, kWhite);
    WindowRef front = HostDesktopScope::MakeWindow(Rect{200, 200, 400, 400}, kWhite);
    WindowRef hidden = nullptr;
    const Rect r{0, 0, 50, 50};
    CreateNewWindow(kHostDocumentWindowClass, 0, &r, &hidden);
    InvalWindowRect(hidden, &r);
    HostInjectKey(2, 'c');
    const EventMask noActivate = everyEvent & ~activMask;
    EXPECT_EQ(keyDown, next(noActivate).what);
    EXPECT_EQ(keyUp, next(noActivate).what);
    for (WindowRef expected : {front, back}) {
        EventRecord e = next(noActivate);
        ASSERT_EQ(updateEvt, e.what);
        EXPECT_EQ(expected, reinterpret_cast<WindowRef>(e.message));
        BeginUpdate(expected);
        EndUpdate(expected);
    }
    EXPECT_EQ(nullEvent, next(noActivate).what);
}

TEST_F(HostEventsTest, TheWaitFiresDueTimersAndHandsOutWhatTheyPost)
{
    EventLoopTimerRef timer = nullptr;
    ASSERT_EQ(noErr, InstallEventLoopTimer(GetCurrentEventLoop(), 0.5, 0, NewEventLoopTimerUPP(postKeyFromTimer),
                                           nullptr, &timer));
    EXPECT_EQ(nullEvent, next().what);
    HostAdvanceTicks(30);
    EventRecord e = next();
    EXPECT_EQ(keyDown, e.what);
    EXPECT_EQ(uint32_t('z'), e.message & charCodeMask);
    RemoveEventLoopTimer(timer);

    // On the system clock, a timer that ends the wait ends it when it fires, not ten seconds on;
    // asked outside a wait, nothing ends the next one early.
    HostUseSystemClock();
    while (WaitNextEvent(everyEvent, &e, 0, nullptr)) {
    }
    ASSERT_EQ(noErr, InstallEventLoopTimer(GetCurrentEventLoop(), 0.01, 0,
                                           NewEventLoopTimerUPP([](EventLoopTimerRef, void*) { HostEndWait(); }),
                                           nullptr, &timer));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitNextEvent(everyEvent, &e, 600, nullptr));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    RemoveEventLoopTimer(timer);
    HostEndWait();
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitNextEvent(everyEvent, &e, 6, nullptr));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
}

TEST_F(HostEventsTest, ClosingTheDisplayBecomesAQuitAppleEvent)
{
    sQuitCount = 0;
    ASSERT_EQ(noErr, AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, countQuit, nullptr, false));
    HostInjectQuit();
    EventRecord e = next();
    ASSERT_EQ(kHighLevelEvent, e.what);
    EXPECT_EQ(uintptr_t(kCoreEventClass), e.message);
    EXPECT_EQ(kAEQuitApplication, (uint32_t(uint16_t(e.where.v)) << 16) | uint16_t(e.where.h));
    EXPECT_EQ(noErr, AEProcessAppleEvent(&e));
    EXPECT_EQ(1, sQuitCount);
    EXPECT_EQ(errAEEventNotHandled, AEProcessAppleEvent(&e));
}

TEST_F(HostEventsTest, HugeBurstsAreBounded)
{
    size_t accepted = 0;
    for (size_t i = 0; i < kHostInjectLimit + 100; ++i)
        accepted += HostInjectKey(uint8_t(i % 100), 'x') ? 2 : 0;
    EXPECT_EQ(kHostInjectLimit, accepted);
    while (HostTakeInjectedInput()) {
    }
    EXPECT_EQ(kHostEventQueueLimit, HostQueuedEventCount());
    EXPECT_EQ(kHostInjectLimit - kHostEventQueueLimit, HostDroppedEventCount());
    // A quit posted into a full queue still arrives, after the input that is left.
    HostPostAppleEvent(kAEQuitApplication);
    size_t count = 0;
    EventRecord e;
    while (WaitNextEvent(everyEvent, &e, 0, nullptr) && e.what != kHighLevelEvent)
        ++count;
    EXPECT_EQ(kHighLevelEvent, e.what);
    EXPECT_EQ(kHostEventQueueLimit - 1, count);
}

TEST_F(HostEventsTest, GetMouseAnswersInTheCurrentWindowsCoordinates)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 200, 300, 400}, kWhite);
    HostSetGlobalMouse(Point{150, 260});
    SetPortWindowPort(w);
    Point local;
    GetMouse(&local);
    EXPECT_EQ(50, local.v);
    EXPECT_EQ(60, local.h);
}

TEST_F(HostEventsTest, WindowPartTrackingFollowsTheButtonToItsRelease)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kWhite);
    HostInjectMouseDown(Point{150, 150});
    HostInjectMouseMove(Point{160, 160});
    HostInjectMouseUp(Point{170, 170});
    ASSERT_EQ(mouseDown, next(mDownMask).what);
    EXPECT_TRUE(TrackGoAway(w, Point{150, 150}));

    HostInjectMouseDown(Point{150, 150});
    HostInjectMouseUp(Point{250, 250});
    ASSERT_EQ(mouseDown, next(mDownMask).what);
    EXPECT_FALSE(TrackBox(w, Point{150, 150}, inZoomIn));
}

TEST_F(HostEventsTest, AnUnknownBackEndIsRefusedAndTheHostStaysHeadless)
{
    std::string error;
    EXPECT_FALSE(HostSelectBackend("teletype", &error));
    EXPECT_NE(std::string::npos, error.find("teletype"));
    EXPECT_STREQ("headless", HostBackendName());
    EXPECT_TRUE(HostSelectBackend("headless"));
}
