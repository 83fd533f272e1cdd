// Tracks the drag of a tool widget or a whole tool grid out of the tool window, with the
// grab offset and the slop area within which nothing is dropped. Drops come with the palettes;
// until then a drag follows the mouse until the button comes up and drops nothing.
#pragma once

#include "FWPoint.h"
#include "FWRect.h"

class FWString;
class FWToolGrid;
class FWToolWidget;

class FWToolDragManager {
public:
    static FWToolDragManager* Instance();

    // The dragged thing's global rect, and the global rect within which nothing is dropped.
    void InitTracking(FWRect start, FWRect slop);
    // From the mouse to the outline's top-left.
    void SetOffset(FWPoint offset) { mOffset = offset; }

    // The usual drag of one widget: shown pressed meanwhile. True when it was dropped.
    bool DefaultToolWidgetDrag(FWToolWidget& widget);
    bool TrackToolWidgetDrag(FWToolWidget& widget);
    bool TrackToolGridDrag(FWToolGrid& grid, const FWString& name);
    // Follows the mouse until the button comes up; true when the drag ended in a drop.
    bool Track();

private:
    FWToolDragManager() = default;

    FWRect mStartRect;
    FWRect mSlopRect;
    FWPoint mOffset;
    FWToolGrid* mDraggedGrid = nullptr;
    FWToolWidget* mDraggedWidget = nullptr;

    static FWToolDragManager* mInstance;
};
