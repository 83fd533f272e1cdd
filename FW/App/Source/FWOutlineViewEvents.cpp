// The outline view's mouse and keys: hit rows, selection, column toggles, twist-down arrows,
// the marquee, dragging the selection to a new place, in-place renaming, panning, autoscroll
// and the edit commands.
#include "FWOutlineView.h"

#include "EditText.h"
#include "FWApp.h"
#include "FWAppColor.h"
#include "FWApplicationRegion.h"
#include "FWDocument.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWDynamicString.h"
#include "FWEvent.h"
#include "FWKeyCodes.h"
#include "FWPlatformUtils.h"
#include "FWProgrammerMessage.h"
#include "FWTickCount.h"
#include "FWViewableNode.h"
#include "FWWindow.h"
#include "Scroller.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <unordered_set>

namespace {

constexpr const char* kOutlineSource = "FW/App/Source/FWOutlineView";

// The node and every node below it, collapsed ones included.
template <class F>
void forSubtree(FWViewableNode* node, F&& f)
{
    f(node);
    for (FWViewableNode* child = node->Viewable_FirstChild(); child != nullptr; child = child->Viewable_NextPeer())
        forSubtree(child, f);
}

// Every node of the forest from root on, in preorder, collapsed subtrees included.
template <class F>
void forAllNodes(FWViewableNode* root, F&& f)
{
    for (FWViewableNode* node = root; node != nullptr; node = node->Viewable_NextPeer())
        forSubtree(node, f);
}

FWDocument* activeDocument()
{
    return FWApp::Exists() ? FWApp::Instance()->GetActiveDocument() : nullptr;
}

void markDocumentDirty()
{
    if (FWDocument* document = activeDocument())
        document->SetDirtyFlag(true);
}

void updateDocumentWindows()
{
    if (FWDocument* document = activeDocument())
        document->UpdateAllWindows(nullptr);
}

// Makes a context on the view current for the length of an entry point; the one that was
// current before comes back after.
class CurrentContext {
public:
    CurrentContext(FWDrawContext*& current, FWView* view, bool clipToView)
        : mCurrent(current), mPrevious(current), mContext(view)
    {
        if (clipToView) {
            const FWRect rect = view->GetRect();
            mContext.SetClipRect(&rect);
        }
        current = &mContext;
    }
    ~CurrentContext() { mCurrent = mPrevious; }
    CurrentContext(const CurrentContext&) = delete;
    CurrentContext& operator=(const CurrentContext&) = delete;

private:
    FWDrawContext*& mCurrent;
    FWDrawContext* mPrevious;
    FWDrawContext mContext;
};

// One poll of the mouse while the button is held: false once it is up. The point is in the
// view's coordinates.
bool pollMouse(FWView& view, FWPoint& p)
{
    FWWindow* window = view.GetWindow();
    if (window == nullptr || !FWIsMouseStillDown())
        return false;
    window->GetMouseLocal(&p);
    view.WindowToView(p);
    return true;
}

// Waits for the mouse to move away from start: false when the button goes up first.
bool waitForMove(FWView& view, FWPoint start, FWPoint& p)
{
    while (pollMouse(view, p))
        if (p != start)
            return true;
    return false;
}

// Switches both scrollers to buffered drawing for a tracking loop, and back after.
class ScrollerDrawModes {
public:
    ScrollerDrawModes(Scroller* h, Scroller* v) : mH(h), mV(v)
    {
        mOldH = mH != nullptr && mH->SetDrawMode(1);
        mOldV = mV != nullptr && mV->SetDrawMode(1);
    }
    ~ScrollerDrawModes()
    {
        if (mH != nullptr)
            mH->SetDrawMode(mOldH ? 1 : 0);
        if (mV != nullptr)
            mV->SetDrawMode(mOldV ? 1 : 0);
    }

private:
    Scroller* mH;
    Scroller* mV;
    bool mOldH = false;
    bool mOldV = false;
};

bool isPrintable(uint8_t c)
{
    return c >= 32 && c != 127;
}

} // namespace

// Mouse -----------------------------------------------------------------------------------------

bool FWOutlineView::MouseDownEvent(FWEvent& event)
{
    FWPoint where = event.mWhere;
    WindowToView(where);
    if (!GetRect().PtInRect(where))
        return false;
    if (event.ControlKeyDown() && Not(kNoContextualClick)) {
        mEventCode = kEventContextual;
        SendInterfaceEvent(this);
        return true;
    }
    CurrentContext current(mContext, this, true);
    if (mEditBox != nullptr) {
        if (mEditBox->GetRect().PtInRect(where))
            return mEditBox->MouseDownEvent(event), true;
        hide_edit_box(true);
    }
    if (mHScroller != nullptr && Not(kNoHScrollArea) && mHScroller->GetRect().PtInRect(where))
        mHScroller->Track(where, scroll_proc, this);
    else if (mVScroller != nullptr && Not(kNoVScrollArea) && mVScroller->GetRect().PtInRect(where))
        mVScroller->Track(where, scroll_proc, this);
    else if (FWIsPressed(SPACE_BAR))
        live_pan_view(where);
    else
        track_contents(where, event.mModifiers);
    return true;
}

