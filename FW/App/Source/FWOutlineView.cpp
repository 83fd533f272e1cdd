#include "FWOutlineView.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "EditText.h"
#include "FWAppColor.h"
#include "FWApplicationRegion.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEvent.h"
#include "FWKeyCodes.h"
#include "FWPlatformUtils.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "FWTickCount.h"
#include "FWViewableNode.h"
#include "FWWindow.h"
#include "Scroller.h"
#include "SerialStream.h"
#include "SubClassFactory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr const char* kOutlineSource = "FW/App/Source/FWOutlineView";
constexpr uint32_t kArgb = FOUR_CHAR_CODE("argb");
constexpr uint32_t kReadFlags = 0x68;
constexpr int kSharedIconCount = 8;
constexpr int32_t kSharedIconIDs[kSharedIconCount] = {710, 711, 712, 713, 714, 720, 721, 722};

DiskImage* sSharedIcons[kSharedIconCount] = {};
int sSharedIconUsers = 0;

SubClassFactory<FWView, FWOutlineView> sFactory("FWOutlineView");

void acquireSharedIcons()
{
    if (sSharedIconUsers++ == 0)
        for (int i = 0; i < kSharedIconCount; ++i)
            sSharedIcons[i] = DiskImage::Acquire(kSharedIconIDs[i], kArgb);
}

void releaseSharedIcons()
{
    if (--sSharedIconUsers > 0)
        return;
    for (DiskImage*& icon : sSharedIcons) {
        if (icon != nullptr)
            DiskImage::Release(icon);
        icon = nullptr;
    }
}

// The ancestry mark of a node at its own level: a line goes on below it when a peer follows.
char loaMark(FWViewableNode* node)
{
    return node->Viewable_NextPeer() != nullptr ? 'T' : 'L';
}

void setLoa(FWOutlineView::Row& row, FWViewableNode* node)
{
    if (row.depth >= 1 && row.depth <= 99) {
        row.loa[row.depth - 1] = loaMark(node);
        row.loa[row.depth] = 0;
    }
}

void cutLoa(FWOutlineView::Row& row)
{
    row.loa[std::clamp(row.depth, 0, 99)] = 0;
}

FWRect makeRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return FWRect(int16_t(left), int16_t(top), int16_t(right), int16_t(bottom));
}

} // namespace

FWOutlineView::FWOutlineView() : mHScroller(new Scroller), mVScroller(new Scroller)
{
    SetDebugName("FWOutlineView");
    acquireSharedIcons();
}

FWOutlineView::~FWOutlineView()
{
    delete mHScroller;
    delete mVScroller;
    if (mEditBox != nullptr) {
        mEditBox->SendMessage(IsBeingDeleted);
        delete mEditBox;
    }
    releaseSharedIcons();
}

bool FWOutlineView::ReceiveMessage(Dependable* sender, Message message)
{
    FWView::ReceiveMessage(sender, message);
    if (message == IsBeingDeleted && sender == this) {
        for (Dependable* part : {static_cast<Dependable*>(mHScroller), static_cast<Dependable*>(mVScroller),
                                 static_cast<Dependable*>(mEditBox)})
            if (part != nullptr)
                part->SendMessage(IsBeingDeleted);
    }
    return true;
}

void FWOutlineView::Init(FWWindow* window, const FWRect* rect, uint32_t flags)
{
    FWView::Init(window);
    EnableKeyFocus();
    if (mHScroller != nullptr)
        mHScroller->Init(window, nullptr);
    if (mVScroller != nullptr)
        mVScroller->Init(window, nullptr);
    if (rect != nullptr)
        FWView::SetRect(*rect);
    mFlags = flags;
    if (mHScroller != nullptr)
        mHScroller->SetRect(get_h_scroll_rect());
    if (mVScroller != nullptr)
        mVScroller->SetRect(get_v_scroll_rect());
    realloc_vis_rows_array();
    init_vis_rows_array();
}

const ImageBuffer* FWOutlineView::GetSIcon(long index) const
{
    if (index < 0 || index >= kSharedIconCount)
        return nullptr;
    return sSharedIcons[index];
}

// Geometry ---------------------------------------------------------------------------------

