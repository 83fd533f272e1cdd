#include "ToolTestTable.h"

#include "FWApp.h"
#include "FWAppColor.h"
#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "FWFolderView.h"
#include "FWFont.h"
#include "FWMonitor.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWTool.h"
#include "FWToolFolder.h"
#include "FWToolGrid.h"
#include "FWToolWidget.h"
#include "FWToolWidgetTracker.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "HostClock.h"
#include "HostCursors.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostScreen.h"
#include "Scroller.h"

#include <vector>

void HostConfigureScreen(int16_t width, int16_t height); // HostMonitors.h clashes with HostPorts.h

namespace {

constexpr uint32_t kBackground = 0xCCCCCC; // application colour 0
constexpr uint32_t kCurrentTool = 0xFFFF66; // application colour 11

// A small screen (1024 x 600), on which the open folders are taller than the window.
class ToolWindowTest : public ToolFixture {
protected:
    ToolWindowTest()
    {
        HostConfigureScreen(1024, 600);
        FWMonitor::GetMonitors();
        BuildTools();
        Window()->Show();
        FWEventDispatcher::UpdateWindow(Window());
    }
    ~ToolWindowTest() override
    {
        HostConfigureScreen(1280, 800);
        FWMonitor::GetMonitors();
    }

    void click(int h, int v, EventModifiers modifiers = 0)
    {
        HostInjectClick(Global(h, v), modifiers);
        Pump();
    }
    uint32_t pixel(int h, int v) { return HostScreenPixel(Global(h, v)) & 0xFFFFFF; }
    void clickTab(const char* name, EventModifiers modifiers = 0)
    {
        const FWRect r = Folder(name)->GetRect();
        click(r.left + 20, r.top + 6, modifiers);
    }
    // The window's pixels as they are on screen.
    std::vector<uint32_t> windowPixels()
    {
        std::vector<uint32_t> pixels;
        const FWRect frame = Window()->GlobalFrame();
        const HostPixelMap& screen = HostScreenPixels();
        for (int v = frame.top; v < frame.bottom; ++v)
            for (int h = frame.left; h < frame.right; ++h)
                pixels.push_back(screen.GetAt(h, v));
        return pixels;
    }
    std::vector<uint32_t> fullRedraw()
    {
        Window()->Inval(nullptr);
        FWEventDispatcher::UpdateWindow(Window());
        return windowPixels();
    }
    FWFolderView* folders() { return Window()->GetView()->FolderView(); }
    Scroller* bar() { return Window()->GetView()->GetScroller(); }
};

TEST_F(ToolWindowTest, StandsAtTheLeftOfTheUsableAreaAndCloseOnlyHides)
{
    EXPECT_EQ(FWRect(0, 20, 118, 600), Window()->GlobalFrame());
    EXPECT_EQ(FWStr<31>("Tools"), Window()->Name());

    FWEvent close(kCloseEvent, Window(), 0);
    FWEventDispatcher::Instance()->Dispatch(close);
    ASSERT_EQ(Window(), FWToolWindow::Instance());
    EXPECT_FALSE(Window()->Visible());
    ASSERT_NE(nullptr, Folder("Modes"));
}

TEST_F(ToolWindowTest, AClickOnAModalToolRunsItOnceAndMarksItCurrent)
{
    clickTab("Modes");
    ASSERT_FALSE(Folder("Modes")->Contracted());
    const FWRect select = Widget("Modes", "Select")->GetRect();
    const FWRect draw = Widget("Modes", "Draw")->GetRect();

    click(select.left + 10, select.top + 10);
    EXPECT_EQ(std::vector<std::string>{"Select"}, ToolTestLog());
    EXPECT_EQ(kCurrentTool, pixel(select.left + 3, select.top + 3));
    EXPECT_EQ(kBackground, pixel(draw.left + 3, draw.top + 3));

    HostAdvanceTicks(2 * FWDoubleTime());
    click(draw.left + 10, draw.top + 10);
    EXPECT_EQ((std::vector<std::string>{"Select", "Draw"}), ToolTestLog());
    EXPECT_EQ(kBackground, pixel(select.left + 3, select.top + 3));
    EXPECT_EQ(kCurrentTool, pixel(draw.left + 3, draw.top + 3));
}

TEST_F(ToolWindowTest, APressShowsPressedAndOnlyAReleaseInsideActivates)
{
    clickTab("Modes");
    FWToolWidget* widget = Widget("Modes", "Select");
    const FWRect r = widget->GetRect();
    const FWArgb32 two = FWGetAppColor(2);
    const uint32_t pressed = uint32_t(two.r) << 16 | uint32_t(two.g) << 8 | two.b;
    {
        FWToolWidgetTracker tracker(*widget);
        EXPECT_TRUE(widget->IsPressed());
        EXPECT_EQ(pressed, pixel(r.left, r.top));
    }

    // Out and released outside: nothing runs and the widget is raised again.
    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectMouseDown(Global(r.left + 10, r.top + 10));
    HostInjectMouseMove(Global(r.right + 30, r.top + 10));
    HostInjectMouseUp(Global(r.right + 30, r.top + 10));
    Pump();
    EXPECT_TRUE(ToolTestLog().empty());
    EXPECT_FALSE(widget->IsPressed());
    EXPECT_NE(pressed, pixel(r.left, r.top));

    // Out and back in: the release activates.
    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectMouseDown(Global(r.left + 10, r.top + 10));
    HostInjectMouseMove(Global(r.right + 30, r.top + 10));
    HostInjectMouseMove(Global(r.left + 12, r.top + 12));
    HostInjectMouseUp(Global(r.left + 12, r.top + 12));
    Pump();
    EXPECT_EQ(std::vector<std::string>{"Select"}, ToolTestLog());
}

TEST_F(ToolWindowTest, TabClicksOpenCloseAndSwitchTextMode)
{
    const FWRect view = folders()->GetRect();
    // Contracted folders are 18 high, each the next 16 below the one before.
    for (int i = 0; i < 4; ++i) {
        const FWRect r = folders()->Folders()[i]->GetRect();
        EXPECT_EQ(FWRect(int16_t(view.left + 1), int16_t(view.top + 1 + 16 * i), int16_t(view.right - 1),
                         int16_t(view.top + 19 + 16 * i)),
                  r)
            << i;
    }

    clickTab("Options");
    const FWRect options = Folder("Options")->GetRect();
    const FWRect grid = Folder("Options")->ToolGrid()->GetRect();
    EXPECT_EQ(FWRect(int16_t(options.left + 3), int16_t(options.top + 16), int16_t(options.right - 3), grid.bottom), grid);
    EXPECT_EQ(3 * 44, grid.Height()); // six tools, two to a row
    EXPECT_EQ(grid.Height() + 19, options.Height());
    EXPECT_EQ(options.bottom + 2, Folder("Items")->GetRect().top);

    // Option-click: an open folder switches to text mode, a contracted one opens.
    clickTab("Options", optionKey);
    EXPECT_TRUE(Folder("Options")->TextMode());
    EXPECT_EQ(6 * 18 + 19, Folder("Options")->GetRect().Height());
    clickTab("Buttons", optionKey);
    EXPECT_FALSE(Folder("Buttons")->Contracted());
    EXPECT_FALSE(Folder("Buttons")->TextMode());

    // The strip right of the tab is no tab.
    const FWRect items = Folder("Items")->GetRect();
    click(items.right - 10, items.top + 6);
    EXPECT_TRUE(Folder("Items")->Contracted());
    clickTab("Items");
    EXPECT_FALSE(Folder("Items")->Contracted());
    clickTab("Options");
    EXPECT_TRUE(Folder("Options")->Contracted());
}

TEST_F(ToolWindowTest, TheTabAndTheFolderAreasEndWhereTheShapeDoes)
{
    FWToolFolder* folder = Folder("Buttons");
    folder->SetContracted(false);
    const FWRect r = folder->GetRect();
    const struct {
        int dh, dv;
        bool tab, inFolder;
    } points[] = {
        {5, 5, true, true},
        {r.Width() - 11, 15, true, true},
        {r.Width() - 10, 5, false, false}, // right of the tab, above the shelf
        {r.Width() - 5, 13, false, false},
        {r.Width() - 5, 14, false, true},  // below the shelf line
        {5, 16, false, true},
        {0, 5, false, false},              // the edge is outside
    };
    for (const auto& p : points) {
        const FWPoint at(int16_t(r.left + p.dh), int16_t(r.top + p.dv));
        EXPECT_EQ(p.tab, folder->PointInTab(at)) << p.dh << "," << p.dv;
        EXPECT_EQ(p.inFolder, folder->PointInFolder(at)) << p.dh << "," << p.dv;
    }
}

TEST_F(ToolWindowTest, DoubleClickBelowTheFoldersOpensOrContractsAllAndTheBarFollows)
{
    const FWRect view = folders()->GetRect();
    EXPECT_EQ(0, bar()->ScrollMax());
    const int h = view.left + 20;
    const int v = view.bottom - 20;
    HostInjectClick(Global(h, v));
    HostInjectClick(Global(h, v));
    Pump();
    for (FWToolFolder* folder : folders()->Folders())
        EXPECT_FALSE(folder->Contracted());
    EXPECT_EQ(folders()->VirtualHeight() - bar()->GetRect().Height(), bar()->ScrollMax());
    EXPECT_GT(bar()->ScrollMax(), 0);

    // With the long folder closed again there is room below the folders.
    clickTab("Items");
    const int below = folders()->Folders().back()->GetRect().bottom + 1;
    ASSERT_LT(below, view.bottom - 1);
    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectClick(Global(h, below));
    HostInjectClick(Global(h, below));
    Pump();
    for (FWToolFolder* folder : folders()->Folders())
        EXPECT_TRUE(folder->Contracted());
    EXPECT_EQ(0, bar()->ScrollMax());
}

TEST_F(ToolWindowTest, EveryScrollStepLeavesWhatAFullRedrawShows)
{
    folders()->ContractAllFolders(false);
    Window()->GetView()->RecalcScroller();
    FWEventDispatcher::UpdateWindow(Window());
    const int top = folders()->GetRect().top + 1;
    for (int delta : {1, 7, 44, 3, -12, -20}) {
        Window()->GetView()->ScrollBy(delta);
        const std::vector<uint32_t> scrolled = windowPixels();
        EXPECT_TRUE(scrolled == fullRedraw()) << "step " << delta;
    }
    EXPECT_EQ(top - 23, folders()->Folders().front()->GetRect().top);

    // Dragging the thumb down scrolls by its share of the range; the pixels stay right.
    Window()->GetView()->ScrollBy(-23);
    FWRect thumb;
    bar()->GetThumbRect(&thumb);
    const int h = thumb.left + 5;
    HostInjectMouseDown(Global(h, thumb.top + 5));
    HostInjectMouseMove(Global(h, thumb.top + 25));
    HostInjectMouseUp(Global(h, thumb.top + 25));
    Pump();
    const int value = bar()->ScrollVal();
    EXPECT_EQ(bar()->ScrollMax() * 20 / bar()->Travel(), value);
    EXPECT_EQ(top - value, folders()->Folders().front()->GetRect().top);
    const std::vector<uint32_t> scrolled = windowPixels();
    EXPECT_TRUE(scrolled == fullRedraw());
}

TEST_F(ToolWindowTest, SpaceBarDragMovesTheFoldersWithTheMouse)
{
    folders()->ContractAllFolders(false);
    Window()->GetView()->RecalcScroller();
    const FWRect view = folders()->GetRect();
    const int top = view.top + 1;
    HostInjectKeyDown(49, ' ');
    HostTakeInjectedInput();
    folders()->SetCursor();
    EXPECT_EQ(10001, HostCurrentCursor().id);

    HostInjectMouseDown(Global(view.left + 30, view.top + 300));
    HostInjectMouseMove(Global(view.left + 30, view.top + 260));
    HostInjectMouseUp(Global(view.left + 30, view.top + 260));
    Pump();
    EXPECT_EQ(40, bar()->ScrollVal());
    EXPECT_EQ(top - 40, folders()->Folders().front()->GetRect().top);
    EXPECT_TRUE(ToolTestLog().empty());

    // A long turn of the wheel toward the user stops at the end, where the last tool is in view.
    HostInjectWheel(Global(view.left + 30, view.top + 100), -100);
    Pump();
    EXPECT_EQ(bar()->ScrollMax(), bar()->ScrollVal());
    EXPECT_EQ(view.bottom, folders()->Folders().back()->GetRect().bottom);
    EXPECT_TRUE(windowPixels() == fullRedraw());

    HostInjectKeyUp(49, ' ');
    HostTakeInjectedInput();
    folders()->SetCursor();
    EXPECT_EQ(HostCursorKind::Arrow, HostCurrentCursor().kind);
    HostSetKeyDown(CONTROL_KEY, true);
    folders()->SetCursor();
    EXPECT_EQ(1000, HostCurrentCursor().id);
    HostSetKeyDown(CONTROL_KEY, false);
}

TEST_F(ToolWindowTest, ZoomSwitchesIconSizeAndMovesTheWindowsBesideIt)
{
    FWRect quarter;
    mApp->GetFourViewRect(0, &quarter);
    FWWindow near(0), far(0);
    near.Initialize(nullptr, FWRect(int16_t(quarter.left + 2), 300, int16_t(quarter.left + 202), 400));
    far.Initialize(nullptr, FWRect(int16_t(quarter.left + 4), 450, int16_t(quarter.left + 204), 550));
    near.Show();
    far.Show();
    clickTab("Modes");

    const std::vector<uint32_t> before = fullRedraw();
    FWEvent zoom(kZoomEvent, Window(), 0);
    FWEventDispatcher::Instance()->Dispatch(zoom);
    EXPECT_EQ(78, Window()->Size().Width());
    EXPECT_TRUE(Window()->GetView()->HalfsizeMode());
    EXPECT_EQ(22, Widget("Modes", "Select")->GetRect().Width());
    EXPECT_EQ(quarter.left, near.GlobalFrame().left);
    EXPECT_EQ(200, near.GlobalFrame().Width());
    EXPECT_EQ(quarter.left + 4, far.GlobalFrame().left);

    FWEventDispatcher::Instance()->Dispatch(zoom);
    EXPECT_EQ(118, Window()->Size().Width());
    EXPECT_FALSE(Window()->GetView()->HalfsizeMode());
    EXPECT_EQ(44, Widget("Modes", "Select")->GetRect().Width());
    // Once updated, nothing of the narrow window's scroll bar is left.
    FWEventDispatcher::UpdateWindow(Window());
    EXPECT_TRUE(before == windowPixels());
}

TEST_F(ToolWindowTest, TheContextualMenuSwitchesIconSizeLikeTheZoomBox)
{
    FWFontMetrics metrics;
    FWFont().GetFontMetrics(metrics);
    const int row = metrics.ascent + metrics.descent + metrics.leading + 2;
    const FWRect view = folders()->GetRect();
    const Point press = Global(view.left + 20, view.top + 300);
    auto choose = [&](int item) {
        const Point at{int16_t(press.v + item * row + row / 2), int16_t(press.h + 20)};
        HostAdvanceTicks(2 * FWDoubleTime());
        HostInjectMouseDown(press, controlKey);
        HostInjectClockAdvance(600 * 1000000ull);
        HostInjectMouseMove(at);
        HostInjectMouseUp(at);
        Pump();
    };
    choose(0); // "Small Icons"
    EXPECT_TRUE(Window()->GetView()->HalfsizeMode());
    EXPECT_EQ(78, Window()->Size().Width());
    choose(0); // the marked item: nothing
    EXPECT_TRUE(Window()->GetView()->HalfsizeMode());
    choose(1); // "Large Icons"
    EXPECT_FALSE(Window()->GetView()->HalfsizeMode());
    EXPECT_EQ(118, Window()->Size().Width());
}

} // namespace
