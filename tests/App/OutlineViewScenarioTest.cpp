// A list box of fifty items and a tree in an outline view, used through the event loop the way a
// user does: clicks, a shift-click, dragging two rows elsewhere, renaming a row by typing, the
// scroll bar's thumb and Page Down, and a twist-down arrow, each checked in the window's pixels.
#include "FWAppColor.h"
#include "FWDynamicString.h"
#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "FWOutlineView.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostScreen.h"
#include "ListBox.h"
#include "Scroller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A tree node with its children in order, expanded unless collapsed.
class Node : public FWViewableNode {
public:
    Node(const char* name, Node* parent, Node* previous) : mName(name), mParent(parent)
    {
        if (previous != nullptr)
            previous->mNext = this;
        else if (parent != nullptr)
            parent->mFirst = this;
    }
    const FWString& Viewable_Name() const override { return mName; }
    FWViewableNode* Viewable_NextPeer() override { return mNext; }
    FWViewableNode* Viewable_FirstChild() override { return mFirst; }
    FWViewableNode* Viewable_Parent() override { return mParent; }
    bool Viewable_SubtreeVisible() const override { return mOpen; }
    void Viewable_SetSubtreeVisible(bool open) override { mOpen = open; }

private:
    FWDynamicString mName;
    Node* mParent;
    Node* mNext = nullptr;
    Node* mFirst = nullptr;
    bool mOpen = true;
};

class LogWindow : public FWWindow {
public:
    bool InterfaceEvent(FWView* view) override
    {
        if (auto* outline = dynamic_cast<FWOutlineView*>(view))
            codes.push_back(outline->Event());
        return true;
    }
    std::vector<int32_t> codes;
};

class OutlineViewScenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        FWSetColorScheme();
        window.Initialize(nullptr, FWRect(100, 100, 500, 400));
        window.Show();
    }
    void TearDown() override { window.SendMessage(Dependable::IsBeingDeleted); }
    // Runs the event loop until every injected input has been handled, then updates the screen.
    void pump()
    {
        while (HostPendingInjectedCount() > 0 || HostQueuedEventCount() > 0) {
            FWEvent event;
            FWEventManager::Instance()->GetSystemEvent(event, false);
            FWEventDispatcher::Instance()->Dispatch(event);
        }
        FWEventDispatcher::UpdateWindow(&window);
        HostComposeScreen();
    }
    Point global(FWPoint local)
    {
        window.WindowToGlobal(&local);
        return Point{local.v, local.h};
    }
    void drag(FWPoint from, FWPoint to, EventModifiers modifiers = 0)
    {
        HostInjectMouseDown(global(from), modifiers);
        HostInjectMouseMove(global(FWPoint(from.h, int16_t((from.v + to.v) / 2))));
        HostInjectMouseMove(global(to));
        HostInjectMouseUp(global(to));
        pump();
    }
    void type(const char* keys)
    {
        for (const char* c = keys; *c != 0; ++c)
            HostInjectKey(0, uint8_t(*c));
        pump();
    }
    // Pixels of a window rectangle that are near black.
    int dark(const FWRect& r)
    {
        int count = 0;
        for (int v = r.top; v < r.bottom; ++v)
            for (int h = r.left; h < r.right; ++h) {
                FWPoint p{int16_t(h), int16_t(v)};
                window.WindowToGlobal(&p);
                count += (HostScreenPixel(Point{p.v, p.h}) & 0xFFFFFF) < 0x303030;
            }
        return count;
    }

    HostDesktopScope desk;
    LogWindow window;
};

std::string firstIDs(ListBox& box, int count)
{
    std::string out;
    for (ListBoxItem* item = box.First(); item != nullptr && count-- > 0; item = box.Next())
        out += std::to_string(item->ID()) + " ";
    return out;
}

} // namespace

