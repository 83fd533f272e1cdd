#include "FWToolDragManager.h"

#include "FWPlatformUtils.h"
#include "FWToolWidget.h"
#include "FWWindow.h"

FWToolDragManager* FWToolDragManager::mInstance = nullptr;

FWToolDragManager* FWToolDragManager::Instance()
{
    if (mInstance == nullptr)
        mInstance = new FWToolDragManager;
    return mInstance;
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
    widget.SetPressed(false);
    widget.UpdateNow();
    return dropped;
}

bool FWToolDragManager::TrackToolWidgetDrag(FWToolWidget& widget)
{
    mDraggedWidget = &widget;
    const bool dropped = Track();
    mDraggedWidget = nullptr;
    return dropped;
}

bool FWToolDragManager::TrackToolGridDrag(FWToolGrid& grid, const FWString&)
{
    mDraggedGrid = &grid;
    const bool dropped = Track();
    mDraggedGrid = nullptr;
    return dropped;
}

bool FWToolDragManager::Track()
{
    while (FWIsMouseStillDown()) {
    }
    return false;
}
