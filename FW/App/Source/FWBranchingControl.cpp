// Paged containers: the page set, the active page, and the control's stored record
// (version byte, the view record, the page total, and the active page's reference in a nested
// chunk of its own).
#include "FWBranchingControl.h"

#include "BranchItem.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "SerialStream.h"

#include <cstdint>
#include <vector>

namespace {

const char* const kControlSource = "FW/App/Source/FWControl";

} // namespace

BranchItem* FWBranchingControl::FindBranch(int index)
{
    if (index < 0)
        return nullptr;
    FWView* child = FirstChild();
    for (int i = 0; i < index && child != nullptr; ++i) {
        if (dynamic_cast<BranchItem*>(child) == nullptr)
            return nullptr;
        child = child->NextPeer();
    }
    return dynamic_cast<BranchItem*>(child);
}

int FWBranchingControl::SetActiveBranch(int index)
{
    if (index == mActiveBranchIndex)
        return index;
    BranchItem* branch = FindBranch(index);
    if (branch == nullptr)
        return 0;
    if (mActiveBranch != nullptr)
        mActiveBranch->SetVisibility(false);
    mActiveBranch = branch;
    branch->SetVisibility(true);
    mActiveBranchIndex = index;
    return index;
}

void FWBranchingControl::SetBranchTotal(int total)
{
    for (int32_t i = mBranchTotal; i < total; ++i) {
        auto* page = new BranchItem;
        page->Init(GetWindow());
        AppendChild(page);
    }
    if (mBranchTotal > total) {
        FWView* child = firstDeletedBy(total);
        while (child != nullptr) {
            FWView* next = child->NextPeer();
            child->DeleteChildren();
            child->Unlink();
            delete child;
            child = next;
        }
    }
    mActiveBranch = dynamic_cast<BranchItem*>(FirstChild());
    mBranchTotal = total;
    ValidateBranches();
}

FWView* FWBranchingControl::firstDeletedBy(int total)
{
    // Children are counted whatever their class; a control with fewer children than the new
    // total keeps them all.
    if (mBranchTotal <= total)
        return nullptr;
    FWView* child = FirstChild();
    for (int i = 0; i < total && child != nullptr; ++i)
        child = child->NextPeer();
    return child;
}

int32_t FWBranchingControl::PlacedViewsDeletedBy(int total)
{
    int32_t placed = 0;
    std::vector<FWView*> pending;
    for (FWView* child = firstDeletedBy(total); child != nullptr; child = child->NextPeer())
        pending.push_back(child);
    while (!pending.empty()) {
        FWView* view = pending.back();
        pending.pop_back();
        if (dynamic_cast<BranchItem*>(view) == nullptr)
            ++placed;
        // The children of a view that takes none placed are its own parts.
        if (view->AllowsChildren())
            for (FWView* child = view->FirstChild(); child != nullptr; child = child->NextPeer())
                pending.push_back(child);
    }
    return placed;
}

void FWBranchingControl::ValidateBranches()
{
    mActiveBranchIndex = -1;
    if (mBranchTotal < 1)
        return;
    int32_t position = 0;
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer(), ++position) {
        auto* page = dynamic_cast<BranchItem*>(child);
        if (page == nullptr)
            break;
        page->SetRect(GetRect());
        if (page == mActiveBranch) {
            mActiveBranchIndex = position;
            page->SetVisibility(true);
        } else {
            page->SetVisibility(false);
        }
    }
}

void FWBranchingControl::SetVisibility(bool visible)
{
    FWView::SetVisibility(visible);
    if (mActiveBranch != nullptr)
        mActiveBranch->SetVisibility(visible);
}

void FWBranchingControl::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("FWBranchingControl", 1);
    FWView::OldWrite(stream);
    stream.WriteLong(mBranchTotal);
    stream.BeginClassWrite("DepReference", 1);
    stream.WriteReference(mActiveBranch);
    stream.FinishClass("DepReference", nullptr, 0);
    stream.FinishClass("FWBranchingControl", this, 0);
}

void FWBranchingControl::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("FWBranchingControl");
    FWView::OldRead(stream);
    if (version == 1) {
        mBranchTotal = stream.ReadLong();
        if (stream.Version() == 1) {
            mActiveBranch = reinterpret_cast<BranchItem*>(stream.ReadReference());
        } else if (stream.Version() == 2) {
            stream.BeginClassRead("DepReference");
            mActiveBranch = reinterpret_cast<BranchItem*>(stream.ReadReference());
            stream.FinishClass("DepReference", nullptr, 0);
        }
    } else {
        FWStoredDataNotice::Report("Unknown 'FWBranchingControl' version", kControlSource, 262);
    }
    stream.FinishClass("FWBranchingControl", this, 0);
}

void FWBranchingControl::OldResolveReferences(SerialStream& stream)
{
    FWView::OldResolveReferences(stream);
    const uintptr_t token = reinterpret_cast<uintptr_t>(mActiveBranch);
    if (stream.NeedsResolving(token))
        mActiveBranch = dynamic_cast<BranchItem*>(stream.ResolveReference(token));
    // Only a page of this control may be its active branch: a stored reference to any other
    // view would leave a pointer that outlives that view.
    if (mActiveBranch != nullptr && mActiveBranch->Parent() != this)
        mActiveBranch = nullptr;
    ValidateBranches();
}
