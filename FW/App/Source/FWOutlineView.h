// A scrolling, hierarchical list of viewable nodes: one row per node in display order (preorder,
// skipping the children of collapsed nodes), indented by depth, with lines of ancestry, twist-down
// arrows, optional toggle columns and a name. Only the rows that fit the content are kept. The
// owner learns of clicks through Event() and EventNode() while the interface event is sent.
#pragma once

#include "FWArgb32.h"
#include "FWView.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class EditText;
class FWViewableNode;
class ImageBuffer;
class Scroller;

class FWOutlineView : public FWView {
public:
    // Option bits; a set bit turns its feature off unless stated.
    enum : uint32_t {
        kCompact = 0x1,
        kNoLinesOfAncestry = 0x2,
        kFlat = 0x4,
        kNoActiveColumn = 0x8,
        kNoVisibilityColumn = 0x10,
        kNoLockColumn = 0x20,
        kNoRowNumbers = 0x40,
        kNoSeparators = 0x80,
        kNoVScrollArea = 0x100,
        kNoHScrollArea = 0x200,
        kVScrollLeft = 0x400,
        kNoMarquee = 0x800,
        kNoDrag = 0x1000,
        kNoContextualClick = 0x4000,
        kShiftReplaces = 0x10000,
        kNoRename = 0x20000,
    };

    // Notifications, read through Event() while the interface event is sent.
    enum : int32_t {
        kEventContextual = 0,
        kEventVisibility = 1,
        kEventLock = 2,
        kEventSelectionWillChange = 3,
        kEventSelectionChanged = 4,
        kEventMoved = 5,
        kEventDoubleClick = 6,
        kEventIconClick = 7,
        kEventRenamed = 8,
    };

    // One visible row.
    struct Row {
        FWViewableNode* node = nullptr;
        int32_t depth = 0;
        // One character per level 1..depth: 'T', 'L', 'I' or ' '; only 99 levels are kept.
        char loa[100] = {};
        FWRect iconRect;
        FWRect textRect;
        int32_t selected = 0;
    };

    FWOutlineView();
    ~FWOutlineView() override;

    void Init(FWWindow* window, const FWRect* rect, uint32_t flags);
    using FWView::Init;

    Scroller* HScroller() const { return mHScroller; }
    Scroller* VScroller() const { return mVScroller; }
    bool HasHScroller() const { return mHScroller != nullptr; }
    bool HasVScroller() const { return mVScroller != nullptr; }
    bool TestFlag(uint32_t bits) const { return (mFlags & bits) == bits; }
    bool Not(uint32_t bits) const { return (mFlags & bits) == 0; }
    void SetFlag(uint32_t bits) { mFlags |= bits; }
    void ClearFlag(uint32_t bits) { mFlags &= ~bits; }
    uint32_t Flags() const { return mFlags; }
    FWPoint IconSize() const { return mIconSize; }
    FWViewableNode* FirstRoot() const { return mFirstRoot; }
    int32_t Event() const { return mEventCode; }
    FWViewableNode* EventNode() const { return mEventNode; }

    // The tree
    void SetFirstRoot(FWViewableNode* node);
    // Rebuilds the rows after a change of the tree and redraws.
    void RefreshView();
    void InvalNode(FWViewableNode* node);
    // Scrolls the node into view (optionally selecting it); its display index, or -1.
    int32_t ScrollToNode(FWViewableNode* node, bool select);
    void AddVScroller();
    int32_t DisplayTotal() const { return mDisplayTotal; }
    int32_t TopRow() const { return mTopRow; }
    int32_t RowSlots() const { return int32_t(mRows.size()); }
    const Row& RowAt(int32_t slot) const { return mRows[size_t(slot)]; }

    // The shared small icons 0..7 (arrows, lock, visibility, active); null outside that range.
    virtual const ImageBuffer* GetSIcon(long index) const;
    virtual void SetSIcon(long, const ImageBuffer*) {}

