// The swatch picker's grid of colours with its scroll bar.
#include "SwatchPicker.h"

#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWWindow.h"
#include "Scroller.h"

#include <algorithm>

namespace {

constexpr int kCell = CSwatchDisplay::kCellSize;
constexpr int kColumns = CSwatchDisplay::kColumns;
constexpr long kMaxRows = CSwatchDisplay::kMaxVisibleRows;
// The grid inside the frame, and the frame's size.
constexpr int16_t kGridWidth = 141;
constexpr int16_t kGridHeight = 81;

} // namespace

CSwatchDisplay::CSwatchDisplay(FWWindow* window, SwatchPicker* owner)
    : mOwner(owner), mOverColorCursor(FWGetCursor(11001)), mAddCursor(FWGetCursor(11002)),
      mRemoveCursor(FWGetCursor(11003))
{
    FWView::Init(window);
}

CSwatchDisplay::~CSwatchDisplay()
{
    FWDisposeCursor(mOverColorCursor);
    FWDisposeCursor(mAddCursor);
    FWDisposeCursor(mRemoveCursor);
}

void CSwatchDisplay::Initialize(const FWRect* rect, CColorSwatch* swatch)
{
    if (GetWindow() != nullptr && mOwner->GetPickerWindow() != nullptr) {
        mScroller = new Scroller;
        FWRect bar = *rect;
        bar.left = int16_t(rect->right - 7);
        mScroller->Init(GetWindow(), &bar);
        mOwner->AddOneViewToPickerWindow(mScroller);
        mScroller->SetInterfaceTarget(this);
    }
    mSwatch = swatch;
    SetRect(*rect);
}

void CSwatchDisplay::SetRect(const FWRect& rect)
{
    // Moving the picker hands back the grid's own rectangle, moved; any other is the frame.
    FWRect frame = rect;
    if (rect.right - rect.left == kGridWidth && rect.bottom - rect.top == kGridHeight)
        frame = FWRect(int16_t(rect.left - 1), int16_t(rect.top - 1), int16_t(rect.left + 148), int16_t(rect.top + 82));
    const FWRect grid(int16_t(frame.left + 1), int16_t(frame.top + 1), int16_t(frame.left + 142),
                      int16_t(frame.top + 82));
    FWView::SetRect(grid);
    if (mScroller != nullptr)
        mScroller->SetRect(FWRect(int16_t(grid.right - 1), grid.top, int16_t(grid.right + 6), grid.bottom));
    ResetScroller();
}

long CSwatchDisplay::rowCount() const
{
    return mSwatch == nullptr ? 0 : mSwatch->GetNumColors() / kColumns + 1;
}

void CSwatchDisplay::ResetScroller()
{
    const long rows = rowCount();
    if (mScroller != nullptr) {
        mScroller->SetScrollMax(int32_t(kMaxRows), int32_t(rows));
        mScroller->SetScrollVal(0);
        mScroller->Inval();
    }
    mFirstRow = 0;
    mVisibleRows = std::min(rows, kMaxRows);
    Inval();
}

void CSwatchDisplay::SetTheSwatch(CColorSwatch* swatch)
{
    mSwatch = swatch;
    ResetScroller();
}

long CSwatchDisplay::PointToIndex(FWPoint point) const
{
    FWRect inside = GetRect();
    inside.Inset(1, 1);
    if (mSwatch == nullptr || !inside.PtInRect(point))
        return -1;
    const FWRect grid = GetRect();
    const long column = (point.h - grid.left - 1) / kCell;
    const long row = (point.v - grid.top - 1) / kCell + mFirstRow;
    const long index = kColumns * row + column;
    return index >= mSwatch->GetNumColors() ? -2 : index;
}

void CSwatchDisplay::AddColorToSwatch()
{
    if (mSwatch == nullptr || mSwatch->GetNumColors() >= 32767)
        return;
    FWRgb32 color;
    mOwner->GetCurrentColor(color);
    const short count = mSwatch->GetNumColors();
    mSwatch->SetNumColors(short(count + 1));
    (*mSwatch)[count] = color;
    const long rows = rowCount();
    if (mScroller != nullptr) {
        mScroller->SetScrollMax(int32_t(kMaxRows), int32_t(rows));
        mScroller->Inval();
    }
    mVisibleRows = std::min(rows, kMaxRows);
    Inval();
}

void CSwatchDisplay::RemoveColorFromSwatch(long index)
{
    if (mSwatch == nullptr || index < 0 || index >= mSwatch->GetNumColors())
        return;
    const short count = mSwatch->GetNumColors();
    for (short i = short(index); i + 1 < count; ++i)
        (*mSwatch)[i] = (*mSwatch)[short(i + 1)];
    mSwatch->SetNumColors(short(count - 1));
    const long rows = rowCount();
    if (rows > kMaxRows) {
        mVisibleRows = kMaxRows;
        if (mFirstRow > 0 && mFirstRow + kMaxRows > rows)
            mFirstRow = rows - kMaxRows;
    } else {
        mVisibleRows = rows;
        mFirstRow = 0;
    }
    if (mScroller != nullptr) {
        mScroller->SetScrollMax(int32_t(kMaxRows), int32_t(rows));
        mScroller->Inval();
        mScroller->SetScrollVal(int32_t(mFirstRow));
    }
    Inval();
}

