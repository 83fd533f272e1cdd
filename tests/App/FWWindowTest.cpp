#include "../Files/ResourceFileMaker.h"

#include "ControlTestWindow.h"
#include "FWApp.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWEventDispatcher.h"
#include "FWPlatformUtils.h"
#include "FWScreenFrame.h"
#include "FWScreenFramePAC.h"
#include "FWStr.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostPorts.h"
#include "HostScreen.h"
#include "HostWindows.h"
#include "ImageBuffer.h"
#include "ParentWindow.h"
#include "TempFolder.h"
#include "ViewTestClasses.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>
#include <string>

namespace {

constexpr uint32_t kWINT = 0x57494E54;


uint32_t screenRgb(int h, int v)
{
    return HostDesktopScope::Rgb(HostScreenPixel(Point{int16_t(v), int16_t(h)}));
}

uint32_t rgbOf(const FWArgb32& c)
{
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

// Takes the injected press out of the event queue, as the event loop does before the window
// sees it.
void takePress()
{
    EventRecord record;
    for (int i = 0; i < 16; ++i)
        if (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what == mouseDown)
            return;
    ADD_FAILURE() << "no mouse press came";
}

FWEvent pressAt(FWWindow& window, Point where)
{
    FWEvent event(kMouseDownEvent, &window, 0);
    event.mGlobalWhere = FWPoint(where.h, where.v);
    return event;
}

// A layout of a 200 x 100 root holding one swatch, as a 'WINT' resource's bytes.
std::string swatchLayout()
{
    RegisterTestViewClasses();
    FWWindow maker;
    maker.SetSize(206, 128);
    maker.ViewMngr().Initialize(FWRect());
    FWView* root = maker.ViewMngr().GetViewTree();
    root->SetRect(FWRect(0, 0, 200, 100));
    auto* swatch = new TestSwatch;
    swatch->Init(&maker);
    swatch->SetRect(FWRect(20, 10, 60, 40));
    swatch->SetVisibility(true);
    root->AppendChild(swatch);
    Handle h = maker.ViewMngr().SerializeViewTree();
    std::string bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return bytes;
}

} // namespace

TEST(FWWindowLook, ConstructionGivesStyleIconsLimitsAndColours)
{
    FWWindow plain(0);
    EXPECT_EQ(3, plain.IconCount());
    EXPECT_TRUE(plain.IconVisible(-1));  // closing on
    EXPECT_FALSE(plain.IconVisible(-2)); // zooming off
    EXPECT_FALSE(plain.IconVisible(-3)); // no multi window
    EXPECT_EQ(FWRect(80, 75, 10000, 10000), plain.ResizeLimit());
    FWArgb32 hilite{255, 178, 163, 224};
    hilite.LerpTo(FWArgb32::Black, 30, 100);
    EXPECT_EQ(hilite, plain.TitleBarHiliteColor());
    plain.SetZooming(true);
    EXPECT_TRUE(plain.IconVisible(-2));

    FWWindow palette(6);
    EXPECT_EQ(3, palette.GetStyle());
    EXPECT_EQ(0, palette.IconCount());
    FWWindow modal(1);
    EXPECT_EQ(0, modal.IconCount());
}

TEST(FWWindowLook, TitleSpaceAndIconPlaces)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(100, 100, 400, 300));
    // Without icon images the whole bar is free: 3 in, then 6 and 4 more.
    FWRect space;
    EXPECT_EQ(300 - 3 - 3 - 6 - 4, window.CalcAvailableTitleSpace(&space));
    EXPECT_EQ(FWRect(9, 7, 293, 21), space);
}

TEST(FWWindowGeometry, ContentRectLocationAndRoundTrips)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(100, 80, 300, 230));
    ASSERT_NE(nullptr, window.GetPDW());
    EXPECT_TRUE(FWWindow::IsValidWindow(&window));
    EXPECT_EQ(&window, FWWindow::ReturnFWWindow(window.GetPDW()));
    EXPECT_EQ(nullptr, FWWindow::ReturnFWWindow(nullptr));

    FWRect content;
    window.GetContentRect(&content);
    EXPECT_EQ(FWRect(0, 0, 194, 122), content);
    EXPECT_EQ(FWRect(0, 0, 194, 122), window.ViewMngr().GetViewTree()->GetRect());

    // The location is the platform window's top-left, not the content's.
    int32_t h = 0, v = 0;
    window.GetLocation(&h, &v);
    EXPECT_EQ(100, h);
    EXPECT_EQ(80, v);
    window.SetLocation(150, 90);
    window.GetLocation(&h, &v);
    EXPECT_EQ(150, h);
    EXPECT_EQ(90, v);

    FWPoint p(160, 130);
    window.GlobalToWindow(&p);
    EXPECT_EQ(FWPoint(160 - 150 - 3, 130 - 90 - 25), p);
    window.WindowToGlobal(&p);
    EXPECT_EQ(FWPoint(160, 130), p);

    window.SetSize(300, 200);
    EXPECT_EQ(FWRect(0, 0, 300, 200), window.Size());
    EXPECT_EQ(FWRect(0, 0, 294, 172), window.ViewMngr().GetViewTree()->GetRect());
}

