// The base of everything that receives events (application, documents, windows, views). An
// event is offered to a first handler and, while declined, to each handler up its GetParent
// chain; the defaults decline everything and end the chain.
#pragma once

#include "FWEvent.h"

#include <cstdint>

class FWView;
class FWWindow;

// The code passed with InterfaceAction.
struct ActionType {
    ActionType() = default;
    explicit ActionType(int32_t action) : mAction(action) {}
    int32_t mAction = 0;
};

class FWEventHandler {
public:
    FWEventHandler() = default;
    virtual ~FWEventHandler() = default;

    // Input events: true when handled.
    virtual bool MouseDownEvent(FWEvent& event);
    virtual bool MouseUpEvent(FWEvent& event);
    virtual bool MouseMoved(FWPoint where, FWWindow* window);
    virtual bool KeyDownEvent(FWEvent& event);
    virtual bool AutoKeyEvent(FWEvent& event);
    virtual bool KeyUpEvent(FWEvent& event);
    // A click with the control key; by default an ordinary mouse down.
    virtual bool ContextualMouseDownEvent(FWEvent& event);

    // The handler told of user actions in views (controls report to their target).
    virtual void SetInterfaceTarget(FWEventHandler* target);
    virtual FWEventHandler* InterfaceTarget() const;
    virtual bool InterfaceAction(FWView* view, const ActionType& action);
    virtual bool InterfaceEvent(FWView* view);
    virtual bool InterfaceContextualEvent(FWView* view);
    // The contextual form when the event has the control bit, else the plain one.
    virtual bool InterfaceEventWithEvent(FWView* view, FWEvent* event);

    // The handler chain: the first handler for an event, and the next one after this.
    virtual FWEventHandler* GetDynamicHandler(FWEvent& event);
    virtual FWEventHandler* GetParent(FWEvent& event);

private:
    FWEventHandler* mInterfaceTarget = nullptr;
};
