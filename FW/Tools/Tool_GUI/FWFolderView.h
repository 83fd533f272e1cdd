// The stack of tool folders in the tool window: keeps them one below the other, scrolls them,
// and answers double clicks on its empty area. Every click in a folder reaches it (and through
// it the tool window's view) before the folder and its widgets.
#pragma once

#include "FWGroupControl.h"
#include "FWPoint.h"
#include "HostCursors.h"

#include <vector>

class FWString;
class FWToolFolder;
class FWWindow;

class FWFolderView : public FWGroupControl {
public:
    explicit FWFolderView(FWWindow* window);
    ~FWFolderView() override;

    // Appends the folder below the last one; its clicks come here first.
    void AddFolder(FWToolFolder& folder);
    const std::vector<FWToolFolder*>& Folders() const { return mFolders; }
    // Restacks every folder after start (null: the first) below the one before it.
    void RepositionFolders(FWToolFolder* start);
    // When scrolled, closes a gap left at the bottom, never moving the first folder below the top.
    void FixFolders();
    void ShuffleAllFolders(int dv);
    // Shifts the stack so that the folder is in view; answers the shift.
    int UnobscureFolder(FWToolFolder* folder);
    // The height of the whole stack, 0 without folders.
    int32_t VirtualHeight() const;
    FWToolFolder* FindFolder(FWPoint point) const;

    void ExpandNamedFolder(const FWString& name);
    void ContractAllFolders(bool contracted);
    void SetAllFoldersText(bool textMode);
    void SetHalfsizeMode(bool halfsize);
    bool HalfsizeMode() const { return mHalfsizeMode; }
    // Opens or contracts all folders; with Option switches text mode instead.
    void DoDoubleClick(const FWEvent& event);
    // Moves the folders up by delta and scrolls the pixels, drawing what is exposed.
    void ScrollBy(int32_t delta, FWDrawContext& context);

    void SetRect(const FWRect& rect) override;
    bool SetCursor() override;
    void Draw(FWDrawContext& context) const override;
    // Passed to the parent view (the tool window's view).
    bool MouseDownEvent(FWEvent& event) override;
    bool ContextualMouseDownEvent(FWEvent& event) override;

private:
    void moveFolder(FWToolFolder& folder, int16_t h, int16_t v);

    std::vector<FWToolFolder*> mFolders;
    FWPoint mNextPosition{1, 1};
    bool mHalfsizeMode = false;
    CCrsrHandle mScrollCursor;
    CCrsrHandle mMenuCursor;
};