TEST(FWWindowGeometry, ForcedNameHoldsUntilTheNextForcedName)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(10, 40, 210, 140));
    FWStr<255> first, second, third;
    first = "First";
    second = "Second";
    third = "Third";
    window.SetName(&first, true);
    window.SetName(&second, false);
    EXPECT_STREQ("First", window.Name().GetCString());
    window.SetName(&third, true);
    EXPECT_STREQ("Third", window.Name().GetCString());
    Str255 title;
    GetWTitle(window.GetPDW(), title);
    EXPECT_EQ(std::string("Third"), std::string(reinterpret_cast<char*>(title + 1), title[0]));
}

TEST(FWWindowLayout, WintLayoutOpensFramedTitledAndDrawn)
{
    HostDesktopScope desk;
    TempFolder folder;
    const std::string path = folder.File("layouts.rsrc");
    ASSERT_TRUE(MakeResourceFile(path, {{kWINT, 300, "Swatch", swatchLayout()}}));
    Corvel::FS_ResourceFileRA file(LocatorOfPath(path), false);
    ASSERT_NE(0, file.OpenedResourceFile());

    FWWindow window(0);
    ASSERT_TRUE(window.Initialize(nullptr, int32_t(300)));
    FWStr<255> name;
    name = "Layout";
    window.SetName(&name, false);
    window.Show();
    // Shown first, it became the key window; the look checked below is the inactive one.
    FWEventDispatcher::Instance()->SetKeyWindow(nullptr);
    EXPECT_EQ(206, window.Size().Width());
    EXPECT_EQ(128, window.Size().Height());

    // Placed where the view manager centres the root in the usable screen.
    FWRect app;
    FWGetAppRect(&app);
    FWRect centred(0, 0, 200, 100);
    centred.CenterInsideOf(app);
    int32_t left = 0, top = 0;
    window.GetLocation(&left, &top);
    EXPECT_EQ(centred.left, left);
    EXPECT_EQ(centred.top, top);

    UpdateWindowAsDispatcher(window);
    if (const char* dump = std::getenv("FW_WINDOW_PNG"))
        HostWriteScreenPNG(dump);

    // The title bar's fill, inside its edges and clear of the title text.
    EXPECT_EQ(rgbOf(window.TitleBarColor()), screenRgb(left + 20, top + 8));
    EXPECT_EQ(rgbOf(window.TitleBarColor()), screenRgb(left + 190, top + 18));
    // The black inner frame of the bar.
    EXPECT_EQ(0u, screenRgb(left + 100, top + 4));
    // The title: some pixel of the name colour (dark) along the baseline band from h 46.
    int dark = 0;
    for (int h = left + 46; h < left + 90; ++h)
        for (int v = top + 8; v < top + 20; ++v)
            if (screenRgb(h, v) == rgbOf(FWArgb32{255, 51, 51, 51}))
                ++dark;
    EXPECT_GT(dark, 10);
    // The swatch, in content coordinates (20, 10)-(60, 40).
    EXPECT_EQ(rgbOf(TestSwatch::kColor), screenRgb(left + 3 + 30, top + 25 + 20));
    EXPECT_NE(rgbOf(TestSwatch::kColor), screenRgb(left + 3 + 70, top + 25 + 20));
    // The frame's outer raised edge: the top-left pixel is not the desktop.
    EXPECT_NE(HostDesktopScope::Rgb(kHostDesktopColor), screenRgb(left, top));
}

TEST(FWScreenFrameTest, OutlineOnTheOverlayAndBoundsChanges)
{
    HostDesktopScope desk;
    FWScreenFrame frame(nullptr, FWRect(100, 100, 200, 160));
    FWScreenFramePAC* pac = frame.GetPAC();
    ASSERT_NE(nullptr, pac->GetWindow());
    const int32_t drawn = pac->DrawCount();
    frame.Show();
    HostComposeScreen();
    // Alternating white and black along the outline, the desktop inside.
    const uint32_t a = screenRgb(100, 100);
    const uint32_t b = screenRgb(101, 100);
    EXPECT_TRUE((a == 0xFFFFFF && b == 0) || (a == 0 && b == 0xFFFFFF));
    EXPECT_EQ(HostDesktopScope::Rgb(kHostDesktopColor), screenRgb(150, 130));

    frame.SetBounds(FWRect(100, 100, 200, 160));
    EXPECT_EQ(drawn, pac->DrawCount());
    frame.SetBounds(FWRect(120, 110, 220, 170)); // moved only: not redrawn
    EXPECT_EQ(drawn, pac->DrawCount());
    Rect bounds;
    GetWindowBounds(pac->GetWindow(), kWindowContentRgn, &bounds);
    EXPECT_EQ(120, bounds.left);
    EXPECT_EQ(110, bounds.top);
    frame.SetBounds(FWRect(120, 110, 260, 170));
    EXPECT_EQ(drawn + 1, pac->DrawCount());
    frame.Hide();
    EXPECT_FALSE(pac->Visible());
}