void FWOutlineView::track_contents(FWPoint p, uint16_t modifiers)
{
    int32_t slot = -1;
    FWRect rect;
    FWViewableNode* node = nullptr;
    const int32_t hit = pt_to_row(p, slot, rect, &node);
    switch (hit) {
    case 1:
    case 2:
    case 3:
        track_column_icon(slot, hit, rect, p, modifiers);
        break;
    case 4:
        if (track_twistdown_arrow(p, slot, rect))
            do_twistdown_arrow_click(slot, rect, modifiers);
        break;
    case 5:
        if (node->Viewable_WantsIconClick())
            node->Viewable_NodeIconHit();
        else
            track_row_click(p, modifiers, slot);
        break;
    case 6:
        track_row_click(p, modifiers, slot);
        break;
    case 7:
        if ((modifiers & kFWShiftKey) == 0)
            deselect_selection();
        surround_select_objects(p, modifiers);
        break;
    default:
        break;
    }
}

void FWOutlineView::track_row_click(FWPoint p, uint16_t modifiers, int32_t slot)
{
    FWViewableNode* node = mRows[size_t(slot)].node;
    const bool shift = (modifiers & kFWShiftKey) != 0;
    const bool option = (modifiers & kFWOptionKey) != 0;
    const uint32_t now = FWTickCount();
    std::vector<FWViewableNode*> changed;
    auto setSubtree = [&changed](FWViewableNode* top, bool state) {
        forSubtree(top, [&changed, state](FWViewableNode* n) {
            n->Viewable_SetNodeSelected(state);
            changed.push_back(n);
        });
    };
    if (node->Viewable_NodeSelected()) {
        if (!shift && !option) {
            if (node == mLastClicked && now - mLastClickTime < FWDoubleTime()) {
                node->Viewable_DoubleClick();
                sendEvent(kEventDoubleClick, node);
            }
        } else if (!option) {
            select_rows(slot, slot, false, &changed);
        } else {
            setSubtree(node, false);
            Inval();
        }
    } else {
        sendEvent(kEventSelectionWillChange, nullptr);
        if (!shift || TestFlag(kShiftReplaces))
            deselect_selection();
        if (!option) {
            select_rows(slot, slot, true, &changed);
        } else {
            setSubtree(node, true);
            Inval();
        }
    }
    mLastClickTime = now;
    mLastClicked = node;
    if (!shift && mRows[size_t(slot)].iconRect.PtInRect(p))
        sendEvent(kEventIconClick, node);
    if (node->Viewable_NodeSelected() && drag_selected_objects(p, modifiers))
        sendEvent(kEventMoved, nullptr);
    else if (!changed.empty())
        sendEvent(kEventSelectionChanged, node);
}

bool FWOutlineView::select_rows(int32_t first, int32_t last, bool state, std::vector<FWViewableNode*>* changedNodes)
{
    if (first > last)
        std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, RowSlots() - 1);
    bool changed = false;
    for (int32_t slot = first; slot <= last; ++slot) {
        FWViewableNode* node = mRows[size_t(slot)].node;
        if (node == nullptr || node->Viewable_NodeSelected() == state)
            continue;
        node->Viewable_SetNodeSelected(state);
        redraw_row(slot);
        if (changedNodes != nullptr)
            changedNodes->push_back(node);
        changed = true;
    }
    return changed;
}

void FWOutlineView::deselect_selection()
{
    select_rows(0, 0x7FFFFFFF, false);
    forAllNodes(mFirstRoot, [](FWViewableNode* n) {
        if (n->Viewable_NodeSelected())
            n->Viewable_SetNodeSelected(false);
    });
    sendEvent(kEventSelectionChanged, nullptr);
}

void FWOutlineView::redraw_area(const FWRect& area)
{
    if (FWWindow* window = GetWindow())
        window->Inval(&area);
    if (mContext != nullptr)
        draw_contents(*mContext, &area);
}

// Column toggles ----------------------------------------------------------------------------

bool FWOutlineView::get_row_state(int32_t slot, int32_t column, bool* consistent) const
{
    if (consistent != nullptr)
        *consistent = true;
    FWViewableNode* node = slot >= 0 && slot < RowSlots() ? mRows[size_t(slot)].node : nullptr;
    if (node == nullptr)
        return false;
    switch (column) {
    case 1:
        if (!node->Viewable_IsLockable())
            return false;
        if (consistent != nullptr)
            *consistent = node->Viewable_IsLockedConsistent();
        return node->Viewable_IsLocked();
    case 2:
        if (!node->Viewable_IsHideable())
            return false;
        if (consistent != nullptr)
            *consistent = node->Viewable_IsVisibilityConsistent();
        return node->Viewable_Visibility();
    case 3:
        return node->Viewable_CanBeActive() && node->Viewable_NodeActive();
    default:
        return false;
    }
}

