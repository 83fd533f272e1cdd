// Edit mode's mouse work in an edit window: selecting by click, Shift and rubber band, moving and
// duplicating the selection, resizing one view by its handles, all tracked with XOR outlines and
// snapped to the grid; after every move each view is put into the deepest container holding it.
#include "EditWindow.h"

#include "BranchItem.h"
#include "CDataPTKC.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEvent.h"
#include "FWPlatformUtils.h"
#include "FWViewMngr.h"
#include "ParentWindow.h"
#include "PreorderTraversal.h"
#include "QuillformApp.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

constexpr int16_t kHandle = 5;
// A moved selection stops this far inside the content.
constexpr int16_t kMargin = 2;

bool isBranch(const FWView* view)
{
    return dynamic_cast<const BranchItem*>(view) != nullptr;
}

bool isRoot(const FWView* view)
{
    return dynamic_cast<const ParentWindow*>(view) != nullptr;
}

int16_t snap(int16_t c, int32_t grid)
{
    const int32_t r = c % grid; // truncating: the sign of c
    return int16_t(r >= grid - r ? c + (grid - r) : c - r);
}

// The move d along one axis of what spans low to high, held where 16-bit coordinates reach: a
// view carried past their end would wrap round and be stored inverted.
int32_t withinCoordinates(int32_t d, int32_t low, int32_t high)
{
    return std::clamp<int32_t>(d, INT16_MIN - low, INT16_MAX - high);
}

// The move d along one axis of a selection spanning low to high, in content spanning lowEdge to
// highEdge: a side of the selection within the content stops kMargin inside the edge it would
// cross. A side already beyond its edge (a view stored outside the window's area) follows the
// pointer: stopping it there would throw the selection across the window.
int32_t stopInside(int32_t d, int32_t low, int32_t high, int32_t lowEdge, int32_t highEdge)
{
    if (low >= lowEdge && low + d < lowEdge)
        d = lowEdge - low + kMargin;
    if (high <= highEdge && high + d > highEdge)
        d = highEdge - high - kMargin;
    return withinCoordinates(d, low, high);
}

// A band taken to an edge of the content reaches on past that edge, so that views stored beyond
// the window's area can be selected, and then moved back with the arrow keys or a drag.
FWRect reachPastEdges(FWRect band, const FWRect& content)
{
    if (band.left <= content.left + 1)
        band.left = INT16_MIN;
    if (band.top <= content.top + 1)
        band.top = INT16_MIN;
    if (band.right >= content.right - 1)
        band.right = INT16_MAX;
    if (band.bottom >= content.bottom - 1)
        band.bottom = INT16_MAX;
    return band;
}

// Draws an outline in the context's XOR pen and shows it at once; drawing the same outline
// again erases it.
void xorFrame(FWDrawContext& context, const FWRect& rect)
{
    context.FrameRect(&rect);
    context.Flush();
}

// The window as an update draws it: the content erased, then every view in tree order. Views
// drawn again over themselves would blend their text twice.
void redrawAll(EditWindow& window, FWDrawContext& context)
{
    FWBackColorSaver back(context, FWGetAppColor(0));
    FWRect content;
    window.GetContentRect(&content);
    context.EraseRect(&content);
    window.ViewMngr().Draw(context);
}

// The visible containers of a tree in preorder, each with the end of its own subtree in the
// list, so that the container holding a point is found without walking the plain views.
class ContainerIndex {
public:
    explicit ContainerIndex(FWView* root) { build(root); }

    // The last container in preorder that holds view's top-left corner (corners in order, so
    // that a view stored inverted stays where it is) with every enclosing
    // container, the view itself and its subtree left out; the root when none does.
    FWView* ParentFor(FWView* view, FWView* root) const
    {
        FWRect rect = view->GetRect();
        rect.Fix();
        const FWPoint corner(rect.left, rect.top);
        FWView* found = root;
        for (size_t i = 0; i < mNodes.size();) {
            FWView* node = mNodes[i];
            if (node == view || !node->PntInRect(&corner)) {
                i = mEnds[i];
                continue;
            }
            found = node;
            ++i;
        }
        return found;
    }

private:
    void build(FWView* root)
    {
        if (root == nullptr || !root->Visible() || root->GetWindow() == nullptr || !root->GetWindow()->Visible())
            return;
        struct Frame {
            FWView* node;
            FWView* next;
            long slot;
        };
        std::vector<Frame> stack;
        auto enter = [&](FWView* node) {
            long slot = -1;
            if (node->AllowsChildren()) {
                slot = long(mNodes.size());
                mNodes.push_back(node);
                mEnds.push_back(0);
            }
            stack.push_back(Frame{node, node->FirstChild(), slot});
        };
        enter(root);
        while (!stack.empty()) {
            Frame& top = stack.back();
            FWView* child = top.next;
            if (child == nullptr) {
                if (top.slot >= 0)
                    mEnds[size_t(top.slot)] = mNodes.size();
                stack.pop_back();
                continue;
            }
            top.next = child->NextPeer();
            if (child->Visible())
                enter(child);
        }
    }

