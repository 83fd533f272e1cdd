// Canonical view ids for a layout: the root 0, the first OK button 1, the first Cancel button 2,
// the preview group 3, then the value controls, the other groups, the other controls, the texts
// and dividers and last the pages, each kind in the order of its current ids. Code that drives a
// layout finds its controls by these ids.
#pragma once

#include <cstdint>
#include <vector>

class CItemPTKC;
class EditWindow;
class FWString;
class FWView;

namespace RECOMPUTE_IDS {

// A numbered view as the shader interface lists it.
struct CItemInfo {
    CItemInfo(FWView* view, int32_t rank) : mView(view), mRank(rank) {}

    // The view has a shader item that is in use.
    bool ActivePTKC() const;
    // "Preview" for the preview group, else the view's display name.
    const FWString& GetName() const;

    FWView* mView;
    int32_t mRank;
    // The view's shader item; null until the shader interface fills it in.
    CItemPTKC* mItem = nullptr;
};

// By the views' current ids, ascending.
bool CompareItems(const CItemInfo& a, const CItemInfo& b);

// Renumbers the window's layout when it is not in canonical order; then the next new view gets
// the number after the last. A layout already in order is left alone.
void RecomputeIDs(EditWindow* window);

// True when the layout is not in canonical order. items gets every view but the root and the
// pages (sorted by CompareItems when the answer is false); special[0..2] the first OK button,
// the first Cancel button and the preview group, each null when absent.
bool NeedRecomputeIDs(EditWindow* window, std::vector<CItemInfo>& items, const FWView** special);

} // namespace RECOMPUTE_IDS
