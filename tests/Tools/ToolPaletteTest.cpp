#include "ToolTestTable.h"

#include "FWApp.h"
#include "FWEventDispatcher.h"
#include "FWFolderView.h"
#include "FWFont.h"
#include "FWMenuMgr.h"
#include "FWOpMenu.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWTool.h"
#include "FWToolDragManager.h"
#include "FWToolDropTarget.h"
#include "FWToolFolder.h"
#include "FWToolGrid.h"
#include "FWToolPalette.h"
#include "FWToolPaletteHelper.h"
#include "FWToolWidget.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "HostClock.h"
#include "HostCursors.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostScreen.h"
#include "IdleDeleter.h"

#include <string>
#include <vector>

namespace {

const FWOpData kWindowItems[] = {{"Tile", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0}};
const FWOpData kMenus[] = {{"Window", 133, 0x80, 0, 0, nullptr, nullptr, nullptr, 0, 0, kWindowItems, 1}};
const FWOpData kMenuRoot = {"Menu Root", 0, 0x80, 0, 0, nullptr, nullptr, nullptr, 0, 0, kMenus, 1};

class ToolPaletteTest : public ToolFixture {
protected:
    ToolPaletteTest()
    {
        FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(kMenuRoot));
        BuildTools();
        Window()->Show();
        Folder("Modes")->SetContracted(false);
        Folder("Options")->SetContracted(false);
        Window()->GetView()->FolderView()->RepositionFolders(nullptr);
        FWEventDispatcher::UpdateWindow(Window());
    }

    std::vector<FWToolPalette*> palettes()
    {
        std::vector<FWToolPalette*> found;
        FWList<FWWindow>& windows = mApp->GetWindowList();
        FWWindow* window = windows.First();
        for (int i = 0; i < windows.Size() && window != nullptr; ++i, window = windows.Next())
            if (auto* palette = dynamic_cast<FWToolPalette*>(window))
                found.push_back(palette);
        return found;
    }
    // Shift-drags the tool window's widget by (dh, dv) and releases it.
    void dragWidget(const char* folder, const char* tool, int dh, int dv, EventModifiers modifiers = shiftKey)
    {
        const FWRect r = Widget(folder, tool)->GetRect();
        const Point from = Global(r.left + 10, r.top + 10);
        HostAdvanceTicks(2 * FWDoubleTime());
        HostInjectMouseDown(from, modifiers);
        HostInjectMouseMove(Point{int16_t(from.v + dv / 2), int16_t(from.h + dh / 2)});
        HostInjectMouseMove(Point{int16_t(from.v + dv), int16_t(from.h + dh)});
        HostInjectMouseUp(Point{int16_t(from.v + dv), int16_t(from.h + dh)}, modifiers);
        Pump();
    }
    // Drags the widget onto a global point, with one more move there so that the target under
    // it hears the drag within it.
    void dragWidgetTo(const char* folder, const char* tool, Point to)
    {
        const FWRect r = Widget(folder, tool)->GetRect();
        const Point from = Global(r.left + 10, r.top + 10);
        HostAdvanceTicks(2 * FWDoubleTime());
        HostInjectMouseDown(from, shiftKey);
        HostInjectMouseMove(Point{to.v, int16_t(to.h - 1)});
        HostInjectMouseMove(to);
        HostInjectMouseUp(to, shiftKey);
        Pump();
    }
    std::vector<std::string> names(FWToolPalette& palette)
    {
        std::vector<std::string> found;
        for (FWView* child = palette.GetToolGrid()->FirstChild(); child != nullptr; child = child->NextPeer())
            found.push_back(static_cast<FWToolWidget*>(child)->ToolName().GetCString());
        return found;
    }
    FWUserOp* row(int32_t id) { return FWMenuMgr::Instance()->GetRootMenu()->FindUserOpByID(id, nullptr); }
    // The content's pixels (the title bar shows which window has the keys).
    std::vector<uint32_t> contentPixels(FWWindow& window)
    {
        std::vector<uint32_t> pixels;
        FWRect frame;
        window.GetContentRect(&frame);
        FWPoint topLeft(frame.left, frame.top);
        window.WindowToGlobal(&topLeft);
        frame.MoveTo(topLeft.h, topLeft.v);
        const HostPixelMap& screen = HostScreenPixels();
        for (int v = frame.top; v < frame.bottom; ++v)
            for (int h = frame.left; h < frame.right; ++h)
                pixels.push_back(screen.GetAt(h, v));
        return pixels;
    }
};