FWRect FWOutlineView::content_insets() const
{
    FWRect insets(2, 2, 2, 2);
    if (Not(kNoHScrollArea) && mHScroller != nullptr)
        insets.bottom = int16_t(insets.bottom + 10);
    if (Not(kNoVScrollArea) && mVScroller != nullptr) {
        if (TestFlag(kVScrollLeft))
            insets.left = int16_t(insets.left + 10);
        else
            insets.right = int16_t(insets.right + 10);
    }
    return insets;
}

FWRect FWOutlineView::get_content_rect() const
{
    const FWRect insets = content_insets();
    FWRect r = GetRect();
    r.Set(int16_t(r.left + insets.left), int16_t(r.top + insets.top), int16_t(r.right - insets.right),
          int16_t(r.bottom - insets.bottom));
    // A view too small for its frame and bars (or stored inverted) has an empty content area of
    // no size, so that the rows are neither drawn nor hit and no size comes out negative.
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

FWPoint FWOutlineView::LeastSize() const
{
    const FWRect insets = content_insets();
    return FWPoint(int16_t(insets.left + insets.right + 1), int16_t(insets.top + insets.bottom + 1));
}

FWRect FWOutlineView::get_v_scroll_rect() const
{
    FWRect r = GetRect();
    r.Inset(1, 1);
    if (Not(kNoHScrollArea) && mHScroller != nullptr)
        r.bottom = int16_t(r.bottom - 10);
    if (TestFlag(kVScrollLeft))
        r.right = int16_t(r.left + 11);
    else
        r.left = int16_t(r.right - 11);
    return r;
}

FWRect FWOutlineView::get_h_scroll_rect() const
{
    FWRect r = GetRect();
    r.Inset(1, 1);
    r.top = int16_t(r.bottom - 11);
    return r;
}

int32_t FWOutlineView::calc_row_left(bool withColumns) const
{
    const FWRect view = GetRect();
    int32_t left = view.left + ((mVScroller != nullptr && Not(kNoVScrollArea) && TestFlag(kVScrollLeft)) ? 10 : 1);
    if (withColumns) {
        if (Not(kNoRowNumbers))
            left += 18;
        for (uint32_t column : {kNoLockColumn, kNoVisibilityColumn, kNoActiveColumn})
            if (Not(column))
                left += 14;
    }
    if (mHScroller != nullptr)
        left -= mHScroller->ScrollVal();
    return left;
}

int32_t FWOutlineView::calc_row_top(int32_t slot) const
{
    const int32_t top = GetRect().top + row_delta() * slot;
    if (mVScroller == nullptr)
        return top + 3;
    return top - (mVScroller->ScrollVal() - 3) % row_delta();
}

int32_t FWOutlineView::top_vis_row() const
{
    return mVScroller == nullptr ? 0 : (mVScroller->ScrollVal() - 3) / row_delta();
}

FWRect FWOutlineView::get_column_icon_rect(FWPoint p) const
{
    const int32_t bottom = p.v + row_height() - icon_bottom_gap();
    return makeRect(p.h + 2, bottom - 11, p.h + 13, bottom);
}

FWRect FWOutlineView::get_arrow_rect(FWPoint p) const
{
    const int32_t bottom = p.v + row_height() - icon_bottom_gap();
    return makeRect(p.h + 4, bottom - 12, p.h + 16, bottom);
}

FWRect FWOutlineView::get_icon_rect(int32_t depth, FWPoint p) const
{
    const int32_t left = p.h + 12 * depth + 6 + (Not(kFlat) ? 16 : 0);
    return makeRect(left, p.v, left + mIconSize.h, p.v + mIconSize.v);
}

FWRect FWOutlineView::get_loa_rect(int32_t depth, FWPoint p) const
{
    if (Not(kCompact)) {
        FWRect r = get_icon_rect(depth, p);
        r.left = int16_t(r.left + 6);
        r.right = int16_t(r.right - 8);
        return r;
    }
    const int32_t left = p.h + 12 * depth + 10 + (Not(kFlat) ? 16 : 0);
    return makeRect(left, p.v, left + 12, p.v + row_height());
}

FWPoint FWOutlineView::get_text_point(int32_t depth, FWPoint p) const
{
    int32_t h = p.h + 12 * depth + 9 + (Not(kFlat) ? 16 : 0);
    if (Not(kCompact))
        h += mIconSize.h;
    return FWPoint(int16_t(h), int16_t(p.v + row_height() - text_bottom_gap()));
}

// Display order ----------------------------------------------------------------------------

bool FWOutlineView::get_next_display_node(const Row* row, Row& out) const
{
    if (row == nullptr) {
        out = Row();
        out.node = mFirstRoot;
        return out.node != nullptr;
    }
    out.depth = row->depth;
    std::memcpy(out.loa, row->loa, sizeof out.loa);
    for (char& c : out.loa) {
        if (c == 'L')
            c = ' ';
        else if (c == 'T')
            c = 'I';
    }
    out.selected = 0;
    FWViewableNode* node = row->node;
    if (node == nullptr) {
        out.node = nullptr;
        return false;
    }
    FWViewableNode* child = node->Viewable_SubtreeVisible() ? node->Viewable_FirstChild() : nullptr;
    if (child != nullptr) {
        out.node = child;
        ++out.depth;
        setLoa(out, child);
        return true;
    }
    if (FWViewableNode* peer = node->Viewable_NextPeer()) {
        out.node = peer;
        setLoa(out, peer);
        return true;
    }
    FWViewableNode* found = nullptr;
    for (FWViewableNode* up = node->Viewable_Parent(); up != nullptr && found == nullptr && out.depth > 0;
         up = up->Viewable_Parent()) {
        found = up->Viewable_NextPeer();
        --out.depth;
        cutLoa(out);
        if (found != nullptr)
            setLoa(out, found);
    }
    out.node = found;
    return found != nullptr;
}

bool FWOutlineView::get_prev_display_node(const Row* row, Row& out) const
{
    if (row == nullptr) {
        out = Row();
        out.node = mFirstRoot;
        return out.node != nullptr;
    }
    if (row->node == nullptr || row->node == mFirstRoot) {
        out.node = nullptr;
        return false;
    }
    out.depth = row->depth;
    std::memcpy(out.loa, row->loa, sizeof out.loa);
    for (char& c : out.loa)
        if (c == 'L')
            c = 'T';
    out.selected = 0;
    if (FWViewableNode* prev = row->node->Viewable_PrevPeer()) {
        Row walk = out;
        walk.node = prev;
        setLoa(walk, prev);
        Row next;
        while (get_next_display_node(&walk, next) && next.node != row->node)
            walk = next;
        out = walk;
        return true;
    }
    FWViewableNode* parent = row->node->Viewable_Parent();
    if (parent == nullptr || out.depth <= 0) {
        out.node = nullptr;
        return false;
    }
    --out.depth;
    cutLoa(out);
    setLoa(out, parent);
    out.node = parent;
    return true;
}

// The visible rows ------------------------------------------------------------------------

void FWOutlineView::realloc_vis_rows_array()
{
    const int32_t slots = std::max(0, get_content_rect().Height() / row_delta() + 2);
    mRows.assign(size_t(slots), Row());
}

void FWOutlineView::init_vis_rows_array()
{
    const int32_t slots = RowSlots();
    if (slots < 1)
        return;
    mDisplayTotal = 0;
    Row row;
    if (get_next_display_node(nullptr, row))
        mDisplayTotal = 1;
    for (int32_t i = 0; i < mTopRow && row.node != nullptr; ++i) {
        Row next;
        if (get_next_display_node(&row, next))
            ++mDisplayTotal;
        row = next;
    }
    mRows[0] = row;
    Row last = row;
    for (int32_t i = 1; last.node != nullptr || i < slots; ++i) {
        Row next;
        if (last.node != nullptr && get_next_display_node(&last, next))
            ++mDisplayTotal;
        else
            next = Row();
        if (i < slots)
            mRows[size_t(i)] = next;
        last = next;
    }
    if (mVScroller != nullptr) {
        const int32_t before = mVScroller->ScrollVal();
        mVScroller->SetScrollMax(get_content_rect().Height(), data_max());
        // With fewer rows left than slots the list is pulled to its end, so its last row sits at
        // the bottom.
        if (mDisplayTotal - mTopRow < slots || before > mVScroller->ScrollMax())
            mVScroller->SetScrollVal(mVScroller->ScrollMax());
        if (mVScroller->ScrollVal() != before) {
            Inval();
            if (top_vis_row() != mTopRow) {
                mTopRow = top_vis_row();
                init_vis_rows_array();
                return;
            }
        }
    }
    layout_rows();
}

void FWOutlineView::layout_rows()
{
    FWWindow* window = GetWindow();
    FWDrawContext* measure = mContext;
    std::optional<FWDrawContext> temporary;
    if (measure == nullptr && window != nullptr)
        measure = &temporary.emplace(window);
    FWPoint p(int16_t(calc_row_left(true)), int16_t(calc_row_top(0)));
    for (Row& row : mRows) {
        if (row.node == nullptr)
            break;
        row.iconRect = get_icon_rect(row.depth, p);
        const FWPoint t = get_text_point(row.depth, p);
        const int32_t width = measure != nullptr ? row.node->Viewable_Width(*measure) : 0;
        row.textRect = makeRect(t.h, t.v - 10, t.h + width, t.v + 2);
        p.v = int16_t(p.v + row_delta());
    }
}

// The tree -------------------------------------------------------------------------------------

void FWOutlineView::SetFirstRoot(FWViewableNode* node)
{
    hide_edit_box(false);
    mFirstRoot = node;
    mLastClicked = nullptr;
    mWidestRight = 0;
    if (mHScroller != nullptr) {
        mHScroller->SetScrollVal(0);
        mHScroller->SetScrollMax(0, 0);
    }
    RefreshView();
}

void FWOutlineView::RefreshView()
{
    realloc_vis_rows_array();
    init_vis_rows_array();
    if (Visible() && AllParentsVisible())
        Inval();
}

void FWOutlineView::InvalNode(FWViewableNode* node)
{
    FWWindow* window = GetWindow();
    if (node == nullptr || window == nullptr)
        return;
    for (const Row& row : mRows) {
        if (row.node == nullptr)
            return;
        if (row.node == node) {
            const FWRect view = GetRect();
            FWRect band(mHScroller != nullptr ? mHScroller->GetRect().left : view.left, row.textRect.top, view.right,
                        row.textRect.bottom);
            window->Inval(&band);
            return;
        }
    }
}

int32_t FWOutlineView::ScrollToNode(FWViewableNode* node, bool select)
{
    if (node == nullptr || mFirstRoot == nullptr || mVScroller == nullptr)
        return -1;
    int32_t index = 0;
    Row row;
    bool found = false;
    for (bool more = get_next_display_node(nullptr, row); more; ++index) {
        if (row.node == node) {
            found = true;
            break;
        }
        Row next;
        more = get_next_display_node(&row, next);
        row = next;
    }
    if (!found)
        return -1;
    const int32_t targetTop = std::max(0, index - RowSlots() / 2);
    // The value that puts that row at the top: 3 pixels of margin, then whole rows.
    const int32_t target = targetTop == 0 ? 0 : std::min(3 + row_delta() * targetTop, mVScroller->ScrollMax());
    const int32_t dv = target - mVScroller->ScrollVal();
    int32_t dh = 0;
    if (dv != 0) {
        mVScroller->SetScrollVal(target);
        mVScroller->Inval();
    }
    if (mHScroller != nullptr && mHScroller->ScrollVal() != 0) {
        dh = -mHScroller->ScrollVal();
        mHScroller->SetScrollVal(0);
        mHScroller->Inval();
    }
    if (dh != 0 || dv != 0) {
        hide_edit_box(false);
        ScrollView(dh, dv, true);
    }
    if (select && !node->Viewable_NodeSelected())
        node->Viewable_SetNodeSelected(true);
    return index;
}

void FWOutlineView::AddVScroller()
{
    if (mVScroller != nullptr || GetWindow() == nullptr)
        return;
    mVScroller = new Scroller;
    const FWRect rect = get_v_scroll_rect();
    mVScroller->Init(GetWindow(), &rect);
    realloc_vis_rows_array();
    init_vis_rows_array();
}

void FWOutlineView::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    mWidestRight = 0;
    if (mHScroller != nullptr) {
        mHScroller->SetRect(get_h_scroll_rect());
        mHScroller->SetScrollVal(0);
        mHScroller->SetScrollMax(0, 0);
    }
    if (mVScroller != nullptr)
        mVScroller->SetRect(get_v_scroll_rect());
    realloc_vis_rows_array();
    init_vis_rows_array();
    if (mVScroller != nullptr && mVScroller->ScrollVal() > mVScroller->ScrollMax()) {
        mVScroller->SetScrollVal(mVScroller->ScrollMax());
        mTopRow = top_vis_row();
        init_vis_rows_array();
    }
}

