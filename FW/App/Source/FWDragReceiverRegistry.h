// The registered drop targets, in registration order: the first whose rectangle holds a point
// is the receiver there.
#pragma once

#include "FWPoint.h"
#include "FWRect.h"

#include <vector>

class FWDragReceiver;
class FWWindow;

class FWDragReceiverRegistry {
public:
    // A receiver already registered takes the new window and rectangle in its old place.
    static void Register(FWDragReceiver* receiver, const FWWindow* window, const FWRect& rect);
    static void Unregister(FWDragReceiver* receiver);
    // The first receiver of the window whose rectangle holds point strictly inside, or null.
    static FWDragReceiver* FindReceiver(const FWPoint& point, const FWWindow* window);
    static bool WindowHasReceivers(const FWWindow* window);

private:
    struct Entry {
        const FWWindow* window;
        FWRect rect;
        FWDragReceiver* receiver;
    };
    static std::vector<Entry>& entries();
};
