// A named folder of the tool window: a tab with the name and, when open, a tool grid below it.
// A click on the tab opens or closes the folder, Option-click switches its text mode, and
// dragging the tab out of the tool window tears it off.
#pragma once

#include "FWSmartView.h"
#include "FWStr.h"

class FWToolGrid;
class FWToolWidget;
class FWWindow;

class FWToolFolder : public FWSmartView {
public:
    FWToolFolder(FWWindow* window, const FWRect& rect, const FWString& name);

    bool Contracted() const { return mContracted; }
    bool HalfsizeMode() const { return mHalfsizeMode; }
    FWToolGrid* ToolGrid() const { return mToolGrid; }
    const FWString& Name() const { return mName; }
    // The grid shows names.
    bool TextMode() const;

    void SetContracted(bool contracted);
    void SetHalfsizeMode(bool halfsize);
    void SetTextMode(bool textMode);
    void SetDrawBottomWhenContracted(bool draw) { mDrawBottomWhenContracted = draw; }

    // Appends the widget to the grid and fits the folder to it.
    void AddToolWidget(FWToolWidget& widget);

    // Geometry: the tab is the top strip short of the right 10 pixels; the folder is the tab
    // and the body below the shelf line.
    bool PointInTab(FWPoint point) const;
    bool PointInFolder(FWPoint point) const;
    // A click in the tab: open or close, switch text mode with Option, or a tear-off drag. True
    // when the folder changed.
    bool HandleTabClick(FWEvent& event);
    // Drags the folder's outline from the point; true when it was dropped outside the window.
    bool TrackTearOff(FWPoint point);

    void SetRect(const FWRect& rect) override;
    bool MouseDownEvent(FWEvent& event) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;
    void Draw(FWDrawContext& context) const override;
    // The folder, then every widget of its grid, drawn now.
    void DrawFull(FWDrawContext& context);

private:
    // The grid sits 3 pixels in, below the tab; the folder's bottom follows the grid.
    void FitToolGridToSelf();
    void FitToToolGrid();

    FWToolGrid* mToolGrid;
    FWStr<63> mName;
    bool mContracted = false;
    bool mHalfsizeMode = false;
    bool mDrawBottomWhenContracted = true;
};
