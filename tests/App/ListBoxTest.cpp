// The outline view and the list box: row geometry, display order, the list box's item calls,
// clicks and keys in a shown window, and the stored records.
#include "FWOutlineView.h"
#include "ListBox.h"

#include "ControlTestWindow.h"
#include "EditText.h"
#include "FWTickCount.h"
#include "ImageBuffer.h"
#include "FWAppColor.h"
#include "FWDragData.h"
#include "FWDragReceiverRegistry.h"
#include "FWDrawContext.h"
#include "FWDynamicString.h"
#include "FWEvent.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostScreen.h"
#include "ProgrammerMessageRecorder.h"
#include "Scroller.h"
#include "SerialStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A tree node for the outline view, expanded unless collapsed, that can be selected, deleted
// and moved.
class TestNode : public FWViewableNode {
public:
    explicit TestNode(const char* name, TestNode* parent = nullptr) : mName(name)
    {
        if (parent != nullptr) {
            TestNode* last = parent->mFirst;
            while (last != nullptr && last->mNext != nullptr)
                last = last->mNext;
            if (last != nullptr)
                Viewable_LinkAsNextPeerTo(last);
            else
                Viewable_LinkAsFirstChildTo(parent);
        }
    }
    void Follow(TestNode* prev) { Viewable_LinkAsNextPeerTo(prev); }
    const FWString& Viewable_Name() const override { return mName; }
    FWViewableNode* Viewable_NextPeer() override { return mNext; }
    FWViewableNode* Viewable_PrevPeer() override { return mPrev; }
    FWViewableNode* Viewable_FirstChild() override { return mFirst; }
    FWViewableNode* Viewable_Parent() override { return mParent; }
    bool Viewable_SubtreeVisible() const override { return mOpen; }
    void Viewable_SetSubtreeVisible(bool open) override { mOpen = open; }
    bool Viewable_NodeSelected() const override { return mSelected; }
    void Viewable_SetNodeSelected(bool selected) override { mSelected = selected; }
    bool Viewable_CanDelete() const override { return true; }
    bool Viewable_CanBeRelocated() const override { return true; }
    bool Viewable_CanAcceptChild(FWViewableNode*) const override { return true; }
    void Viewable_Unlink() override
    {
        (mPrev != nullptr ? mPrev->mNext : (mParent != nullptr ? mParent->mFirst : mPrev)) = mNext;
        if (mNext != nullptr)
            mNext->mPrev = mPrev;
        mParent = mPrev = mNext = nullptr;
    }
    void Viewable_LinkAsNextPeerTo(FWViewableNode* node) override
    {
        auto* peer = static_cast<TestNode*>(node);
        mParent = peer->mParent;
        mPrev = peer;
        mNext = peer->mNext;
        if (mNext != nullptr)
            mNext->mPrev = this;
        peer->mNext = this;
    }
    void Viewable_LinkAsFirstChildTo(FWViewableNode* node) override
    {
        auto* parent = static_cast<TestNode*>(node);
        mParent = parent;
        mPrev = nullptr;
        mNext = parent->mFirst;
        if (mNext != nullptr)
            mNext->mPrev = this;
        parent->mFirst = this;
    }

    FWDynamicString mName;
    TestNode* mParent = nullptr;
    TestNode* mPrev = nullptr;
    TestNode* mNext = nullptr;
    TestNode* mFirst = nullptr;
    bool mOpen = true;
    bool mSelected = false;
};

