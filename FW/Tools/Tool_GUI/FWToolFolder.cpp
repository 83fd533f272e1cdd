#include "FWToolFolder.h"

#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWPlatformUtils.h"
#include "FWToolDragManager.h"
#include "FWToolGrid.h"
#include "FWWindow.h"

namespace {

constexpr int16_t kTabHeight = 16;      // the tab and the shelf above the grid
constexpr int16_t kContractedHeight = 18;
constexpr int16_t kTabRightGap = 10;    // the strip right of the tab is not part of it

} // namespace

FWToolFolder::FWToolFolder(FWWindow* window, const FWRect& rect, const FWString& name) : mName(name)
{
    Init(window);
    mToolGrid = new FWToolGrid(window);
    AppendChild(mToolGrid);
    SetRect(rect);
}

bool FWToolFolder::TextMode() const
{
    return mToolGrid->DisplayMode() == FWToolGrid::kText;
}

void FWToolFolder::SetContracted(bool contracted)
{
    if (contracted == mContracted)
        return;
    FWRect changed;
    const FWRect rect = GetRect();
    if (contracted) {
        mToolGrid->SetVisibility(false);
        changed = rect;
        mContracted = true;
        FWView::SetRect(FWRect(rect.left, rect.top, rect.right, int16_t(rect.top + kContractedHeight)));
    } else {
        mContracted = false;
        mToolGrid->SetVisibility(true);
        FWRect grid = mToolGrid->GetRect();
        grid.MoveTo(int16_t(rect.left + 3), int16_t(rect.top + kTabHeight));
        mToolGrid->SetRect(grid);
        FitToolGridToSelf();
        FitToToolGrid();
        changed = GetRect();
    }
    // Only the part below the tab's top changes.
    changed.top = int16_t(changed.top + 13);
    if (GetWindow() != nullptr)
        GetWindow()->Inval(&changed);
}

void FWToolFolder::SetHalfsizeMode(bool halfsize)
{
    if (halfsize == mHalfsizeMode)
        return;
    mHalfsizeMode = halfsize;
    mToolGrid->SetDisplayMode(halfsize ? FWToolGrid::kSmallIcons : FWToolGrid::kLargeIcons);
    FitToToolGrid();
}

void FWToolFolder::SetTextMode(bool textMode)
{
    if (textMode == TextMode())
        return;
    if (textMode)
        mToolGrid->SetDisplayMode(FWToolGrid::kText);
    else
        mToolGrid->SetDisplayMode(mHalfsizeMode ? FWToolGrid::kSmallIcons : FWToolGrid::kLargeIcons);
    FitToToolGrid();
}

void FWToolFolder::AddToolWidget(FWToolWidget& widget)
{
    mToolGrid->AddToolWidget(widget, nullptr, false);
    FitToToolGrid();
}

bool FWToolFolder::PointInTab(FWPoint point) const
{
    const FWRect rect = GetRect();
    return rect.PtInRect(point) && point.h < rect.right - kTabRightGap && point.v < rect.top + kTabHeight;
}

bool FWToolFolder::PointInFolder(FWPoint point) const
{
    const FWRect rect = GetRect();
    return rect.PtInRect(point) && (point.v > rect.top + 13 || PointInTab(point));
}

bool FWToolFolder::HandleTabClick(FWEvent& event)
{
    const FWPoint point = event.mWhere;
    if (!PointInTab(point))
        return false;
    if (TrackTearOff(point))
        return false;
    FWPoint mouse;
    FWGetMousePosition(mouse);
    if (GetWindow() != nullptr)
        GetWindow()->GlobalToWindow(&mouse);
    if (!PointInTab(mouse))
        return false;
    if (event.OptionKeyDown() && !mContracted) {
        Inval();
        if (TextMode())
            mToolGrid->SetDisplayMode(mHalfsizeMode ? FWToolGrid::kSmallIcons : FWToolGrid::kLargeIcons);
        else
            mToolGrid->SetDisplayMode(FWToolGrid::kText);
        FitToToolGrid();
        Inval();
    } else {
        SetContracted(!mContracted);
    }
    return true;
}