// Scrolling ------------------------------------------------------------------------------------

void FWOutlineView::ScrollView(int32_t dh, int32_t dv, bool redraw)
{
    const int32_t top = top_vis_row();
    if (top != mTopRow) {
        const int32_t d = top - mTopRow;
        const int32_t slots = RowSlots();
        mTopRow = top;
        if (std::abs(d) < slots && slots > 0) {
            // Keep the rows still in view and walk the display order only for the new ones.
            if (d > 0) {
                for (int32_t i = 0; i + d < slots; ++i)
                    mRows[size_t(i)] = mRows[size_t(i + d)];
                for (int32_t i = slots - d; i < slots; ++i) {
                    Row next;
                    if (!get_next_display_node(&mRows[size_t(i - 1)], next))
                        next = Row();
                    mRows[size_t(i)] = next;
                }
            } else {
                for (int32_t i = slots - 1; i + d >= 0; --i)
                    mRows[size_t(i)] = mRows[size_t(i + d)];
                for (int32_t i = -d - 1; i >= 0; --i) {
                    Row prev;
                    if (!get_prev_display_node(&mRows[size_t(i + 1)], prev))
                        prev = Row();
                    mRows[size_t(i)] = prev;
                }
            }
        } else {
            init_vis_rows_array();
        }
    }
    layout_rows();
    FWWindow* window = GetWindow();
    if (!redraw || window == nullptr || !window->Visible() || (dh == 0 && dv == 0))
        return;
    const FWRect content = get_content_rect();
    std::optional<FWDrawContext> temporary;
    FWDrawContext* previous = mContext;
    if (mContext == nullptr) {
        mContext = &temporary.emplace(this);
        const FWRect view = GetRect();
        mContext->SetClipRect(&view);
    }
    // The pixels move one axis at a time: a diagonal scroll is two scrolls.
    const int32_t widest = mWidestRight;
    for (const FWPoint step : {FWPoint(int16_t(dh), 0), FWPoint(0, int16_t(dv))}) {
        if (step.h == 0 && step.v == 0)
            continue;
        FWRect exposed;
        mContext->ScrollRect(&content, exposed, -step.h, -step.v);
        draw_contents(*mContext, &exposed);
    }
    if (mHScroller != nullptr && Not(kNoHScrollArea) && widest != mWidestRight)
        mHScroller->Inval();
    mContext = previous;
}