TEST_F(ToolPaletteTest, AWidgetDroppedOnEmptyScreenBecomesAUserPalette)
{
    // Released within 15 pixels of where it was: no drop, and the press counts as a click.
    dragWidget("Modes", "Draw", 12, 12);
    EXPECT_TRUE(palettes().empty());
    EXPECT_EQ(std::vector<std::string>{"Draw"}, ToolTestLog());

    const FWRect r = Widget("Modes", "Select")->GetRect();
    dragWidget("Modes", "Select", 400, 200);
    ASSERT_EQ(1u, palettes().size());
    FWToolPalette& palette = *palettes()[0];
    EXPECT_TRUE(palette.UserCreated());
    EXPECT_EQ(FWStr<63>("Select"), palette.Name());
    EXPECT_EQ(std::vector<std::string>{"Select"}, names(palette));
    // The outline kept the grab offset: the palette's corner is where the widget's went.
    const Point corner = Global(r.left + 400, r.top + 200);
    EXPECT_EQ(FWRect(corner.h, corner.v, int16_t(corner.h + 44 + 6), int16_t(corner.v + 44 + 28)),
              palette.GlobalFrame());
    EXPECT_NE(nullptr, Widget("Modes", "Select"));
    EXPECT_EQ(std::vector<std::string>{"Draw"}, ToolTestLog());

    // The palette's widget works the tool, and the tool window's widget shows it.
    FWToolWidget* copy = palette.GetToolGrid()->FindWidget(FWStr<63>("Select"));
    const FWRect c = copy->GetRect();
    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectClick(Global(c.left + 10, c.top + 10, &palette));
    Pump();
    EXPECT_EQ((std::vector<std::string>{"Draw", "Select"}), ToolTestLog());
    const FWRect w = Widget("Modes", "Select")->GetRect();
    EXPECT_EQ(0xFFFF66u, HostScreenPixel(Global(w.left + 3, w.top + 3)) & 0xFFFFFF);
}

TEST_F(ToolPaletteTest, PalettesNeverTakeTheKeysFromTheWindowBeingEdited)
{
    Window()->SetAcceptsKeyEvents(false); // as the editor has it
    FWWindow edited(0);
    edited.Initialize(nullptr, FWRect(600, 500, 800, 600));
    edited.Show();
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    dispatcher->SetKeyWindow(&edited);

    dragWidget("Modes", "Select", 400, 200);
    ASSERT_EQ(1u, palettes().size());
    FWToolPalette& palette = *palettes()[0];
    EXPECT_EQ(&edited, dispatcher->KeyWindow());
    const FWRect c = palette.GetToolGrid()->FirstChild()->GetRect();
    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectClick(Global(c.left + 10, c.top + 10, &palette));
    Pump();
    EXPECT_EQ(&edited, dispatcher->KeyWindow());
    palette.Hide();
    palette.Show();
    EXPECT_EQ(&edited, dispatcher->KeyWindow());
}

