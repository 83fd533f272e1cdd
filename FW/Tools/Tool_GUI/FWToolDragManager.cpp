#include "FWToolDragManager.h"

#include "FWApp.h"
#include "FWPlatformUtils.h"
#include "FWProgrammerMessage.h"
#include "FWScreenFrame.h"
#include "FWToolDropTarget.h"
#include "FWToolGrid.h"
#include "FWToolManager.h"
#include "FWToolPalette.h"
#include "FWToolWidget.h"
#include "FWWindow.h"

#include <algorithm>

FWToolDragManager* FWToolDragManager::mInstance = nullptr;

FWToolDragManager* FWToolDragManager::Instance()
{
    if (mInstance == nullptr)
        mInstance = new FWToolDragManager;
    return mInstance;
}

void FWToolDragManager::RegisterDropTarget(FWToolDropTarget& target)
{
    mDropTargets.push_back(&target);
}

void FWToolDragManager::UnregisterDropTarget(FWToolDropTarget& target)
{
    auto found = std::find(mDropTargets.begin(), mDropTargets.end(), &target);
    if (found != mDropTargets.end())
        mDropTargets.erase(found);
    if (mCurrentTarget == &target)
        mCurrentTarget = nullptr;
}

void FWToolDragManager::InitTracking(FWRect start, FWRect slop)
{
    mStartRect = start;
    mSlopRect = slop;
}

bool FWToolDragManager::DefaultToolWidgetDrag(FWToolWidget& widget)
{
    widget.SetPressed(true);
    widget.UpdateNow();
    FWRect start = widget.GetRect();
    if (FWWindow* window = widget.GetWindow()) {
        FWPoint topLeft(start.left, start.top);
        window->WindowToGlobal(&topLeft);
        start.MoveTo(topLeft.h, topLeft.v);
    }
    FWRect slop = start;
    slop.Grow(15);
    InitTracking(start, slop);
    const bool dropped = TrackToolWidgetDrag(widget);
    // A drop inside the widget's own palette may have moved it; it is still there to redraw.
    widget.SetPressed(false);
    widget.UpdateNow();
    return dropped;
}

bool FWToolDragManager::TrackToolWidgetDrag(FWToolWidget& widget)
{
    mDraggedWidget = &widget;
    const bool dropped = Track();
    if (dropped) {
        const FWPoint where(mOutlineRect.left, mOutlineRect.top);
        if (mCurrentTarget != nullptr)
            mCurrentTarget->DropToolWidget(where, widget);
        else
            CreateUserPalette(where, widget);
    }
    mCurrentTarget = nullptr;
    mDraggedWidget = nullptr;
    return dropped;
}

bool FWToolDragManager::TrackToolGridDrag(FWToolGrid& grid, const FWString& name)
{
    mDraggedGrid = &grid;
    const bool dropped = Track();
    if (dropped) {
        const FWPoint where(mOutlineRect.left, mOutlineRect.top);
        if (mCurrentTarget != nullptr)
            mCurrentTarget->DropToolGrid(where, grid);
        else
            CreateTearoffPalette(where, grid, name);
    }
    mCurrentTarget = nullptr;
    mDraggedGrid = nullptr;
    return dropped;
}

bool FWToolDragManager::Track()
{
    BeginDrawing();
    FWPoint previous(-1, -1);
    try {
        while (FWIsMouseStillDown()) {
            FWPoint point;
            FWGetMousePosition(point);
            if (point == previous)
                continue;
            previous = point;
            UpdateDropTargets(point, FindDropTarget(point));
            DrawNewDrawing(point);
        }
    } catch (...) {
        // No way out of the drag leaves its outline on the screen.
        FinishDrawing();
        throw;
    }
    const bool dropped = !mOutlineRect.Empty() && !mSlopRect.PtInRect(previous);
    FinishDrawing();
    return dropped;
}

