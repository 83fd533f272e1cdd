#include "BranchItem.h"
#include "ControlTestWindow.h"
#include "Divider.h"
#include "FWDragData.h"
#include "FWDragManager.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWFont.h"
#include "FWViewMngr.h"
#include "FWStreamException.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "LayoutEntries.h"
#include "ProgrammerMessageRecorder.h"
#include "SerialStream.h"
#include "TabControl.h"
#include "ViewTestClasses.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The body length of the record of the view's class, stored in a window of its own.
size_t bodyLength(FWView* view)
{
    ControlTestWindow w;
    w.Add(view);
    return SavedBody(w.Window().ViewMngr(), view->FactoryGetClassName()).size();
}

// A tab control read from a record stored alone, in the layouts' stream version.
TabControl* readTabs(const std::vector<uint8_t>& bytes)
{
    auto tabs = std::make_unique<TabControl>();
    SerialStream in(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size()), SerialStream::kReading);
    in.SetVersion(2);
    tabs->OldRead(in);
    return tabs.release();
}

constexpr uint32_t kSwatch = 0x00A028;

class TabControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tabs = new TabControl;
        const FWStr<31> labels[3] = {FWStr<31>("One"), FWStr<31>("Second"), FWStr<31>("The third")};
        tabs->Init(&w.Window(), FWRect(0, 10, 60, 50), 3, labels);
        tabs->SetInterfaceTarget(&log);
        w.Add(tabs);
        // A swatch on each page, each at its own place.
        for (int page = 0; page < 3; ++page) {
            auto* swatch = new TestSwatch;
            swatch->Init(&w.Window());
            swatch->SetRect(FWRect(int16_t(20 + 40 * page), 50, int16_t(50 + 40 * page), 70));
            tabs->FindBranch(page)->AppendChild(swatch);
        }
        w.Update();
    }
    FWPoint middleOf(int tab) const
    {
        const FWRect r = tabs->GetTab(tab).mRect;
        return FWPoint(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
    }
    bool swatchShown(int page) { return w.ScreenRgb(FWPoint(int16_t(35 + 40 * page), 60)) == kSwatch; }

    struct ColorScheme {
        ColorScheme() { FWSetColorScheme(); }
    } scheme; // before the window takes its background from it
    ControlTestWindow w;
    InterfaceLog log;
    TabControl* tabs = nullptr;
};

TEST_F(TabControlTest, TabsRunAlongTheTopAndTheViewGrowsToHoldThem)
{
    const FWFont font = w.Window().Font();
    int left = 10;
    for (int i = 0; i < 3; ++i) {
        const int width = font.GetStringWidth(&tabs->GetLabel(i));
        EXPECT_EQ(FWRect(int16_t(left), 10, int16_t(left + width + 12), 27), tabs->GetTab(i).mRect) << i;
        EXPECT_EQ(FWPoint(int16_t(left + 6), 24), tabs->GetTab(i).mLabelOrigin) << i;
        left += width + 16;
    }
    const FWRect r = tabs->GetRect();
    EXPECT_EQ(tabs->GetTab(2).mRect.right + 10, r.right);
    EXPECT_EQ(90, r.bottom); // 40 high became 80
    EXPECT_EQ(FWRect(0, 28, r.right, 90), tabs->GetFolderRect());
}

TEST_F(TabControlTest, AClickOnAnotherTabShowsItsPage)
{
    EXPECT_TRUE(swatchShown(0));
    EXPECT_FALSE(swatchShown(1));
    FWEvent click = w.Click(middleOf(1));
    EXPECT_TRUE(tabs->MouseDownEvent(click));
    EXPECT_EQ(1, tabs->GetActiveTab());
    EXPECT_EQ((std::vector<std::string>{"event"}), log.mEntries);
    EXPECT_FALSE(swatchShown(0));
    EXPECT_TRUE(swatchShown(1));
    EXPECT_FALSE(swatchShown(2));

    // The active tab, and a point outside every tab, change nothing.
    FWEvent again = w.Click(middleOf(1));
    EXPECT_FALSE(tabs->MouseDownEvent(again));
    FWEvent below = w.Click(FWPoint(30, 60));
    EXPECT_FALSE(tabs->MouseDownEvent(below));
    EXPECT_EQ(1u, log.mEntries.size());

    // The active tab reaches 2 pixels higher than the others.
    for (int i : {0, 1}) {
        FWPoint above = middleOf(i);
        above.v = int16_t(tabs->GetTab(i).mRect.top - 1);
        EXPECT_EQ(i == 1 ? 1 : -1, tabs->WhichTab(above)) << i;
    }
}

// A scrap that carries a few bytes of text.
class TextScrap : public FWDragScrap {
public:
    uint32_t Type() const override { return FOUR_CHAR_CODE("TEXT"); }
    void RetrieveData(const void*& data, int& size) const override
    {
        data = "x";
        size = 1;
    }
};

TEST_F(TabControlTest, DraggingOverATabBringsItsPageForwardQuietly)
{
    FWDragManager::Init();
    FWDragData data;
    data.AddScrap(new TextScrap);
    const FWPoint over = ControlTestWindow::ToGlobal(w.Window(), middleOf(2));
    HostSetMouseButton(true);
    HostInjectMouseMove(Point{int16_t(over.v + 1), over.h});
    HostInjectMouseMove(Point{over.v, over.h});
    HostInjectMouseUp(Point{int16_t(over.v + 100), over.h});
    FWEvent press(kMouseDownEvent, &w.Window(), 0);
    press.mWhere = FWPoint(200, 150);
    FWDragManager::TrackDrag(press, &w.Window(), data);
    FWDragManager::CleanUp();
    EXPECT_EQ(2, tabs->GetActiveTab());
    EXPECT_TRUE(swatchShown(2));
    EXPECT_TRUE(log.mEntries.empty());
}

