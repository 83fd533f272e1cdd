// The borderless pop-up window a menu tool widget opens on click-and-hold: its tools in a
// square grid. Releasing over one chooses it; pulling the menu farther than a widget's width
// away tears it off as a palette and chooses nothing.
#pragma once

#include "FWToolDropTarget.h"
#include "FWWindow.h"

class FWToolGrid;
class FWToolWidget;

class FWToolMenu : public FWWindow, public FWToolDropTarget {
public:
    explicit FWToolMenu(const FWString& name);

    FWToolGrid* GetToolGrid() const { return mToolGrid; }
    // Appends the widget and sizes the window to the grid and its 1-pixel frame.
    void AddToolWidget(FWToolWidget& widget);
    // Shows the menu beside the widget (global rect) until the button comes up; the grid
    // index of the chosen widget, or -1.
    int32_t Track(const FWPoint& where, const FWRect& widgetRect);
    // Right of the widget, or left of it near the screen's right edge, within the usable
    // bounds inset by 6.
    void FitOnScreen(const FWPoint& where, const FWRect& widgetRect);
    void SetCurrentPressed(FWToolWidget* widget);
    void TrackToolPress(FWPoint global);
    // Draws the frame and the grid now.
    void FlushUpdateEvents();
    FWToolWidget* CurrentPressed() const { return mPressed; }

    void DrawWindowFrame(FWDrawContext& context) override;

    bool AtLocation(FWWindow* window, FWPoint where) override;
    bool AcceptsToolGrid(FWToolGrid& grid) override;
    bool AcceptsToolWidget(FWToolWidget&) override { return false; }
    bool AcceptsInvisibleDrags() override { return true; }
    void DragEnter(FWPoint global) override;
    void DragExit(FWPoint global) override;
    void DragWithin(FWPoint global) override;

private:
    FWToolGrid* mToolGrid = nullptr;
    FWToolWidget* mPressed = nullptr;
};
