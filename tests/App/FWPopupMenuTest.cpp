#include "FWAppColor.h"
#include "FWEventDispatcher.h"
#include "FWFont.h"
#include "FWIdleTimer.h"
#include "FWIdleTimerManager.h"
#include "FWMonitor.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWPopupMenu.h"
#include "FWStr.h"
#include "FWWindow.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostWindows.h"

#include "HostDesktopScope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Row {
    const char* name;
    uint32_t flags = 0;
    char key = 0;
    uint16_t modifiers = 0;
};

FWOpMenu* makeMenu(const std::vector<Row>& rows)
{
    auto* menu = new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    int id = 1;
    for (const Row& row : rows)
        menu->AppendChild(new FWOpItem(row.name, id++, row.flags, 0, 0, nullptr, nullptr, nullptr, row.key, row.modifiers));
    return menu;
}

FWOpMenu* numberedMenu(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("Item " + std::to_string(i));
    std::vector<Row> rows;
    for (const std::string& n : names)
        rows.push_back(Row{n.c_str()});
    return makeMenu(rows); // the names are copied by the items
}

// Runs an action from inside the tracking loop, once the injected clock reaches it.
class Probe : public FWIdleTimer {
public:
    explicit Probe(std::function<void()> action) : mAction(std::move(action)) {}
    void TimerAction() override { mAction(); }

private:
    std::function<void()> mAction;
};

FWRect frontFrame()
{
    FWWindow* window = FWWindow::ReturnFWWindow(FrontWindow());
    return window != nullptr ? window->GlobalFrame() : FWRect();
}

class FWPopupMenuTest : public ::testing::Test {
protected:
    FWPopupMenuTest()
    {
        FWSetColorScheme();
        FWFontMetrics metrics;
        FWFont().GetFontMetrics(metrics);
        mRow = int16_t(metrics.ascent + metrics.descent + metrics.leading + 2);
        press(kPress);
    }

    // The button is held at the point, as when a control starts tracking on a click.
    static void press(FWPoint at)
    {
        HostSetGlobalMouse(Point{at.v, at.h});
        HostSetMouseButton(true);
    }
    static Point pt(int h, int v) { return Point{int16_t(v), int16_t(h)}; }
    static void wait(int ms) { HostInjectClockAdvance(uint64_t(ms) * 1000000); }
    // The middle of item i of a menu of plain rows opened with item current at the press point.
    Point itemPoint(int i, int current = 0) const { return pt(kPress.h + 20, kPress.v + (i - current) * mRow + mRow / 2); }

    static constexpr FWPoint kPress{200, 150};
    HostDesktopScope mDesktop;
    int16_t mRow = 0;
};

} // namespace

TEST_F(FWPopupMenuTest, ClickReleasedAtOnceKeepsTheMenuOpenAndASecondClickChooses)
{
    FWPopupMenu popup(makeMenu({{"One"}, {"Two"}, {"Three"}}), true);
    HostInjectMouseUp(pt(kPress.h + 1, kPress.v - 1)); // within a pixel, before 500 ms: sticky
    HostInjectMouseMove(itemPoint(2));
    HostInjectMouseDown(itemPoint(2));
    HostInjectMouseUp(itemPoint(2));
    FWUserOp* chosen = nullptr;
    EXPECT_EQ(2, popup.Track(kPress, 0, &chosen));
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(FWStr<31>("Three"), chosen->Name());
    EXPECT_EQ(0u, HostPendingInjectedCount());
}

TEST_F(FWPopupMenuTest, ReleaseAfterTheStickyTimeOrAwayFromThePressChooses)
{
    FWPopupMenu popup(makeMenu({{"One"}, {"Two"}, {"Three"}}), true);
    // Dragged to item 1 and released after 500 ms.
    wait(600);
    HostInjectMouseMove(itemPoint(1));
    HostInjectMouseUp(itemPoint(1));
    EXPECT_EQ(1, popup.Track(kPress, 0, nullptr));

    // Released at once but two pixels from the press: chosen, not sticky.
    press(kPress);
    HostInjectMouseUp(pt(kPress.h + 2, kPress.v + 2));
    FWUserOp* chosen = nullptr;
    EXPECT_EQ(0, popup.Track(kPress, 0, &chosen));
    EXPECT_EQ(popup.Root()->MenuItem(0), chosen);

    // Released outside every level: nothing.
    press(kPress);
    wait(600);
    HostInjectMouseMove(pt(20, 20));
    HostInjectMouseUp(pt(20, 20));
    EXPECT_EQ(-1, popup.Track(kPress, 0, &chosen));
    EXPECT_EQ(nullptr, chosen);
}