void FWOutlineView::toggle_column_icon(int32_t slot, int32_t column, const FWRect& rect, uint16_t modifiers)
{
    FWViewableNode* node = mRows[size_t(slot)].node;
    if (node == nullptr)
        return;
    const bool option = (modifiers & kFWOptionKey) != 0;
    std::vector<FWViewableNode*> nodes;
    FWViewableNode* eventNode = nullptr;
    bool state = false;
    auto gather = [&](auto current) {
        state = !current(node);
        if (!option) {
            nodes.push_back(node);
            eventNode = node;
        } else {
            forSubtree(node, [&](FWViewableNode* n) {
                if (current(n) != state)
                    nodes.push_back(n);
            });
        }
    };
    if (column == 1 && node->Viewable_IsLockable())
        gather([](FWViewableNode* n) { return n->Viewable_IsLocked(); });
    else if (column == 2 && node->Viewable_IsHideable())
        gather([](FWViewableNode* n) { return n->Viewable_Visibility(); });
    else if (column == 3 && node->Viewable_CanBeActive() && !node->Viewable_NodeActive())
        nodes.push_back(node);

    if (!nodes.empty()) {
        struct VisRowState {
            bool state;
            bool consistent;
        };
        std::vector<VisRowState> before(static_cast<size_t>(RowSlots()));
        for (int32_t i = 0; i < RowSlots(); ++i)
            before[size_t(i)].state = get_row_state(i, column, &before[size_t(i)].consistent);
        if (column == 1) {
            for (FWViewableNode* n : nodes)
                n->Viewable_SetLockState(state);
            sendEvent(kEventLock, eventNode);
        } else if (column == 2) {
            for (FWViewableNode* n : nodes)
                n->Viewable_SetVisibility(state);
            sendEvent(kEventVisibility, eventNode);
        } else {
            FWViewableNode* active = nullptr;
            forAllNodes(mFirstRoot, [&active](FWViewableNode* n) {
                if (active == nullptr && n->Viewable_NodeActive())
                    active = n;
            });
            if (active != nullptr) {
                active->Viewable_SetNodeActive(false);
                InvalNode(active);
            }
            node->Viewable_SetNodeActive(true);
            InvalNode(node);
            updateDocumentWindows();
        }
        const FWRect content = get_content_rect();
        if (column == 3) {
            redraw_area(FWRect(rect.left, content.top, rect.right, content.bottom));
        } else {
            // Each row whose state or consistency moved gets its column cell redrawn.
            FWRect cell = get_column_icon_rect(FWPoint(int16_t(calc_row_left(false)), int16_t(calc_row_top(0))));
            cell.left = rect.left;
            cell.right = rect.right;
            for (int32_t i = 0; i < RowSlots(); ++i, cell.Offset(0, int16_t(row_delta()))) {
                bool consistent = true;
                const bool now = get_row_state(i, column, &consistent);
                if (now != before[size_t(i)].state || consistent != before[size_t(i)].consistent)
                    redraw_area(cell);
            }
        }
    }
    markDocumentDirty();
}

void FWOutlineView::track_column_icon(int32_t slot, int32_t column, const FWRect& rect, FWPoint p, uint16_t modifiers)
{
    toggle_column_icon(slot, column, rect, modifiers);
    if (column == 3)
        return;
    // Dragging along the column paints the clicked row's new state over each row passed, once.
    const bool state = get_row_state(slot, column, nullptr);
    std::vector<bool> done(size_t(RowSlots()), false);
    done[size_t(slot)] = true;
    FWPoint last = p;
    FWPoint now;
    while (pollMouse(*this, now)) {
        if (now == last)
            continue;
        last = now;
        int32_t over = -1;
        FWRect cell;
        if (pt_to_row(now, over, cell, nullptr) != column || over < 0 || over >= RowSlots() || done[size_t(over)] ||
            mRows[size_t(over)].node == nullptr || get_row_state(over, column, nullptr) == state)
            continue;
        toggle_column_icon(over, column, cell, modifiers);
        done[size_t(over)] = true;
    }
}

// Twist-down arrows -------------------------------------------------------------------------

void FWOutlineView::draw_arrow_image(const FWRect& rect, long icon)
{
    if (mContext == nullptr)
        return;
    FWColorSaver colours(*mContext);
    mContext->PaintRect(&rect, FWGetAppColor(0));
    if (const ImageBuffer* image = GetSIcon(icon))
        mContext->DrawImage(image, &rect, false);
    mContext->Flush();
}

bool FWOutlineView::track_twistdown_arrow(FWPoint p, int32_t slot, FWRect& rect)
{
    FWViewableNode* node = mRows[size_t(slot)].node;
    if (node == nullptr || node->Viewable_FirstChild() == nullptr)
        return false;
    rect = get_arrow_rect(FWPoint(int16_t(calc_row_left(true)), int16_t(calc_row_top(slot))));
    if (!rect.PtInRect(p))
        return false;
    const bool open = node->Viewable_SubtreeVisible();
    const long normal = open ? 0 : 1;
    const long pressed = open ? 2 : 3;
    bool inside = true;
    draw_arrow_image(rect, pressed);
    FWPoint now = p;
    while (pollMouse(*this, now)) {
        if (rect.PtInRect(now) != inside) {
            inside = !inside;
            draw_arrow_image(rect, inside ? pressed : normal);
        }
    }
    if (FWWindow* window = GetWindow()) {
        window->GetMouseLocal(&now);
        WindowToView(now);
    }
    if (rect.PtInRect(now) != inside) {
        inside = !inside;
        draw_arrow_image(rect, inside ? pressed : normal);
    }
    return inside;
}

