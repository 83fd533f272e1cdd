// The alignment commands over the selected views: edges, centre lines, edit fields and even
// vertical spacing, with the two refusals of the spacing command.
#include "EditLayout.h"
#include "EditorFixture.h"

#include "EditText.h"
#include "EditWindow.h"
#include "FWStr.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "QuillformApp.h"
#include "HostModalLoop.h"
#include "ShownMessages.h"

namespace {

void selectAll(const std::vector<FWView*>& views)
{
    for (FWView* view : views)
        view->SetSelected(true);
}

std::vector<FWRect> rectsOf(const std::vector<FWView*>& views)
{
    std::vector<FWRect> rects;
    for (FWView* view : views)
        rects.push_back(view->GetRect());
    return rects;
}

} // namespace

class AlignmentTest : public EditorFixture {
protected:
    void SetUp() override { StartApp(); }
    // Plain views of those rectangles under the root (each under the one before when nested),
    // all selected, in a new front edit window.
    std::vector<FWView*> selected(const std::vector<FWRect>& rects, bool nested = false)
    {
        mWindow = NewEditWindow();
        std::vector<FWView*> views;
        for (const FWRect& r : rects)
            views.push_back(AddView(*mWindow, ViewKind::kPlain, 0, nested && !views.empty() ? views.back() : nullptr, r));
        selectAll(views);
        return views;
    }
    void done()
    {
        mWindow->SendMessage(Dependable::IsBeingDeleted);
        delete mWindow;
    }
    EditWindow* mWindow = nullptr;
};

TEST_F(AlignmentTest, EdgesAndCentreLines)
{
    struct Case {
        const char* name;
        void (*command)(FWUserOp*);
        std::vector<FWRect> before, after;
    };
    const Case cases[] = {
        {"left", QuillformApp::align_left, {{10, 10, 100, 30}, {20, 40, 150, 60}}, {{10, 10, 100, 30}, {10, 40, 140, 60}}},
        // The smallest right edge, not the largest.
        {"right", QuillformApp::align_right, {{10, 10, 100, 30}, {20, 40, 150, 60}}, {{10, 10, 100, 30}, {-30, 40, 100, 60}}},
        {"top", QuillformApp::align_top, {{10, 25, 100, 35}, {20, 5, 150, 60}}, {{10, 5, 100, 15}, {20, 5, 150, 60}}},
        {"bottom", QuillformApp::align_bottom, {{10, 10, 100, 30}, {20, 40, 150, 60}}, {{10, 10, 100, 30}, {20, 10, 150, 30}}},
        // Centre 50: widths 20 and 40 go to lefts 40 and 30.
        {"horizontal", QuillformApp::align_horiz, {{10, 0, 30, 5}, {50, 9, 90, 15}}, {{40, 0, 60, 5}, {30, 9, 70, 15}}},
        // Centre 50; an odd height 21 goes to top 50 - 10.
        {"vertical", QuillformApp::align_vert, {{0, 10, 5, 31}, {9, 50, 15, 90}}, {{0, 40, 5, 61}, {9, 30, 15, 70}}},
    };
    for (const Case& c : cases) {
        const std::vector<FWView*> views = selected(c.before);
        c.command(nullptr);
        EXPECT_EQ(c.after, rectsOf(views)) << c.name;
        EXPECT_TRUE(mWindow->IsDirty()) << c.name;
        done();
    }
}

TEST_F(AlignmentTest, DistributionSpacesEvenlyOrRefusesAndChangesNothing)
{
    struct Case {
        const char* name;
        std::vector<FWRect> before;
        bool nested;
        std::vector<int16_t> tops; // empty: refused
        const char* message;
    };
    const Case cases[] = {
        // Area 0-110, heights 30: gap 40.
        {"spread", {{0, 0, 10, 10}, {5, 15, 10, 25}, {0, 100, 10, 110}}, false, {0, 50, 100}, nullptr},
        // Listed out of order: the topmost stays, the others follow by their tops.
        {"unordered", {{0, 100, 10, 110}, {0, 0, 10, 10}, {5, 15, 10, 25}}, false, {100, 0, 50}, nullptr},
        // Area 0-30, heights 60: gap -15.
        {"overlapping", {{0, 0, 10, 20}, {0, 5, 10, 25}, {0, 10, 10, 30}}, false, {0, 5, 10}, nullptr},
        {"one view", {{0, 0, 10, 20}}, false, {}, "Need 2 or more selected items"},
        {"a container with its child", {{0, 0, 100, 100}, {10, 10, 20, 20}}, true, {},
         "Can't align group(s) with their children"},
    };
    for (const Case& c : cases) {
        const std::vector<FWView*> views = selected(c.before, c.nested);
        QuillformApp::align_distrib(nullptr);
        if (c.tops.empty()) {
            EXPECT_EQ(c.before, rectsOf(views)) << c.name;
            EXPECT_FALSE(mWindow->IsDirty()) << c.name;
            EXPECT_EQ(std::vector<std::string>{c.message}, ShownMessageTexts()) << c.name;
            HostResetModalLoops();
        } else {
            std::vector<int16_t> tops;
            for (FWView* view : views)
                tops.push_back(view->GetRect().top);
            EXPECT_EQ(c.tops, tops) << c.name;
            EXPECT_TRUE(mWindow->IsDirty()) << c.name;
        }
        done();
    }
}