TEST_F(FWPopupMenuTest, SeparatorsAndDisabledItemsChooseNothing)
{
    for (uint32_t flags : {uint32_t(kUserOpSeparator), uint32_t(kUserOpDisabled)}) {
        SCOPED_TRACE(flags);
        press(kPress);
        FWPopupMenu popup(makeMenu({{"One"}, {"Two"}, {"Three", flags}}), true);
        // The separator row is 6 high: aim at its middle.
        const Point target = flags == kUserOpSeparator ? pt(kPress.h + 20, kPress.v + 2 * mRow + 3) : itemPoint(2);
        wait(600);
        HostInjectMouseMove(itemPoint(1));
        HostInjectMouseMove(target);
        HostInjectMouseUp(target);
        FWUserOp* chosen = popup.Root()->MenuItem(0);
        EXPECT_EQ(-1, popup.Track(kPress, 0, &chosen));
        EXPECT_EQ(nullptr, chosen);
    }
}

TEST_F(FWPopupMenuTest, StickyMenuLeftUntouchedForTenSecondsCloses)
{
    FWPopupMenu popup(makeMenu({{"One"}, {"Two"}}), true);
    HostInjectMouseUp(pt(kPress.h, kPress.v));
    wait(9000);
    HostInjectMouseMove(itemPoint(1)); // a move starts the ten seconds again
    wait(9000);
    wait(1500);
    FWUserOp* chosen = popup.Root()->MenuItem(0);
    EXPECT_EQ(-1, popup.Track(kPress, 0, &chosen));
    EXPECT_EQ(nullptr, chosen);
    EXPECT_EQ(0u, HostPendingInjectedCount()); // it did not close before the last wait
}

TEST_F(FWPopupMenuTest, EscapeOrCommandPeriodClosesTheMenuWhichTakesTheKeysTypedMeanwhile)
{
    const std::pair<uint8_t, EventModifiers> cancels[] = {{27, 0}, {'.', cmdKey}};
    for (const auto& [character, modifiers] : cancels) {
        SCOPED_TRACE(character);
        press(kPress);
        FWPopupMenu popup(makeMenu({{"One"}, {"Two"}, {"Three"}}), true);
        HostInjectMouseUp(pt(kPress.h, kPress.v)); // the menu stays open
        HostInjectMouseMove(itemPoint(2));
        HostInjectKey(7, 'x');
        HostInjectKey(47, character, modifiers);
        FWUserOp* chosen = popup.Root()->MenuItem(0);
        EXPECT_EQ(-1, popup.Track(kPress, 0, &chosen));
        EXPECT_EQ(nullptr, chosen);
        EventRecord event;
        EXPECT_FALSE(WaitNextEvent(keyDownMask, &event, 0, nullptr));
        FlushEvents(everyEvent, 0);
    }
}

TEST_F(FWPopupMenuTest, OtherWindowsAreRedrawnOnlyAfterTracking)
{
    struct CountingWindow : FWWindow {
        bool UpdateEvent(FWEvent& event, FWDrawContext& context) override
        {
            ++mUpdates;
            return FWWindow::UpdateEvent(event, context);
        }
        int mUpdates = 0;
    } behind;
    ASSERT_TRUE(behind.Initialize(nullptr, FWRect(400, 100, 600, 300)));
    behind.Show();
    FWEventDispatcher::UpdateWindow(&behind);
    ValidWindowRect(behind.GetPDW(), nullptr);
    const int before = behind.mUpdates;

    FWPopupMenu popup(makeMenu({{"One"}, {"Two"}}), true);
    Probe probe([&] { behind.Inval(nullptr); });
    FWIdleTimerManager::StartOneShot(&probe, 5);
    wait(5);
    wait(5);
    HostInjectMouseUp(pt(5, 5));
    popup.Track(kPress, 0, nullptr);
    EXPECT_EQ(before, behind.mUpdates);
    EXPECT_FALSE(HostWindowUpdateRegion(behind.GetPDW()).Empty()); // invalid again, for the main loop
}