void FWOutlineView::animate_twistdown_arrow(const FWRect& rect, bool open)
{
    static constexpr long kClosing[3] = {4, 3, 1};
    static constexpr long kOpening[3] = {4, 2, 0};
    for (long icon : open ? kClosing : kOpening) {
        if (GetSIcon(icon) == nullptr)
            continue;
        draw_arrow_image(rect, icon);
        FWDelayTicks(3);
    }
}

void FWOutlineView::do_twistdown_arrow_click(int32_t slot, const FWRect& rect, uint16_t modifiers)
{
    FWViewableNode* node = mRows[size_t(slot)].node;
    const bool open = node->Viewable_SubtreeVisible();
    animate_twistdown_arrow(rect, open);
    if ((modifiers & kFWOptionKey) != 0)
        forSubtree(node, [open](FWViewableNode* n) { n->Viewable_SetSubtreeVisible(!open); });
    else
        node->Viewable_SetSubtreeVisible(!open);
    const int32_t before = mVScroller != nullptr ? mVScroller->ScrollVal() : 0;
    init_vis_rows_array();
    FWRect area = get_content_rect();
    if (mVScroller != nullptr && mVScroller->ScrollVal() != before) {
        mTopRow = top_vis_row();
        init_vis_rows_array();
    } else {
        area.top = int16_t(std::max<int32_t>(area.top, calc_row_top(slot)));
    }
    if (FWWindow* window = GetWindow()) {
        window->Inval(&area);
        if (mVScroller != nullptr && Not(kNoVScrollArea))
            mVScroller->Inval();
    }
}

// Marquee -------------------------------------------------------------------------------------

void FWOutlineView::draw_xor_rect(FWDrawContext& context, const FWRect& rect) const
{
    FWPenSaver pen(context);
    FWColorSaver colours(context);
    context.PenNormal();
    context.SetForeColor(FWArgb32::Black);
    context.SetPenMode(FWDrawContext::kPenXor);
    context.FrameRect(&rect);
}

bool FWOutlineView::toggle_surround_transition_items(const FWRect& before, const FWRect& after)
{
    auto meets = [](const Row& row, const FWRect& r) {
        return !r.Empty() && (row.iconRect.IntersectRect(r) || row.textRect.IntersectRect(r));
    };
    bool any = false;
    for (int32_t slot = 0; slot < RowSlots(); ++slot) {
        const Row& row = mRows[size_t(slot)];
        if (row.node == nullptr || meets(row, before) == meets(row, after))
            continue;
        select_rows(slot, slot, !row.node->Viewable_NodeSelected());
        any = true;
    }
    return any;
}

void FWOutlineView::surround_select_objects(FWPoint p, uint16_t)
{
    FWPoint now;
    if (TestFlag(kNoMarquee) || mContext == nullptr || !waitForMove(*this, p, now))
        return;
    ScrollerDrawModes modes(mHScroller, mVScroller);
    sendEvent(kEventSelectionWillChange, nullptr);
    const FWRect content = get_content_rect();
    FWRect saved;
    mContext->GetClipRect(&saved);
    FWClipSaver clip(*mContext, &content);
    FWPoint anchor = p;
    FWRect old;
    bool drawn = false;
    bool any = false;
    FWPoint last = p;
    do {
        const bool scroll = needs_autoscroll(now, content);
        if (now == last && !scroll)
            continue;
        last = now;
        if (drawn)
            draw_xor_rect(*mContext, old);
        if (scroll) {
            FWPoint delta;
            mContext->SetClipRect(&saved);
            autoscroll(now, content, delta);
            mContext->SetClipRect(&content);
            anchor.Offset(int16_t(-delta.h), int16_t(-delta.v));
            old.Offset(int16_t(-delta.h), int16_t(-delta.v));
        }
        FWPoint pinned = now;
        pinned.PinToRect(content);
        const FWRect marquee(std::min(anchor.h, pinned.h), std::min(anchor.v, pinned.v), std::max(anchor.h, pinned.h),
                             std::max(anchor.v, pinned.v));
        any = toggle_surround_transition_items(drawn ? old : FWRect(), marquee) || any;
        draw_xor_rect(*mContext, marquee);
        mContext->Flush();
        old = marquee;
        drawn = true;
    } while (pollMouse(*this, now));
    if (drawn)
        draw_xor_rect(*mContext, old);
    if (any)
        sendEvent(kEventSelectionChanged, nullptr);
}

// Dragging the selection ----------------------------------------------------------------------