FWToolDropTarget* FWToolDragManager::FindDropTarget(FWPoint global)
{
    if (mDropTargets.empty() || !FWApp::Exists())
        return nullptr;
    FWWindow* window = FWApp::Instance()->FindWindow(global);
    if (window == nullptr)
        return nullptr;
    FWPoint local = global;
    window->GlobalToWindow(&local);
    FWToolDropTarget* target = nullptr;
    for (FWToolDropTarget* candidate : mDropTargets) {
        if (candidate->AtLocation(window, local)) {
            target = candidate;
            break;
        }
    }
    if (target == nullptr)
        return nullptr;
    if (mDraggedWidget != nullptr ? !target->AcceptsToolWidget(*mDraggedWidget)
                                  : mDraggedGrid != nullptr && !target->AcceptsToolGrid(*mDraggedGrid))
        return nullptr;
    if (mSlopRect.PtInRect(global) && !target->AcceptsInvisibleDrags())
        return nullptr;
    return target;
}

void FWToolDragManager::UpdateDropTargets(FWPoint global, FWToolDropTarget* target)
{
    if (target == mCurrentTarget) {
        if (mCurrentTarget != nullptr)
            mCurrentTarget->DragWithin(global);
        return;
    }
    if (mCurrentTarget != nullptr)
        mCurrentTarget->DragExit(global);
    mCurrentTarget = target;
    if (mCurrentTarget != nullptr)
        mCurrentTarget->DragEnter(global);
}

void FWToolDragManager::BeginDrawing()
{
    if (mScreenFrame != nullptr) {
        // A frame left from an earlier drag would stay on the screen: it goes first.
        fw_programmer_message("The screen frame is not NULL.", kSourcePath, __LINE__);
        delete mScreenFrame;
        mScreenFrame = nullptr;
    }
    mScreenFrame = new FWScreenFrame();
    mOutlineRect = FWRect();
}

void FWToolDragManager::DrawNewDrawing(FWPoint global)
{
    mOutlineShown = !mSlopRect.PtInRect(global);
    if (mScreenFrame == nullptr)
        return;
    if (!mOutlineShown) {
        mScreenFrame->Hide();
        return;
    }
    FWRect outline = mStartRect;
    outline.MoveTo(int16_t(global.h + mOffset.h), int16_t(global.v + mOffset.v));
    FWWindow::ValidateStandardWindowBounds(outline, global, true);
    mOutlineRect = outline;
    mScreenFrame->SetBounds(outline);
    mScreenFrame->Show();
}

void FWToolDragManager::FinishDrawing()
{
    delete mScreenFrame;
    mScreenFrame = nullptr;
    mOutlineShown = false;
}

FWToolPalette* FWToolDragManager::CreateUserPalette(FWPoint where, const FWToolWidget& widget)
{
    auto* palette = new FWToolPalette(FWRect(0, 0, 10, 10), true);
    if (widget.TextMode())
        palette->GetToolGrid()->SetDisplayMode(FWToolGrid::kText);
    if (FWToolWidget* copy = FWToolManager::CreateNewWidgetForTool(widget.ToolName().GetCString())) {
        palette->AddToolWidget(*copy);
        palette->SetName(&copy->ToolName(), false);
    }
    palette->SetLocation(where.h, where.v);
    palette->Show();
    return palette;
}

FWToolPalette* FWToolDragManager::CreateTearoffPalette(FWPoint where, const FWToolGrid& grid, const FWString& name)
{
    auto* palette = new FWToolPalette(FWRect(0, 0, 10, 10), false);
    FWToolGrid* own = palette->GetToolGrid();
    own->SetDisplayMode(grid.DisplayMode());
    own->SetLayout(grid.DisplayMode() == FWToolGrid::kText ? FWToolGrid::kSquare : grid.Layout());
    palette->AddToolGridContents(grid);
    palette->SetLocation(where.h, where.v);
    palette->SetName(&name, false);
    palette->Show();
    return palette;
}