void FWOutlineView::scroll_proc(int32_t change, void* view, Scroller* bar)
{
    auto* outline = static_cast<FWOutlineView*>(view);
    if (bar == outline->mVScroller)
        outline->ScrollView(0, change, true);
    else
        outline->ScrollView(change, 0, true);
}

// Drawing --------------------------------------------------------------------------------------

void FWOutlineView::Draw(FWDrawContext& context) const
{
    auto* self = const_cast<FWOutlineView*>(this);
    const FWRect view = GetRect();
    FWRect visible;
    context.GetVisRect(&visible);
    if (!view.IntersectRect(visible))
        return;
    FWDrawContext* previous = self->mContext;
    self->mContext = &context;
    {
        FWPenSaver pen(context);
        FWColorSaver colours(context);
        if (mSunkenFrame) {
            context.InsetRect(&view, true);
        } else {
            FWRect frame = view;
            frame.Inset(1, 1);
            context.FrameRect(&frame);
        }
    }
    if (mHScroller != nullptr && Not(kNoHScrollArea))
        mHScroller->Draw(context);
    if (mVScroller != nullptr && Not(kNoVScrollArea))
        mVScroller->Draw(context);
    self->draw_contents(context, &visible);
    self->mContext = previous;
}

void FWOutlineView::draw_contents(FWDrawContext& context, const FWRect* area)
{
    const FWRect content = get_content_rect();
    FWRect clip = content;
    if (area != nullptr && !area->IntersectRect(content, &clip))
        return;
    if (clip.Empty())
        return;
    const int32_t widest = mWidestRight;
    const int32_t left = calc_row_left(false);
    {
        FWColorSaver colours(context);
        FWPenSaver pen(context);
        FWClipSaver clipSaver(context, &clip);
        context.PaintRect(&clip, FWGetAppColor(0));
        context.PenNormal();
        for (int32_t slot = 0; slot < RowSlots(); ++slot) {
            if (mRows[size_t(slot)].node != nullptr) {
                draw_row(context, slot, &clip, left);
            } else if (Not(kNoSeparators)) {
                const int32_t y = calc_row_bottom(calc_row_top(slot));
                context.SetForeColor(FWGetAppColor(7));
                context.MoveTo(clip.left, y);
                context.LineTo(clip.right, y);
            }
        }
        context.SetForeColor(FWGetAppColor(2));
        int32_t x = left;
        const std::pair<uint32_t, int32_t> columns[] = {
            {kNoRowNumbers, 18}, {kNoLockColumn, 14}, {kNoVisibilityColumn, 14}, {kNoActiveColumn, 14}};
        for (const auto& [bit, width] : columns) {
            if (!Not(bit))
                continue;
            x += width;
            context.MoveTo(x, clip.top);
            context.LineTo(x, clip.bottom);
        }
    }
    if (mHScroller != nullptr && widest != mWidestRight) {
        mHScroller->SetScrollMax(content.Width(), mWidestRight - content.left + 5);
        if (Not(kNoHScrollArea))
            mHScroller->Draw(context);
    }
}

