// The window that edits one 'WINT' layout of an open resource file. One global tool mode, set by
// the "Manipulation" tools, decides what presses and keys in every edit window do: 0 Test (the
// layout runs as the finished dialog), 1 Edit, 2 Create. Unsaved changes are tracked per window.
#pragma once

#include "FWRect.h"
#include "FWView.h"
#include "FWWindow.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

class CDataPTKC;
class CQF_Document;
class EditText;
class FWUserOp;
class FWDrawContext;
struct FWEvent;

class EditWindow : public FWWindow {
public:
    // Thrown by the constructor when the document's file cannot be opened; the Resource
    // Manager's code is then in CResMap::errCode.
    class FileNotOpened : public std::runtime_error {
    public:
        FileNotOpened() : std::runtime_error("the layout's file could not be opened") {}
    };

    // Opens the layout of that id from the document's file, looking in that file alone; throws
    // FileNotOpened when the file cannot be opened, else what loading throws.
    EditWindow(CQF_Document* document, int32_t id);
    // An empty window of that frame, for a layout built from nothing.
    EditWindow(CQF_Document* document, const FWRect& frame);
    ~EditWindow() override;

    // Loads the layout from the document's file alone, open for reading meanwhile; throws
    // FileNotOpened when the file cannot be opened.
    bool Initialize(FWDocument* document, int32_t resID) override;
    using FWWindow::Initialize;

    bool IsDirty() const { return mDirty; }
    // true also marks the document changed; false clears only the window's flag.
    void SetDirty(bool dirty);
    // The title "<id> <layout name> [<document name>]".
    void SetNameWINT();
    // The layout was renumbered in its file: the window follows, and takes the shader interface
    // as a window opened with that id does (only 21000 has one).
    void SetLayoutID(int32_t id);
    // Brings the window to the front and makes it the key window.
    void MakeToFront();
    // Fills a new layout with the shader interface's defaults: OK (1), Cancel (2) and the
    // preview group (3) in a 387 x 224 window, root id 1000, next new view id 4.
    void DefaultShaderUI();

    // Test mode: the press goes to the layout's view under it. The other modes edit the layout.
    bool MouseDownEvent(FWEvent& event) override;
    // Test mode: Return and Enter press the default-accept view, Escape and Command-period the
    // default-cancel view. Edit mode: Backspace and Delete delete the selected views.
    bool KeyDownEvent(FWEvent& event) override;
    // Deletes every selected view with what it holds; the window is marked changed.
    void DeleteSelectionList(FWDrawContext& context);
    // Tab-order mode: the edit texts are numbered in the order they are clicked until all are or
    // Escape ends the mode; the rest follow in layout order. Returns when the mode ends.
    void DoTabReorder();

    // Editing with the mouse (EditSelection.cpp). Points and rectangles are in window-content
    // coordinates.
    // The handle of the view under where (FWView::EditType), narrowed by the view's own filter;
    // with two or more views selected always a move.
    FWView::EditType WhichDragRegion(FWPoint where, FWView* view);
    // Tracks a move of the whole selection from start; duplicate leaves the sources and selects
    // copies; keepVertical keeps the move horizontal, keepHorizontal vertical.
    void DragItemSet(FWDrawContext& context, FWPoint start, bool duplicate, bool keepVertical, bool keepHorizontal);
    // Tracks a resize (or move) of one view by the given handle.
    void EditItem(FWDrawContext& context, FWView* view, FWView::EditType region, FWPoint start);
    // Tracks a rubber band from start; out gets it with its corners in order.
    void GetUserDragRect(FWDrawContext& context, FWPoint start, FWRect* out);
    // Selects every visible view (pages aside) that overlaps the band.
    void GrowSelection(FWDrawContext& context, FWRect* band);
    void ClearAllSelection(FWDrawContext& context);
    // Replaces the selection with these views, redrawing the window.
    void SelectViews(const std::vector<FWView*>& views);
    // The selected views in tree order.
    std::vector<FWView*> SelectedViews() const;
    // The union of the selected views and what they hold; false (out untouched) when nothing is
    // selected.
    bool GetSelectionBounds(FWRect* out);
    // Moves the selected views (a view inside a selected container moves with it), then puts
    // every view into the deepest container that holds it, and redraws. A moved view is stored
    // with its corners in order; a zero delta stores nothing.
    void TranslateSelection(FWDrawContext& context, FWPoint delta);
    // The view's own rectangle with its corners in order, moved by delta: where a move or a copy
    // puts it, so that a view stored inverted keeps its size.
    static FWRect MovedRect(const FWView& view, FWPoint delta);
    // Runs the view's property dialog; a change marks the window changed.
    void DoItemInterface(FWDrawContext& context, FWView* view);
    // Snaps a point to the editor's grid.
    static void MouseToGrid(FWPoint* p);
    // Views were deleted behind the window's back: the last pressed view is forgotten, so that a
    // new view at the same address never makes a double click.
    void ForgetLastPressed() { mLastPressed = nullptr; }

