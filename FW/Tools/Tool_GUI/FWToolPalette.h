// A small floating window holding a tool grid outside the tool window. A user palette is made
// when one tool is dropped on empty screen space: it takes further tool drops, and closing or
// "Hide" only hides it (its row in the "Window" menu shows it again). A torn-off palette is made
// from a whole grid: it takes no drops and closes like any window.
#pragma once

#include "FWToolDropTarget.h"
#include "FWWindow.h"

class FWToolGrid;
class FWToolWidget;

class FWToolPalette : public FWWindow, public FWToolDropTarget {
public:
    FWToolPalette(const FWRect& rect, bool userCreated);
    ~FWToolPalette() override;

    FWToolGrid* GetToolGrid() const { return mToolGrid; }
    bool UserCreated() const { return mUserCreated; }

    // Appends the widget and fits the window to the grid.
    void AddToolWidget(FWToolWidget& widget);
    // Takes the source grid's size and a clone of each of its widgets.
    void AddToolGridContents(const FWToolGrid& source);
    // Sizes the window to the grid, erasing the content first when asked.
    void FitToToolGrid(bool erase);
    // Layout, display mode, "Hide" and "Delete".
    void DoPopupMenu(FWEvent& event);

    bool CloseEvent() override;
    void Show() override;
    // Like the tool window, a palette never takes the keys from the window being edited: a
    // click on a tool leaves Backspace and the arrows with the front layout.
    bool AcceptsKeyEvents() const override { return false; }
    bool SetCursor() override;
    // Shift drags a widget; Option on a user palette removes it.
    bool MouseDownEvent(FWEvent& event) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;

    bool AtLocation(FWWindow* window, FWPoint where) override;
    bool AcceptsToolGrid(FWToolGrid& grid) override;
    bool AcceptsToolWidget(FWToolWidget& widget) override;
    void DragEnter(FWPoint global) override;
    void DragExit(FWPoint global) override;
    void DragWithin(FWPoint global) override;
    void DropToolGrid(FWPoint global, FWToolGrid& grid) override;
    void DropToolWidget(FWPoint global, FWToolWidget& widget) override;

private:
    FWPoint toWindow(FWPoint global) const;

    FWToolGrid* mToolGrid = nullptr;
    bool mUserCreated;
};
