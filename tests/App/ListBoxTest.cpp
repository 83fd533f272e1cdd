// The outline view and the list box: row geometry, display order, the list box's item calls,
// clicks and keys in a shown window, and the stored records.
#include "FWOutlineView.h"
#include "ListBox.h"

#include "ControlTestWindow.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDynamicString.h"
#include "FWEvent.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostScreen.h"
#include "Scroller.h"
#include "SerialStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// A tree node for the outline view: children in a list, expanded unless collapsed.
class TestNode : public FWViewableNode {
public:
    explicit TestNode(const char* name, TestNode* parent = nullptr) : mName(name), mParent(parent)
    {
        if (parent != nullptr) {
            if (!parent->mChildren.empty()) {
                parent->mChildren.back()->mNext = this;
                mPrev = parent->mChildren.back();
            }
            parent->mChildren.push_back(this);
        }
    }
    void Follow(TestNode* prev)
    {
        prev->mNext = this;
        mPrev = prev;
    }
    const FWString& Viewable_Name() const override { return mName; }
    FWViewableNode* Viewable_NextPeer() override { return mNext; }
    FWViewableNode* Viewable_PrevPeer() override { return mPrev; }
    FWViewableNode* Viewable_FirstChild() override { return mChildren.empty() ? nullptr : mChildren.front(); }
    FWViewableNode* Viewable_Parent() override { return mParent; }
    bool Viewable_SubtreeVisible() const override { return mOpen; }
    void Viewable_SetSubtreeVisible(bool open) override { mOpen = open; }

    FWDynamicString mName;
    TestNode* mParent;
    TestNode* mPrev = nullptr;
    TestNode* mNext = nullptr;
    std::vector<TestNode*> mChildren;
    bool mOpen = true;
};

// Records each notification the outline views of the window send.
class EventWindow : public FWWindow {
public:
    bool InterfaceEvent(FWView* view) override
    {
        if (auto* outline = dynamic_cast<FWOutlineView*>(view))
            events.push_back({outline->Event(), outline->EventNode()});
        return true;
    }
    std::vector<std::pair<int32_t, FWViewableNode*>> events;
};

class OutlineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FWSetColorScheme();
        window.Initialize(nullptr, FWRect(100, 100, 500, 400));
        window.Show();
    }
    // A list box with its content 200 pixels high (no horizontal bar area).
    ListBox* addListBox(int items)
    {
        auto* box = new ListBox;
        box->Init(&window, FWRect(10, 10, 210, 214));
        window.ViewMngr().GetViewTree()->AppendChild(box);
        for (int i = 0; i < items; ++i)
            box->AddLast(FWStr<15>(("item " + std::to_string(i)).c_str()), 100 + i, nullptr);
        return box;
    }
    FWEvent press(FWPoint at, uint16_t modifiers = 0)
    {
        FWEvent event(kMouseDownEvent, &window, modifiers);
        event.mWhere = at;
        return event;
    }
    // A point on the name of the row in that slot.
    FWPoint onName(const FWOutlineView& view, int slot)
    {
        const FWRect& r = view.RowAt(slot).textRect;
        return FWPoint(int16_t(r.left + 3), int16_t(r.top + 5));
    }
    void draw()
    {
        {
            FWDrawContext context(&window);
            window.ViewMngr().Draw(context);
        }
        HostComposeScreen();
    }
    uint32_t pixel(int h, int v)
    {
        FWPoint p{int16_t(h), int16_t(v)};
        window.WindowToGlobal(&p);
        return HostDesktopScope::Rgb(HostScreenPixel(Point{p.v, p.h}));
    }

    HostDesktopScope desk;
    EventWindow window;
};

std::string name(const FWViewableNode* node)
{
    return node != nullptr ? const_cast<FWViewableNode*>(node)->Viewable_Name().GetCString() : "-";
}

} // namespace

TEST_F(OutlineTest, RowGeometryFollowsTheIconSizeOrCompactRows)
{
    struct Case {
        uint32_t flags;
        int height, delta, baseline, columnTop, columnBottom, arrowTop, arrowBottom;
    } cases[] = {
        {0, 16, 19, 12, 3, 14, 2, 14},
        {FWOutlineView::kCompact, 12, 15, 9, 1, 12, 0, 12},
    };
    for (const Case& c : cases) {
        FWOutlineView view;
        const FWRect rect(10, 10, 210, 214);
        view.Init(&window, &rect, c.flags);
        const FWPoint p(50, 100);
        EXPECT_EQ(c.height, view.row_height());
        EXPECT_EQ(c.delta, view.row_delta());
        EXPECT_EQ(c.baseline, view.get_text_point(0, p).v - p.v);
        EXPECT_EQ(c.columnTop, view.get_column_icon_rect(p).top - p.v);
        EXPECT_EQ(c.columnBottom, view.get_column_icon_rect(p).bottom - p.v);
        EXPECT_EQ(c.arrowTop, view.get_arrow_rect(p).top - p.v);
        EXPECT_EQ(c.arrowBottom, view.get_arrow_rect(p).bottom - p.v);
    }

    ListBox* box = addListBox(0);
    EXPECT_EQ(12, box->RowSlots()); // 200 / 19 + 2
    EXPECT_EQ(13, box->calc_row_top(0));
    box->AddVScroller();
    box->VScroller()->SetScrollVal(3);
    EXPECT_EQ(10, box->calc_row_top(0));
    const int16_t right = box->get_content_rect().left;
    box->SetFlag(FWOutlineView::kVScrollLeft);
    EXPECT_EQ(right + 10, box->get_content_rect().left);
}

