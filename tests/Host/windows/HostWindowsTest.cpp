#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostScreen.h"
#include "HostWindows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kYellow = 0xFFFFFF00;

uint32_t pixelAt(int16_t h, int16_t v)
{
    return HostDesktopScope::Rgb(HostScreenPixel(Point{v, h}));
}

HostRegion rectRegion(int16_t left, int16_t top, int16_t right, int16_t bottom)
{
    return HostRegion(Rect{top, left, bottom, right});
}

// Takes every pending update without drawing, so a test starts from a clean screen.
void settleUpdates()
{
    HostComposeScreen();
    for (WindowRef w = GetWindowList(); w != nullptr; w = GetNextWindow(w)) {
        BeginUpdate(w);
        EndUpdate(w);
    }
}

std::vector<WindowRef> stacking()
{
    std::vector<WindowRef> all;
    for (WindowRef w = GetWindowList(); w != nullptr; w = GetNextWindow(w))
        all.push_back(w);
    return all;
}

class HostWindowsTest : public ::testing::Test {
protected:
    HostDesktopScope mDesktop;
};

} // namespace

TEST_F(HostWindowsTest, LayersStackInOrderWhateverTheCreationOrder)
{
    WindowRef popup = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kYellow, kHostPlainWindowClass);
    WindowRef modal = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kBlue, kHostModalWindowClass);
    WindowRef floating = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kGreen, kHostFloatingWindowClass);
    WindowRef normal = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kRed);
    EXPECT_EQ((std::vector<WindowRef>{popup, modal, floating, normal}), stacking());
    EXPECT_EQ(kYellow & 0xFFFFFF, pixelAt(150, 150));

    HideWindow(popup);
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(150, 150));
    HideWindow(modal);
    EXPECT_EQ(kGreen & 0xFFFFFF, pixelAt(150, 150));
    // Selecting a normal window never lifts it above a floating one.
    SelectWindow(normal);
    EXPECT_EQ(kGreen & 0xFFFFFF, pixelAt(150, 150));
    HideWindow(floating);
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(150, 150));
    HideWindow(normal);
    EXPECT_EQ(kHostDesktopColor & 0xFFFFFF, pixelAt(150, 150));
}

TEST_F(HostWindowsTest, GroupsMoveWindowsBetweenLayers)
{
    WindowRef modal = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kBlue, kHostModalWindowClass);
    WindowRef tip = HostDesktopScope::MakeWindow(Rect{150, 150, 250, 250}, kYellow, kHostPlainWindowClass);
    EXPECT_EQ(GetWindowGroupOfClass(kHostPlainWindowClass), GetWindowGroup(tip));

    // Joining the modal group puts the tip at the front of the modal layer; a modal window
    // selected later goes above it.
    ASSERT_EQ(noErr, SetWindowGroup(tip, GetWindowGroupOfClass(kHostModalWindowClass)));
    EXPECT_EQ(GetWindowGroupOfClass(kHostModalWindowClass), GetWindowGroup(tip));
    EXPECT_EQ((std::vector<WindowRef>{tip, modal}), stacking());
    SelectWindow(modal);
    EXPECT_EQ((std::vector<WindowRef>{modal, tip}), stacking());
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(170, 170));

    EXPECT_EQ(paramErr, SetWindowGroup(tip, nullptr));
    EXPECT_EQ(errInvalidWindowRef, SetWindowGroup(nullptr, GetWindowGroupOfClass(kHostModalWindowClass)));
}

