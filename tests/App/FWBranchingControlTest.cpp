#include "BranchItem.h"
#include "FWBranchingControl.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "ParentWindow.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts visibility calls and resize notices.
class CountingView : public FWView {
public:
    void SetVisibility(bool visible) override
    {
        ++sVisibilityCalls;
        FWView::SetVisibility(visible);
    }
    void WindowWasResized() override { sResized.push_back(this); }
    static inline int sVisibilityCalls = 0;
    static inline std::vector<FWView*> sResized;
};

class CountingRoot : public ParentWindow {
public:
    void WindowWasResized() override { CountingView::sResized.push_back(this); }
};

struct PagedWindow {
    FWWindow window;
    FWBranchingControl* control = new FWBranchingControl;
    PagedWindow()
    {
        window.SetSize(300, 200);
        window.ViewMngr().Initialize(FWRect());
        window.Show();
        control->Init(&window);
        control->SetRect(FWRect(10, 10, 110, 60));
        window.ViewMngr().GetViewTree()->AppendChild(control);
    }
    std::vector<bool> pageVisibility()
    {
        std::vector<bool> shown;
        for (FWView* c = control->FirstChild(); c != nullptr; c = c->NextPeer())
            shown.push_back(c->Visible());
        return shown;
    }
};

} // namespace

TEST(FWBranchingControl, NewControlHasNoPages)
{
    FWBranchingControl c;
    EXPECT_EQ(0, c.GetBranchTotal());
    EXPECT_EQ(-1, c.GetActiveBranchIndex());
    EXPECT_EQ(nullptr, c.FindBranch(0));
    EXPECT_TRUE(c.AllowsChildren());
    EXPECT_TRUE(c.MultiBranching());
}

TEST(FWBranchingControl, GrowingAppendsPagesAndShowsTheFirst)
{
    PagedWindow w;
    w.control->SetBranchTotal(2);
    w.control->SetActiveBranch(1);
    w.control->SetBranchTotal(4);
    EXPECT_EQ(4, w.control->GetBranchTotal());
    EXPECT_EQ(0, w.control->GetActiveBranchIndex());
    EXPECT_EQ((std::vector<bool>{true, false, false, false}), w.pageVisibility());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(FWRect(10, 10, 110, 60), w.control->FindBranch(i)->GetRect());
    EXPECT_EQ(nullptr, w.control->FindBranch(4));
    EXPECT_EQ(nullptr, w.control->FindBranch(-1));
}

TEST(FWBranchingControl, ShrinkingDeletesTrailingPagesWithTheirViews)
{
    PagedWindow w;
    w.control->SetBranchTotal(4);
    auto* onPage3 = new FWView;
    w.control->FindBranch(3)->AppendChild(onPage3);
    w.control->SetBranchTotal(2);
    EXPECT_EQ(2, w.control->ChildTotal());
    EXPECT_EQ(nullptr, w.control->FindBranch(2));
    w.control->SetBranchTotal(0);
    EXPECT_EQ(0, w.control->ChildTotal());
    EXPECT_EQ(-1, w.control->GetActiveBranchIndex());
    EXPECT_TRUE(w.control->Visible());
}

TEST(FWBranchingControl, EqualTotalStillResetsToTheFirstPage)
{
    PagedWindow w;
    w.control->SetBranchTotal(3);
    EXPECT_EQ(2, w.control->SetActiveBranch(2));
    w.control->SetBranchTotal(3);
    EXPECT_EQ(0, w.control->GetActiveBranchIndex());
    EXPECT_EQ((std::vector<bool>{true, false, false}), w.pageVisibility());
}

TEST(FWBranchingControl, ShrinkingPastFewerChildrenKeepsThemAll)
{
    PagedWindow w;
    w.control->SetBranchTotal(4);
    // The total is not kept in step with the children: 4 claimed over 2 pages.
    for (int i = 0; i < 2; ++i) {
        BranchItem* last = w.control->FindBranch(3 - i);
        last->Unlink();
        delete last;
    }
    w.control->SetBranchTotal(3);
    EXPECT_EQ(2, w.control->ChildTotal());
    EXPECT_EQ(3, w.control->GetBranchTotal());
}

TEST(FWBranchingControl, SetActiveBranchRules)
{
    PagedWindow w;
    w.control->SetBranchTotal(3);
    EXPECT_EQ(0, w.control->SetActiveBranch(7)); // no such page: nothing changes
    EXPECT_EQ(0, w.control->GetActiveBranchIndex());

    auto* counted = new CountingView;
    w.control->AppendChild(counted); // a non-page child ends the run of pages
    EXPECT_EQ(nullptr, w.control->FindBranch(3));

    CountingView::sVisibilityCalls = 0;
    EXPECT_EQ(0, w.control->SetActiveBranch(0)); // already active: no visibility call at all
    EXPECT_EQ((std::vector<bool>{true, false, false, true}), w.pageVisibility());
    EXPECT_EQ(0, CountingView::sVisibilityCalls);
}

TEST(FWBranchingControl, HidingTheControlHidesItsActivePage)
{
    PagedWindow w;
    w.control->SetBranchTotal(2);
    w.control->SetVisibility(false);
    EXPECT_EQ((std::vector<bool>{false, false}), w.pageVisibility());
    w.control->SetVisibility(true);
    EXPECT_EQ((std::vector<bool>{true, false}), w.pageVisibility());
}

TEST(ParentWindowAndBranchItem, FixedTraits)
{
    ParentWindow root;
    EXPECT_FALSE(root.Visible());
    EXPECT_TRUE(root.AllowsChildren());
    EXPECT_STREQ("ParentWindow", root.FactoryGetClassName());
    EXPECT_STREQ("Window", root.Viewable_Name().GetCString());
    BranchItem page;
    EXPECT_FALSE(page.HandlesEvents());
    EXPECT_STREQ("BranchItem", page.FactoryGetClassName());
    EXPECT_STREQ("Branch", page.Viewable_Name().GetCString());
}

TEST(ParentWindowAndBranchItem, ResizingTheRootTellsTheWholeTreeRootFirst)
{
    CountingRoot root;
    auto* a = new CountingView;
    auto* a1 = new CountingView;
    auto* b = new CountingView;
    root.AppendChild(a);
    a->AppendChild(a1);
    root.AppendChild(b);
    CountingView::sResized.clear();
    root.SetRect(FWRect(0, 0, 50, 50));
    EXPECT_EQ((std::vector<FWView*>{&root, a, a1, b}), CountingView::sResized);
    root.DeleteChildren();
}

TEST(ParentWindowAndBranchItem, TextFileSerializeLines)
{
    ParentWindow root;
    auto* first = new BranchItem;
    auto* second = new BranchItem;
    root.AppendChild(first);
    root.AppendChild(second);
    char buffer[512] = {};
    FILE* out = fmemopen(buffer, sizeof buffer, "w");
    root.TextFileSerialize(0, -1, out);
    second->TextFileSerialize(2, 0, out);
    std::fclose(out);
    EXPECT_STREQ("\t\tviewArray[0] = window->ViewMngr().GetViewTree();\n"
                 "\t\tviewArray[2] = viewArray[0]->FirstChild();\n"
                 "\t\tviewArray[2] = viewArray[2]->NextPeer();\n",
                 buffer);
    root.DeleteChildren();
}
