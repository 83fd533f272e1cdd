#include "FWList.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "GlobalSerialStream.h"
#include "ParentWindow.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <random>
#include <vector>

namespace {

// A window with an empty tree, shown, 200 x 150.
struct ViewWindow {
    FWWindow window;
    ViewWindow()
    {
        window.SetSize(200, 150);
        window.ViewMngr().Initialize(FWRect());
        window.Show();
    }
    FWView* root() { return window.ViewMngr().GetViewTree(); }
    FWView* add(FWView* parent, FWRect rect)
    {
        auto* view = new FWView;
        view->Init(&window);
        view->SetRect(rect);
        parent->AppendChild(view);
        return view;
    }
};

class RecordingHandler : public FWEventHandler {
public:
    bool MouseDownEvent(FWEvent&) override { return ++mDowns, true; }
    bool KeyDownEvent(FWEvent&) override { return ++mKeys, false; }
    bool InterfaceContextualEvent(FWView* view) override
    {
        mContextual = view;
        return true;
    }
    int mDowns = 0;
    int mKeys = 0;
    FWView* mContextual = nullptr;
};

} // namespace

TEST(FWView, PointsOnTheEdgeOrTheTopLeftCornerAreOutside)
{
    FWView v;
    v.SetRect(FWRect(10, 10, 20, 20));
    const struct {
        FWPoint p;
        bool inside;
    } cases[] = {
        {FWPoint(10, 10), false}, {FWPoint(15, 15), true},  {FWPoint(10, 15), false}, {FWPoint(20, 15), false},
        {FWPoint(15, 10), false}, {FWPoint(15, 20), false}, {FWPoint(19, 19), true},  {FWPoint(11, 11), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, v.PntInRect(&c.p)) << c.p.h << "," << c.p.v;
    EXPECT_FALSE(v.PntInRect(nullptr));
}

TEST(FWView, ParentOffsetsAddUpTheAncestors)
{
    ViewWindow w;
    FWView* outer = w.add(w.root(), FWRect(0, 0, 100, 100));
    FWView* inner = w.add(outer, FWRect(0, 0, 50, 50));
    FWView* leaf = w.add(inner, FWRect(0, 0, 10, 10));
    outer->SetOffset(FWPoint(3, 5));
    inner->SetOffset(FWPoint(1, 1));
    EXPECT_EQ(FWPoint(4, 6), leaf->GetParentOffset());
    EXPECT_EQ(FWRect(4, 6, 14, 16), leaf->GlobalRect()); // (left, top, right, bottom)
    FWPoint p(10, 10);
    leaf->WindowToView(p);
    EXPECT_EQ(FWPoint(6, 4), p);
}

TEST(FWView, InitTakesTabPositionAndNextIdFromTheManager)
{
    ViewWindow w;
    EXPECT_EQ(1000, w.root()->GetTabPos());
    EXPECT_EQ(1001, w.root()->ID());
    FWView* v = w.add(w.root(), FWRect(0, 0, 5, 5));
    EXPECT_EQ(1001, v->GetTabPos());
    EXPECT_EQ(1002, v->ID());
    EXPECT_EQ(&w.window, v->InterfaceTarget());

    FWView loose;
    loose.Init(nullptr); // no window: nothing taken
    EXPECT_EQ(0, loose.ID());
    EXPECT_EQ(nullptr, loose.InterfaceTarget());
}

TEST(FWView, VisibilityOfParentsAndWindow)
{
    ViewWindow w;
    FWView* group = w.add(w.root(), FWRect(0, 0, 100, 100));
    FWView* child = w.add(group, FWRect(0, 0, 10, 10));
    EXPECT_TRUE(child->AllParentsVisible());
    group->SetVisibility(false);
    EXPECT_FALSE(child->AllParentsVisible());
    group->SetVisibility(true);
    w.window.Hide();
    EXPECT_FALSE(child->AllParentsVisible());
}

TEST(FWView, SortTabListIsStableByPosition)
{
    FWList<FWView> list(true);
    FWView a, b, c;
    a.SetTabPos(5);
    b.SetTabPos(3);
    c.SetTabPos(3);
    for (FWView* v : {&a, &b, &c})
        list.Append(v->TabListNode(), v);
    FWView::SortTabList(&list);
    EXPECT_EQ(&b, list.First());
    EXPECT_EQ(&c, list.Next());
    EXPECT_EQ(&a, list.Next());
    EXPECT_EQ(&b, list.Next()); // circular again
    for (FWView* v : {&a, &b, &c})
        list.Remove(v->TabListNode());
}

// The order of the tab list's definition: repeatedly take the first view of the smallest
// position among those left.
std::vector<FWView*> selectionSorted(std::vector<FWView*> left)
{
    std::vector<FWView*> order;
    while (!left.empty()) {
        size_t smallest = 0;
        for (size_t i = 1; i < left.size(); ++i)
            if (left[i]->GetTabPos() < left[smallest]->GetTabPos())
                smallest = i;
        order.push_back(left[smallest]);
        left.erase(left.begin() + std::ptrdiff_t(smallest));
    }
    return order;
}

TEST(FWView, SortTabListMatchesTheSelectionOrderOnRandomListsWithTies)
{
    std::mt19937 random(28);
    for (int size : {0, 1, 2, 7, 64, 500}) {
        for (int spread : {1, 3, 1000}) {
            std::vector<std::unique_ptr<FWView>> owned;
            std::vector<FWView*> inList;
            FWList<FWView> list(true);
            for (int i = 0; i < size; ++i) {
                owned.push_back(std::make_unique<FWView>());
                FWView* view = owned.back().get();
                view->SetTabPos(int32_t(random() % unsigned(spread)) - spread / 2);
                list.Append(view->TabListNode(), view);
                inList.push_back(view);
            }
            FWView::SortTabList(&list);
            std::vector<FWView*> sorted;
            FWView* view = list.First();
            for (int i = 0; i < size; ++i, view = list.Next())
                sorted.push_back(view);
            EXPECT_EQ(selectionSorted(inList), sorted) << size << " views, " << spread << " positions";
            EXPECT_EQ(size, list.Size());
            EXPECT_EQ(size > 0 ? sorted.front() : nullptr, view); // circular again
            for (FWView* listed : inList)
                list.Remove(listed->TabListNode());
        }
    }
}

TEST(FWView, MakeDefaultAcceptMovesTheFlag)
{
    ViewWindow w;
    FWView* one = w.add(w.root(), FWRect(0, 0, 10, 10));
    FWView* two = w.add(w.root(), FWRect(20, 0, 30, 10));
    one->MakeDefaultAccept();
    two->MakeDefaultAccept();
    EXPECT_FALSE(one->DefaultAccept());
    EXPECT_TRUE(two->DefaultAccept());
    one->MakeDefaultCancel();
    EXPECT_TRUE(one->DefaultCancel());
    EXPECT_FALSE(two->DefaultCancel());
}

TEST(FWView, EventsGoToTheHandlerAndContextualClicksToTheTarget)
{
    ViewWindow w;
    FWView* v = w.add(w.root(), FWRect(0, 0, 10, 10));
    FWEvent e(kMouseDownEvent, &w.window, 0);
    EXPECT_FALSE(v->MouseDownEvent(e));
    RecordingHandler handler;
    v->SetEventHandler(&handler);
    EXPECT_TRUE(v->MouseDownEvent(e));
    EXPECT_FALSE(v->KeyDownEvent(e));
    EXPECT_EQ(1, handler.mDowns);
    EXPECT_EQ(1, handler.mKeys);

    v->SetInterfaceTarget(&handler);
    EXPECT_TRUE(v->ContextualMouseDownEvent(e));
    EXPECT_EQ(v, handler.mContextual);

    w.window.SetLocation(100, 50);
    e.mGlobalWhere = FWPoint(110, 80);
    EXPECT_EQ(&w.window, v->GetParent(e));
    EXPECT_EQ(FWPoint(110 - 100 - 3, 80 - 50 - 25), e.mWhere);
}

TEST(FWView, KeyFocusViewLeavesTheTabListWhenDeleted)
{
    ViewWindow w;
    FWView* v = w.add(w.root(), FWRect(0, 0, 10, 10));
    v->EnableKeyFocus();
    EXPECT_EQ(1, w.window.ViewMngr().GetTabList().Size());
    w.window.ViewMngr().SetKeyFocus(v);
    v->Unlink();
    delete v;
    EXPECT_EQ(0, w.window.ViewMngr().GetTabList().Size());
    EXPECT_EQ(nullptr, w.window.ViewMngr().GetKeyFocus());
}

TEST(FWView, RecordRoundTripKeepsFieldsAndStartsVisibleAndUnselected)
{
    FWView original;
    original.SetGhosted(true);
    original.SetOffset(FWPoint(7, -3));
    original.SetRect(FWRect(1, 2, 30, 40));
    original.SetDefaultAccept(true);
    original.SetStringID(FWStr<31>("name"));
    original.SetID(77);
    original.SetTabPos(12);
    original.SetVisibility(false);
    original.SetSelected(true);

    std::vector<char> bytes;
    {
        GlobalSerialStream out(nullptr, 0, GlobalSerialStream::kWriting);
        original.OldWrite(out);
        out.FinishWriting();
        bytes.assign(out.Buffer(), out.Buffer() + out.Size());
    }
    // 5 header bytes, then: version, marker, dependency version, serial ID 1, no dependants,
    // four null links, ghosted, offset, rect, accept, cancel, visible, "name", ID, tab, focus.
    ASSERT_EQ(5u + 27u + 26u + 4u, bytes.size());
    EXPECT_EQ(0, bytes[5 + 27 + 1 + 4 + 8 + 2]); // the stored visible byte

    GlobalSerialStream in(bytes.data(), uint32_t(bytes.size()), GlobalSerialStream::kReading);
    FWView copy;
    copy.OldRead(in);
    copy.OldResolveReferences(in);
    EXPECT_TRUE(copy.IsGhosted());
    EXPECT_EQ(FWPoint(7, -3), copy.GetOffset());
    EXPECT_EQ(FWRect(1, 2, 30, 40), copy.GetRect());
    EXPECT_TRUE(copy.DefaultAccept());
    EXPECT_FALSE(copy.DefaultCancel());
    EXPECT_STREQ("name", copy.GetStringID().GetCString());
    EXPECT_EQ(77, copy.ID());
    EXPECT_EQ(12, copy.GetTabPos());
    EXPECT_FALSE(copy.CanHaveFocus());
    EXPECT_TRUE(copy.Visible());
    EXPECT_FALSE(copy.IsSelected());
    EXPECT_EQ(1, copy.GetSerialID());
    EXPECT_TRUE(in.AtStreamEnd());
}

TEST(FWView, UnknownVersionIsReportedAndNoFieldIsRead)
{
    const char bytes[] = {1, 0, 0, 0, 2, /* record */ 9, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0,
                          0, 0, 0, 0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x55};
    GlobalSerialStream in(bytes, sizeof bytes, GlobalSerialStream::kReading);
    ProgrammerMessageRecorder recorder;
    FWView v;
    v.OldRead(in);
    ASSERT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ("Unknown 'FWView' version", recorder.Messages()[0].message);
    EXPECT_EQ(775, recorder.Messages()[0].line);
    EXPECT_EQ(sizeof bytes - 1, in.GetCurrPos()); // stops after the tree part
    EXPECT_TRUE(v.Visible());
}
