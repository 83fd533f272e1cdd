#include "RecomputeIDs.h"

#include "BranchItem.h"
#include "CDataPTKC.h"
#include "CItemPTKC.h"
#include "CheckBox.h"
#include "ColorButton.h"
#include "Divider.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWStr.h"
#include "Group.h"
#include "ParentWindow.h"
#include "Popup.h"
#include "PreorderTraversal.h"
#include "PushButton.h"
#include "QuillformApp.h"
#include "StaticText.h"

#include <algorithm>

namespace {

// Ranks: the order in which kinds of view are numbered. The first OK, Cancel and preview group
// are promoted to 1, 2 and 3 during evaluation.
enum Rank : int32_t {
    kRoot = 0,
    kFirstOK = 1,
    kFirstCancel = 2,
    kPreview = 3,
    kValueControl = 4,
    kPreviewGroup = 5,
    kGroup = 6,
    kOther = 7,
    kText = 8,
    kOK = 100,
    kCancel = 101,
    kPage = 200,
};

struct CViewInfo {
    FWView* view;
    int32_t rank;
    int32_t index; // position in a preorder walk of the whole tree
};

bool CompareInfo(const CViewInfo& a, const CViewInfo& b)
{
    if (a.rank != b.rank)
        return a.rank < b.rank;
    if (a.view->ID() != b.view->ID())
        return a.view->ID() < b.view->ID();
    return a.index < b.index;
}

int32_t rankOf(FWView* view)
{
    if (dynamic_cast<OKButton*>(view) != nullptr)
        return kOK;
    if (dynamic_cast<CancelButton*>(view) != nullptr)
        return kCancel;
    if (auto* group = dynamic_cast<Group*>(view))
        return group->GetStyle() == Group::kCustom ? kPreviewGroup : kGroup;
    if (dynamic_cast<ParentWindow*>(view) != nullptr)
        return kRoot;
    if (dynamic_cast<CheckBox*>(view) != nullptr || dynamic_cast<EditText*>(view) != nullptr ||
        dynamic_cast<Popup*>(view) != nullptr || dynamic_cast<ColorButton*>(view) != nullptr)
        return kValueControl;
    if (dynamic_cast<StaticText*>(view) != nullptr || dynamic_cast<Divider*>(view) != nullptr)
        return kText;
    if (dynamic_cast<BranchItem*>(view) != nullptr)
        return kPage;
    return kOther;
}

// A group that is an active custom item of the window's shader interface counts as a value
// control; only the shader layout has that interface.
bool activeCustomShaderItem(EditWindow* window, FWView* view)
{
    const CDataPTKC* data = window->GetShaderData();
    return data != nullptr && data->IsActiveCustom(view);
}

// Orders the layout's views canonically. Answers whether the current ids differ from that order;
// records holds the views in it, so a view's new id is its position.
bool evaluate(EditWindow* window, std::vector<CViewInfo>& records, std::vector<RECOMPUTE_IDS::CItemInfo>* items,
              const FWView** special)
{
    special[0] = special[1] = special[2] = nullptr;
    PreorderTraversal<FWView> walk(window->ViewMngr().GetViewTree(), false);
    int32_t index = 0;
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        records.push_back(CViewInfo{view, rankOf(view), index++});
    std::sort(records.begin(), records.end(), CompareInfo);

    for (CViewInfo& record : records) {
        if (record.rank == kOK) {
            record.rank = special[0] == nullptr ? kFirstOK : kOther;
            if (record.rank == kFirstOK)
                special[0] = record.view;
        } else if (record.rank == kCancel) {
            record.rank = special[1] == nullptr ? kFirstCancel : kOther;
            if (record.rank == kFirstCancel)
                special[1] = record.view;
        } else if (record.rank == kPreviewGroup && special[2] == nullptr) {
            record.rank = kPreview;
            special[2] = record.view;
        }
        if ((record.rank == kPreview || record.rank == kPreviewGroup || record.rank == kGroup) &&
            activeCustomShaderItem(window, record.view))
            record.rank = kValueControl;
    }
    std::sort(records.begin(), records.end(), CompareInfo);

    bool needed = false;
    int32_t rootID = -1;
    int32_t minID = 1000000, maxID = -1000000;
    for (size_t position = 0; position < records.size(); ++position) {
        const CViewInfo& record = records[position];
        const int32_t id = record.view->ID();
        if (record.rank == kRoot)
            rootID = id;
        else if (record.rank < kPreviewGroup && id != int32_t(position))
            needed = true;
        if (record.rank >= kFirstOK && record.rank < kPage) {
            if (items != nullptr)
                items->emplace_back(record.view, record.rank);
            minID = std::min(minID, id);
            maxID = std::max(maxID, id);
        }
    }
    // A root numbered among the other views would be found in their place.
    if (rootID != 0 && rootID >= minID && rootID <= maxID)
        needed = true;
    if (!needed && items != nullptr)
        std::sort(items->begin(), items->end(), RECOMPUTE_IDS::CompareItems);
    return needed;
}

} // namespace

namespace RECOMPUTE_IDS {

const FWString& CItemInfo::GetName() const
{
    static const FWStr<31> sPreview("Preview");
    if (mRank == kPreview)
        return sPreview;
    return mView->Viewable_Name();
}

bool CItemInfo::ActivePTKC() const
{
    return mItem != nullptr && !mItem->IsCustomNone();
}

bool CompareItems(const CItemInfo& a, const CItemInfo& b)
{
    return a.mView->ID() < b.mView->ID();
}

bool NeedRecomputeIDs(EditWindow* window, std::vector<CItemInfo>& items, const FWView** special)
{
    std::vector<CViewInfo> records;
    return evaluate(window, records, &items, special);
}

void RecomputeIDs(EditWindow* window)
{
    std::vector<CViewInfo> records;
    const FWView* special[3];
    if (!evaluate(window, records, nullptr, special))
        return;
    for (size_t position = 0; position < records.size(); ++position)
        records[position].view->SetID(int32_t(position));
    window->ViewMngr().SetCounterID(int32_t(records.size()) - 1);
}

} // namespace RECOMPUTE_IDS

void QuillformApp::recompute_IDs(FWUserOp*)
{
    EditWindow* window = Instance()->GetFrontEditWindow();
    if (window == nullptr)
        return;
    RECOMPUTE_IDS::RecomputeIDs(window);
    window->Inval(nullptr);
    window->SetDirty(true);
}
