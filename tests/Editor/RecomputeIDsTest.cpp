// Renumbering a layout's views in canonical order, and when it is needed.
#include "EditLayout.h"
#include "EditorFixture.h"

#include "EditWindow.h"
#include "FWView.h"
#include "Group.h"
#include "PreorderTraversal.h"
#include "QuillformApp.h"
#include "RecomputeIDs.h"

namespace {

using K = ViewKind;

struct Placed {
    K kind;
    int32_t id;
};

std::vector<int32_t> idsInPreorder(EditWindow& window)
{
    std::vector<int32_t> ids;
    PreorderTraversal<FWView> walk(window.ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        ids.push_back(view->ID());
    return ids;
}

} // namespace

class RecomputeIDsTest : public EditorFixture {
protected:
    void SetUp() override { StartApp(); }
    // A layout of the views under the root, in that order.
    EditWindow* layout(int32_t rootID, const std::vector<Placed>& views)
    {
        EditWindow* window = NewEditWindow();
        window->ViewMngr().GetViewTree()->SetID(rootID);
        for (const Placed& p : views)
            AddView(*window, p.kind, p.id);
        return window;
    }
};

TEST_F(RecomputeIDsTest, WhenRenumberingIsNeededAndTheOrderItGives)
{
    struct Case {
        const char* name;
        int32_t rootID;
        std::vector<Placed> views;
        bool needed;
        std::vector<int32_t> after; // root first, then the views in preorder
    };
    const Case cases[] = {
        {"in order", 0, {{K::kOK, 1}, {K::kCancel, 2}, {K::kPreviewGroup, 3}, {K::kEditText, 4}, {K::kEditText, 5}},
         false, {0, 1, 2, 3, 4, 5}},
        {"OK and Cancel swapped", 0, {{K::kOK, 2}, {K::kCancel, 1}, {K::kEditText, 3}}, true, {0, 1, 2, 3}},
        {"a static text never triggers", 0, {{K::kOK, 1}, {K::kStaticText, 2}}, false, {0, 1, 2}},
        {"root outside the others' range", 1000, {{K::kOK, 1}, {K::kCancel, 2}, {K::kPushButton, 9}}, false,
         {1000, 1, 2, 9}},
        {"root inside the others' range", 5, {{K::kOK, 1}, {K::kCancel, 2}, {K::kStaticText, 9}}, true, {0, 1, 2, 3}},
        {"no OK button: Cancel gets 1", 0, {{K::kCheckBox, 1}, {K::kCancel, 7}}, true, {0, 2, 1}},
        // Ranks: first OK, first Cancel, first style-5 group; value controls; further style-5
        // groups; other groups; other controls (with further OK buttons); texts and dividers.
        // Within a rank the old ids decide.
        {"every rank",
         50,
         {{K::kStaticText, 3}, {K::kPushButton, 9}, {K::kCheckBox, 20}, {K::kGroup, 1}, {K::kEditText, 7},
          {K::kOK, 30}, {K::kOK, 2}, {K::kCancel, 40}, {K::kPreviewGroup, 8}, {K::kPreviewGroup, 6},
          {K::kDivider, 4}, {K::kPopup, 11}},
         true,
         {0, 11, 9, 6, 8, 4, 10, 1, 2, 7, 3, 12, 5}},
    };
    for (const Case& c : cases) {
        EditWindow* window = layout(c.rootID, c.views);
        std::vector<RECOMPUTE_IDS::CItemInfo> items;
        const FWView* special[3];
        EXPECT_EQ(c.needed, RECOMPUTE_IDS::NeedRecomputeIDs(window, items, special)) << c.name;
        EXPECT_EQ(c.views.size(), items.size()) << c.name;
        RECOMPUTE_IDS::RecomputeIDs(window);
        EXPECT_EQ(c.after, idsInPreorder(*window)) << c.name;
        if (c.needed) {
            EXPECT_EQ(int32_t(c.views.size()) + 1, window->ViewMngr().GetNextID()) << c.name;
        }
        EXPECT_FALSE(RECOMPUTE_IDS::NeedRecomputeIDs(window, items, special)) << c.name;
        window->SendMessage(Dependable::IsBeingDeleted);
        delete window;
    }
}

TEST_F(RecomputeIDsTest, ALayoutInOrderListsItsItemsByIdWithTheSpecialViews)
{
    EditWindow* window = layout(0, {{K::kEditText, 5}, {K::kPreviewGroup, 3}, {K::kCancel, 2}, {K::kOK, 1},
                                    {K::kEditText, 4}});
    FWView* group = window->ViewMngr().GetView(3);
    static_cast<Group*>(group)->SetBranchTotal(1); // a page, which is no item
    std::vector<RECOMPUTE_IDS::CItemInfo> items;
    const FWView* special[3];
    ASSERT_FALSE(RECOMPUTE_IDS::NeedRecomputeIDs(window, items, special));
    std::vector<int32_t> ids;
    for (const RECOMPUTE_IDS::CItemInfo& item : items)
        ids.push_back(item.mView->ID());
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3, 4, 5}), ids);
    EXPECT_EQ(window->ViewMngr().GetView(1), special[0]);
    EXPECT_EQ(window->ViewMngr().GetView(2), special[1]);
    EXPECT_EQ(group, special[2]);
    EXPECT_STREQ("Preview", items[2].GetName().GetCString());

    // The command marks the window changed even when nothing was renumbered.
    QuillformApp::recompute_IDs(nullptr);
    EXPECT_TRUE(window->IsDirty());
}