TEST_F(OutlineTest, DisplayOrderWalksExpandedNodesWithLinesOfAncestry)
{
    TestNode r1("R1"), a("A", &r1), b("B", &r1), c("C", &b), r2("R2");
    r2.Follow(&r1);
    FWOutlineView view;
    const FWRect rect(10, 10, 210, 214);
    view.Init(&window, &rect, 0);
    view.SetFirstRoot(&r1);
    const char* expected[][2] = {{"R1", ""}, {"A", "T"}, {"B", "L"}, {"C", " L"}, {"R2", ""}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i][0], name(view.RowAt(i).node));
        EXPECT_STREQ(expected[i][1], view.RowAt(i).loa);
    }
    EXPECT_EQ(nullptr, view.RowAt(5).node);
    EXPECT_EQ(5, view.DisplayTotal());
    b.mOpen = false;
    view.RefreshView();
    EXPECT_EQ(4, view.DisplayTotal());
    EXPECT_EQ("R2", name(view.RowAt(3).node));

    // Row before R2 is the deepest shown row above it; before A is its parent.
    FWOutlineView::Row before;
    ASSERT_TRUE(view.get_prev_display_node(&view.RowAt(3), before));
    EXPECT_EQ("B", name(before.node));
    EXPECT_STREQ("L", before.loa);

    // A chain 120 deep keeps 99 ancestry characters.
    std::vector<std::unique_ptr<TestNode>> chain;
    chain.push_back(std::make_unique<TestNode>("0"));
    for (int i = 1; i <= 120; ++i)
        chain.push_back(std::make_unique<TestNode>("n", chain.back().get()));
    view.SetFirstRoot(chain.front().get());
    EXPECT_EQ(121, view.DisplayTotal());
    FWOutlineView::Row row;
    view.get_next_display_node(nullptr, row);
    for (int i = 0; i < 120; ++i) {
        FWOutlineView::Row next;
        ASSERT_TRUE(view.get_next_display_node(&row, next));
        row = next;
    }
    EXPECT_EQ(120, row.depth);
    EXPECT_EQ(99u, std::strlen(row.loa));
}

TEST_F(OutlineTest, ListBoxItemsAreInsertedRemovedAndQueriedByPosition)
{
    ListBox* box = addListBox(0);
    ListBoxItem* first = box->InsertItem(0, 7, FWStr<7>("b"), nullptr);
    EXPECT_EQ(first, box->FirstRoot());
    box->InsertItem(0, 8, FWStr<7>("a"), nullptr);
    box->InsertItem(1, 9, FWStr<7>("ab"), nullptr);
    box->InsertItem(5, 10, FWStr<7>("c"), nullptr);
    std::string order;
    for (ListBoxItem* item = box->First(); item != nullptr; item = box->Next())
        order += std::to_string(item->ID()) + " ";
    EXPECT_EQ("8 9 7 10 ", order);
    EXPECT_EQ(8, static_cast<ListBoxItem*>(box->FirstRoot())->ID());
    EXPECT_EQ(nullptr, box->Item(4));
    EXPECT_EQ(-1, box->FirstSelectedItem());
    box->Item(2)->Viewable_SetNodeSelected(true);
    EXPECT_EQ(2, box->FirstSelectedItem());
    EXPECT_EQ(box->Item(2), box->SingleSelectedItem());
    box->Item(3)->Viewable_SetNodeSelected(true);
    EXPECT_EQ(nullptr, box->SingleSelectedItem());
    box->RemoveItem(0);
    EXPECT_EQ(9, static_cast<ListBoxItem*>(box->FirstRoot())->ID());
    EXPECT_EQ(3, box->ListSize());
    box->KillAllItems();
    box->InsertItem(0, 1, FWStr<7>("x"), nullptr);
    box->RemoveItem(0);
    EXPECT_EQ(nullptr, box->FirstRoot());
    EXPECT_EQ(nullptr, box->RowAt(0).node);

    EXPECT_EQ(nullptr, box->GetSIcon(8));
    EXPECT_EQ(box->FWOutlineView::GetSIcon(3), box->GetSIcon(3));
    const ImageBuffer* own = reinterpret_cast<const ImageBuffer*>(box);
    box->SetSIcon(3, own);
    EXPECT_EQ(own, box->GetSIcon(3));
}

