// Drag and drop between the application's views: sources start drags of FWDragData, targets
// register rectangles of windows as FWDragReceivers. The platform half (FWDragManagerPAC) runs
// the drag and feeds the receivers.
#pragma once

#include "FWPoint.h"
#include "FWRect.h"

class FWDragData;
class FWDragReceiver;
class FWWindow;
struct FWEvent;

class FWDragManager {
public:
    // Installs the one tracking and one receive handler for all windows; CleanUp removes them.
    static void Init();
    static void CleanUp();

    // Drags the data from the event's point in the window. 2 when the drag ended (dropped,
    // refused or cancelled), 0 when it could not run.
    static int TrackDrag(const FWEvent& event, const FWWindow* window, const FWDragData& data);

    // rect in the window's content coordinates. A registered receiver keeps its place in the
    // order and takes the new window and rectangle.
    static void RegisterReceiver(FWDragReceiver* receiver, const FWWindow* window, const FWRect& rect);
    static void UnregisterReceiver(FWDragReceiver* receiver);

    // Makes receiver (null: none) the one under the mouse of the drag in progress: when it
    // differs from the current one, the current one is told Exit and the new one Enter; the
    // same one is told Within. Without a drag in progress nothing happens.
    static void NewReceiver(FWDragReceiver* receiver, const FWPoint& where);
};