TEST_F(HostWindowsTest, StackingCallsStayWithinTheLayer)
{
    WindowRef a = HostDesktopScope::MakeWindow(Rect{40, 10, 60, 30}, kRed);
    WindowRef b = HostDesktopScope::MakeWindow(Rect{40, 40, 60, 60}, kRed);
    WindowRef c = HostDesktopScope::MakeWindow(Rect{40, 70, 60, 90}, kRed);
    WindowRef tool = HostDesktopScope::MakeWindow(Rect{40, 100, 60, 120}, kGreen, kHostFloatingWindowClass);
    WindowRef dialog = HostDesktopScope::MakeWindow(Rect{40, 130, 60, 150}, kBlue, kHostModalWindowClass);
    EXPECT_EQ((std::vector<WindowRef>{dialog, tool, c, b, a}), stacking());

    SelectWindow(a);
    EXPECT_EQ((std::vector<WindowRef>{dialog, tool, a, c, b}), stacking());
    SendBehind(a, b);
    EXPECT_EQ((std::vector<WindowRef>{dialog, tool, c, b, a}), stacking());
    SendBehind(c, nullptr);
    EXPECT_EQ((std::vector<WindowRef>{dialog, tool, b, a, c}), stacking());
    // Behind a window of a higher layer: the front of its own layer; of a lower: the back.
    SendBehind(c, dialog);
    EXPECT_EQ((std::vector<WindowRef>{dialog, tool, c, b, a}), stacking());
    SendBehind(tool, a);
    EXPECT_EQ((std::vector<WindowRef>{dialog, tool, c, b, a}), stacking());
    BringToFront(b);
    EXPECT_EQ((std::vector<WindowRef>{dialog, tool, b, c, a}), stacking());

    EXPECT_EQ(dialog, FrontWindow());
    EXPECT_EQ(dialog, FrontNonFloatingWindow());
    HideWindow(dialog);
    EXPECT_EQ(tool, FrontWindow());
    EXPECT_EQ(b, FrontNonFloatingWindow());
    // The list walks hidden windows too.
    EXPECT_EQ(dialog, GetWindowList());
}

TEST_F(HostWindowsTest, FindWindowAnswersTheFrontWindowAndPart)
{
    WindowRef back = HostDesktopScope::MakeWindow(Rect{100, 100, 300, 300}, kRed);
    WindowRef front = HostDesktopScope::MakeWindow(Rect{200, 200, 400, 400}, kBlue);
    WindowRef overlay = HostDesktopScope::MakeWindow(Rect{0, 0, 800, 1280}, 0, kHostOverlayWindowClass);
    WindowRef hidden = nullptr;
    Rect r{50, 50, 500, 500};
    ASSERT_EQ(noErr, CreateNewWindow(kHostDocumentWindowClass, 0, &r, &hidden));
    SelectWindow(hidden);

    struct Case {
        Point where;
        WindowPartCode part;
        WindowRef window;
    };
    const Case cases[] = {
        {{5, 5}, inMenuBar, nullptr},       {{19, 600}, inMenuBar, nullptr},
        {{20, 600}, inDesk, nullptr},       {{150, 150}, inContent, back},
        {{250, 250}, inContent, front},     {{399, 399}, inContent, front},
        {{400, 400}, inDesk, nullptr},      {{299, 150}, inContent, back},
        {{-5, -5}, inDesk, nullptr},
    };
    for (const Case& c : cases) {
        WindowRef found = overlay;
        EXPECT_EQ(c.part, FindWindow(c.where, &found)) << c.where.h << "," << c.where.v;
        EXPECT_EQ(c.window, found) << c.where.h << "," << c.where.v;
    }
    EXPECT_EQ(inContent, FindWindow(Point{150, 150}, nullptr));
}

TEST_F(HostWindowsTest, GlobalAndLocalConversionsAreExactInverses)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{-40, -30, 160, 270}, kRed);
    SetPortWindowPort(w);
    Point p{0, 0};
    GlobalToLocal(&p);
    EXPECT_EQ(40, p.v);
    EXPECT_EQ(30, p.h);
    for (Point start : {Point{0, 0}, Point{-40, -30}, Point{799, 1279}, Point{-32000, 32000}}) {
        Point q = start;
        GlobalToLocal(&q);
        LocalToGlobal(&q);
        EXPECT_EQ(start.v, q.v);
        EXPECT_EQ(start.h, q.h);
    }
    MoveWindow(w, 500, 300, false);
    Point local{10, 20};
    LocalToGlobal(&local);
    EXPECT_EQ(310, local.v);
    EXPECT_EQ(520, local.h);

    // Another port converts nothing.
    SetPort(nullptr);
    Point same{7, 9};
    GlobalToLocal(&same);
    EXPECT_EQ(7, same.v);
    EXPECT_EQ(9, same.h);
}