    // Geometry, in window coordinates.
    int32_t row_height() const { return TestFlag(kCompact) ? 12 : mIconSize.v; }
    // At least 1: a stored icon height of -3 or less would otherwise divide by zero.
    int32_t row_delta() const { return std::max(1, row_height() + 3); }
    int32_t text_bottom_gap() const { return TestFlag(kCompact) ? 3 : (mIconSize.v - 8) / 2; }
    int32_t icon_bottom_gap() const { return TestFlag(kCompact) ? 0 : (mIconSize.v - 12) / 2; }
    // The view rectangle less the frame and the scroll bars' areas; empty, of no size, when the
    // view is too small for them.
    FWRect get_content_rect() const;
    // What the frame and the scroll bars' areas take from each side of the view rectangle.
    FWRect content_insets() const;
    FWRect get_v_scroll_rect() const;
    FWRect get_h_scroll_rect() const;
    int32_t calc_row_left(bool withColumns) const;
    int32_t calc_row_top(int32_t slot) const;
    int32_t calc_row_bottom(int32_t top) const { return top + row_height() + 1; }
    int32_t top_vis_row() const;
    int32_t data_max() const { return row_delta() * mDisplayTotal + 8; }
    FWRect get_column_icon_rect(FWPoint p) const;
    FWRect get_arrow_rect(FWPoint p) const;
    FWRect get_icon_rect(int32_t depth, FWPoint p) const;
    FWRect get_loa_rect(int32_t depth, FWPoint p) const;
    FWPoint get_text_point(int32_t depth, FWPoint p) const;

    // Display order: the row after (or before) the given one; a null row starts at the first
    // root. Answers whether a node was found.
    bool get_next_display_node(const Row* row, Row& out) const;
    bool get_prev_display_node(const Row* row, Row& out) const;

    // Scrolls the content by the change of the scrollers' values already made.
    void ScrollView(int32_t dh, int32_t dv, bool redraw);
    static void scroll_proc(int32_t change, void* view, Scroller* bar);

    // Where a point lies: the hit code, the slot (-1 below the last row) and the node.
    int32_t pt_to_row(FWPoint p, int32_t& slot, FWRect& rect, FWViewableNode** node) const;

    // In-place renaming of the single selected row: answers whether a box is open afterwards.
    bool maybe_show_edit_box();
    // Closes the box; when committing, a changed, non-empty name is given to the node (event 8).
    void hide_edit_box(bool commit);
    EditText* EditBox() const { return mEditBox; }
    FWViewableNode* EditedNode() const { return mEditedNode; }
    // The selected nodes that can be deleted, in preorder over all roots, none inside another.
    // Nothing is removed: no node of the system can be deleted from its outline.
    std::vector<FWViewableNode*> delete_selection();

    // Scrolls toward a point outside rect (two pixels, or a row when far out); delta gets the
    // change of the values made.
    bool needs_autoscroll(FWPoint p, const FWRect& rect) const;
    void autoscroll(FWPoint p, const FWRect& rect, FWPoint& delta);