void FWOutlineView::draw_row(FWDrawContext& context, int32_t slot, const FWRect* clipIn, int32_t left)
{
    Row& row = mRows[size_t(slot)];
    FWViewableNode* node = row.node;
    if (node == nullptr)
        return;
    FWPoint p(int16_t(left), int16_t(calc_row_top(slot)));
    const int32_t bottom = calc_row_bottom(p.v);
    FWFontSaver font(context);
    FWColorSaver colours(context);
    FWPenSaver pen(context);
    if (FWGetApplicationRegion() != 0) {
        context.SetFontType(-1);
        context.SetFontSize(10);
    }
    row.selected = node->Viewable_NodeSelected();
    const FWRect clip = clipIn != nullptr ? *clipIn : get_content_rect();
    if (Not(kNoSeparators)) {
        context.SetForeColor(FWGetAppColor(7));
        context.MoveTo(clip.left, bottom);
        context.LineTo(clip.right, bottom);
    }
    const int32_t baseline = p.v + row_height() - text_bottom_gap();
    if (Not(kNoRowNumbers)) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%ld", long(mTopRow + slot + 1));
        digits[2] = digits[0] != 0 && digits[1] != 0 ? 0 : digits[2];
        const FWStr<15> number(digits);
        p.h = int16_t(p.h + 18);
        context.SetForeColor(FWGetAppColor(2));
        const int32_t width = context.GetFont().GetStringWidth(&number);
        context.DrawString(p.h - 2 - width, baseline, &number);
    }
    const FWArgb32 fadeTo = FWGetAppColor(0);
    auto columnIcon = [&](bool shown, long icon, bool consistent) {
        const FWRect r = get_column_icon_rect(p);
        if (shown && r.IntersectRect(clip) && GetSIcon(icon) != nullptr) {
            context.DrawImage(GetSIcon(icon), &r, false);
            if (!consistent)
                context.FadeRect(&r, 0.6, fadeTo, nullptr);
        }
        p.h = int16_t(p.h + 14);
    };
    if (Not(kNoLockColumn))
        columnIcon(node->Viewable_IsLockable() && node->Viewable_IsLocked(), 5, node->Viewable_IsLockedConsistent());
    if (Not(kNoVisibilityColumn))
        columnIcon(node->Viewable_Visibility(), 6, node->Viewable_IsVisibilityConsistent());
    if (Not(kNoActiveColumn))
        columnIcon(node->Viewable_NodeActive(), 7, true);
    if (Not(kFlat) && node->Viewable_FirstChild() != nullptr) {
        const FWRect r = get_arrow_rect(p);
        if (r.IntersectRect(clip) && GetSIcon(node->Viewable_SubtreeVisible() ? 0 : 1) != nullptr)
            context.DrawImage(GetSIcon(node->Viewable_SubtreeVisible() ? 0 : 1), &r, false);
    }
    const ImageBuffer* image = node->Viewable_Icon();
    if (Not(kCompact))
        row.iconRect = get_icon_rect(row.depth, p);
    if (Not(kNoLinesOfAncestry) && row.depth > 0) {
        context.SetForeColor(FWGetAppColor(2));
        FWRect r = get_loa_rect(0, p);
        for (int32_t i = 0; i < row.depth && i < 99; ++i) {
            FWRect level = r;
            if (i == row.depth - 1)
                level.right = (Not(kCompact) && image != nullptr) ? int16_t(row.iconRect.left - 3) : int16_t(r.right - 4);
            draw_lines_of_ancestry(context, level, row.loa[i]);
            r.Offset(12, 0);
        }
    }
    if (Not(kCompact) && image != nullptr && row.iconRect.IntersectRect(clip)) {
        const FWRect size = image->GetRect();
        if (size.Width() >= row.iconRect.Width() && size.Height() >= row.iconRect.Height()) {
            context.DrawImage(image, &row.iconRect, false);
        } else {
            FWRect centred = size;
            centred.CenterInsideOf(row.iconRect);
            context.DrawImage(image, &centred, false);
        }
        if (row.selected) {
            const FWArgb32 keep = FWGetAppColor(0);
            context.FadeRect(&row.iconRect, 0.5, mHiliteColor, &keep);
        }
        if (node->Viewable_NodeGhosted())
            context.FadeRect(&row.iconRect, 0.6, FWGetAppColor(0), nullptr);
    }
    const FWPoint t = get_text_point(row.depth, p);
    FWRect text = makeRect(t.h, t.v - 10, t.h + node->Viewable_Width(context), t.v + 2);
    context.SetForeColor(FWArgb32::Black);
    if (!text.IntersectRect(clip))
        return;
    if (mEditBox != nullptr && node == mEditedNode) {
        mEditBox->Draw(context);
        return;
    }
    const bool italic = node->Viewable_NodeItalic();
    const bool bold = node->Viewable_NodeBold();
    if (italic || bold) {
        context.SetFontItalic(italic);
        context.SetFontBold(bold);
    }
    context.SetForeColor(node->Viewable_NodeGhosted() ? FWGetAppColor(10) : node->Viewable_NodeTextColor());
    context.SetBackColor(FWGetAppColor(0));
    text.right = int16_t(t.h + node->Viewable_Width(context));
    row.textRect = text;
    // A selected name is drawn in the highlight text colour on the highlight colour: the
    // screen's colour exchange blends anti-aliased text, so the name is not exchanged after.
    context.EraseRect(&text, row.selected ? mHiliteColor : FWGetAppColor(0));
    if (row.selected)
        context.SetForeColor(mHiliteTextColor);
    node->Viewable_Draw(context, t);
    context.SetForeColor(FWArgb32::Black);
    if (mHScroller != nullptr && mWidestRight < text.right + mHScroller->ScrollVal())
        mWidestRight = text.right + mHScroller->ScrollVal();
}

