// A place that takes tool drops (palettes and tool menus). Every living target is registered
// with the drag manager, from construction to destruction.
#pragma once

#include "FWPoint.h"

class FWToolGrid;
class FWToolWidget;
class FWWindow;

class FWToolDropTarget {
public:
    FWToolDropTarget();
    virtual ~FWToolDropTarget();
    FWToolDropTarget(const FWToolDropTarget&) = delete;
    FWToolDropTarget& operator=(const FWToolDropTarget&) = delete;

    // Whether the target lies at the point of the window (window coordinates).
    virtual bool AtLocation(FWWindow*, FWPoint) { return false; }
    virtual bool AcceptsToolGrid(FWToolGrid&) { return false; }
    virtual bool AcceptsToolWidget(FWToolWidget&) { return false; }
    // Whether the target may be chosen while the mouse is still within the slop area.
    virtual bool AcceptsInvisibleDrags() { return false; }
    // The drag over the target; points are global.
    virtual void DragEnter(FWPoint) {}
    virtual void DragExit(FWPoint) {}
    virtual void DragWithin(FWPoint) {}
    virtual void DropToolGrid(FWPoint, FWToolGrid&) {}
    virtual void DropToolWidget(FWPoint, FWToolWidget&) {}
};