    std::vector<FWView*> mNodes;
    std::vector<size_t> mEnds;
};

} // namespace

// Presses -----------------------------------------------------------------------------------------

void EditWindow::editPress(FWEvent& event)
{
    FWDrawContext context(this);
    FWPoint where = event.mWhere;
    FWView* view = ViewMngr().GetView(&where, false);
    const bool root = view != nullptr && isRoot(view);
    const bool shift = (event.mModifiers & kFWShiftKey) != 0;
    if (view != nullptr) {
        if (view == mLastPressed && event.mMessage == 1 && !root) {
            DoItemInterface(context, view);
            return;
        }
        mLastPressed = view;
        if (!view->IsSelected()) {
            if (!shift)
                ClearAllSelection(context);
            if (!root)
                ViewMngr().SelectView(context, view);
        } else if (shift) {
            ViewMngr().UnSelectView(context, view);
        }
        const FWView::EditType region = WhichDragRegion(where, view);
        if (region == FWView::kEditMove)
            DragItemSet(context, where, (event.mModifiers & kFWOptionKey) != 0, (event.mModifiers & kFWCommandKey) != 0,
                        (event.mModifiers & kFWControlKey) != 0);
        else if (!root)
            EditItem(context, view, region, where);
        if (!root)
            return;
    }
    FWRect band, content;
    GetUserDragRect(context, where, &band);
    GetContentRect(&content);
    band = reachPastEdges(band, content);
    ClearAllSelection(context);
    GrowSelection(context, &band);
}

FWView::EditType EditWindow::WhichDragRegion(FWPoint where, FWView* view)
{
    if (view == nullptr)
        return FWView::kEditNone;
    if (ViewMngr().GetSelectedTotal() >= 2)
        return FWView::kEditMove;
    const FWRect r = view->GlobalRect();
    const int16_t l = r.left, t = r.top, rt = r.right, b = r.bottom;
    const std::pair<FWRect, FWView::EditType> tests[] = {
        {FWRect(int16_t(l + kHandle), int16_t(t + kHandle), int16_t(rt - kHandle), int16_t(b - kHandle)), FWView::kEditMove},
        {FWRect(int16_t(rt - kHandle), int16_t(b - kHandle), rt, b), FWView::kEditBottomRight},
        {FWRect(int16_t(rt - kHandle), t, rt, int16_t(t + kHandle)), FWView::kEditTopRight},
        {FWRect(l, t, int16_t(l + kHandle), int16_t(t + kHandle)), FWView::kEditTopLeft},
        {FWRect(l, int16_t(b - kHandle), int16_t(l + kHandle), b), FWView::kEditBottomLeft},
        {FWRect(l, t, int16_t(l + kHandle), b), FWView::kEditLeft},
        {FWRect(int16_t(rt - kHandle), t, rt, b), FWView::kEditRight},
        {FWRect(l, int16_t(b - kHandle), rt, b), FWView::kEditBottom},
        {FWRect(l, t, rt, int16_t(t + kHandle)), FWView::kEditTop},
    };
    FWView::EditType region = FWView::kEditNone;
    for (const auto& [rect, type] : tests) {
        if (rect.PtInRect(where)) {
            region = type;
            break;
        }
    }
    return view->FilterEditType(region);
}

void EditWindow::MouseToGrid(FWPoint* p)
{
    if (p == nullptr || !QuillformApp::Exists())
        return;
    const int32_t grid = QuillformApp::Instance()->GetGridSize();
    if (grid <= 0)
        return;
    p->h = snap(p->h, grid);
    p->v = snap(p->v, grid);
}