// Records each notification the outline views of the window send.
class EventWindow : public FWWindow {
public:
    bool InterfaceEvent(FWView* view) override
    {
        if (auto* outline = dynamic_cast<FWOutlineView*>(view)) {
            events.push_back({outline->Event(), outline->EventNode()});
            if (onEvent)
                onEvent(*outline);
        }
        return true;
    }
    std::vector<std::pair<int32_t, FWViewableNode*>> events;
    std::function<void(FWOutlineView&)> onEvent;
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
        // Filled row by row, the list was pulled to its end while it held fewer rows than slots;
        // the first row is brought back into view as the dialogs do.
        if (items > 0)
            box->ScrollToNode(box->Item(0), false);
        return box;
    }
    FWEvent press(FWPoint at, uint16_t modifiers = 0)
    {
        FWEvent event(kMouseDownEvent, &window, modifiers);
        event.mWhere = at;
        return event;
    }
    Point global(FWPoint local)
    {
        window.WindowToGlobal(&local);
        return Point{local.v, local.h};
    }
    // A press at the point, the moves, the release at the last point; the press reaches the
    // view as the event loop hands it on.
    void gesture(FWView& view, FWPoint at, std::initializer_list<FWPoint> moves, uint16_t modifiers = 0)
    {
        HostInjectMouseDown(global(at));
        FWPoint last = at;
        for (FWPoint move : moves)
            HostInjectMouseMove(global(last = move));
        HostInjectMouseUp(global(last));
        EventRecord record;
        while (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what != mouseDown) {
        }
        FWEvent event = press(at, modifiers);
        view.MouseDownEvent(event);
    }
    bool key(FWView& view, int c)
    {
        FWEvent event(kKeyDownEvent, &window, 0);
        event.mMessage = uint32_t(c);
        return view.KeyDownEvent(event);
    }
    // The middle of a row, at h.
    static FWPoint onRow(const FWOutlineView& view, int slot, int h, int below = 8)
    {
        return FWPoint(int16_t(h), int16_t(view.calc_row_top(slot) + below));
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

// Takes drags that carry text, and notes what reaches it.
class TextHandler : public ListHandler {
public:
    bool AcceptsDrag(ListBox&, const FWDragData& data) override { return data.HasType(FOUR_CHAR_CODE("TEXT")); }
    bool AcceptDrop(ListBox&, const FWDragData&) override
    {
        calls.push_back("drop");
        return true;
    }
    bool OptionClick(ListBox&, FWEvent&) override
    {
        calls.push_back("option");
        return true;
    }
    std::vector<std::string> calls;
};

class NamedScrap : public FWDragScrap {
public:
    explicit NamedScrap(uint32_t type) : mType(type) {}
    uint32_t Type() const override { return mType; }
    void RetrieveData(const void*& data, int& size) const override
    {
        data = "x";
        size = 1;
    }

private:
    uint32_t mType;
};

TEST_F(OutlineTest, AListHandlerMakesTheListBoxADropTargetAndTakesOptionClicks)
{
    ListBox* box = addListBox(3);
    draw();
    FWDragReceiver* const receiver = box;
    auto targetAt = [&](int h, int v) { return FWDragReceiverRegistry::FindReceiver(FWPoint(int16_t(h), int16_t(v)), &window); };

    // Without a handler no drop reaches it and an option-click selects like any click.
    EXPECT_EQ(nullptr, targetAt(100, 100));
    FWEvent optionPress = press(onName(*box, 1), kFWOptionKey);
    box->MouseDownEvent(optionPress);
    EXPECT_EQ(box->Item(1), box->SingleSelectedItem());

    TextHandler handler;
    box->SetListHandler(&handler);
    EXPECT_EQ(receiver, targetAt(100, 100));
    box->SetVisibility(false);
    EXPECT_EQ(nullptr, targetAt(100, 100));
    box->SetVisibility(true);
    EXPECT_EQ(receiver, targetAt(100, 100));

    // The highlight is three frames from the edge outward, drawn in XOR: text shows it, a picture
    // does not, and leaving takes it away.
    FWDragData text;
    text.AddScrap(new NamedScrap(FOUR_CHAR_CODE("TEXT")));
    FWDragData picture;
    picture.AddScrap(new NamedScrap(FOUR_CHAR_CODE("PICT")));
    const std::vector<FWPoint> frames = {FWPoint(10, 100), FWPoint(9, 100), FWPoint(8, 100)};
    auto framePixels = [&] {
        std::vector<uint32_t> all;
        for (FWPoint p : frames)
            all.push_back(pixel(p.h, p.v));
        return all;
    };
    const std::vector<uint32_t> plain = framePixels();
    const uint32_t outside = pixel(7, 100);
    box->Enter(FWPoint(100, 100), picture);
    EXPECT_EQ(plain, framePixels());
    box->Enter(FWPoint(100, 100), text);
    const std::vector<uint32_t> lit = framePixels();
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(plain[i] ^ 0xFFFFFFu, lit[i]) << "frame " << i;
    EXPECT_EQ(outside, pixel(7, 100)) << "nothing outside the three frames";
    box->Exit(FWPoint(100, 100), text);
    EXPECT_EQ(plain, framePixels());

    // Drops and option-clicks go to the handler, drops only while the list is shown.
    box->Accept(text);
    box->SetVisibility(false);
    box->Accept(text);
    box->SetVisibility(true);
    FWEvent secondOption = press(onName(*box, 2), kFWOptionKey);
    EXPECT_TRUE(box->MouseDownEvent(secondOption));
    EXPECT_EQ((std::vector<std::string>{"drop", "option"}), handler.calls);
    EXPECT_EQ(box->Item(1), box->SingleSelectedItem());

    // A new place moves the target; a list box gone is no target.
    box->SetRect(FWRect(250, 10, 390, 214));
    EXPECT_EQ(nullptr, targetAt(100, 100));
    EXPECT_EQ(receiver, targetAt(300, 100));
    box->Unlink();
    delete box;
    EXPECT_EQ(nullptr, targetAt(300, 100));
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

TEST_F(OutlineTest, ARefreshWithFewerRowsLeftThanSlotsPullsTheListToItsEnd)
{
    ListBox* box = addListBox(30);
    box->AddVScroller();
    Scroller* bar = box->VScroller();
    ASSERT_EQ(12, box->RowSlots());
    ASSERT_EQ(19 * 30 + 8 - 200, bar->ScrollMax());
    // The top row is (value - 3) / 19: 18 leaves 12 rows below it, 19 leaves 11.
    const std::pair<int32_t, int32_t> cases[] = {{345, 345}, {364, 378}};
    for (const auto& [value, after] : cases) {
        bar->SetScrollVal(value);
        box->ScrollView(0, 0, false);
        box->RefreshView();
        EXPECT_EQ(after, bar->ScrollVal()) << value;
        EXPECT_EQ((after - 3) / 19, box->TopRow()) << value;
    }
}

TEST_F(OutlineTest, PageKeysScrollWhileARowIsBeingRenamed)
{
    ListBox* box = addListBox(30);
    box->AddVScroller();
    box->Item(1)->Viewable_SetNodeSelected(true);
    ASSERT_TRUE(key(*box, 13));
    ASSERT_NE(nullptr, box->EditBox());
    // A page is the content's height less a row: 200 - 16.
    const int32_t start = box->VScroller()->ScrollVal();
    for (const auto& [k, page] : {std::pair{12, 1}, std::pair{1, 1}, std::pair{4, 1}, std::pair{11, 0}}) {
        EXPECT_FALSE(key(*box, k)) << k;
        EXPECT_EQ(start + page * 184, box->VScroller()->ScrollVal()) << k;
    }
}

TEST_F(OutlineTest, ListItemsDrawEachOfTheirTextStyles)
{
    ListBox* box = addListBox(0);
    for (int style : {0, 1, 2, 4, 8, 16})
        box->AddLast(FWStr<15>("Wide"), style, nullptr)->SetTextFlags(style);
    draw();
    // The pixels of a row's name, from the name's left.
    auto rowPixels = [&](int slot) {
        const FWRect& r = box->RowAt(slot).textRect;
        std::vector<uint32_t> pixels;
        for (int v = r.top; v < r.bottom + 2; ++v)
            for (int h = r.left; h < r.left + 50; ++h)
                pixels.push_back(pixel(h, v));
        return pixels;
    };
    const std::vector<uint32_t> plain = rowPixels(0);
    for (int slot = 1; slot < 6; ++slot)
        EXPECT_NE(plain, rowPixels(slot)) << "style " << box->Item(slot)->ID();
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

namespace {

std::string order(ListBox& box)
{
    std::string out;
    for (ListBoxItem* item = box.First(); item != nullptr; item = box.Next())
        out += std::to_string(item->ID()) + " ";
    return out;
}

} // namespace

TEST_F(OutlineTest, ReturnRenamesTheSelectedRowInPlaceAndEscapeCancels)
{
    ListBox* box = addListBox(5);
    draw();
    FWEvent click = press(onName(*box, 1));
    box->MouseDownEvent(click);
    window.events.clear();

    ASSERT_TRUE(key(*box, 13));
    ASSERT_NE(nullptr, box->EditBox());
    // The box stays with its node while the rows are rebuilt, and is drawn in the row.
    box->RefreshView();
    EXPECT_EQ(box->Item(1), box->EditedNode());
    draw();
    const FWRect edit = box->EditBox()->GetEditRect();
    EXPECT_EQ(0x000000u, pixel(edit.left + 1, (edit.top + edit.bottom) / 2)); // the box's frame
    for (int c : {'Z', 'q'})
        key(*box, c);
    EXPECT_TRUE(key(*box, 13));
    EXPECT_EQ(nullptr, box->EditBox());
    EXPECT_EQ("Zq", name(box->Item(1)));
    EXPECT_EQ((std::vector<std::pair<int32_t, FWViewableNode*>>{{8, box->Item(1)}}), window.events);
    draw();
    EXPECT_NE(0x000000u, pixel(edit.left + 1, (edit.top + edit.bottom) / 2));

    // Escape, an empty name and an unchanged name rename nothing.
    for (std::vector<int> keys : {std::vector<int>{'x', 27}, std::vector<int>{8, 13}, std::vector<int>{'Z', 'q', 13}}) {
        window.events.clear();
        ASSERT_TRUE(key(*box, 13));
        for (int c : keys)
            EXPECT_TRUE(key(*box, c));
        EXPECT_EQ(nullptr, box->EditBox());
        EXPECT_EQ("Zq", name(box->Item(1)));
        EXPECT_TRUE(window.events.empty());
    }

    // An owner that rebuilds its list on hearing of the new name.
    window.onEvent = [box](FWOutlineView& view) {
        if (view.Event() == FWOutlineView::kEventRenamed)
            box->KillAllItems();
    };
    key(*box, 13);
    key(*box, 'n');
    key(*box, 13);
    EXPECT_EQ(0, box->ListSize());
    window.onEvent = nullptr;

    // Two rows selected, or renaming turned off: Return goes on to the window.
    box = addListBox(3);
    box->Item(0)->Viewable_SetNodeSelected(true);
    box->Item(2)->Viewable_SetNodeSelected(true);
    EXPECT_FALSE(key(*box, 13));
    box->Item(2)->Viewable_SetNodeSelected(false);
    box->SetFlag(FWOutlineView::kNoRename);
    EXPECT_FALSE(key(*box, 13));
    EXPECT_EQ(nullptr, box->EditBox());

    // Removing the row being renamed closes its box unchanged.
    box->ClearFlag(FWOutlineView::kNoRename);
    box->Item(0)->Viewable_SetNodeSelected(false);
    box->Item(1)->Viewable_SetNodeSelected(true);
    ASSERT_TRUE(key(*box, 13));
    box->RemoveItem(1);
    EXPECT_EQ(nullptr, box->EditBox());
    EXPECT_FALSE(key(*box, 13));
}

TEST_F(OutlineTest, DraggedRowsMoveAfterTheTargetInDisplayOrder)
{
    struct Case {
        int fromSlot;
        int toSlot, toBelow; // the point: a row and how far below its top
        const char* order;
        bool moved;
    } cases[] = {
        {3, 6, 12, "1 2 4 5 6 0 3 7 8 9 ", true},  // lower half of row 6: after it
        {0, 6, 3, "1 2 4 5 0 3 6 7 8 9 ", true},   // upper half: after the row above
        {3, 3, 12, "0 1 2 3 4 5 6 7 8 9 ", false}, // onto a dragged row
    };
    for (const Case& c : cases) {
        ListBox* box = addListBox(0);
        box->AddVScroller();
        for (int i = 1; i < 10; ++i)
            box->AddLast(FWStr<15>(std::to_string(i).c_str()), i, nullptr);
        // The head item is made last, so memory order differs from display order.
        box->InsertItem(0, 0, FWStr<15>("0"), nullptr);
        box->Item(0)->Viewable_SetNodeSelected(true);
        box->Item(3)->Viewable_SetNodeSelected(true);
        window.events.clear();
        const int h = box->RowAt(c.toSlot).textRect.left + 3;
        gesture(*box, onName(*box, c.fromSlot), {onRow(*box, c.toSlot, h, 5), onRow(*box, c.toSlot, h, c.toBelow)});
        EXPECT_EQ(c.order, order(*box)) << c.fromSlot << " to " << c.toSlot;
        EXPECT_EQ(c.moved, !window.events.empty() && window.events.back().first == FWOutlineView::kEventMoved);
        EXPECT_EQ(box->First(), box->FirstRoot());
        EXPECT_EQ(box->First(), box->RowAt(0).node);
    }
}

TEST_F(OutlineTest, MarqueeRestoresRowsItLeavesAndColumnsPaintByDragging)
{
    ListBox* box = addListBox(10);
    draw();
    const FWRect content = box->get_content_rect();
    const int names = box->RowAt(0).textRect.left + 5;
    gesture(*box, onRow(*box, 1, content.right - 3),
            {onRow(*box, 4, names), onRow(*box, 2, names)});
    std::string selected;
    for (int i = 0; i < 6; ++i)
        selected += box->Item(i)->Viewable_NodeSelected() ? "x" : ".";
    EXPECT_EQ(".xx...", selected);
    EXPECT_EQ(FWOutlineView::kEventSelectionChanged, window.events.back().first);

    // The visibility column: the first row's new state painted on each row passed, once.
    const int column = box->calc_row_left(false) + 7;
    window.events.clear();
    gesture(*box, onRow(*box, 0, column),
            {onRow(*box, 1, column), onRow(*box, 2, column), onRow(*box, 3, column), onRow(*box, 4, column),
             onRow(*box, 1, column)});
    std::string visible;
    for (int i = 0; i < 6; ++i)
        visible += box->Item(i)->Viewable_Visibility() ? "v" : ".";
    EXPECT_EQ(".....v", visible);
    EXPECT_EQ(5u, window.events.size());

    // The lock column: option applies to the subtree and reports no node.
    box->ClearFlag(FWOutlineView::kNoLockColumn);
    box->RefreshView();
    for (uint16_t modifiers : {uint16_t(0), uint16_t(kFWOptionKey)}) {
        window.events.clear();
        gesture(*box, onRow(*box, 6, box->calc_row_left(false) + 7), {}, modifiers);
        const FWViewableNode* expected = modifiers != 0 ? nullptr : box->Item(6);
        EXPECT_EQ((std::vector<std::pair<int32_t, FWViewableNode*>>{{2, const_cast<FWViewableNode*>(expected)}}),
                  window.events);
    }
    EXPECT_FALSE(box->Item(6)->Viewable_IsLocked());
}

namespace {

// Notes which arrow image is fetched when, collapsing repeats; every arrow image exists.
class RecordingOutline : public FWOutlineView {
public:
    const ImageBuffer* GetSIcon(long index) const override
    {
        if (recording && (fetched.empty() || fetched.back().first != index))
            fetched.push_back({index, FWTickCount()});
        return index >= 0 && index <= 4 ? &arrow : FWOutlineView::GetSIcon(index);
    }
    const FWRect size{0, 0, 12, 12};
    ImageBuffer arrow{&size, kImageBufferDepth32};
    mutable std::vector<std::pair<long, uint32_t>> fetched;
    bool recording = false;
};

} // namespace

TEST_F(OutlineTest, TwistDownArrowsFollowThePointerAndAnimate)
{
    TestNode r1("R1"), a("A", &r1), b("B", &r1), c("C", &b), r2("R2");
    r2.Follow(&r1);
    auto* view = new RecordingOutline;
    const FWRect rect(10, 10, 210, 214);
    view->Init(&window, &rect, 0);
    window.ViewMngr().GetViewTree()->AppendChild(view);
    view->SetFirstRoot(&r1);
    draw();
    const FWRect arrow = view->get_arrow_rect(FWPoint(int16_t(view->calc_row_left(true)), int16_t(view->calc_row_top(0))));
    const FWPoint inside(int16_t(arrow.left + 5), int16_t(arrow.top + 5));
    const FWPoint outside(int16_t(arrow.right + 30), inside.v);
    struct Case {
        std::vector<FWPoint> moves;
        std::vector<long> frames;
        int total;
    } cases[] = {
        {{}, {2, 4, 3, 1}, 2},                // closes: pressed open, then half, closed pressed, closed
        {{}, {3, 4, 2, 0}, 5},                // opens
        {{outside}, {2, 0}, 5},               // released outside: pressed, then back to normal
        {{outside, inside}, {2, 0, 2, 4, 3, 1}, 2},
    };
    for (const Case& k : cases) {
        view->fetched.clear();
        view->recording = true;
        HostInjectMouseDown(global(inside));
        for (FWPoint move : k.moves)
            HostInjectMouseMove(global(move));
        HostInjectMouseUp(global(k.moves.empty() ? inside : k.moves.back()));
        EventRecord record;
        while (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what != mouseDown) {
        }
        FWEvent event = press(inside);
        view->MouseDownEvent(event);
        view->recording = false;
        std::vector<long> frames;
        for (const auto& [icon, tick] : view->fetched)
            frames.push_back(icon);
        EXPECT_EQ(k.frames, frames);
        EXPECT_EQ(k.total, view->DisplayTotal());
        if (k.frames.size() >= 3) {
            const auto& f = view->fetched;
            const size_t n = f.size();
            EXPECT_GE(f[n - 1].second - f[n - 2].second, 3u);
            EXPECT_GE(f[n - 2].second - f[n - 3].second, 3u);
        }
    }
}

TEST_F(OutlineTest, PanningScrollsBothAxesAndAutoscrollStepsTowardThePointer)
{
    std::vector<std::unique_ptr<TestNode>> nodes;
    for (int i = 0; i < 40; ++i) {
        nodes.push_back(std::make_unique<TestNode>("a name far wider than the outline view's content area"));
        if (i > 0)
            nodes.back()->Follow(nodes[size_t(i - 1)].get());
    }
    auto* view = new FWOutlineView;
    const FWRect rect(10, 10, 210, 214);
    view->Init(&window, &rect, FWOutlineView::kNoRowNumbers);
    window.ViewMngr().GetViewTree()->AppendChild(view);
    view->SetFirstRoot(nodes.front().get());
    draw();
    ASSERT_GT(view->HScroller()->ScrollMax(), 30);

    ProgrammerMessageRecorder messages;
    HostInjectKeyDown(49, ' ');
    HostTakeInjectedInput();
    gesture(*view, FWPoint(100, 100), {FWPoint(90, 80), FWPoint(70, 60)});
    HostInjectKeyUp(49, ' ');
    HostTakeInjectedInput();
    EXPECT_EQ(30, view->HScroller()->ScrollVal());
    EXPECT_EQ(40, view->VScroller()->ScrollVal());
    EXPECT_EQ((40 - 3) / 19, view->TopRow());
    EXPECT_TRUE(messages.Messages().empty());

    // Two pixels just past an edge, a row further out; none at the limit.
    const FWRect content = view->get_content_rect();
    struct Case {
        FWPoint at;
        int dh, dv;
    } cases[] = {
        {FWPoint(100, int16_t(content.bottom + 5)), 0, 2},
        {FWPoint(100, int16_t(content.bottom + 12)), 0, 19},
        {FWPoint(int16_t(content.left - 1), 100), -2, 0},
        {FWPoint(int16_t(content.left - 20), int16_t(content.top - 20)), -19, -19},
    };
    for (const Case& c : cases) {
        view->HScroller()->SetScrollVal(30);
        view->VScroller()->SetScrollVal(40);
        view->ScrollView(0, 0, false);
        FWPoint delta;
        view->autoscroll(c.at, content, delta);
        EXPECT_EQ(c.dh, delta.h);
        EXPECT_EQ(c.dv, delta.v);
        EXPECT_EQ(40 + c.dv, view->VScroller()->ScrollVal());
    }
    view->VScroller()->SetScrollVal(0);
    EXPECT_FALSE(view->needs_autoscroll(FWPoint(100, content.top), content));
}

TEST_F(OutlineTest, DeletingOnlyGathersTheTopmostSelectedNodes)
{
    TestNode r1("R1"), a("A", &r1), b("B", &r1), c("C", &b), r2("R2");
    r2.Follow(&r1);
    FWOutlineView view;
    const FWRect rect(10, 10, 210, 214);
    view.Init(&window, &rect, 0);
    view.SetFirstRoot(&r1);
    EXPECT_FALSE(view.CanClear());
    b.mOpen = false;
    for (TestNode* n : {&b, &c, &r2})
        n->mSelected = true;
    EXPECT_TRUE(view.CanClear());
    EXPECT_EQ((std::vector<FWViewableNode*>{&b, &r2}), view.delete_selection());
    view.RefreshView();
    EXPECT_EQ(4, view.DisplayTotal()); // nothing was removed
}