TEST(FWWindowDrag, DraggingMovesTheWindowAndShowsTheOutline)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(200, 200, 400, 300));
    window.Show();
    const Point press{210, 300};
    HostInjectMouseDown(press);
    HostInjectMouseMove(Point{230, 330});
    HostInjectMouseMove(Point{260, 350});
    HostInjectMouseUp(Point{260, 350});
    takePress();
    FWEvent event = pressAt(window, press);
    EXPECT_TRUE(window.DragWindow(event));
    int32_t h = 0, v = 0;
    window.GetLocation(&h, &v);
    EXPECT_EQ(250, h);
    EXPECT_EQ(250, v);
}

TEST(FWWindowDrag, DragThatLeavesTooLittleTitleOnScreenIsRefused)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(200, 200, 400, 300));
    window.Show();
    const Point press{210, 300};
    const Rect screen = HostScreenBounds();
    HostInjectMouseDown(press);
    HostInjectMouseMove(Point{int16_t(210 + screen.bottom), int16_t(300 + screen.right)});
    HostInjectMouseUp(Point{int16_t(210 + screen.bottom), int16_t(300 + screen.right)});
    takePress();
    FWEvent event = pressAt(window, press);
    window.DragWindow(event);
    int32_t h = 0, v = 0;
    window.GetLocation(&h, &v);
    EXPECT_EQ(200, h);
    EXPECT_EQ(200, v);
}

TEST(FWWindowResize, CornerDragResizesWithinLimits)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(200, 200, 400, 300));
    window.SetResizing(true, nullptr, 255);
    window.Show();
    // The bottom-right corner is at (400, 300); the outline is one pixel outside it.
    const Point press{300, 400};
    HostInjectMouseDown(press);
    HostInjectMouseMove(Point{340, 450});
    HostInjectMouseUp(Point{340, 450});
    takePress();
    FWEvent event = pressAt(window, press);
    EXPECT_TRUE(window.DragResizeWindow(event));
    EXPECT_EQ(FWRect(0, 0, 250, 140), window.Size());
    EXPECT_EQ(FWRect(0, 0, 244, 112), window.ViewMngr().GetViewTree()->GetRect());

    // Shrinking below the minimum stops when the outline, one pixel outside the window, is
    // 80 x 75.
    HostInjectMouseDown(Point{340, 450});
    HostInjectMouseMove(Point{210, 210});
    HostInjectMouseUp(Point{210, 210});
    takePress();
    event = pressAt(window, Point{340, 450});
    EXPECT_TRUE(window.DragResizeWindow(event));
    EXPECT_EQ(FWRect(0, 0, 78, 73), window.Size());

    // Edges the resize-edges value does not allow are not dragged.
    window.SetResizing(true, nullptr, 4); // right edge only
    HostInjectMouseDown(Point{240, 278});  // on the right edge, away from the corners
    HostInjectMouseMove(Point{260, 298});
    HostInjectMouseUp(Point{260, 298});
    takePress();
    event = pressAt(window, Point{240, 278});
    EXPECT_TRUE(window.DragResizeWindow(event));
    EXPECT_EQ(FWRect(0, 0, 98, 73), window.Size());
}

TEST(FWWindowZoom, ZoomingTwiceComesBack)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(200, 200, 400, 300));
    window.SetResizing(true, nullptr, 255);
    window.CaptureUserStateRect();
    window.ZoomEvent();
    FWRect app;
    FWGetAppRect(&app);
    EXPECT_EQ(app, window.GlobalFrame());
    window.ZoomEvent();
    EXPECT_EQ(FWRect(200, 200, 400, 300), window.GlobalFrame());
}

namespace {

// Looks at the screen each time the drag asks where the outline may go: by then the outline
// of the previous step is on the overlay.
class WatchedWindow : public FWWindow {
public:
    mutable int outlinesSeen = 0;
    mutable FWRect last;
    void NewDragPosition(FWRect& rect, const FWPoint& mouse) const override
    {
        if (!last.Empty()) {
            HostComposeScreen();
            const uint32_t a = screenRgb(last.left, last.top);
            const uint32_t b = screenRgb(last.left + 1, last.top);
            if ((a == 0xFFFFFF && b == 0) || (a == 0 && b == 0xFFFFFF))
                ++outlinesSeen;
        }
        FWWindow::NewDragPosition(rect, mouse);
        last = rect;
    }
};

} // namespace