TEST_F(AlignmentTest, EditsTakeTheNarrowestFieldFlushAtTheRightmostEdge)
{
    EditWindow* window = NewEditWindow();
    auto* wide = static_cast<EditText*>(AddView(*window, ViewKind::kEditText, 1, nullptr, FWRect(10, 10, 200, 30)));
    auto* narrow = static_cast<EditText*>(AddView(*window, ViewKind::kEditText, 2, nullptr, FWRect(30, 40, 150, 60)));
    narrow->SetTitle(FWStr<63>("A longer label"));
    FWView* other = AddView(*window, ViewKind::kPlain, 3, nullptr, FWRect(0, 100, 300, 120));
    selectAll({wide, narrow, other});
    const int16_t narrowest = narrow->GetEditRect().Width();
    ASSERT_LT(narrowest, wide->GetEditRect().Width());
    const int16_t wideLabel = wide->GetEditRect().left - wide->GetRect().left;
    const int16_t narrowLabel = narrow->GetEditRect().left - narrow->GetRect().left;

    QuillformApp::align_edits(nullptr);
    for (EditText* edit : {wide, narrow}) {
        EXPECT_EQ(narrowest, edit->GetEditRect().Width());
        EXPECT_EQ(200, edit->GetEditRect().right);
        EXPECT_EQ(200, edit->GetRect().right);
    }
    // The labels stay on the left of their fields.
    EXPECT_EQ(wideLabel, wide->GetEditRect().left - wide->GetRect().left);
    EXPECT_EQ(narrowLabel, narrow->GetEditRect().left - narrow->GetRect().left);
    EXPECT_EQ(FWRect(0, 100, 300, 120), other->GetRect());
    EXPECT_TRUE(window->IsDirty());
}

TEST_F(AlignmentTest, CentringInTheContainerMovesTheSelectionAndRehomesWhatItCovers)
{
    // A layout of views, each under an earlier one (-1: the root) and perhaps selected; after
    // the command each has that rectangle and that parent. The window of 400 x 300 has a content
    // of 394 x 272 (frame 3, title 22), the root's rectangle: its middle is (197, 136).
    struct View {
        ViewKind kind;
        FWRect rect;
        int parent;
        bool selected;
    };
    struct Case {
        const char* name;
        void (*command)(FWUserOp*);
        std::vector<View> before;
        std::vector<FWRect> rects;
        std::vector<int> parents;
        bool changed = true;
    };
    const Case cases[] = {
        // Group middle 200, view middle 130: right by 70.
        {"in a group, across",
         QuillformApp::CenterInParentHoriz,
         {{ViewKind::kGroup, {100, 50, 300, 250}, -1, false}, {ViewKind::kPlain, {110, 60, 150, 80}, 0, true}},
         {{100, 50, 300, 250}, {180, 60, 220, 80}},
         {-1, 0}},
        // Group middle 150, view middle 70: down by 80.
        {"in a group, down",
         QuillformApp::CenterInParentVert,
         {{ViewKind::kGroup, {100, 50, 300, 250}, -1, false}, {ViewKind::kPlain, {110, 60, 150, 80}, 0, true}},
         {{100, 50, 300, 250}, {110, 140, 150, 160}},
         {-1, 0}},
        // Two views spanning 10-91 (middle 10 + 81 / 2 = 50) onto the root's middle 197.
        {"two at the root, across",
         QuillformApp::CenterInParentHoriz,
         {{ViewKind::kPlain, {10, 10, 30, 20}, -1, true}, {ViewKind::kPlain, {50, 40, 91, 60}, -1, true}},
         {{157, 10, 177, 20}, {197, 40, 238, 60}},
         {-1, -1}},
        // Spanning 10-60 (middle 35) onto 136.
        {"two at the root, down",
         QuillformApp::CenterInParentVert,
         {{ViewKind::kPlain, {10, 10, 30, 20}, -1, true}, {ViewKind::kPlain, {50, 40, 91, 60}, -1, true}},
         {{10, 111, 30, 121}, {50, 141, 91, 161}},
         {-1, -1}},
        // The group, with the view it holds, moves right by 177 and then covers the other view,
        // which it takes over.
        {"a group takes what it now covers",
         QuillformApp::CenterInParentHoriz,
         {{ViewKind::kGroup, {0, 0, 40, 40}, -1, true},
          {ViewKind::kPlain, {5, 5, 15, 15}, 0, false},
          {ViewKind::kPlain, {190, 10, 200, 20}, -1, false}},
         {{177, 0, 217, 40}, {182, 5, 192, 15}, {190, 10, 200, 20}},
         {-1, 0, 0}},
        {"nothing selected",
         QuillformApp::CenterInParentVert,
         {{ViewKind::kPlain, {10, 10, 30, 20}, -1, false}},
         {{10, 10, 30, 20}},
         {-1},
         false},
    };
    for (const Case& c : cases) {
        mWindow = NewEditWindow();
        std::vector<FWView*> views;
        for (const View& v : c.before) {
            views.push_back(AddView(*mWindow, v.kind, 0, v.parent < 0 ? nullptr : views[size_t(v.parent)], v.rect));
            views.back()->SetSelected(v.selected);
        }
        c.command(nullptr);
        EXPECT_EQ(c.rects, rectsOf(views)) << c.name;
        for (size_t i = 0; i < views.size(); ++i) {
            FWView* parent = c.parents[i] < 0 ? mWindow->ViewMngr().GetViewTree() : views[size_t(c.parents[i])];
            EXPECT_EQ(parent, views[i]->Parent()) << c.name << " view " << i;
        }
        EXPECT_EQ(c.changed, mWindow->IsDirty()) << c.name;
        done();
    }
}