void FWOutlineView::draw_lines_of_ancestry(FWDrawContext& context, const FWRect& r, char c) const
{
    const int32_t mid = (r.top + r.bottom) / 2;
    switch (c) {
    case 'L':
        context.MoveTo(r.left, r.top);
        context.LineTo(r.left, mid);
        context.LineTo(r.right, mid);
        break;
    case 'I':
        context.MoveTo(r.left, r.top);
        context.LineTo(r.left, r.bottom + 3);
        break;
    case 'T':
        context.MoveTo(r.left, r.top);
        context.LineTo(r.left, r.bottom + 3);
        context.MoveTo(r.left, mid);
        context.LineTo(r.right, mid);
        break;
    default:
        break;
    }
}

void FWOutlineView::redraw_row(int32_t slot)
{
    if (mContext != nullptr) {
        const FWRect content = get_content_rect();
        FWClipSaver clip(*mContext, &content);
        draw_row(*mContext, slot, &content, calc_row_left(false));
        return;
    }
    const Row& row = mRows[size_t(slot)];
    if (row.node != nullptr)
        InvalNode(row.node);
}

// Events ---------------------------------------------------------------------------------------

void FWOutlineView::sendEvent(int32_t code, FWViewableNode* node)
{
    mEventCode = code;
    mEventNode = node;
    SendInterfaceEvent(this);
    mEventCode = 0;
    mEventNode = nullptr;
}