TEST_F(ToolPaletteTest, DropsOnAPaletteInsertBesideTheWidgetAndRefuseATheToolItHolds)
{
    dragWidget("Modes", "Select", 400, 200);
    FWToolPalette& palette = *palettes()[0];
    FWEventDispatcher::UpdateWindow(&palette);
    const FWRect select = palette.GetToolGrid()->FindWidget(FWStr<63>("Select"))->GetRect();

    // Over the left half of "Select": the new widget goes before it.
    dragWidgetTo("Modes", "Draw", Global(select.left + 8, select.top + 20, &palette));
    ASSERT_EQ(1u, palettes().size());
    EXPECT_EQ((std::vector<std::string>{"Draw", "Select"}), names(palette));
    EXPECT_EQ(88 + 6, palette.Size().Width());
    // Over the right half of "Select", now second: after it.
    const FWRect second = palette.GetToolGrid()->FindWidget(FWStr<63>("Select"))->GetRect();
    dragWidgetTo("Options", "Red", Global(second.right - 8, second.top + 20, &palette));
    EXPECT_EQ((std::vector<std::string>{"Draw", "Select", "Red"}), names(palette));

    // A tool the palette holds is refused: it makes a palette of its own there.
    dragWidgetTo("Modes", "Draw", Global(second.left + 8, second.top + 20, &palette));
    EXPECT_EQ(2u, palettes().size());
    EXPECT_EQ((std::vector<std::string>{"Draw", "Select", "Red"}), names(palette));
    EXPECT_TRUE(FWToolPaletteHelper::gHelper == nullptr);
}

TEST_F(ToolPaletteTest, LeavingAPaletteRestoresItsPixels)
{
    dragWidget("Modes", "Select", 400, 200);
    FWToolPalette& palette = *palettes()[0];
    FWEventDispatcher::UpdateWindow(&palette);
    const std::vector<uint32_t> before = contentPixels(palette);
    const FWRect select = palette.GetToolGrid()->FindWidget(FWStr<63>("Select"))->GetRect();

    // Over the palette, then back to the start, where nothing is dropped.
    const FWRect r = Widget("Modes", "Draw")->GetRect();
    const Point from = Global(r.left + 10, r.top + 10);
    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectMouseDown(from, shiftKey);
    HostInjectMouseMove(Global(select.left + 8, select.top + 20, &palette));
    HostInjectMouseMove(Global(select.right - 8, select.top + 20, &palette));
    HostInjectMouseMove(from);
    HostInjectMouseUp(from, shiftKey);
    Pump();
    EXPECT_EQ(1u, palettes().size());
    EXPECT_EQ(std::vector<std::string>{"Select"}, names(palette));
    EXPECT_TRUE(before == contentPixels(palette));
}

TEST_F(ToolPaletteTest, DropFeedbackIsABorderAndABarBesideTheWidget)
{
    dragWidget("Modes", "Select", 400, 200);
    FWToolPalette& palette = *palettes()[0];
    FWEventDispatcher::UpdateWindow(&palette);
    const std::vector<uint32_t> before = contentPixels(palette);
    const FWRect select = palette.GetToolGrid()->FindWidget(FWStr<63>("Select"))->GetRect();
    auto rgb = [&](int h, int v) { return HostScreenPixel(Global(h, v, &palette)) & 0xFFFFFF; };
    constexpr uint32_t kBorder = 0x7F7FFF;
    constexpr uint32_t kBar = 0x780A50;

    FWToolPaletteHelper::StartDragInPalette(palette, FWPoint(5, 5));
    FWRect content;
    palette.GetContentRect(&content);
    EXPECT_EQ(kBorder, rgb(content.left, content.top));
    EXPECT_EQ(kBorder, rgb(content.left + 2, content.bottom - 3));
    EXPECT_EQ(kBorder, rgb(content.right - 1, content.top + 20));
    EXPECT_NE(kBorder, rgb(content.left + 3, content.top + 20));

    // Left half: the bar at the widget's left edge, and the drop goes before it.
    FWToolPaletteHelper::UpdateDragInPalette(palette, FWPoint(int16_t(select.left + 10), int16_t(select.top + 20)));
    EXPECT_EQ(kBar, rgb(select.left + 2, select.top + 20));
    EXPECT_NE(kBar, rgb(select.left + 3, select.top + 20));
    FWToolWidget* at = nullptr;
    bool beforeIt = false;
    FWToolPaletteHelper::GetDragPosition(at, beforeIt);
    EXPECT_EQ(palette.GetToolGrid()->FindWidget(FWStr<63>("Select")), at);
    EXPECT_TRUE(beforeIt);
    // Right half: the bar moves to the right edge.
    FWToolPaletteHelper::UpdateDragInPalette(palette, FWPoint(int16_t(select.right - 10), int16_t(select.top + 20)));
    EXPECT_NE(kBar, rgb(select.left + 2, select.top + 20));
    EXPECT_EQ(kBar, rgb(select.right - 3, select.top + 20));
    EXPECT_NE(kBar, rgb(select.right - 4, select.top + 20));
    FWToolPaletteHelper::GetDragPosition(at, beforeIt);
    EXPECT_FALSE(beforeIt);

    FWToolPaletteHelper::FinishDragInPalette(palette, FWPoint(5, 5));
    EXPECT_EQ(nullptr, FWToolPaletteHelper::gHelper);
    EXPECT_TRUE(before == contentPixels(palette));
}