// Tracking ----------------------------------------------------------------------------------------

void EditWindow::DragItemSet(FWDrawContext& context, FWPoint start, bool duplicate, bool keepVertical,
                             bool keepHorizontal)
{
    FWRect content;
    GetContentRect(&content);
    FWRect bounds;
    if (!GetSelectionBounds(&bounds) || !bounds.PtInRect(start))
        return;
    MouseToGrid(&start);

    FWPoint last = start;
    int16_t dh = 0, dv = 0;
    // The offset for a snapped pointer: kept to one axis when asked, and stopped inside the content.
    auto follow = [&](FWPoint pointer) {
        const int32_t h = keepHorizontal ? 0 : pointer.h - start.h;
        const int32_t v = keepVertical ? 0 : pointer.v - start.v;
        dh = int16_t(stopInside(h, bounds.left, bounds.right, content.left, content.right));
        dv = int16_t(stopInside(v, bounds.top, bounds.bottom, content.top, content.bottom));
    };
    {
        FWPenSaver pen(context);
        context.SetPenMode(FWDrawContext::kPenXor);
        bool shown = false;
        FWRect outline;
        while (FWIsMouseStillDown()) {
            FWPoint pointer;
            GetMouseLocal(&pointer);
            MouseToGrid(&pointer);
            if (pointer == last)
                continue;
            last = pointer;
            follow(pointer);
            if (shown)
                xorFrame(context, outline);
            outline = bounds;
            outline.Offset(dh, dv);
            outline.Fix();
            xorFrame(context, outline);
            shown = true;
        }
        if (shown)
            xorFrame(context, outline);
    }
    // Where the button came up decides.
    GetMouseLocal(&last);
    MouseToGrid(&last);
    if (last == start)
        return;
    follow(last);

    SetDirty(true);
    if (!duplicate) {
        TranslateSelection(context, FWPoint(dh, dv));
        return;
    }
    const std::vector<FWView*> sources = SelectedViews();
    for (FWView* view : sources) {
        ViewMngr().UnSelectView(context, view);
        if (FWView* copy = view->Duplicate(FWPoint(dh, dv))) {
            // Where the source spans, moved: a copy of a view stored inverted is whole.
            copy->SetRect(MovedRect(*view, FWPoint(dh, dv)));
            // A copy of a parameter control is a parameter of its own, as are the copies it holds.
            if (mShaderData != nullptr)
                mShaderData->AddItems(copy);
            ViewMngr().FallIntoTree(copy);
            ViewMngr().SelectView(context, copy);
        }
    }
    redrawAll(*this, context);
}

