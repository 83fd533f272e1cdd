// Follows a click on a tool widget: the widget shows pressed while the mouse is over it, and
// the click succeeds when the button comes up inside.
#pragma once

#include "MouseTrack.h"

class FWToolWidget;

class FWToolWidgetTracker : public MouseTrack {
public:
    // The widget is shown pressed at once.
    explicit FWToolWidgetTracker(FWToolWidget& widget);

    void MouseMoved() override;
    // The widget is left unpressed, without redrawing.
    void FinishInteraction() override;

    bool Successful() const { return mInside; }
    // Shows the widget pressed exactly while the mouse is inside, and draws it now.
    void UpdateWidget();

private:
    FWToolWidget* mWidget;
    bool mInside = true;
};