void FWOutlineView::draw_insertion_line(int32_t slot, bool show)
{
    if (mContext == nullptr || slot < 0 || slot >= RowSlots() || mRows[size_t(slot)].node == nullptr)
        return;
    const Row& row = mRows[size_t(slot)];
    const int32_t left = (Not(kCompact) ? row.iconRect.left : row.textRect.left) - 3;
    const int32_t y = calc_row_bottom(calc_row_top(slot));
    FWPenSaver pen(*mContext);
    FWColorSaver colours(*mContext);
    mContext->PenNormal();
    mContext->SetForeColor(show ? FWArgb32::Black : FWGetAppColor(Not(kNoSeparators) ? 7 : 0));
    mContext->MoveTo(left, y);
    mContext->LineTo(row.textRect.right + 20, y);
}

bool FWOutlineView::drag_selected_objects(FWPoint start, uint16_t)
{
    if (TestFlag(kNoDrag))
        return false;
    // Outlines of the rows that move: each selected row and the rows under it.
    std::vector<FWRect> outlines;
    int32_t minimum = INT32_MAX;
    for (const Row& row : mRows) {
        if (row.node == nullptr)
            break;
        if (!row.node->Viewable_CanBeRelocated())
            continue;
        bool outlined = row.depth > minimum;
        if (!outlined) {
            outlined = row.node->Viewable_NodeSelected();
            minimum = outlined ? row.depth : INT32_MAX;
        }
        if (outlined) {
            if (Not(kCompact))
                outlines.push_back(row.iconRect);
            outlines.push_back(row.textRect);
        }
    }
    // What moves, in display order.
    std::vector<FWViewableNode*> moving;
    Row walk;
    for (bool more = get_next_display_node(nullptr, walk); more;) {
        if (walk.node->Viewable_NodeSelected() && walk.node->Viewable_CanBeRelocated())
            moving.push_back(walk.node);
        Row next;
        more = get_next_display_node(&walk, next);
        walk = next;
    }
    FWPoint now;
    if (moving.empty() || !waitForMove(*this, start, now))
        return false;
    const std::unordered_set<FWViewableNode*> moved(moving.begin(), moving.end());

    std::optional<CurrentContext> temporary;
    if (mContext == nullptr) {
        for (int line : {2455, 2459, 2467})
            fw_programmer_message("", kOutlineSource, line);
        temporary.emplace(mContext, this, true);
    }
    ScrollerDrawModes modes(mHScroller, mVScroller);
    const FWRect content = get_content_rect();
    FWRect saved;
    mContext->GetClipRect(&saved);
    FWClipSaver clip(*mContext, &content);

    int32_t target = -1;
    int32_t previousTarget = -1;
    int32_t hit = 8;
    int32_t previousHit = 8;
    FWPoint offset;
    bool shown = false;
    auto drawOutlines = [&] {
        for (FWRect r : outlines) {
            r.Offset(offset.h, offset.v);
            draw_xor_rect(*mContext, r);
        }
    };
    auto removeFeedback = [&](int32_t slot, int32_t code) {
        if (slot < 0)
            return;
        if (code == 5 || code == 6)
            select_rows(slot, slot, false);
        else
            draw_insertion_line(slot, false);
    };
    FWPoint last = start;
    do {
        const bool scroll = needs_autoscroll(now, content);
        if (now == last && !scroll)
            continue;
        if (shown)
            drawOutlines();
        shown = false;
        int32_t slot = target;
        FWRect rect;
        hit = pt_to_row(now, slot, rect, nullptr);
        if (hit == 8)
            slot = target;
        if (slot >= 0 && slot < RowSlots() && mRows[size_t(slot)].node != nullptr) {
            if (hit == 5 || hit == 6) {
                if (!mRows[size_t(slot)].node->Viewable_CanAcceptChild(moving.front()))
                    hit = 7;
            }
            if (hit != 5 && hit != 6) {
                const int32_t top = calc_row_top(slot);
                if (now.v < (top + calc_row_bottom(top)) / 2)
                    --slot;
            }
        }
        target = slot;
        if (target >= 0 && (target >= RowSlots() || mRows[size_t(target)].node == nullptr))
            target = -1;
        for (FWViewableNode* up = target >= 0 ? mRows[size_t(target)].node : nullptr; up != nullptr;
             up = up->Viewable_Parent())
            if (moved.count(up) != 0) {
                target = -1;
                break;
            }
        const bool changed = target != previousTarget || hit != previousHit;
        if (changed || scroll)
            removeFeedback(previousTarget, previousHit);
        if (scroll) {
            FWPoint delta;
            mContext->SetClipRect(&saved);
            autoscroll(now, content, delta);
            mContext->SetClipRect(&content);
        }
        if ((changed || scroll) && target >= 0) {
            if (hit == 5 || hit == 6)
                select_rows(target, target, true);
            else
                draw_insertion_line(target, true);
        }
        previousTarget = target;
        previousHit = hit;
        offset = FWPoint(int16_t(now.h - start.h), int16_t(now.v - start.v));
        last = now;
        drawOutlines();
        shown = true;
        mContext->Flush();
    } while (pollMouse(*this, now));
    if (shown)
        drawOutlines();
    if (target < 0)
        return false;
    FWViewableNode* node = mRows[size_t(target)].node;
    const bool into = hit == 5 || hit == 6 ||
                      (node->Viewable_FirstChild() != nullptr && node->Viewable_SubtreeVisible() &&
                       node->Viewable_CanAcceptChild(moving.front()));
    if (hit != 5 && hit != 6)
        draw_insertion_line(target, false);
    relocate_selection(target, into, moving);
    markDocumentDirty();
    return true;
}