TEST_F(OutlineTest, ClicksSelectAndReportInOrder)
{
    ListBox* box = addListBox(50);
    box->AddVScroller();
    draw();
    using Events = std::vector<std::pair<int32_t, FWViewableNode*>>;
    auto click = [&](FWPoint at, uint16_t modifiers = 0) {
        FWEvent event = press(at, modifiers);
        box->MouseDownEvent(event);
    };
    click(onName(*box, 2));
    EXPECT_EQ((Events{{3, nullptr}, {4, nullptr}, {4, box->Item(2)}}), window.events);
    window.events.clear();
    click(onName(*box, 4), kFWShiftKey);
    EXPECT_EQ(2, box->FirstSelectedItem());
    EXPECT_TRUE(box->Item(4)->Viewable_NodeSelected());
    EXPECT_EQ(nullptr, box->SingleSelectedItem());
    // With 0x10000 shift no longer adds: the others are deselected first.
    box->SetFlag(FWOutlineView::kShiftReplaces);
    click(onName(*box, 6), kFWShiftKey);
    EXPECT_EQ(box->Item(6), box->SingleSelectedItem());
    window.events.clear();
    click(onName(*box, 6));
    EXPECT_EQ((Events{{6, box->Item(6)}}), window.events);
    EXPECT_EQ(0, box->Event());

    // A selected name is white on black.
    draw();
    const FWRect text = box->RowAt(6).textRect;
    int light = 0;
    for (int v = text.top; v < text.bottom; ++v)
        for (int h = text.left; h < text.right; ++h)
            light += (pixel(h, v) & 0xFF) > 0xC0;
    EXPECT_GT(light, 10);
    EXPECT_EQ(0x000000u, pixel(text.right - 1, text.top + 1));

    // Page down scrolls by the content height less a row.
    FWEvent key(kKeyDownEvent, &window, 0);
    key.mMessage = 12;
    box->KeyDownEvent(key);
    EXPECT_EQ(200 - 16, box->VScroller()->ScrollVal());
    EXPECT_EQ((184 - 3) / 19, box->TopRow());
    EXPECT_EQ(box->Item(box->TopRow()), box->RowAt(0).node);
}

TEST_F(OutlineTest, AListShrunkWhileScrolledToTheEndKeepsItsLastRowAtTheBottom)
{
    ListBox* box = addListBox(50);
    box->AddVScroller();
    Scroller* bar = box->VScroller();
    EXPECT_EQ(19 * 50 + 8 - 200, bar->ScrollMax());
    bar->SetScrollVal(bar->ScrollMax());
    box->ScrollView(0, bar->ScrollMax(), false);
    for (int i = 0; i < 10; ++i)
        box->RemoveItem(40);
    EXPECT_EQ(19 * 40 + 8 - 200, bar->ScrollVal());
    int32_t last = 0;
    while (last + 1 < box->RowSlots() && box->RowAt(last + 1).node != nullptr)
        ++last;
    EXPECT_EQ(box->Item(39), box->RowAt(last).node);
    const int32_t bottom = box->calc_row_bottom(box->calc_row_top(last));
    EXPECT_LE(bottom, box->get_content_rect().bottom);
    EXPECT_GT(bottom + 19, box->get_content_rect().bottom);
}

TEST_F(OutlineTest, StoredRecordsReadBackWithoutScrollersAndSaveAgainUnchanged)
{
    ListBox* box = addListBox(3);
    FWOutlineView* outline = new FWOutlineView;
    const FWRect rect(220, 10, 380, 100);
    outline->Init(&window, &rect, FWOutlineView::kCompact);
    window.ViewMngr().GetViewTree()->AppendChild(outline);
    EXPECT_EQ(StoredViewLevel(*outline).size() + 9, StoredRecord(*outline).size());
    EXPECT_EQ(StoredViewLevel(*box).size() + 10, StoredRecord(*box).size());

    for (const char* cls : {"ListBox", "FWOutlineView"}) {
        FWOutlineView& original = std::string(cls) == "ListBox" ? static_cast<FWOutlineView&>(*box) : *outline;
        std::unique_ptr<FWView> read(ReadStoredRecord(cls, StoredRecord(original)));
        auto* copy = dynamic_cast<FWOutlineView*>(read.get());
        ASSERT_NE(nullptr, copy) << cls;
        EXPECT_EQ(0x68u, copy->Flags());
        EXPECT_EQ(16, copy->IconSize().v);
        EXPECT_FALSE(copy->HasHScroller());
        EXPECT_FALSE(copy->HasVScroller());
        EXPECT_EQ(original.GetRect().left, copy->GetRect().left);
    }

    Handle saved = window.ViewMngr().SerializeViewTree();
    ASSERT_NE(nullptr, saved);
    const std::string first(*saved, size_t(GetHandleSize(saved)));
    DisposeHandle(saved);
    std::string bytes[2];
    std::string from = first;
    for (std::string& out : bytes) {
        FWWindow loaded;
        loaded.Initialize(nullptr, FWRect(100, 350, 500, 650));
        ASSERT_TRUE(loaded.ViewMngr().InitializeFromData(from.data(), uint32_t(from.size())));
        Handle again = loaded.ViewMngr().SerializeViewTree();
        out.assign(*again, size_t(GetHandleSize(again)));
        DisposeHandle(again);
        from = out;
    }
    EXPECT_EQ(bytes[0], bytes[1]);
}
