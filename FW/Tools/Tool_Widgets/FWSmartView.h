// A group view whose clicks and cursor can be handed to another event handler first: the tool
// window's folder view, a palette or a tool menu sees every click in its grids and widgets
// before they do. Tool widgets, grids and folders are smart views.
#pragma once

#include "FWGroupControl.h"

class FWDrawContext;

class FWSmartView : public FWGroupControl {
public:
    FWSmartView() = default;

    // Sets the handler of this view and of its whole subtree.
    void SetEventHandler(FWEventHandler* handler) override;
    // The handler's cursor (a view's or a window's); false without one.
    bool SetCursor() override;

    // The handler's answer to the event; false without a handler.
    bool HandlerHandledMouseDownEvent(FWEvent& event);
    bool HandlerHandledContextualMouseDownEvent(FWEvent& event);
    // Whether the view overlaps the context's visible area.
    bool DrawingIsEffective(FWDrawContext& context) const;
};