void EditWindow::EditItem(FWDrawContext& context, FWView* view, FWView::EditType region, FWPoint start)
{
    // A press on no handle changes nothing.
    if (view == nullptr || region == FWView::kEditNone)
        return;
    const FWRect old = view->GlobalRect();
    FWRect work = old;
    FWPoint local = start;
    view->WindowToView(local);
    if (!view->PntInRect(&local))
        return;
    MouseToGrid(&start);
    FWPoint last = start;
    using E = FWView::EditType;
    auto in = [region](std::initializer_list<E> set) {
        for (E e : set)
            if (e == region)
                return true;
        return false;
    };
    const bool left = in({FWView::kEditMove, FWView::kEditTopLeft, FWView::kEditBottomLeft, FWView::kEditLeft});
    const bool top = in({FWView::kEditMove, FWView::kEditTopLeft, FWView::kEditTopRight, FWView::kEditTop});
    const bool right = in({FWView::kEditMove, FWView::kEditTopRight, FWView::kEditBottomRight, FWView::kEditRight});
    const bool bottom = in({FWView::kEditMove, FWView::kEditBottomLeft, FWView::kEditBottomRight, FWView::kEditBottom});
    const FWPoint least = view->LeastSize();
    // A dragged edge stops the view's least size away from the edge that stays, on whichever
    // side of it the edge is (dragged across, the view turns over).
    auto keepApart = [](int16_t& dragged, int16_t staying, int16_t size, bool lowEdge) {
        if (std::abs(dragged - staying) >= size)
            return;
        const bool before = dragged < staying || (dragged == staying && lowEdge);
        dragged = int16_t(before ? staying - size : staying + size);
    };
    auto follow = [&](FWPoint pointer) {
        const int16_t dh = int16_t(pointer.h - start.h), dv = int16_t(pointer.v - start.v);
        work = old;
        if (left)
            work.left = int16_t(work.left + dh);
        if (top)
            work.top = int16_t(work.top + dv);
        if (right)
            work.right = int16_t(work.right + dh);
        if (bottom)
            work.bottom = int16_t(work.bottom + dv);
        if (left != right)
            left ? keepApart(work.left, work.right, least.h, true) : keepApart(work.right, work.left, least.h, false);
        if (top != bottom)
            top ? keepApart(work.top, work.bottom, least.v, true) : keepApart(work.bottom, work.top, least.v, false);
        work.Fix();
    };
    {
        FWPenSaver pen(context);
        context.SetPenMode(FWDrawContext::kPenXor);
        FWRect outline = old;
        xorFrame(context, outline);
        while (FWIsMouseStillDown()) {
            FWPoint pointer;
            GetMouseLocal(&pointer);
            MouseToGrid(&pointer);
            if (pointer == last)
                continue;
            last = pointer;
            follow(pointer);
            xorFrame(context, outline);
            outline = work;
            xorFrame(context, outline);
        }
        xorFrame(context, outline);
    }
    GetMouseLocal(&last);
    MouseToGrid(&last);
    if (last == start)
        return;
    follow(last);

    SetDirty(true);
    context.EraseRect(&old, FWGetAppColor(0));
    const FWPoint offset = view->GetParentOffset();
    work.Offset(int16_t(-offset.h), int16_t(-offset.v));
    view->SetRect(work);
    // Re-homes and redraws the whole window, the view's handles with it.
    TranslateSelection(context, FWPoint(0, 0));
}

void EditWindow::GetUserDragRect(FWDrawContext& context, FWPoint start, FWRect* out)
{
    FWRect content;
    GetContentRect(&content);
    MouseToGrid(&start);
    FWPoint last = start;
    auto spanned = [&start](FWPoint pointer) {
        FWRect band(start.h, start.v, pointer.h, pointer.v);
        band.Fix();
        return band;
    };
    {
        FWPenSaver pen(context);
        context.SetPenMode(FWDrawContext::kPenXor);
        bool shown = false;
        while (FWIsMouseStillDown()) {
            FWPoint pointer;
            GetMouseLocal(&pointer);
            MouseToGrid(&pointer);
            if (pointer == last)
                continue;
            // Held strictly inside the content.
            pointer.h = std::clamp<int16_t>(pointer.h, int16_t(content.left + 1), int16_t(content.right - 1));
            pointer.v = std::clamp<int16_t>(pointer.v, int16_t(content.top + 1), int16_t(content.bottom - 1));
            if (shown)
                xorFrame(context, spanned(last));
            last = pointer;
            xorFrame(context, spanned(last));
            shown = true;
        }
        if (shown)
            xorFrame(context, spanned(last));
    }
    if (out != nullptr)
        *out = spanned(last);
}

// The selection -----------------------------------------------------------------------------------

void EditWindow::GrowSelection(FWDrawContext& context, FWRect* band)
{
    if (band == nullptr)
        return;
    PreorderTraversal<FWView> walk(ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (!view->Visible()) {
            walk.SkipToNextPeer();
            continue;
        }
        if (isBranch(view) || isRoot(view) || view->IsSelected())
            continue;
        // Only an overlap of positive area counts: a band of no width or height touches nothing.
        if (view->GlobalRect().IntersectRect(*band, nullptr))
            ViewMngr().SelectView(context, view);
    }
}

void EditWindow::ClearAllSelection(FWDrawContext& context)
{
    const std::vector<FWView*> selected = SelectedViews();
    for (FWView* view : selected)
        ViewMngr().UnSelectView(context, view);
    // Redrawn in tree order, so that an overlapping view stays above or below as it is stored.
    if (!selected.empty())
        redrawAll(*this, context);
}