void FWOutlineView::relocate_selection(int32_t slot, bool into, const std::vector<FWViewableNode*>& nodes)
{
    FWViewableNode* target = slot >= 0 && slot < RowSlots() ? mRows[size_t(slot)].node : nullptr;
    if (target == nullptr || nodes.empty())
        return;
    FWViewableNode* root = nullptr;
    FWViewableNode* previous = nullptr;
    for (FWViewableNode* node : nodes) {
        // A moved first root hands its place to what follows it.
        if (node == (root != nullptr ? root : mFirstRoot))
            root = node->Viewable_NextPeer() != nullptr ? node->Viewable_NextPeer() : node->Viewable_FirstChild();
        node->Viewable_Unlink();
        if (previous != nullptr)
            node->Viewable_LinkAsNextPeerTo(previous);
        else if (into)
            node->Viewable_LinkAsFirstChildTo(target);
        else
            node->Viewable_LinkAsNextPeerTo(target);
        previous = node;
    }
    target->Viewable_SetNodeSelected(false);
    if (root != nullptr)
        SetFirstRoot(root);
    else
        RefreshView();
}

// Scrolling by hand and by pointing past the edge ---------------------------------------------

bool FWOutlineView::needs_autoscroll(FWPoint p, const FWRect& rect) const
{
    if (mVScroller != nullptr && ((p.v <= rect.top && mVScroller->ScrollVal() >= 1) ||
                                  (p.v > rect.bottom && mVScroller->ScrollVal() < mVScroller->ScrollMax())))
        return true;
    return mHScroller != nullptr && ((p.h <= rect.left && mHScroller->ScrollVal() >= 1) ||
                                     (p.h > rect.right && mHScroller->ScrollVal() < mHScroller->ScrollMax()));
}

namespace {

int32_t clampChange(const Scroller* bar, int32_t change)
{
    return bar == nullptr ? 0 : std::clamp(change, -bar->ScrollVal(), bar->ScrollMax() - bar->ScrollVal());
}

int32_t edgeStep(int32_t at, int32_t low, int32_t high, int32_t highSlack, int32_t row)
{
    if (at < low - 11)
        return -row;
    if (at < low)
        return -2;
    if (at > high + highSlack)
        return row;
    if (at > high)
        return 2;
    return 0;
}

} // namespace

void FWOutlineView::autoscroll(FWPoint p, const FWRect& rect, FWPoint& delta)
{
    delta = FWPoint();
    const int32_t dh = clampChange(mHScroller, edgeStep(p.h, rect.left, rect.right, 11, row_delta()));
    const int32_t dv =
        clampChange(mVScroller, edgeStep(p.v, rect.top, rect.bottom, TestFlag(kNoHScrollArea) ? 8 : 11, row_delta()));
    if (dh == 0 && dv == 0)
        return;
    delta = FWPoint(int16_t(dh), int16_t(dv));
    scroll_content_by(dh, dv);
}

void FWOutlineView::scroll_content_by(int32_t dh, int32_t dv)
{
    if (dh != 0) {
        mHScroller->SetScrollVal(mHScroller->ScrollVal() + dh);
        if (Not(kNoHScrollArea))
            mHScroller->Inval();
    }
    if (dv != 0) {
        mVScroller->SetScrollVal(mVScroller->ScrollVal() + dv);
        if (Not(kNoVScrollArea))
            mVScroller->Inval();
    }
    ScrollView(dh, dv, true);
}

void FWOutlineView::live_pan_view(FWPoint start)
{
    if (!((mHScroller != nullptr && mHScroller->ScrollMax() > 0) ||
          (mVScroller != nullptr && mVScroller->ScrollMax() >= 1)))
        return;
    static CCrsrHandle sClosedHand = FWGetCursor(10002);
    FWSetCursor(sClosedHand);
    FWPoint previous = start;
    FWPoint now;
    while (pollMouse(*this, now)) {
        const int32_t dh = clampChange(mHScroller, previous.h - now.h);
        const int32_t dv = clampChange(mVScroller, previous.v - now.v);
        if (dh == 0 && dv == 0)
            continue;
        scroll_content_by(dh, dv);
        if (mContext != nullptr)
            mContext->Flush();
        previous = now;
    }
}

// Renaming ------------------------------------------------------------------------------------