    // Creating controls (ControlCreation.cpp).
    // Create mode's press: a dragged rectangle becomes a control of the current kind.
    void CreateNewItem(FWDrawContext& context, FWPoint start);
    // Places a made view under the deepest container holding it and draws it; the window is
    // marked changed. The view is not selected.
    void InsertNewView(FWDrawContext& context, FWView* view);
    // Create mode with that creation function, for every edit window.
    static void SetConstructor(FWView* (*proc)(FWWindow*, const FWRect&));

    bool ActivateEvent(bool active) override;
    bool ResizeEvent() override;
    // A view deleted by a dialog (a dropped page) or a key takes its shader item with it.
    void ViewDeleted(FWView* view) override;
    // Test mode: editing the value of a shader parameter (or switching a tab page) changes the
    // layout.
    bool InterfaceTextEvent(EditText* edit) override;
    bool InterfaceEvent(FWView* view) override;
    // Asks before closing a window with unsaved changes.
    bool CloseEvent() override;

    // The "Test" and "Edit" tools; the argument is not used.
    static void OnTestTool(FWUserOp*);
    static void OnEditTool(FWUserOp*);
    // Routes presses and keys of every edit window to the layout's own views (true) or to the
    // window (false).
    static void SetWindowEvents(bool on);
    // No modal editing interaction (tab-order mode) is under way.
    static bool NormalMode() { return mActMode == 0; }
    // A quit asked for while a modal editing interaction runs ends the interaction as Escape
    // does; the command that ran it then takes the request and handles the quit.
    static void RequestQuitAfterMode();
    static bool TakeQuitRequest();

    // The mode of every edit window: 0 Test, 1 Edit, 2 Create.
    static int32_t mToolType;
    // The creation function of Create mode.
    static FWView* (*mCreateProc)(FWWindow*, const FWRect&);
    // Non-zero while a modal editing interaction runs (1: tab order).
    static int32_t mActMode;
    // The edit window whose construction is under way.
    static EditWindow* mCreatedInstance;
    // The frame of a layout built from nothing.
    static FWRect mDefaultRect;
    // A quit was asked for during a modal editing interaction.
    static bool mQuitRequested;

    // The shader interface of layout 21000; null for every other layout.
    CDataPTKC* GetShaderData() const { return mShaderData; }

private:
    // Edit mode's press: selection, moving, resizing, the band and the property dialog.
    void editPress(FWEvent& event);
    // Puts every shown view into the deepest container that holds its top-left corner.
    void rehomeViews();
    // Makes the shader interface for layout 21000 (read from the file), drops it for any other.
    void updateShaderData();

    bool mDirty = false;
    CDataPTKC* mShaderData = nullptr;
    // The view of the previous Edit-mode press; only compared, never dereferenced.
    FWView* mLastPressed = nullptr;
};