    bool MouseDownEvent(FWEvent& event) override;
    // A control-click is the outline's own: event 0, or a plain click with 0x4000.
    bool ContextualMouseDownEvent(FWEvent& event) override { return MouseDownEvent(event); }
    bool KeyDownEvent(FWEvent& event) override;
    bool AutoKeyEvent(FWEvent& event) override;
    void SetRect(const FWRect& rect) override;
    // Room for one pixel of content inside the frame and the scroll bars' areas.
    FWPoint LeastSize() const override;
    bool SetCursor() override;
    bool CutEvent(FWEvent& event) override;
    bool CopyEvent(FWEvent& event) override;
    bool PasteEvent(FWEvent& event) override;
    bool ClearEvent(FWEvent& event) override;
    bool SelectAllEvent(FWEvent& event) override;
    bool SelectNoneEvent(FWEvent& event) override;
    bool CanCut() override;
    bool CanCopy() override;
    bool CanPaste() override;
    bool CanClear() override;
    bool CanSelectAll() override;
    bool CanSelectNone() override;
    bool ReceiveMessage(Dependable* sender, Message message) override;
    void Draw(FWDrawContext& context) const override;
    const char* FactoryGetClassName() const override { return "FWOutlineView"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;

protected:
    void sendEvent(int32_t code, FWViewableNode* node);
    void realloc_vis_rows_array();
    void init_vis_rows_array();
    // Places the icon and name rectangles of the rows from slot 0 down.
    void layout_rows();
    void draw_contents(FWDrawContext& context, const FWRect* area);
    void draw_row(FWDrawContext& context, int32_t slot, const FWRect* clip, int32_t left);
    void draw_lines_of_ancestry(FWDrawContext& context, const FWRect& r, char c) const;
    void track_contents(FWPoint p, uint16_t modifiers);
    void track_row_click(FWPoint p, uint16_t modifiers, int32_t slot);
    // Sets the rows first..last to the state; redraws those that changed, appending their nodes
    // to changed when given; answers whether any did.
    bool select_rows(int32_t first, int32_t last, bool state, std::vector<FWViewableNode*>* changed = nullptr);
    void deselect_selection();
    // Column toggles (1 lock, 2 visibility, 3 active), painted across rows by dragging.
    bool get_row_state(int32_t slot, int32_t column, bool* consistent) const;
    void toggle_column_icon(int32_t slot, int32_t column, const FWRect& rect, uint16_t modifiers);
    void track_column_icon(int32_t slot, int32_t column, const FWRect& rect, FWPoint p, uint16_t modifiers);
    // Follows the press on a twist-down arrow; answers whether it was released inside.
    bool track_twistdown_arrow(FWPoint p, int32_t slot, FWRect& rect);
    void do_twistdown_arrow_click(int32_t slot, const FWRect& rect, uint16_t modifiers);
    void animate_twistdown_arrow(const FWRect& rect, bool open);
    void surround_select_objects(FWPoint p, uint16_t modifiers);
    bool toggle_surround_transition_items(const FWRect& before, const FWRect& after);
    // Drags the selection to a new place; answers whether nodes moved.
    bool drag_selected_objects(FWPoint p, uint16_t modifiers);
    void relocate_selection(int32_t slot, bool into, const std::vector<FWViewableNode*>& nodes);
    void live_pan_view(FWPoint start);
    // Scrolls the content and moves the scroll bars by changes already kept within their range.
    void scroll_content_by(int32_t dh, int32_t dv);
    void draw_xor_rect(FWDrawContext& context, const FWRect& rect) const;
    // Draws the arrow image into its rectangle now (when a context is current).
    void draw_arrow_image(const FWRect& rect, long icon);
    // Invalidates the area and, with a current context, redraws it now.
    void redraw_area(const FWRect& area);
    // The line marking a drop between rows (or erasing it in the separator colour).
    void draw_insertion_line(int32_t slot, bool show);
    void do_navigation_char(int key, uint16_t modifiers);
    // Redraws the slot now when a context is current, else invalidates it.
    void redraw_row(int32_t slot);

    FWDrawContext* mContext = nullptr;
    uint32_t mFlags = 0;
    FWPoint mIconSize{16, 16};
    FWViewableNode* mLastClicked = nullptr;
    int32_t mEventCode = 0;
    FWViewableNode* mEventNode = nullptr;
    FWArgb32 mHiliteColor{255, 0, 0, 0};
    FWArgb32 mHiliteTextColor{255, 255, 255, 255};
    uint32_t mLastClickTime = 0;
    FWViewableNode* mFirstRoot = nullptr;
    std::vector<Row> mRows;
    int32_t mDisplayTotal = 0;
    int32_t mTopRow = 0;
    int32_t mWidestRight = 0;
    Scroller* mHScroller = nullptr;
    Scroller* mVScroller = nullptr;
    EditText* mEditBox = nullptr;
    // The node being renamed (the rows are rebuilt while the box is open).
    FWViewableNode* mEditedNode = nullptr;
    bool mSunkenFrame = true;
};
