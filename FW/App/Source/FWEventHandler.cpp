#include "FWEventHandler.h"

bool FWEventHandler::MouseDownEvent(FWEvent&) { return false; }
bool FWEventHandler::MouseUpEvent(FWEvent&) { return false; }
bool FWEventHandler::MouseMoved(FWPoint, FWWindow*) { return false; }
bool FWEventHandler::KeyDownEvent(FWEvent&) { return false; }
bool FWEventHandler::AutoKeyEvent(FWEvent&) { return false; }
bool FWEventHandler::KeyUpEvent(FWEvent&) { return false; }

bool FWEventHandler::ContextualMouseDownEvent(FWEvent& event)
{
    return MouseDownEvent(event);
}

void FWEventHandler::SetInterfaceTarget(FWEventHandler* target)
{
    mInterfaceTarget = target;
}

FWEventHandler* FWEventHandler::InterfaceTarget() const
{
    return mInterfaceTarget;
}

bool FWEventHandler::InterfaceAction(FWView*, const ActionType&) { return false; }
bool FWEventHandler::InterfaceEvent(FWView*) { return false; }
bool FWEventHandler::InterfaceContextualEvent(FWView*) { return false; }

bool FWEventHandler::InterfaceEventWithEvent(FWView* view, FWEvent* event)
{
    if (event != nullptr && (event->mModifiers & kFWControlKey) != 0)
        return InterfaceContextualEvent(view);
    return InterfaceEvent(view);
}

FWEventHandler* FWEventHandler::GetDynamicHandler(FWEvent&)
{
    return this;
}

FWEventHandler* FWEventHandler::GetParent(FWEvent&)
{
    return nullptr;
}