bool FWOutlineView::maybe_show_edit_box()
{
    if (mEditBox != nullptr || TestFlag(kNoRename))
        return mEditBox != nullptr;
    FWWindow* window = GetWindow();
    int32_t slot = -1;
    for (int32_t i = 0; i < RowSlots(); ++i) {
        FWViewableNode* node = mRows[size_t(i)].node;
        if (node == nullptr || !node->Viewable_NodeSelected())
            continue;
        if (slot >= 0)
            return false;
        slot = i;
    }
    if (slot < 0 || window == nullptr)
        return false;
    const Row& row = mRows[size_t(slot)];
    const FWRect content = get_content_rect();
    if (!row.node->Viewable_CanSetName() || !row.textRect.IntersectRect(content) ||
        row.textRect.left >= content.right - 10)
        return false;
    FWRect rect = row.textRect;
    rect.Inset(-3, -3);
    rect.left = int16_t(rect.left - 1);
    if (rect.right < content.right)
        rect.right = int16_t(content.right - 2);
    mEditBox = new EditText;
    mEditBox->Init(window, rect, nullptr);
    mEditBox->SetText(&row.node->Viewable_Name());
    mEditBox->ActivateEvent(true);
    mEditBox->SelectText();
    mEditBox->EnableTextUndo();
    if (FWGetApplicationRegion() != 0)
        mEditBox->SetInternational(true);
    mEditedNode = row.node;
    FWRect area;
    rect.UnionRect(mEditBox->GetRect(), &area);
    area.bottom = int16_t(area.bottom + 1);
    window->Inval(&area);
    return true;
}

void FWOutlineView::hide_edit_box(bool commit)
{
    if (mEditBox == nullptr)
        return;
    // The box is out of the view before the owner hears of the new name, so an owner that
    // rebuilds the list then finds nothing left to close.
    EditText* box = mEditBox;
    FWViewableNode* node = mEditedNode;
    mEditBox = nullptr;
    mEditedNode = nullptr;
    if (commit && node != nullptr) {
        FWDynamicString text;
        box->GetText(&text);
        const FWString& name = node->Viewable_Name();
        // Compared byte for byte: a change of case is a new name.
        const bool same = text.GetCurrLength() == name.GetCurrLength() &&
                          std::memcmp(text.GetCString(), name.GetCString(), size_t(text.GetCurrLength())) == 0;
        if (text.GetCurrLength() != 0 && !same) {
            markDocumentDirty();
            node->Viewable_SetName(text);
            sendEvent(kEventRenamed, node);
            updateDocumentWindows();
        }
    }
    box->SendMessage(IsBeingDeleted);
    delete box;
    Inval();
}

// Keys ------------------------------------------------------------------------------------------

bool FWOutlineView::KeyDownEvent(FWEvent& event)
{
    if (mFirstRoot == nullptr)
        return false;
    const uint8_t key = uint8_t(event.EventCharacter());
    CurrentContext current(mContext, this, false);
    if (key == 3 || key == 13) {
        if (mEditBox != nullptr) {
            hide_edit_box(true);
            return true;
        }
        // Without a name to edit the key goes on, to a dialog's default button.
        return maybe_show_edit_box();
    }
    if (mEditBox != nullptr) {
        if (key == 27) {
            hide_edit_box(false);
            return true;
        }
        if (isPrintable(key) || key == 8 || key == 127 || (key >= 28 && key <= 31))
            return mEditBox->KeyDownEvent(event);
        // Home, End and the page keys still move through the list.
    }
    if (key == 8 || key == 127)
        delete_selection();
    else if (FWIsNavigationChar(char(key)))
        do_navigation_char(key, event.mModifiers);
    return false;
}

bool FWOutlineView::AutoKeyEvent(FWEvent& event)
{
    const uint8_t key = uint8_t(event.EventCharacter());
    if (mEditBox != nullptr) {
        if (FWIsNavigationChar(char(key)) || key == 8 || key == 127)
            mEditBox->AutoKeyEvent(event);
    } else if (mFirstRoot != nullptr && FWIsNavigationChar(char(key))) {
        CurrentContext current(mContext, this, false);
        do_navigation_char(key, event.mModifiers);
    }
    return true;
}

void FWOutlineView::do_navigation_char(int key, uint16_t)
{
    if (key == 11 || key == 12) {
        if (mVScroller == nullptr)
            return;
        // A page is at least a row, also when the content area is lower than one.
        const int32_t step = std::max(get_content_rect().Height() - row_height(), row_delta());
        const int32_t before = mVScroller->ScrollVal();
        const int32_t value = std::clamp(before + (key == 11 ? -step : step), 0, mVScroller->ScrollMax());
        if (value != before) {
            mVScroller->SetScrollVal(value);
            mVScroller->Inval();
            ScrollView(0, value - before, true);
        }
        return;
    }
    const bool up = key == 30 || key == 28;
    if (!up && key != 31 && key != 29)
        return;
    const int32_t slots = RowSlots();
    int32_t anchor = -1;
    for (int32_t i = 0; i < slots; ++i) {
        const int32_t slot = up ? i : slots - 1 - i;
        if (mRows[size_t(slot)].node != nullptr && mRows[size_t(slot)].node->Viewable_NodeSelected()) {
            anchor = slot;
            break;
        }
    }
    if (anchor < 0)
        return;
    const bool nearEdge = up ? anchor <= 1 : anchor >= slots - 3;
    FWViewableNode* found = nullptr;
    for (int32_t slot = anchor + (up ? -1 : 1); slot >= 0 && slot < slots; slot += up ? -1 : 1) {
        FWViewableNode* node = mRows[size_t(slot)].node;
        if (node == nullptr || (node->Viewable_IsLocked() && !node->Viewable_CanAcceptChild(nullptr)))
            continue;
        found = node;
        break;
    }
    if (found == nullptr)
        return;
    sendEvent(kEventSelectionWillChange, nullptr);
    found->Viewable_NodeHit();
    if (nearEdge)
        ScrollToNode(found, false);
    Inval();
}