bool CSwatchDisplay::InterfaceAction(FWView* view, const ActionType& action)
{
    (void)action;
    if (view == nullptr || view != mScroller)
        return FWView::InterfaceAction(view, action);
    const long value = mScroller->ScrollVal();
    if (value != mFirstRow) {
        mFirstRow = value;
        if (GetWindow() != nullptr && Visible() && AllParentsVisible()) {
            FWDrawContext context(this);
            context.SetForeColor(FWArgb32(255, 0, 0, 0));
            context.SetBackColor(FWGetAppColor(0));
            for (long row = mFirstRow; row < mFirstRow + mVisibleRows; ++row)
                DrawOneRow(context, row);
            context.Flush();
        }
    }
    return true;
}

void CSwatchDisplay::Draw(FWDrawContext& context) const
{
    if (mSwatch == nullptr)
        return;
    context.SetBackColor(FWGetAppColor(0));
    for (long row = mFirstRow; row < mFirstRow + mVisibleRows; ++row)
        DrawOneRow(context, row);
    const FWRect grid = GetRect();
    if (mVisibleRows < kMaxRows) {
        const FWRect below(grid.left, int16_t(grid.top + kCell * mVisibleRows + 1), int16_t(grid.right - 1),
                           grid.bottom);
        context.EraseRect(&below);
    }
    const FWRect frame(int16_t(grid.left - 1), int16_t(grid.top - 1), int16_t(grid.right + 7),
                       int16_t(grid.bottom + 1));
    context.InsetRect(&frame, false);
}

void CSwatchDisplay::DrawOneRow(FWDrawContext& context, long row) const
{
    const FWRect grid = GetRect();
    const int32_t top = int32_t(grid.top + kCell * (row - mFirstRow));
    const long first = kColumns * row;
    const long remaining = mSwatch->GetNumColors() - first;
    const int cells = remaining >= kColumns ? kColumns : int(std::max(0L, remaining % kColumns));
    if (cells > 0) {
        const int32_t right = grid.left + kCell * cells;
        context.MoveTo(grid.left, top);
        context.LineTo(right, top);
        context.MoveTo(grid.left, top + kCell);
        context.LineTo(right, top + kCell);
        context.MoveTo(grid.left, top);
        context.LineTo(grid.left, top + kCell);
        for (int k = 0; k < cells; ++k) {
            const int32_t left = grid.left + kCell * k;
            const FWRect cell(int16_t(left + 1), int16_t(top + 1), int16_t(left + kCell), int16_t(top + kCell));
            context.PaintRect(&cell, FWArgb32((*mSwatch)[short(first + k)]));
            context.MoveTo(left + kCell, top);
            context.LineTo(left + kCell, top + kCell);
        }
    }
    if (cells < kColumns) {
        const int32_t restTop = row == mFirstRow ? top : top + 1;
        const FWRect rest(int16_t(grid.left + kCell * cells + 1), int16_t(restTop), int16_t(grid.left + 140),
                          int16_t(top + kCell + 1));
        context.EraseRect(&rest);
    }
}

bool CSwatchDisplay::MouseDownEvent(FWEvent& event)
{
    if (mSwatch == nullptr)
        return true;
    long index = PointToIndex(event.mWhere);
    if (index == -2) {
        AddColorToSwatch();
        return true;
    }
    if (index < 0)
        return true;
    if (event.ControlKeyDown() && mSwatch->GetNumColors() > 1) {
        RemoveColorFromSwatch(index);
        return true;
    }
    long last = index;
    mOwner->NewSwatchColor((*mSwatch)[short(last)], ActionType(0));
    FWWindow* window = GetWindow();
    while (window != nullptr && FWIsMouseStillDown()) {
        FWPoint now;
        window->GetMouseLocal(&now);
        index = PointToIndex(now);
        if (index >= 0 && index != last) {
            last = index;
            mOwner->NewSwatchColor((*mSwatch)[short(last)], ActionType(1));
        }
    }
    mOwner->NewSwatchColor((*mSwatch)[short(last)], ActionType(2));
    return true;
}

bool CSwatchDisplay::ContextualMouseDownEvent(FWEvent& event)
{
    if (mSwatch == nullptr || mSwatch->GetNumColors() < 2)
        return true;
    const long index = PointToIndex(event.mWhere);
    if (index == -2)
        AddColorToSwatch();
    else if (index >= 0)
        RemoveColorFromSwatch(index);
    return true;
}

bool CSwatchDisplay::SetCursor()
{
    FWWindow* window = GetWindow();
    if (window == nullptr || mSwatch == nullptr)
        return false;
    FWPoint where;
    window->GetMouseLocal(&where);
    const long index = PointToIndex(where);
    if (index == -2)
        FWSetCursor(mAddCursor);
    else if (index >= 0)
        FWSetCursor(FWIsPressed(CONTROL_KEY) && mSwatch->GetNumColors() > 1 ? mRemoveCursor : mOverColorCursor);
    else
        return false;
    return true;
}
