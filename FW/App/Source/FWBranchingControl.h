// A container whose children are pages (BranchItems), of which one, the active branch, is
// shown at a time. The base of the group box and the tab control.
#pragma once

#include "FWView.h"

class BranchItem;

class FWBranchingControl : public FWView {
public:
    FWBranchingControl() = default;

    int32_t GetBranchTotal() const { return mBranchTotal; }
    // 0-based among the leading run of pages; -1 for none.
    int32_t GetActiveBranchIndex() const { return mActiveBranchIndex; }
    // The page at that position of the children, or null (past the end or not a page).
    BranchItem* FindBranch(int index);
    // Shows page index and hides the one shown; an index with no page changes nothing and
    // answers 0. Answers the index now active.
    int SetActiveBranch(int index);
    // Adds pages at the end or deletes the children from position total on (with the views on
    // them); then the first page is shown.
    void SetBranchTotal(int total);
    // How many views placed on the control SetBranchTotal(total) would delete: every view of what
    // goes but the pages (a nested control's too) and the parts of views that take no children.
    int32_t PlacedViewsDeletedBy(int total);
    // Every leading page takes the control's rectangle; only the active one is visible.
    void ValidateBranches();

    // Hiding or showing the control hides or shows its active page too.
    void SetVisibility(bool visible) override;
    void OldRead(SerialStream& stream) override;
    void OldResolveReferences(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool AllowsChildren() const override { return true; }
    bool MultiBranching() const override { return true; }

private:
    // The first child SetBranchTotal(total) deletes; null when it deletes none.
    FWView* firstDeletedBy(int total);

    int32_t mBranchTotal = 0;
    int32_t mActiveBranchIndex = -1;
    // Between reading and resolution it holds the stored reference's token.
    BranchItem* mActiveBranch = nullptr;
};