// Edit commands ---------------------------------------------------------------------------------

bool FWOutlineView::CutEvent(FWEvent& event)
{
    return mEditBox != nullptr && mEditBox->CutEvent(event);
}

bool FWOutlineView::CopyEvent(FWEvent& event)
{
    return mEditBox != nullptr && mEditBox->CopyEvent(event);
}

bool FWOutlineView::PasteEvent(FWEvent& event)
{
    return mEditBox != nullptr && mEditBox->PasteEvent(event);
}

bool FWOutlineView::ClearEvent(FWEvent& event)
{
    if (mEditBox != nullptr)
        return mEditBox->ClearEvent(event);
    if (mFirstRoot == nullptr)
        return false;
    CurrentContext current(mContext, this, false);
    delete_selection();
    return true;
}

bool FWOutlineView::SelectAllEvent(FWEvent& event)
{
    if (mEditBox != nullptr)
        return mEditBox->SelectAllEvent(event);
    if (mFirstRoot == nullptr)
        return false;
    CurrentContext current(mContext, this, false);
    sendEvent(kEventSelectionWillChange, nullptr);
    select_rows(0, 0x7FFFFFFF, true);
    Row row;
    for (bool more = get_next_display_node(nullptr, row); more;) {
        if (!row.node->Viewable_NodeSelected())
            row.node->Viewable_SetNodeSelected(true);
        Row next;
        more = get_next_display_node(&row, next);
        row = next;
    }
    sendEvent(kEventSelectionChanged, nullptr);
    return true;
}

bool FWOutlineView::SelectNoneEvent(FWEvent& event)
{
    if (mEditBox != nullptr)
        return mEditBox->SelectNoneEvent(event);
    if (mFirstRoot == nullptr)
        return false;
    CurrentContext current(mContext, this, false);
    deselect_selection();
    return true;
}

bool FWOutlineView::CanCut()
{
    return mEditBox != nullptr && mEditBox->CanCut();
}

bool FWOutlineView::CanCopy()
{
    return mEditBox != nullptr && mEditBox->CanCopy();
}

bool FWOutlineView::CanPaste()
{
    return mEditBox != nullptr && mEditBox->CanPaste();
}

bool FWOutlineView::CanClear()
{
    if (mEditBox != nullptr)
        return mEditBox->CanClear();
    bool any = false;
    forAllNodes(mFirstRoot, [&any](FWViewableNode* n) {
        any = any || (n->Viewable_NodeSelected() && n->Viewable_CanDelete());
    });
    return any;
}

bool FWOutlineView::CanSelectAll()
{
    return mEditBox != nullptr ? mEditBox->CanSelectAll() : mFirstRoot != nullptr;
}

bool FWOutlineView::CanSelectNone()
{
    return mEditBox != nullptr ? mEditBox->CanSelectNone() : mFirstRoot != nullptr;
}

std::vector<FWViewableNode*> FWOutlineView::delete_selection()
{
    std::vector<FWViewableNode*> gathered;
    // Preorder, not descending into a gathered node: its subtree goes with it.
    auto visit = [&gathered](auto& self, FWViewableNode* node) -> void {
        if (node->Viewable_NodeSelected() && node->Viewable_CanDelete()) {
            gathered.push_back(node);
            return;
        }
        for (FWViewableNode* child = node->Viewable_FirstChild(); child != nullptr; child = child->Viewable_NextPeer())
            self(self, child);
    };
    for (FWViewableNode* root = mFirstRoot; root != nullptr; root = root->Viewable_NextPeer())
        visit(visit, root);
    return gathered;
}

// Cursor ----------------------------------------------------------------------------------------

bool FWOutlineView::SetCursor()
{
    FWWindow* window = GetWindow();
    FWPoint where;
    if (window != nullptr)
        window->GetMouseLocal(&where);
    const bool scrollable = (mHScroller != nullptr && mHScroller->ScrollMax() > 0) ||
                            (mVScroller != nullptr && mVScroller->ScrollMax() >= 1);
    if (FWIsPressed(SPACE_BAR) && scrollable) {
        if (get_content_rect().PtInRect(where)) {
            static CCrsrHandle sOpenHand = FWGetCursor(10001);
            static CCrsrHandle sClosedHand = FWGetCursor(10002);
            FWSetCursor(FWIsMouseStillDown() ? sClosedHand : sOpenHand);
        } else {
            FWSetCursor(0);
        }
        return true;
    }
    if (FWIsPressed(CONTROL_KEY) && Not(kNoContextualClick)) {
        static CCrsrHandle sContextual = FWGetCursor(1000);
        FWSetCursor(sContextual);
        return true;
    }
    FWSetCursor(0);
    return true;
}

