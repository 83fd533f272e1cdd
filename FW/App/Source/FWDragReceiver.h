// A drop target: mixed into any object that registers a rectangle of a window with
// FWDragManager. Points are in the window's content coordinates; the data is the dragged data
// as read from the drag, whoever started it. Owners unregister before the receiver dies.
#pragma once

#include "FWPoint.h"

class FWDragData;

class FWDragReceiver {
public:
    virtual ~FWDragReceiver() = default;
    virtual void Enter(const FWPoint&, const FWDragData&) {}
    virtual void Within(const FWPoint&, const FWDragData&) {}
    virtual void Exit(const FWPoint&, const FWDragData&) {}
    virtual void Accept(const FWDragData&) {}
};