bool FWToolFolder::TrackTearOff(FWPoint point)
{
    const FWRect rect = GetRect();
    const FWPoint offset(int16_t(rect.left - point.h), int16_t(rect.top - point.v));
    const FWRect open(rect.left, rect.top, rect.right, int16_t(rect.top + mToolGrid->GetRect().Height() + 19));
    FWRect frame;
    if (FWWindow* window = GetWindow()) {
        frame = window->Size();
        int32_t h = 0;
        int32_t v = 0;
        window->GetLocation(&h, &v);
        frame.MoveTo(int16_t(h), int16_t(v));
    }
    FWToolDragManager* drag = FWToolDragManager::Instance();
    drag->InitTracking(open, frame);
    drag->SetOffset(offset);
    return drag->TrackToolGridDrag(*mToolGrid, mName);
}

void FWToolFolder::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    FitToolGridToSelf();
    FitToToolGrid();
}

bool FWToolFolder::MouseDownEvent(FWEvent& event)
{
    if (HandlerHandledMouseDownEvent(event))
        return true;
    return HandleTabClick(event);
}

bool FWToolFolder::ContextualMouseDownEvent(FWEvent& event)
{
    if (HandlerHandledContextualMouseDownEvent(event))
        return true;
    return FWView::ContextualMouseDownEvent(event);
}

void FWToolFolder::FitToolGridToSelf()
{
    if (mContracted)
        return;
    const FWRect rect = GetRect();
    mToolGrid->SetRect(FWRect(int16_t(rect.left + 3), int16_t(rect.top + kTabHeight), int16_t(rect.right - 3),
                              int16_t(rect.bottom - 3)));
}

void FWToolFolder::FitToToolGrid()
{
    if (mContracted)
        return;
    const FWRect rect = GetRect();
    FWView::SetRect(FWRect(rect.left, rect.top, rect.right, int16_t(mToolGrid->GetRect().bottom + 3)));
}

void FWToolFolder::Draw(FWDrawContext& context) const
{
    if (!DrawingIsEffective(context))
        return;
    FWForeColorSaver saved(context);
    const FWRect r = GetRect();
    const int32_t L = r.left;
    const int32_t T = r.top;
    const int32_t R = r.right;
    const int32_t B = r.bottom;
    auto line = [&context](int32_t h0, int32_t v0, int32_t h1, int32_t v1) {
        context.MoveTo(h0, v0);
        context.LineTo(h1, v1);
    };

    context.SetForeColor(FWArgb32::Black);
    line(L, T + 2, L, B - 1);
    line(R - 1, T + 13, R - 11, T + 13);
    line(R - 11, T + 13, R - 11, T + 2);
    line(R - 13, T, L + 2, T);
    context.PaintPixel(L + 1, T + 1);
    context.PaintPixel(R - 12, T + 1);

    context.SetForeColor(FWArgb32::White);
    line(L + 1, T + 2, L + 1, B - 2);
    line(L + 2, T + 1, R - 13, T + 1);
    line(R - 11, T + 14, R - 2, T + 14);
    context.PaintPixel(L + 2, T + 1);
    context.PaintPixel(R - 13, T + 1);
    line(R - 12, T + 3, R - 12, T + 14);

    if (!mContracted || mDrawBottomWhenContracted) {
        line(R - 2, B - 2, R - 2, T + 15);
        line(L + 1, B - 2, R - 2, B - 2);
        context.SetForeColor(FWArgb32::Black);
        line(L, B - 1, R - 1, B - 1);
        line(R - 1, B - 1, R - 1, T + 13);
    }

    context.DrawEmbossedStringColors(L + 5, T + 12, &mName, FWArgb32::Black, FWGetAppColor(1), int16_t(r.Width() - 15),
                                     false);
}

void FWToolFolder::DrawFull(FWDrawContext& context)
{
    Draw(context);
    mToolGrid->DrawFull(context);
}