TEST_F(ToolPaletteTest, ATabDraggedOutTearsTheFolderOff)
{
    FWToolFolder* options = Folder("Options");
    options->SetTextMode(true);
    const FWRect tab = options->GetRect();
    const Point from = Global(tab.left + 20, tab.top + 6);
    HostInjectMouseDown(from);
    HostInjectMouseMove(Point{int16_t(from.v + 100), int16_t(from.h + 300)});
    HostInjectMouseUp(Point{int16_t(from.v + 100), int16_t(from.h + 300)});
    Pump();
    ASSERT_EQ(1u, palettes().size());
    FWToolPalette& torn = *palettes()[0];
    EXPECT_FALSE(torn.UserCreated());
    EXPECT_EQ(FWStr<63>("Options"), torn.Name());
    EXPECT_EQ((std::vector<std::string>{"Red", "Green", "Small", "Large", "Grid", "Draw"}), names(torn));
    EXPECT_EQ(FWToolGrid::kText, torn.GetToolGrid()->DisplayMode());
    EXPECT_EQ(FWToolGrid::kSquare, torn.GetToolGrid()->Layout());
    // The folder stays as it was.
    EXPECT_FALSE(options->Contracted());
    EXPECT_EQ(6, options->ToolGrid()->ChildTotal());
    // It is never a target: a tool dropped on it makes a new palette.
    const FWRect w = torn.GetToolGrid()->FirstChild()->GetRect();
    dragWidgetTo("Modes", "Select", Global(w.left + 5, w.top + 5, &torn));
    EXPECT_EQ(2u, palettes().size());

    // Its close box closes it for good.
    FWEvent close(kCloseEvent, &torn, 0);
    FWEventDispatcher::Instance()->Dispatch(close);
    FlushDeletes();
    EXPECT_EQ(1u, palettes().size());
}

TEST_F(ToolPaletteTest, UserPalettesHaveRowsInTheWindowMenu)
{
    dragWidget("Modes", "Select", 400, 200);
    dragWidget("Modes", "Draw", 400, 320);
    ASSERT_EQ(2u, palettes().size());
    FWToolPalette& first = *palettes()[0];
    FWToolPalette& second = *palettes()[1];
    const int32_t firstID = FWToolPaletteHelper::MenuIDOfPalette(first);
    const int32_t secondID = FWToolPaletteHelper::MenuIDOfPalette(second);
    ASSERT_NE(0, firstID);
    ASSERT_NE(firstID, secondID);
    ASSERT_NE(nullptr, row(int32_t(0xABCDEF21)));
    FWUserOp* firstRow = row(firstID);
    ASSERT_NE(nullptr, firstRow);
    firstRow->DoAdjust();
    EXPECT_EQ(FWStr<63>("Hide Select"), firstRow->Name());

    // Its close box hides it; the row then offers to show it, and choosing it does.
    FWEvent close(kCloseEvent, &first, 0);
    FWEventDispatcher::Instance()->Dispatch(close);
    EXPECT_FALSE(first.Visible());
    firstRow->DoAdjust();
    EXPECT_EQ(FWStr<63>("Show Select"), firstRow->Name());
    firstRow->DoAction();
    EXPECT_TRUE(first.Visible());
    EXPECT_NE(&first, FWEventDispatcher::Instance()->KeyWindow());

    // The separator goes with the last row.
    delete &first;
    EXPECT_EQ(nullptr, row(firstID));
    EXPECT_NE(nullptr, row(int32_t(0xABCDEF21)));
    delete &second;
    EXPECT_EQ(nullptr, row(secondID));
    EXPECT_EQ(nullptr, row(int32_t(0xABCDEF21)));
}

