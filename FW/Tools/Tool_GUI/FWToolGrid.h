// The view that holds tool widgets as its children and lays them out in cells of one size.
// It sizes itself from its widgets: only the top-left corner of a rect given to it counts, and
// in the fill-width layout also the width.
#pragma once

#include "FWSmartView.h"

#include <cstdint>

class FWString;
class FWToolWidget;
class FWWindow;

class FWToolGrid : public FWSmartView {
public:
    enum DisplayModeType : int32_t { kLargeIcons = 0, kSmallIcons = 1, kText = 2 };
    enum LayoutType : int32_t { kHorizontal = 0, kVertical = 1, kSquare = 2, kFillWidth = 3 };

    explicit FWToolGrid(FWWindow* window);

    DisplayModeType DisplayMode() const { return mDisplayMode; }
    LayoutType Layout() const { return mLayout; }
    // The cell size of the display mode.
    int32_t ToolWidth() const;
    int32_t ToolHeight() const;

    void SetDisplayMode(DisplayModeType mode);
    void SetLayout(LayoutType layout);
    // Sizes the grid and places every widget in its cell, in order.
    void RelayoutTools();
    // Moves the running cell one step on, wrapping to the next row at the right edge.
    void IncrementToolRect();

    // Adds a widget (owned by the grid's tree from then on) at the end, or before or after a
    // neighbour.
    void AddToolWidget(FWToolWidget& widget, FWToolWidget* neighbour, bool before);
    void MoveToolWidget(FWToolWidget& widget, FWToolWidget& neighbour, bool before);
    // Removes the widget under the point; it is deleted at the next idle time.
    void RemoveToolWidget(FWPoint point);

    FWToolWidget* FindWidget(const FWString& name) const;
    FWToolWidget* FindWidget(FWPoint point) const;
    // The widget's 0-based place among the children, -1 when it is not one.
    int32_t IndexOfWidget(FWToolWidget* widget) const;
    int32_t WidestName() const { return mWidestName; }

    // Draws every visible widget now.
    void DrawFull(FWDrawContext& context);

    void SetRect(const FWRect& rect) override;
    void SetVisibility(bool visible) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;

private:
    static constexpr const char* kSourcePath = "FW/Tools/Tool_GUI/FWToolGrid";

    void insertWidget(FWToolWidget& widget, FWToolWidget* neighbour, bool before);

    int16_t mIconWidth = 44;
    int16_t mIconHeight = 44;
    uint16_t mWidestName = 0;
    FWRect mCellRect{0, 0, 44, 44};
    DisplayModeType mDisplayMode = kLargeIcons;
    LayoutType mLayout = kFillWidth;
};