TEST_F(FWPopupMenuTest, EmptyOrNullMenuAnswersAtOnce)
{
    FWPopupMenu empty(makeMenu({}), true);
    FWPopupMenu none(nullptr, false);
    FWUserOp* chosen = reinterpret_cast<FWUserOp*>(&empty);
    EXPECT_EQ(-1, empty.Track(kPress, 0, &chosen));
    EXPECT_EQ(nullptr, chosen);
    EXPECT_EQ(-1, none.Track(kPress, -1, nullptr));
}

TEST_F(FWPopupMenuTest, WindowIsTheWidestItemAndPutsTheCurrentItemAtThePoint)
{
    const FWFont font;
    auto width = [&](const char* text) { return font.GetStringWidth(text, int32_t(std::strlen(text))); };
    struct Case {
        Row row;
        int32_t expected;
    };
    const Case cases[] = {
        {{"Plain"}, width("Plain") + 19},
        {{"Short", 0, 'K', 0}, width("Short") + 19 + width("Cmd-K") + 8},
        {{"Both", 0, 'K', 0x800 | 0x200}, width("Both") + 19 + width("Cmd-Opt-Shift-K") + 8},
        {{"Shift", 0, 'Q', 0x200}, width("Shift") + 19 + width("Cmd-Shift-Q") + 8},
        {{"-", kUserOpSeparator}, 10}, // a separator has no width; a level is at least 10
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.name);
        press(kPress);
        FWPopupMenu popup(makeMenu({c.row, {"x", kUserOpSeparator}}), true);
        FWRect seen;
        Probe probe([&] { seen = frontFrame(); });
        FWIdleTimerManager::StartOneShot(&probe, 5);
        wait(5);
        HostInjectMouseUp(pt(5, 5));
        popup.Track(kPress, 0, nullptr);
        // One pixel of outline on every side; the current item's top at the point.
        EXPECT_EQ(FWRect(int16_t(kPress.h - 1), int16_t(kPress.v - 1), int16_t(kPress.h + c.expected + 1),
                         int16_t(kPress.v + (c.row.flags == kUserOpSeparator ? 6 : mRow) + 6 + 1)),
                  seen);
    }

    // A submenu item is 8 wider.
    press(kPress);
    FWOpMenu* menu = makeMenu({});
    auto* sub = new FWOpMenu("Sub", 9, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    sub->AppendChild(new FWOpItem("Leaf", 10, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    menu->AppendChild(sub);
    FWPopupMenu popup(menu, true);
    FWRect seen;
    Probe probe([&] { seen = frontFrame(); });
    FWIdleTimerManager::StartOneShot(&probe, 5);
    wait(5);
    HostInjectMouseUp(pt(5, 5));
    popup.Track(kPress, 0, nullptr);
    EXPECT_EQ(width("Sub") + 19 + 8 + 2, seen.Width());
}

TEST_F(FWPopupMenuTest, TallMenuShowsWholeRowsAndScrollsFromItsArrowZonesAndBeyond)
{
    FWPopupMenu popup(numberedMenu(200), true);
    FWRect bounds = FWMonitor::FindClosestMonitorByPoint(kPress)->UsableBounds();
    bounds.Inset(6, 6);
    const int rows = bounds.Height() / mRow;

    // Opened at item 0 at the top of the bounds: the window holds whole rows.
    const FWPoint top(kPress.h, bounds.top);
    press(top);
    FWRect seen;
    Probe probe([&] { seen = frontFrame(); });
    FWIdleTimerManager::StartOneShot(&probe, 5);
    wait(5);
    HostInjectMouseUp(pt(5, 5));
    popup.Track(top, 0, nullptr);
    EXPECT_EQ(rows * mRow + 2, seen.Height());
    EXPECT_EQ(bounds.top - 1, seen.top);

    // Scroll steps shift the items by one row each; a release then picks a later item.
    const int frameTop = bounds.top;
    const int v = frameTop + 5 * mRow + mRow / 2; // row 5 before scrolling
    struct Case {
        const char* where;
        Point zone;
        int ms;
        int steps;
        bool jiggle; // a 1-pixel move every 30 ms inside the zone
    };
    const Case cases[] = {
        {"bottom arrow zone, 300 ms", pt(top.h + 20, frameTop + rows * mRow - 3), 600, 2, false},
        {"below the window, 30 ms", pt(top.h + 20, frameTop + rows * mRow + 3), 90, 3, false},
        {"bottom arrow zone, moving", pt(top.h + 20, frameTop + rows * mRow - 3), 600, 2, true},
        {"below the window, moving", pt(top.h + 20, frameTop + rows * mRow + 3), 90, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        press(top);
        wait(600); // past the sticky time
        HostInjectMouseMove(c.zone);
        for (int t = 0; t < c.ms; t += 30) {
            wait(30);
            if (c.jiggle)
                HostInjectMouseMove(pt(c.zone.h + 1 - t / 30 % 2, c.zone.v));
        }
        HostInjectMouseMove(pt(top.h + 20, v));
        HostInjectMouseUp(pt(top.h + 20, v));
        EXPECT_EQ(5 + c.steps, popup.Track(top, 0, nullptr));
    }
}

TEST_F(FWPopupMenuTest, SubmenuOpensAfterAPauseAndKeepsItsItemWhileTheMouseHeadsForIt)
{
    const FWFont font;
    auto width = [&](const char* text) { return font.GetStringWidth(text, int32_t(std::strlen(text))); };
    const char* names[] = {"Alpha", "Beta", "Gamma", "More", "Delta", "Epsilon"};
    int32_t w = 10;
    FWOpMenu* menu = makeMenu({});
    auto* sub = new FWOpMenu("More", 20, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (const char* inner : {"Inner one", "Inner two", "Inner three", "Inner four"})
        sub->AppendChild(new FWOpItem(inner, 21, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    for (const char* name : names) {
        const bool isSub = std::strcmp(name, "More") == 0;
        menu->AppendChild(isSub ? static_cast<FWUserOp*>(sub)
                                : new FWOpItem(name, 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
        w = std::max(w, width(name) + 19 + (isSub ? 8 : 0));
    }
    FWPopupMenu popup(menu, true);

    // The submenu opens at the parent item's right less 2, its first row level with the item.
    const int subLeft = kPress.h + w - 2;
    const int row3 = kPress.v + 3 * mRow;
    const Point onMore = itemPoint(3);
    const Point innerTwo = pt(subLeft + 10, row3 + mRow + mRow / 2);
    const Point deltaRight = pt(kPress.h + w - 5, row3 + mRow + mRow / 2); // under the submenu's rows
    const Point deltaLeft = pt(kPress.h + 5, row3 + mRow + mRow / 2);
    struct Case {
        const char* what;
        std::vector<Point> path;
        int waitAfterPath;
        Point release;
        int expected;
        const char* chosen;
    };
    const Case cases[] = {
        {"straight into the submenu", {}, 0, innerTwo, 1, "Inner two"},
        {"right across Delta keeps More", {deltaRight}, 0, innerTwo, 1, "Inner two"},
        {"left across Delta closes it", {deltaLeft}, 0, deltaLeft, 4, "Delta"},
        {"resting on Delta past 1500 ms closes it", {deltaRight}, 1600, deltaRight, 4, "Delta"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        press(kPress);
        wait(600);
        HostInjectMouseMove(onMore);
        wait(400);
        for (Point p : c.path)
            HostInjectMouseMove(p);
        if (c.waitAfterPath > 0)
            wait(c.waitAfterPath);
        HostInjectMouseMove(c.release);
        HostInjectMouseUp(c.release);
        FWUserOp* chosen = nullptr;
        EXPECT_EQ(c.expected, popup.Track(kPress, 0, &chosen));
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(FWStr<31>(c.chosen), chosen->Name());
    }

    // Near the bounds' right the submenu opens to the left, ending at the item's left + 2.
    FWRect bounds = FWMonitor::FindClosestMonitorByPoint(kPress)->UsableBounds();
    bounds.Inset(6, 6);
    const FWPoint nearRight(int16_t(bounds.right - w), kPress.v);
    press(nearRight);
    FWRect seen;
    Probe probe([&] { seen = frontFrame(); });
    wait(600);
    HostInjectMouseMove(pt(nearRight.h + 20, row3 + mRow / 2));
    wait(400);
    FWIdleTimerManager::StartOneShot(&probe, 1000 + 10);
    wait(20);
    HostInjectMouseUp(pt(5, 5));
    popup.Track(nearRight, 0, nullptr);
    EXPECT_EQ(nearRight.h + 2 + 1, seen.right);
    EXPECT_EQ(row3 - 1, seen.top);
}