TEST_F(ToolPaletteTest, PaletteRowsTakeThePlaceOfAnEmptyWindowMenusSeparator)
{
    // The Window menu as it is rebuilt with no document open: disabled, one separator row.
    const FWOpData mark[] = {{"-", 0, kUserOpSeparator, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0}};
    const FWOpData menus[] = {{"Window", 133, 0x90, 0, 0, nullptr, nullptr, nullptr, 0, 0, mark, 1}};
    FWMenuMgr::Instance()->SetRootMenu(
        new FWOpMenu(FWOpData{"Menu Root", 0, 0x80, 0, 0, nullptr, nullptr, nullptr, 0, 0, menus, 1}));
    FWUserOp* menu = row(133);
    auto ids = [menu] {
        std::vector<int32_t> found;
        for (FWUserOp* op = menu->FirstChild(); op != nullptr; op = op->NextPeer())
            found.push_back(op->Id());
        return found;
    };

    dragWidget("Modes", "Select", 400, 200);
    ASSERT_EQ(1u, palettes().size());
    FWToolPalette* palette = palettes()[0];
    EXPECT_EQ((std::vector<int32_t>{int32_t(0xABCDEF21), FWToolPaletteHelper::MenuIDOfPalette(*palette)}), ids());
    EXPECT_FALSE(menu->TestFlag(kUserOpDisabled));
    delete palette;
    EXPECT_EQ((std::vector<int32_t>{0}), ids());
    EXPECT_TRUE(menu->TestFlag(kUserOpDisabled));
}

TEST_F(ToolPaletteTest, OptionClickRemovesAWidgetAndTheCursorTellsSo)
{
    dragWidget("Modes", "Select", 400, 200);
    FWToolPalette& palette = *palettes()[0];
    const FWRect select = palette.GetToolGrid()->FindWidget(FWStr<63>("Select"))->GetRect();
    dragWidgetTo("Modes", "Draw", Global(select.right - 8, select.top + 20, &palette));
    ASSERT_EQ((std::vector<std::string>{"Select", "Draw"}), names(palette));

    HostSetKeyDown(OPTION_KEY, true);
    palette.SetCursor();
    EXPECT_EQ(11003, HostCurrentCursor().id);
    HostSetKeyDown(OPTION_KEY, false);
    HostSetKeyDown(CONTROL_KEY, true);
    palette.SetCursor();
    EXPECT_EQ(1000, HostCurrentCursor().id);
    HostSetKeyDown(CONTROL_KEY, false);

    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectClick(Global(select.left + 10, select.top + 10, &palette), optionKey);
    Pump();
    FlushDeletes();
    EXPECT_EQ(std::vector<std::string>{"Draw"}, names(palette));
    EXPECT_EQ(44 + 6, palette.Size().Width());
    EXPECT_TRUE(ToolTestLog().empty());
}