TEST(FWWindowDrag, TheOutlineFollowsTheMouseOnTheScreen)
{
    HostDesktopScope desk;
    WatchedWindow window;
    window.Initialize(nullptr, FWRect(200, 200, 400, 300));
    window.Show();
    const Point press{210, 300};
    HostInjectMouseDown(press);
    HostInjectMouseMove(Point{211, 301}); // taken by the first look at the button
    HostInjectMouseMove(Point{240, 340});
    HostInjectMouseMove(Point{280, 380});
    HostInjectMouseMove(Point{281, 381}); // under two pixels: the outline stays
    HostInjectMouseUp(Point{281, 381});
    takePress();
    FWEvent event = pressAt(window, press);
    window.DragWindow(event);
    EXPECT_EQ(2, window.outlinesSeen);
    // Once released, the outline is gone.
    HostComposeScreen();
    EXPECT_EQ(HostDesktopScope::Rgb(kHostDesktopColor), screenRgb(window.last.left, window.last.top));
}

TEST(FWWindowText, ASecondFieldDeliversTheFirstAtOnceAndItselfAfterTheDelay)
{
    HostDesktopScope desk(1000);
    struct Counting : FWWindow {
        std::vector<EditText*> delivered;
        bool InterfaceTextEvent(EditText* edit) override
        {
            delivered.push_back(edit);
            return true;
        }
    } window;
    auto* a = reinterpret_cast<EditText*>(0x10);
    auto* b = reinterpret_cast<EditText*>(0x20);
    window.PostTextEvent(a);
    window.PostTextEvent(b);
    ASSERT_EQ(1u, window.delivered.size());
    EXPECT_EQ(a, window.delivered[0]);
    HostSetManualTicks(1030);
    window.UseIdleTime();
    EXPECT_EQ(1u, window.delivered.size());
    HostSetManualTicks(1031);
    window.UseIdleTime();
    ASSERT_EQ(2u, window.delivered.size());
    EXPECT_EQ(b, window.delivered[1]);
}

TEST(FWWindowFrame, DrawingTheFrameLeavesTheContentClip)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(100, 100, 400, 300));
    window.SetInsetContent(true);
    FWDrawContext context(&window);
    FWRect clip;
    // The default clip is the content: 300 - 2 * 3 wide, 200 - 25 - 3 high.
    window.DrawWindowFrame(context);
    context.GetClipRect(&clip);
    EXPECT_EQ(FWRect(0, 0, 294, 172), clip);

    const FWRect wanted(10, 10, 50, 50);
    context.SetClipRect(&wanted);
    window.DrawWindowFrame(context);
    context.GetClipRect(&clip);
    EXPECT_EQ(wanted, clip);
    FWEvent event;
    window.UpdateEvent(event, context);
    context.GetClipRect(&clip);
    EXPECT_EQ(wanted, clip);
}

TEST(FWWindowFrame, ATextureFillsTheMarginStripsOfANewContext)
{
    HostDesktopScope desk;
    FWWindow window(0);
    window.Initialize(nullptr, FWRect(100, 100, 400, 300));
    const FWRect tileRect(0, 0, 4, 4);
    ImageBuffer tile(&tileRect, kImageBufferDepth32);
    auto tileAt = [&](int x, int y) -> uint32_t& {
        return reinterpret_cast<uint32_t*>(tile.BaseAddr() + y * tile.RowBytes())[x];
    };
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            tileAt(x, y) = MakeColor32(255, uint8_t(40 * x), uint8_t(40 * y), 200);
    FWDrawContext::texture = &tile;
    { FWDrawContext context(&window); }
    FWDrawContext::texture = nullptr;

    PixMapHandle pixels = GetPortPixMap(GetWindowPort(window.GetPDW()));
    const auto* base = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(pixels));
    const int32_t rowBytes = GetPixRowBytes(pixels);
    auto portAt = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(base + y * rowBytes)[x]; };
    // Top strip (2..298 x 2..5), side strips (2..5 and 295..298 x 5..23), and the content.
    const struct { int left, top, right, bottom; } areas[] = {
        {2, 2, 298, 5}, {2, 5, 5, 23}, {295, 5, 298, 23}, {3, 25, 297, 197}};
    for (const auto& a : areas)
        for (int y = a.top; y < a.bottom; ++y)
            for (int x = a.left; x < a.right; ++x)
                ASSERT_EQ(tileAt(x % 4, y % 4), portAt(x, y)) << x << "," << y;
}