TEST_F(OutlineViewScenario, AListOfFiftyItemsIsSelectedReorderedRenamedAndScrolled)
{
    auto* box = new ListBox;
    box->Init(&window, FWRect(10, 10, 210, 214));
    window.ViewMngr().GetViewTree()->AppendChild(box);
    for (int i = 0; i < 50; ++i)
        box->AddLast(FWStr<15>(("item " + std::to_string(i)).c_str()), i, nullptr);
    box->AddVScroller();
    box->ScrollToNode(box->Item(0), false); // as the dialogs do once their list is filled
    pump();
    auto onName = [box](int slot) {
        const FWRect& r = box->RowAt(slot).textRect;
        return FWPoint(int16_t(r.left + 3), int16_t(r.top + 5));
    };
    // A selected name is white on black: its rectangle is mostly dark.
    auto looksSelected = [&](int slot) {
        const FWRect& r = box->RowAt(slot).textRect;
        return dark(r) * 2 > r.Width() * r.Height();
    };

    // A list box takes a control-click as a plain click.
    HostInjectClick(global(onName(0)), controlKey);
    pump();
    EXPECT_TRUE(box->Item(0)->Viewable_NodeSelected());
    HostInjectClick(global(onName(2)));
    HostInjectClick(global(onName(4)), shiftKey);
    pump();
    EXPECT_EQ((std::vector<bool>{false, false, true, false, true}),
              (std::vector<bool>{looksSelected(0), looksSelected(1), looksSelected(2), looksSelected(3), looksSelected(4)}));

    // The two rows dropped on the lower half of row 8 follow it, in their display order.
    window.codes.clear();
    drag(onName(4), FWPoint(onName(8).h, int16_t(box->calc_row_top(8) + 13)));
    EXPECT_EQ("0 1 3 5 6 7 8 2 4 9 ", firstIDs(*box, 10));
    ASSERT_FALSE(window.codes.empty());
    EXPECT_EQ(FWOutlineView::kEventMoved, window.codes.back());
    EXPECT_TRUE(looksSelected(7));
    EXPECT_TRUE(looksSelected(8));
    EXPECT_FALSE(looksSelected(4));

    // Renaming: a click on another row leaves it alone selected, Return opens the box, and
    // typing replaces the name.
    HostInjectClick(global(onName(6)));
    HostInjectKey(36, 13);
    pump();
    ASSERT_NE(nullptr, box->EditBox());
    type("Moved");
    HostInjectKey(36, 13);
    pump();
    EXPECT_EQ(nullptr, box->EditBox());
    EXPECT_STREQ("Moved", box->Item(6)->Viewable_Name().GetCString());
    EXPECT_EQ(8, box->Item(6)->ID());
    EXPECT_EQ(FWOutlineView::kEventRenamed, window.codes.back());

    // The thumb dragged down, then Page Down.
    Scroller* bar = box->VScroller();
    FWRect thumb;
    bar->GetThumbRect(&thumb);
    const FWPoint grip(int16_t((thumb.left + thumb.right) / 2), int16_t(thumb.top + 3));
    drag(grip, FWPoint(grip.h, int16_t(grip.v + 30)));
    const int32_t dragged = bar->ScrollVal();
    EXPECT_GT(dragged, 0);
    EXPECT_EQ((dragged - 3) / 19, box->TopRow());
    HostInjectKey(121, 12);
    pump();
    EXPECT_EQ(std::min(dragged + 200 - 16, bar->ScrollMax()), bar->ScrollVal());
    EXPECT_EQ((bar->ScrollVal() - 3) / 19, box->TopRow());
    EXPECT_EQ(box->Item(box->TopRow() + 1), box->RowAt(1).node);
    // The rows shown are the rows scrolled to: dark text on the light background.
    const FWRect text = box->RowAt(1).textRect;
    EXPECT_GT(dark(text), 5);
    EXPECT_LT(dark(text) * 2, text.Width() * text.Height());
}

TEST_F(OutlineViewScenario, ATreeCollapsesAndExpandsAtItsArrow)
{
    Node r1("R1", nullptr, nullptr), a("A", &r1, nullptr), b("B", &r1, &a), c("C", &b, nullptr);
    Node r2("R2", nullptr, &r1);
    auto* view = new FWOutlineView;
    const FWRect rect(10, 10, 210, 214);
    view->Init(&window, &rect, FWOutlineView::kNoRowNumbers);
    window.ViewMngr().GetViewTree()->AppendChild(view);
    view->SetFirstRoot(&r1);
    pump();
    const FWRect thirdRow = view->RowAt(2).textRect; // "B"
    EXPECT_GT(dark(thirdRow), 5);
    const FWRect arrow =
        view->get_arrow_rect(FWPoint(int16_t(view->calc_row_left(true)), int16_t(view->calc_row_top(0))));
    const FWPoint at(int16_t(arrow.left + 5), int16_t(arrow.top + 5));
    struct Step {
        int total;
        bool thirdRowShown;
    } steps[] = {{2, false}, {5, true}};
    for (const Step& step : steps) {
        HostInjectClick(global(at));
        pump();
        EXPECT_EQ(step.total, view->DisplayTotal());
        EXPECT_EQ(step.thirdRowShown, dark(thirdRow) > 5);
    }
}