TEST(TabControlRecordTest, RecordsCarryOneTabAPageAndLoadingLaysThemOut)
{
    ProgrammerMessageRecorder messages;
    auto* empty = new TabControl;
    empty->Init(nullptr, FWRect(5, 5, 200, 100), 0, nullptr);
    EXPECT_EQ(82u, bodyLength(empty));
    const FWStr<31> labels[2] = {FWStr<31>("ab"), FWStr<31>("cde")};
    auto* counted = new TabControl;
    counted->Init(nullptr, FWRect(5, 5, 200, 100), 2, labels);
    EXPECT_EQ(82u + 17 + 2 + 17 + 3, bodyLength(counted));
    TabControl two;
    two.Init(nullptr, FWRect(5, 5, 200, 100), 2, labels);

    // Stored geometry is recomputed on loading.
    std::vector<uint8_t> record = StoredRecord(two);
    const size_t firstTab = record.size() - (17 + 2 + 17 + 3);
    record[firstTab + 1] = 99; // top of the first tab's rectangle
    std::unique_ptr<FWView> read(readTabs(record));
    auto* loaded = dynamic_cast<TabControl*>(read.get());
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(two.GetTab(0).mRect, loaded->GetTab(0).mRect);
    EXPECT_EQ(std::string("cde"), loaded->GetLabel(1).GetCString());

    // An unknown version still has a tab per page, laid out.
    record[0] = 7;
    read.reset(readTabs(record));
    EXPECT_EQ((std::vector<std::string>{"Unknown 'TabControl' version"}), messages.Texts());
    loaded = dynamic_cast<TabControl*>(read.get());
    ASSERT_NE(nullptr, loaded);
    ASSERT_EQ(2, loaded->GetTabCount());
    EXPECT_EQ(FWRect(15, 5, 27, 22), loaded->GetTab(0).mRect);
    EXPECT_EQ(-1, loaded->WhichTab(FWPoint(100, 50)));

    // A page total the record cannot hold is damage.
    record[0] = 1;
    const size_t totalAt = StoredRecord(two).size() - (17 + 2 + 17 + 3) - 18 - 1 - 4;
    for (uint8_t high : {0x80, 0x10}) {
        std::vector<uint8_t> damaged = record;
        damaged[totalAt] = high;
        EXPECT_THROW(read.reset(readTabs(damaged)), FWReadFailedException) << int(high);
    }
    two.DeleteChildren();
}

TEST(TabControlRecordTest, DuplicateCopiesEveryLabel)
{
    std::vector<FWStr<31>> labels;
    for (int i = 0; i < 20; ++i)
        labels.emplace_back(std::to_string(i).c_str());
    TabControl many;
    many.Init(nullptr, FWRect(0, 0, 100, 100), 20, labels.data());
    std::unique_ptr<FWView> copy(many.Duplicate(FWPoint(10, 10)));
    auto* tabs = dynamic_cast<TabControl*>(copy.get());
    ASSERT_NE(nullptr, tabs);
    ASSERT_EQ(20, tabs->GetTabCount());
    EXPECT_EQ(std::string("19"), tabs->GetLabel(19).GetCString());
    copy->DeleteChildren();
    many.DeleteChildren();
}

TEST(DividerTest, TheRectangleDecidesTheDirectionAndTheHandles)
{
    struct Case {
        FWRect in, out;
        bool horizontal;
    };
    const Case cases[] = {
        {FWRect(0, 0, 100, 30), FWRect(0, 0, 100, 2), true},
        {FWRect(0, 0, 30, 100), FWRect(0, 0, 2, 100), false},
        {FWRect(0, 0, 5, 5), FWRect(0, 0, 2, 10), false},
        {FWRect(0, 0, 8, 4), FWRect(0, 0, 10, 2), true},
        {FWRect(0, 0, 40, 40), FWRect(0, 0, 2, 40), false},
    };
    for (const Case& c : cases) {
        Divider divider;
        divider.Init(nullptr, c.in);
        EXPECT_EQ(c.out, divider.GetRect());
        EXPECT_EQ(c.horizontal, divider.IsHorizontal());
    }

    Divider across;
    across.Init(nullptr, FWRect(10, 20, 110, 22));
    for (int v = 18; v <= 24; ++v) {
        const FWPoint p(50, int16_t(v));
        EXPECT_EQ(v >= 20 && v <= 22, across.PntInRect(&p)) << v;
    }
    Divider down;
    down.Init(nullptr, FWRect(10, 20, 12, 120));
    const int horizontal[10] = {0, 5, 6, 5, 6, 5, 6, 9, 9, 9};
    const int vertical[10] = {0, 7, 7, 8, 8, 9, 9, 7, 8, 9};
    for (int type = 0; type < 10; ++type) {
        EXPECT_EQ(horizontal[type], across.FilterEditType(FWView::EditType(type))) << type;
        EXPECT_EQ(vertical[type], down.FilterEditType(FWView::EditType(type))) << type;
    }
    EXPECT_EQ(12, across.FilterEditType(FWView::EditType(12)));

    EXPECT_EQ(1, StoredRecord(across).back());
    EXPECT_EQ(0, StoredRecord(down).back());
    auto* stored = new Divider;
    stored->Init(nullptr, FWRect(0, 0, 100, 30));
    EXPECT_EQ(55u, bodyLength(stored));
}

} // namespace
