#include "FWSmartView.h"

#include "FWDrawContext.h"
#include "FWWindow.h"

void FWSmartView::SetEventHandler(FWEventHandler* handler)
{
    FWGroupControl::SetEventHandler(handler);
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer())
        child->SetEventHandler(handler);
}

bool FWSmartView::SetCursor()
{
    FWEventHandler* handler = GetEventHandler();
    if (handler == nullptr)
        return false;
    if (auto* view = dynamic_cast<FWView*>(handler))
        return view->SetCursor();
    if (auto* window = dynamic_cast<FWWindow*>(handler))
        return window->SetCursor();
    return false;
}

bool FWSmartView::HandlerHandledMouseDownEvent(FWEvent& event)
{
    FWEventHandler* handler = GetEventHandler();
    return handler != nullptr && handler->MouseDownEvent(event);
}

bool FWSmartView::HandlerHandledContextualMouseDownEvent(FWEvent& event)
{
    FWEventHandler* handler = GetEventHandler();
    return handler != nullptr && handler->ContextualMouseDownEvent(event);
}

bool FWSmartView::DrawingIsEffective(FWDrawContext& context) const
{
    FWRect visible;
    context.GetVisRect(&visible);
    return GetRect().IntersectRect(visible);
}