TEST_F(HostWindowsTest, MovingAWindowExposesWhatWasBehindAndInvalidatesOnlyThat)
{
    WindowRef back = HostDesktopScope::MakeWindow(Rect{100, 100, 300, 300}, kRed);
    WindowRef front = HostDesktopScope::MakeWindow(Rect{150, 150, 250, 250}, kBlue);
    settleUpdates();
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(200, 200));

    MoveWindow(front, 600, 400, false);
    // The back window's port kept its pixels: the screen shows them at once.
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(200, 200));
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(650, 450));
    // Exactly the uncovered part, in the back window's own coordinates, is to be redrawn; the
    // moved window carries its pixels along and needs nothing.
    EXPECT_EQ(rectRegion(50, 50, 150, 150), HostWindowUpdateRegion(back));
    EXPECT_TRUE(HostWindowUpdateRegion(front).Empty());

    EventRecord event;
    ASSERT_TRUE(WaitNextEvent(updateMask, &event, 0, nullptr));
    EXPECT_EQ(updateEvt, event.what);
    EXPECT_EQ(back, reinterpret_cast<WindowRef>(event.message));
    BeginUpdate(back);
    EndUpdate(back);
    EXPECT_FALSE(WaitNextEvent(updateMask, &event, 0, nullptr));
}

TEST_F(HostWindowsTest, AMovedWindowRedrawsOnlyWhatItDidNotShowBefore)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, -50, 200, 50}, kRed);
    settleUpdates();
    // Half of it was off the screen's left edge; moving it fully on shows that half anew.
    MoveWindow(w, 300, 100, false);
    EXPECT_EQ(rectRegion(0, 0, 50, 100), HostWindowUpdateRegion(w));
}

TEST_F(HostWindowsTest, ShowingAndHidingNeverChangesTheStacking)
{
    WindowRef a = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kRed);
    WindowRef b = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kBlue);
    settleUpdates();
    HideWindow(b);
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(150, 150));
    EXPECT_FALSE(IsWindowVisible(b));
    ShowHide(b, true);
    EXPECT_EQ((std::vector<WindowRef>{b, a}), stacking());
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(150, 150));
    // Shown again, the whole window is due for redrawing.
    EXPECT_EQ(rectRegion(0, 0, 100, 100), HostWindowUpdateRegion(b));
}

TEST_F(HostWindowsTest, SizingKeepsPixelsAndFillsAndInvalidatesWhatIsNew)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kRed);
    const RGBColor green{0, 0xFFFF, 0};
    ASSERT_EQ(noErr, SetWindowContentColor(w, &green));
    settleUpdates();
    SizeWindow(w, 150, 120, true);
    Rect bounds;
    ASSERT_EQ(noErr, GetWindowBounds(w, kWindowContentRgn, &bounds));
    EXPECT_EQ(220, bounds.bottom);
    EXPECT_EQ(250, bounds.right);
    Rect portBounds;
    GetPortBounds(GetWindowPort(w), &portBounds);
    EXPECT_EQ(120, portBounds.bottom);
    EXPECT_EQ(150, portBounds.right);
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(150, 150));
    EXPECT_EQ(kGreen & 0xFFFFFF, pixelAt(240, 150));
    const HostRegion grown = HostRegion::Difference(rectRegion(0, 0, 150, 120), rectRegion(0, 0, 100, 100));
    EXPECT_EQ(grown, HostWindowUpdateRegion(w));

    // Shrinking uncovers the desktop and leaves nothing of the window to redraw.
    settleUpdates();
    SizeWindow(w, 50, 50, true);
    EXPECT_EQ(kHostDesktopColor & 0xFFFFFF, pixelAt(180, 180));
    EXPECT_TRUE(HostWindowUpdateRegion(w).Empty());
}