int32_t FWOutlineView::pt_to_row(FWPoint p, int32_t& slotOut, FWRect& rect, FWViewableNode** nodeOut) const
{
    if (nodeOut != nullptr)
        *nodeOut = nullptr;
    const FWRect content = get_content_rect();
    if (!content.PtInRect(p))
        return 8;
    const int32_t view = p.v - GetRect().top;
    int32_t slot = mVScroller != nullptr ? (view + (mVScroller->ScrollVal() - 3) % row_delta()) / row_delta()
                                         : (view - 3) / row_delta();
    if (slot >= 0 && slot < RowSlots() && mRows[size_t(slot)].node != nullptr) {
        const Row& row = mRows[size_t(slot)];
        if (nodeOut != nullptr)
            *nodeOut = row.node;
        slotOut = slot;
        if (p.h >= row.textRect.left && p.h <= row.textRect.right)
            return 6;
        if (row.iconRect.PtInRect(p))
            return 5;
        const int32_t top = calc_row_top(slot);
        int32_t x = calc_row_left(false);
        if (Not(kNoRowNumbers)) {
            if (p.h < x + 18) {
                rect = makeRect(x, top, x + 18, top + row_height());
                return 0;
            }
            x += 18;
        }
        const std::pair<uint32_t, int32_t> columns[] = {{kNoLockColumn, 1}, {kNoVisibilityColumn, 2}, {kNoActiveColumn, 3}};
        for (const auto& [bit, code] : columns) {
            if (!Not(bit))
                continue;
            if (p.h < x + 14) {
                rect = get_column_icon_rect(FWPoint(int16_t(x), int16_t(top)));
                return code;
            }
            x += 14;
        }
        if (Not(kFlat) && row.node->Viewable_FirstChild() != nullptr) {
            rect = get_arrow_rect(FWPoint(int16_t(x), int16_t(top)));
            if (rect.PtInRect(p))
                return 4;
        }
    } else {
        slotOut = (slot >= 0 && slot < RowSlots()) ? slot : -1;
    }
    return p.h <= calc_row_left(true) ? 8 : 7;
}