TEST_F(ToolPaletteTest, ThePopUpSetsLayoutAndDisplayModeHidesAndDeletes)
{
    dragWidget("Modes", "Select", 400, 200);
    FWToolPalette& palette = *palettes()[0];
    const int32_t rowID = FWToolPaletteHelper::MenuIDOfPalette(palette);
    FWFontMetrics metrics;
    FWFont().GetFontMetrics(metrics);
    const int height = metrics.ascent + metrics.descent + metrics.leading + 2;
    // Rows: Horizontal, Vertical, Square, a 6-pixel separator, Small Icons, Large Icons, Text,
    // a separator, Hide, Delete.
    auto choose = [&](int item) {
        const int separators = item > 7 ? 2 : item > 3 ? 1 : 0;
        const Point press = Global(10, 10, &palette);
        const Point at{int16_t(press.v + (item - separators) * height + 6 * separators + height / 2),
                       int16_t(press.h + 20)};
        HostAdvanceTicks(2 * FWDoubleTime());
        HostInjectMouseDown(press, controlKey);
        HostInjectClockAdvance(600 * 1000000ull);
        HostInjectMouseMove(at);
        HostInjectMouseUp(at);
        Pump();
    };
    FWToolGrid& grid = *palette.GetToolGrid();
    choose(6); // Text
    EXPECT_EQ(FWToolGrid::kText, grid.DisplayMode());
    EXPECT_EQ(grid.GetRect().Width() + 6, palette.Size().Width());
    choose(0); // Horizontal: not offered in text mode
    EXPECT_EQ(FWToolGrid::kSquare, grid.Layout());
    choose(5); // Large Icons
    EXPECT_EQ(FWToolGrid::kLargeIcons, grid.DisplayMode());
    choose(0); // Horizontal
    EXPECT_EQ(FWToolGrid::kHorizontal, grid.Layout());
    choose(8); // Hide
    EXPECT_FALSE(palette.Visible());

    palette.Show();
    choose(9); // Delete
    FlushDeletes();
    EXPECT_TRUE(palettes().empty());
    EXPECT_EQ(nullptr, row(rowID));
}

// A target of the tests that records what it hears.
class RecordingTarget : public FWToolDropTarget {
public:
    RecordingTarget(FWWindow& window, bool invisible) : mWindow(&window), mInvisible(invisible) {}
    bool AtLocation(FWWindow* window, FWPoint) override { return window == mWindow; }
    bool AcceptsToolWidget(FWToolWidget&) override { return true; }
    bool AcceptsInvisibleDrags() override { return mInvisible; }
    void DragEnter(FWPoint) override { mHeard.push_back("enter"); }
    void DragExit(FWPoint) override { mHeard.push_back("exit"); }
    void DragWithin(FWPoint) override { mHeard.push_back("within"); }
    void DropToolWidget(FWPoint, FWToolWidget&) override { mHeard.push_back("drop"); }
    std::vector<std::string> mHeard;

private:
    FWWindow* mWindow;
    bool mInvisible;
};

TEST_F(ToolPaletteTest, TargetsHearTheDragInOrder)
{
    // The tool window itself stands in as the targets' window.
    RecordingTarget invisible(*Window(), true);
    const FWRect r = Widget("Modes", "Draw")->GetRect();
    const Point from = Global(r.left + 10, r.top + 10);
    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectMouseDown(from, shiftKey);
    HostInjectMouseMove(Point{int16_t(from.v + 3), from.h});
    HostInjectMouseMove(Point{int16_t(from.v + 3), from.h}); // unmoved: nothing
    HostInjectMouseMove(Point{int16_t(from.v + 6), from.h});
    HostInjectMouseMove(Point{int16_t(from.v + 6), int16_t(from.h + 400)});
    HostInjectMouseUp(Point{int16_t(from.v + 6), int16_t(from.h + 400)}, shiftKey);
    Pump();
    EXPECT_EQ((std::vector<std::string>{"enter", "within", "exit"}), invisible.mHeard);

    // A target that does not take invisible drags hears nothing inside the slop; the drop ends
    // the drag without an exit.
    FlushDeletes();
    for (FWToolPalette* palette : palettes())
        delete palette;
    RecordingTarget visible(*Window(), false);
    invisible.mHeard.clear();
    HostAdvanceTicks(2 * FWDoubleTime());
    HostInjectMouseDown(from, shiftKey);
    HostInjectMouseMove(Point{int16_t(from.v + 6), from.h});
    HostInjectMouseMove(Point{int16_t(from.v + 80), from.h});
    HostInjectMouseUp(Point{int16_t(from.v + 80), from.h}, shiftKey);
    Pump();
    // The first registered target that is at the point is the one asked.
    EXPECT_EQ((std::vector<std::string>{"enter", "within", "drop"}), invisible.mHeard);
    EXPECT_TRUE(visible.mHeard.empty());
    EXPECT_TRUE(palettes().empty());
}

} // namespace