void EditWindow::SelectViews(const std::vector<FWView*>& views)
{
    PreorderTraversal<FWView> walk(ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        view->SetSelected(false);
    ViewMngr().SetSelectedTotal(0);
    FWDrawContext context(this);
    redrawAll(*this, context);
    for (FWView* view : views)
        ViewMngr().SelectView(context, view);
}

std::vector<FWView*> EditWindow::SelectedViews() const
{
    std::vector<FWView*> selected;
    PreorderTraversal<FWView> walk(const_cast<EditWindow*>(this)->ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        if (view->IsSelected())
            selected.push_back(view);
    return selected;
}

bool EditWindow::GetSelectionBounds(FWRect* out)
{
    bool any = false;
    FWRect bounds;
    auto add = [&](FWView* view) {
        const FWRect r = view->GlobalRect();
        if (any)
            bounds.UnionRect(r, &bounds);
        else
            bounds = r;
        any = true;
    };
    PreorderTraversal<FWView> walk(ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr;) {
        if (!view->IsSelected()) {
            view = walk.Next();
            continue;
        }
        // A selected view counts with its whole subtree, also when it is the last of its peers:
        // collecting only up to its next peer would leave out the children of a last container.
        add(view);
        walk.SkipToNextPeer();
        PreorderTraversal<FWView> inner(view, false);
        for (FWView* held = inner.First(); held != nullptr; held = inner.Next())
            if (held != view)
                add(held);
        view = walk.Next();
    }
    if (any && out != nullptr)
        *out = bounds;
    return any;
}

void EditWindow::TranslateSelection(FWDrawContext& context, FWPoint delta)
{
    FWRect bounds;
    if (GetSelectionBounds(&bounds)) {
        delta.h = int16_t(withinCoordinates(delta.h, bounds.left, bounds.right));
        delta.v = int16_t(withinCoordinates(delta.v, bounds.top, bounds.bottom));
    }
    const std::vector<FWView*> selected = SelectedViews();
    for (FWView* view : selected)
        view->SetDragMark(true);
    {
        FWBackColorSaver back(context, FWGetAppColor(0));
        for (FWView* view : selected) {
            if (!view->GetDragMark())
                continue;
            // The view moves with its subtree; a selected view inside it moves only once.
            PreorderTraversal<FWView> inner(view, false);
            for (FWView* moved = inner.First(); moved != nullptr; moved = inner.Next()) {
                moved->SetDragMark(false);
                if (isBranch(moved) || (delta.h == 0 && delta.v == 0))
                    continue;
                FWRect shown = moved->GetRect();
                const FWPoint offset = moved->GetParentOffset();
                shown.Offset(offset.h, offset.v);
                context.EraseRect(&shown);
                moved->SetRect(MovedRect(*moved, delta));
            }
        }
    }
    rehomeViews();
    redrawAll(*this, context);
}

FWRect EditWindow::MovedRect(const FWView& view, FWPoint delta)
{
    FWRect rect = view.GetRect();
    rect.Fix();
    rect.Offset(delta.h, delta.v);
    return rect;
}

void EditWindow::rehomeViews()
{
    FWView* root = ViewMngr().GetViewTree();
    if (root == nullptr)
        return;
    std::vector<FWView*> shown;
    PreorderTraversal<FWView> walk(root, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (!view->Visible()) {
            walk.SkipToNextPeer();
            continue;
        }
        if (!isBranch(view) && !isRoot(view) && view->GetWindow() != nullptr && view->GetWindow()->Visible())
            shown.push_back(view);
    }
    ContainerIndex index(root);
    for (FWView* view : shown) {
        FWView* parent = index.ParentFor(view, root);
        if (parent == view->Parent())
            continue;
        // Out of its old place first, so that what it takes over never includes a container of
        // its own.
        view->Unlink();
        ViewMngr().InheritBranches(view, parent);
        parent->AppendChild(view);
        // A container that moved changes where the containers stand in preorder.
        if (view->AllowsChildren())
            index = ContainerIndex(root);
    }
}

void EditWindow::DoItemInterface(FWDrawContext& context, FWView* view)
{
    if (view == nullptr)
        return;
    FWBackColorSaver back(context, FWGetAppColor(0));
    if (view->DoInterface()) {
        SetDirty(true);
        // The dialog may have deleted views (a page dropped): forget the press.
        mLastPressed = nullptr;
    }
    // Re-homes and redraws the whole window, where the view's old place is erased.
    TranslateSelection(context, FWPoint(0, 0));
    ViewMngr().HighlightView(context, view, true);
}