// Stored record --------------------------------------------------------------------------------

// Version 1: version byte; the view's record; flags; icon size.
void FWOutlineView::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("FWOutlineView", 1);
    FWView::OldWrite(stream);
    stream.WriteLong(int32_t(mFlags));
    stream.WriteFWPoint(mIconSize);
    stream.FinishClass("FWOutlineView", this, 0);
}

void FWOutlineView::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("FWOutlineView");
    FWView::OldRead(stream);
    if (version == 1) {
        stream.ReadLong(); // the stored flags, replaced below
        stream.ReadFWPoint(mIconSize);
    } else {
        FWStoredDataNotice::Report("Unknown 'FWOutlineView' version", kOutlineSource, 955);
    }
    // A view from a layout always shows icons and names with the visibility column, whatever
    // its version, so that what it saves loads back the same.
    mFlags = kReadFlags;
    mContext = nullptr;
    mLastClicked = nullptr;
    mEventCode = 0;
    mEventNode = nullptr;
    mHiliteColor = FWArgb32(255, 0, 0, 0);
    mHiliteTextColor = FWArgb32(255, 255, 255, 255);
    mLastClickTime = 0;
    mFirstRoot = nullptr;
    mRows.clear();
    mDisplayTotal = 0;
    mTopRow = 0;
    mWidestRight = 0;
    delete mHScroller;
    delete mVScroller;
    mHScroller = nullptr;
    mVScroller = nullptr;
    if (mEditBox != nullptr) {
        mEditBox->SendMessage(IsBeingDeleted);
        delete mEditBox;
    }
    mEditBox = nullptr;
    mEditedNode = nullptr;
    if (!GetRect().Empty()) {
        realloc_vis_rows_array();
        init_vis_rows_array();
    }
    stream.FinishClass("FWOutlineView", this, 0);
}

bool FWOutlineView::DoInterface()
{
    // The list's dialog is made with its window's document.
    ListBoxDlg dialog(GetWindow() != nullptr ? GetWindow()->GetDocument() : nullptr, this);
    return dialog.Execute();
}
