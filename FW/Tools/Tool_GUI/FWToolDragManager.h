// Tracks the drag of a tool widget or a whole tool grid with a dashed outline on the screen,
// tells the drop target under the mouse as the drag enters, moves within and leaves it, and at
// the end hands the dragged thing to that target or, over no target, makes a new palette there.
#pragma once

#include "FWPoint.h"
#include "FWRect.h"

#include <vector>

class FWScreenFrame;
class FWString;
class FWToolDropTarget;
class FWToolGrid;
class FWToolPalette;
class FWToolWidget;

class FWToolDragManager {
public:
    static FWToolDragManager* Instance();

    void RegisterDropTarget(FWToolDropTarget& target);
    void UnregisterDropTarget(FWToolDropTarget& target);

    // The dragged thing's global rect, and the global rect within which nothing is shown and
    // nothing dropped.
    void InitTracking(FWRect start, FWRect slop);
    // From the mouse to the outline's top-left.
    void SetOffset(FWPoint offset) { mOffset = offset; }

    // The usual drag of one widget: shown pressed meanwhile, with a slop of 15 pixels. True
    // when it was dropped.
    bool DefaultToolWidgetDrag(FWToolWidget& widget);
    bool TrackToolWidgetDrag(FWToolWidget& widget);
    // The name titles a torn-off palette.
    bool TrackToolGridDrag(FWToolGrid& grid, const FWString& name);
    // Follows the mouse until the button comes up; true when the drag ended in a drop.
    bool Track();

    // The target at a global point that takes the dragged thing, or null.
    FWToolDropTarget* FindDropTarget(FWPoint global);
    void UpdateDropTargets(FWPoint global, FWToolDropTarget* target);

    // The outline.
    void BeginDrawing();
    void DrawNewDrawing(FWPoint global);
    void FinishDrawing();

    // Drops on nothing: a palette at the point, shown.
    FWToolPalette* CreateUserPalette(FWPoint where, const FWToolWidget& widget);
    FWToolPalette* CreateTearoffPalette(FWPoint where, const FWToolGrid& grid, const FWString& name);

private:
    FWToolDragManager() = default;

    static constexpr const char* kSourcePath = "FW/Tools/Tool_GUI/FWToolDragManager";

    std::vector<FWToolDropTarget*> mDropTargets;
    bool mOutlineShown = false;
    FWToolDropTarget* mCurrentTarget = nullptr;
    FWRect mStartRect;
    FWRect mOutlineRect;
    FWRect mSlopRect;
    FWPoint mOffset;
    FWScreenFrame* mScreenFrame = nullptr;
    FWToolGrid* mDraggedGrid = nullptr;
    FWToolWidget* mDraggedWidget = nullptr;

    static FWToolDragManager* mInstance;
};
