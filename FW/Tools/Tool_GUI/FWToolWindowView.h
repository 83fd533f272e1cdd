// The content of the tool window: the folder view and a vertical scroll bar. It sees every
// click in the folders before the folders and widgets do: space-bar scrolling, the scroll bar,
// tab clicks, Shift-drags of tools, double clicks on the empty area, and the contextual menu
// of icon sizes.
#pragma once

#include "FWGroupControl.h"

#include <cstdint>

class FWFolderView;
class FWString;
class FWToolFolder;
class FWWindow;
class Scroller;

class FWToolWindowView : public FWGroupControl {
public:
    FWToolWindowView(FWWindow* window, const FWRect& rect);
    // Deletes the scroll bar, which is not one of the children.
    ~FWToolWindowView() override;

    FWFolderView* FolderView() const { return mFolderView; }
    Scroller* GetScroller() const { return mScroller; }

    // Folder changes; each brings the scroll bar's range up to date.
    void AddFolder(FWToolFolder& folder);
    void ExpandNamedFolder(const FWString& name);
    void ContractAllFolders();
    void SetHalfsizeMode(bool halfsize);
    bool HalfsizeMode() const;

    // The scroll bar's range: its own height visible out of the folders' whole height.
    void RecalcScroller();
    // Scrolls the folders by delta pixels now, and redraws the scroll bar.
    void ScrollBy(int32_t delta);
    static void scroll_proc(int32_t delta, void* view, Scroller* scroller);
    void DoLiveScroll(FWEvent& event);
    // The wheel turned at where: the folders scroll within the bar's range; false when the point
    // is outside this view or there is nothing to scroll.
    bool WheelScroll(FWPoint where, int16_t notches);
    void DoPopupMenu(FWEvent& event);

    // Geometry: the bar 11 pixels wide inside the right edge, the folders left of it.
    FWRect CalcScrollerRect() const;
    FWRect CalcFolderViewRect() const;

    void SetRect(const FWRect& rect) override;
    bool MouseDownEvent(FWEvent& event) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;
    void Draw(FWDrawContext& context) const override;
    // The children draw inside the bevel.
    FWRect ClipRect() const override;

private:
    FWFolderView* mFolderView = nullptr;
    Scroller* mScroller = nullptr;
};
