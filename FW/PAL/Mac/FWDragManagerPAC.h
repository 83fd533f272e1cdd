// Platform half of drag and drop over the host's drag service. Receivers see the drag through a
// proxy FWDragData built when the drag enters the application, whose scraps fetch their bytes
// from the drag when first read, so every drag looks the same to them.
#pragma once

#include "FWPoint.h"
#include "HostDrag.h"

class FWDragData;
class FWDragReceiver;
class FWWindow;
struct FWEvent;

class FWDragManagerPAC {
public:
    static void Init();
    static void CleanUp();
    static int TrackDrag(const FWEvent& event, const FWWindow* window, const FWDragData& data);

    // State, for tests: the proxy of the drag in progress and the receiver under the mouse.
    static const FWDragData* Proxy() { return sProxy; }
    static FWDragReceiver* CurrentReceiver() { return sReceiver; }
    static void SetCurrentReceiver(FWDragReceiver* receiver) { sReceiver = receiver; }

private:
    static OSErr trackingHandler(DragTrackingMessage message, WindowRef window, void* refCon, DragRef drag);
    static OSErr receiveHandler(WindowRef window, void* refCon, DragRef drag);
    static OSErr sendData(FlavorType type, void* refCon, DragItemRef item, DragRef drag);
    static void buildProxy(DragRef drag);

    static DragTrackingHandlerUPP sTrackingHandler;
    static DragReceiveHandlerUPP sReceiveHandler;
    static DragSendDataUPP sSendData;
    static FWDragData* sProxy;
    static FWDragReceiver* sReceiver;
    static bool sHiliteShown;
};