TEST_F(HostWindowsTest, SetWindowBoundsMovesAndSizes)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kRed);
    const Rect target{300, 400, 350, 480};
    ASSERT_EQ(noErr, SetWindowBounds(w, kWindowStructureRgn, &target));
    Rect bounds;
    ASSERT_EQ(noErr, GetWindowBounds(w, kWindowStructureRgn, &bounds));
    EXPECT_EQ(300, bounds.top);
    EXPECT_EQ(400, bounds.left);
    EXPECT_EQ(350, bounds.bottom);
    EXPECT_EQ(480, bounds.right);
    EXPECT_EQ(errInvalidWindowRef, GetWindowBounds(nullptr, kWindowStructureRgn, &bounds));
    EXPECT_EQ(paramErr, GetWindowBounds(w, kWindowStructureRgn, nullptr));
}

TEST_F(HostWindowsTest, UpdatesClipDrawingToTheInvalidArea)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kRed);
    settleUpdates();
    const Rect invalid{10, 10, 20, 20};
    ASSERT_EQ(noErr, InvalWindowRect(w, &invalid));
    BeginUpdate(w);
    EXPECT_TRUE(HostWindowUpdateRegion(w).Empty());
    SetPortWindowPort(w);
    const RGBColor blue{0, 0, 0xFFFF};
    RGBForeColor(&blue);
    const Rect all{0, 0, 100, 100};
    PaintRect(&all);
    EndUpdate(w);
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(115, 115));
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(125, 125));
    // After the update the whole port can be drawn again.
    PaintRect(&all);
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(125, 125));
}

TEST_F(HostWindowsTest, InvalidAndValidAreasAddUpWithinTheWindow)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kRed);
    settleUpdates();
    const Rect outside{-50, -50, 30, 30};
    InvalWindowRect(w, &outside);
    EXPECT_EQ(rectRegion(0, 0, 30, 30), HostWindowUpdateRegion(w));
    HostRegion more(Rect{50, 50, 500, 500});
    InvalWindowRgn(w, &more);
    const Rect keep{0, 0, 10, 10};
    ValidWindowRect(w, &keep);
    HostRegion expected = HostRegion::Union(rectRegion(0, 0, 30, 30), rectRegion(50, 50, 100, 100));
    expected = HostRegion::Difference(expected, rectRegion(0, 0, 10, 10));
    EXPECT_EQ(expected, HostWindowUpdateRegion(w));
    ValidWindowRgn(w, &more);
    EXPECT_EQ(HostRegion::Difference(rectRegion(0, 0, 30, 30), rectRegion(0, 0, 10, 10)), HostWindowUpdateRegion(w));
}

TEST_F(HostWindowsTest, WindowDataIsKept)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kRed);
    int owner = 0;
    SetWRefCon(w, &owner);
    EXPECT_EQ(&owner, GetWRefCon(w));
    const unsigned char title[] = "\x05Tools";
    SetWTitle(w, title);
    Str255 read;
    GetWTitle(w, read);
    EXPECT_EQ(5, read[0]);
    EXPECT_EQ(0, std::memcmp(read + 1, "Tools", 5));
    EXPECT_EQ(noErr, ChangeWindowAttributes(w, 0x400000, 0));
    WindowAttributes attributes = 0;
    EXPECT_EQ(noErr, GetWindowAttributes(w, &attributes));
    EXPECT_EQ(0x400000u, attributes);
    EXPECT_EQ(w, GetWindowFromPort(GetWindowPort(w)));
    EXPECT_EQ(nullptr, GetWindowFromPort(nullptr));
}

TEST_F(HostWindowsTest, ContentColourFillsUntilTheWindowIsFirstShown)
{
    const Rect r{100, 100, 200, 200};
    WindowRef w = nullptr;
    ASSERT_EQ(noErr, CreateNewWindow(kHostPlainWindowClass, 0, &r, &w));
    const RGBColor pale{0xFFFF, 0xFFFF, 0x7777};
    SetWindowContentColor(w, &pale);
    ShowWindow(w);
    EXPECT_EQ(0xFFFF77u, pixelAt(150, 150));
    const RGBColor black{0, 0, 0};
    SetWindowContentColor(w, &black);
    EXPECT_EQ(0xFFFF77u, pixelAt(150, 150));
    RGBColor read;
    EXPECT_EQ(noErr, GetWindowContentColor(w, &read));
    EXPECT_EQ(0, read.red);
}

