#include "HostDesktopScope.h"
#include "HostPNG.h"
#include "HostScreen.h"
#include "HostWindows.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

uint32_t pixelAt(int16_t h, int16_t v)
{
    return HostDesktopScope::Rgb(HostScreenPixel(Point{v, h}));
}

void paintRect(WindowRef window, const Rect& r, const RGBColor& colour)
{
    SetPortWindowPort(window);
    RGBForeColor(&colour);
    PaintRect(&r);
}

int sDrawerCalls = 0;

void greyMenuBar(CGrafPtr port, const Rect& bounds)
{
    ++sDrawerCalls;
    const RGBColor grey{0x8080, 0x8080, 0x8080};
    RGBForeColor(&grey);
    PaintRect(&bounds);
}

class HostScreenTest : public ::testing::Test {
protected:
    HostDesktopScope mDesktop;
};

} // namespace

TEST_F(HostScreenTest, TheMenuBarStripStaysAboveEveryWindow)
{
    HostDesktopScope::MakeWindow(Rect{0, 0, 200, 300}, kRed, kHostPlainWindowClass);
    EXPECT_EQ(0xFFFFFFu, pixelAt(100, 5));
    EXPECT_EQ(0x000000u, pixelAt(100, 19)); // the bar's bottom line
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(100, 20));
    const Rect bar = HostMenuBarBounds();
    EXPECT_EQ(0, bar.top);
    EXPECT_EQ(20, bar.bottom);
    EXPECT_EQ(HostScreenBounds().right, bar.right);
}

TEST_F(HostScreenTest, AMenuBarDrawerPaintsTheStripWhenAsked)
{
    sDrawerCalls = 0;
    HostSetMenuBarDrawer(greyMenuBar);
    EXPECT_EQ(0x808080u, pixelAt(640, 10));
    EXPECT_EQ(1, sDrawerCalls);
    HostComposeScreen();
    EXPECT_EQ(1, sDrawerCalls);
    HostInvalMenuBar();
    HostComposeScreen();
    EXPECT_EQ(2, sDrawerCalls);
    HostSetMenuBarDrawer(nullptr);
    EXPECT_EQ(0xFFFFFFu, pixelAt(640, 10));
}

TEST_F(HostScreenTest, OverlaysShowTheirInkAboveEverythingAndLetTheRestThrough)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 300, 300}, kRed);
    const Rect full{0, 0, 800, 1280};
    WindowRef overlay = nullptr;
    ASSERT_EQ(noErr, CreateNewWindow(kHostOverlayWindowClass, 0, &full, &overlay));
    ShowWindow(overlay);
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(150, 150));
    // A dashed outline across the window and the menu bar.
    SetPortWindowPort(overlay);
    const RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    for (int16_t h = 0; h < 400; h += 2) {
        MoveTo(h, 10);
        LineTo(h, 150);
    }
    EXPECT_EQ(0x000000u, pixelAt(150, 150));
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(151, 150));
    EXPECT_EQ(0x000000u, pixelAt(150, 10));
    EXPECT_EQ(0xFFFFFFu, pixelAt(151, 10));
    // Never hit, never in the window list.
    WindowRef found = nullptr;
    EXPECT_EQ(inContent, FindWindow(Point{150, 150}, &found));
    EXPECT_EQ(w, found);
    EXPECT_EQ(w, GetWindowList());
    EXPECT_EQ(w, FrontWindow());
    HideWindow(overlay);
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(150, 150));
}

TEST_F(HostScreenTest, DrawingReachesTheScreenAndOnlyTheChangedAreaIsCompositedAgain)
{
    WindowRef back = HostDesktopScope::MakeWindow(Rect{100, 100, 300, 300}, kRed);
    WindowRef front = HostDesktopScope::MakeWindow(Rect{200, 200, 400, 400}, kBlue);
    HostComposeScreen();
    EXPECT_TRUE(HostComposeScreen().Empty());

    // Drawing under the front window changes nothing that shows.
    paintRect(back, Rect{150, 150, 200, 200}, RGBColor{0, 0xFFFF, 0});
    EXPECT_TRUE(HostComposeScreen().Empty());
    paintRect(back, Rect{10, 10, 20, 30}, RGBColor{0, 0xFFFF, 0});
    EXPECT_EQ(HostRegion(Rect{110, 110, 120, 130}), HostComposeScreen());
    EXPECT_EQ(0x00FF00u, pixelAt(115, 115));
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(135, 115));

    // Once the front window is gone, what was drawn under it shows from the port.
    DisposeWindow(front);
    EXPECT_EQ(0x00FF00u, pixelAt(260, 260));
    EXPECT_EQ(kHostDesktopColor & 0xFFFFFF, pixelAt(350, 350));
}

TEST_F(HostScreenTest, FlushingTakesTheNamedAreaEvenWhenDrawnBehindTheHostsBack)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 200}, kRed);
    HostComposeScreen();
    HostPixelMap& pixels = GetWindowPort(w)->Pixels();
    pixels.Set(5, 5, kBlue);
    pixels.Set(50, 50, kBlue);
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(105, 105));
    HostRegion area(Rect{0, 0, 10, 10});
    QDFlushPortBuffer(GetWindowPort(w), &area);
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(105, 105));
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(150, 150));
    QDFlushPortBuffer(GetWindowPort(w), nullptr);
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(150, 150));
}

TEST_F(HostScreenTest, WindowsPartlyOffTheScreenShowTheirVisiblePart)
{
    WindowRef w = HostDesktopScope::MakeWindow(Rect{700, 1200, 900, 1400}, kRed);
    paintRect(w, Rect{0, 0, 50, 50}, RGBColor{0, 0, 0xFFFF});
    EXPECT_EQ(kBlue & 0xFFFFFF, pixelAt(1210, 710));
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(1279, 799));
    EXPECT_EQ(0u, HostScreenPixel(Point{800, 1280}));
    MoveWindow(w, -150, -150, false);
    EXPECT_EQ(kRed & 0xFFFFFF, pixelAt(10, 40));
    EXPECT_EQ(kHostDesktopColor & 0xFFFFFF, pixelAt(60, 40));
}

TEST_F(HostScreenTest, TheScreenIsWrittenAsAPicture)
{
    HostDesktopScope::MakeWindow(Rect{100, 100, 200, 300}, kRed);
    TempFolder folder;
    const std::string path = folder.File("screen.png");
    ASSERT_EQ(noErr, HostWriteScreenPNG(path.c_str()));
    HostPixelMap read;
    ASSERT_EQ(noErr, HostReadPNG(path.c_str(), read));
    EXPECT_EQ(1280, read.Width());
    EXPECT_EQ(800, read.Height());
    EXPECT_EQ(kRed, read.GetAt(150, 150));
    EXPECT_EQ(kHostDesktopColor, read.GetAt(50, 50));
}