TEST_F(HostWindowsTest, OddWindowsNeverFail)
{
    // No size, inverted, wholly off the screen, and beyond what a port can hold.
    const Rect empty{100, 100, 100, 100};
    const Rect inverted{200, 200, 100, 100};
    const Rect offscreen{-5000, -5000, -4000, -4000};
    const Rect huge{-32768, -32768, 32767, 32767};
    WindowRef a = nullptr, b = nullptr, c = nullptr, d = reinterpret_cast<WindowRef>(1);
    ASSERT_EQ(noErr, CreateNewWindow(kHostDocumentWindowClass, 0, &empty, &a));
    ASSERT_EQ(noErr, CreateNewWindow(kHostDocumentWindowClass, 0, &inverted, &b));
    ASSERT_EQ(noErr, CreateNewWindow(kHostDocumentWindowClass, 0, &offscreen, &c));
    EXPECT_EQ(memFullErr, CreateNewWindow(kHostDocumentWindowClass, 0, &huge, &d));
    EXPECT_EQ(nullptr, d);
    EXPECT_EQ(paramErr, CreateNewWindow(kHostDocumentWindowClass, 0, nullptr, &d));
    for (WindowRef w : {a, b, c}) {
        ShowWindow(w);
        SelectWindow(w);
        InvalWindowRect(w, &huge);
        SizeWindow(w, -10, -10, true);
        MoveWindow(w, 32767, 32767, false);
    }
    SizeWindow(c, 32767, 32767, true); // too big for a port: stays as it was
    Rect bounds;
    GetWindowBounds(c, kWindowStructureRgn, &bounds);
    EXPECT_EQ(bounds.left, bounds.right);
    EXPECT_EQ(inDesk, FindWindow(Point{100, 100}, nullptr));
    EXPECT_EQ(kHostDesktopColor & 0xFFFFFF, pixelAt(100, 100));

    // Disposed and null references are ignored.
    DisposeWindow(a);
    for (WindowRef dead : {a, static_cast<WindowRef>(nullptr)}) {
        ShowWindow(dead);
        SelectWindow(dead);
        SendBehind(dead, b);
        MoveWindow(dead, 1, 1, true);
        SizeWindow(dead, 5, 5, true);
        BeginUpdate(dead);
        EndUpdate(dead);
        DisposeWindow(dead);
        EXPECT_EQ(nullptr, GetWindowPort(dead));
        EXPECT_EQ(nullptr, GetNextWindow(dead));
        EXPECT_FALSE(IsWindowVisible(dead));
        EXPECT_EQ(errInvalidWindowRef, InvalWindowRect(dead, &empty));
    }
}

TEST_F(HostWindowsTest, DisposingTheFrontWindowDuringItsUpdateIsSafe)
{
    WindowRef back = HostDesktopScope::MakeWindow(Rect{100, 100, 300, 300}, kRed);
    WindowRef front = HostDesktopScope::MakeWindow(Rect{150, 150, 250, 250}, kBlue);
    EventRecord event;
    ASSERT_TRUE(WaitNextEvent(updateMask, &event, 0, nullptr));
    ASSERT_EQ(front, reinterpret_cast<WindowRef>(event.message));
    BeginUpdate(front);
    SetPortWindowPort(front);
    DisposeWindow(front);
    const Rect r{0, 0, 10, 10};
    PaintRect(&r); // no current port any more: nothing happens
    EndUpdate(front);
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(200, 200));
    ASSERT_TRUE(WaitNextEvent(updateMask, &event, 0, nullptr));
    EXPECT_EQ(back, reinterpret_cast<WindowRef>(event.message));
}
