// The window that edits one 'WINT' layout of an open resource file. One global tool mode, set by
// the "Manipulation" tools, decides what presses and keys in every edit window do: 0 Test (the
// layout runs as the finished dialog), 1 Edit, 2 Create. Unsaved changes are tracked per window.
#pragma once

#include "FWRect.h"
#include "FWWindow.h"

#include <cstdint>

class CDataPTKC;
class CQF_Document;
class EditText;
class FWUserOp;
class FWDrawContext;
class FWView;
struct FWEvent;

class EditWindow : public FWWindow {
public:
    // Opens the layout of that id from the document's file; throws what loading throws.
    EditWindow(CQF_Document* document, int32_t id);
    // An empty window of that frame, for a layout built from nothing.
    EditWindow(CQF_Document* document, const FWRect& frame);
    ~EditWindow() override;

    // Loads the layout with the document's file open for reading.
    bool Initialize(FWDocument* document, int32_t resID) override;
    using FWWindow::Initialize;

    bool IsDirty() const { return mDirty; }
    // true also marks the document changed; false clears only the window's flag.
    void SetDirty(bool dirty);
    // The title "<id> <layout name> [<document name>]".
    void SetNameWINT();
    // Brings the window to the front and makes it the key window.
    void MakeToFront();

    // Test mode: the press goes to the layout's view under it. The other modes edit the layout.
    bool MouseDownEvent(FWEvent& event) override;
    // Test mode: Return and Enter press the default-accept view, Escape and Command-period the
    // default-cancel view. Edit mode: Backspace and Delete delete the selected views.
    bool KeyDownEvent(FWEvent& event) override;
    // Deletes every selected view with what it holds; the window is marked changed.
    void DeleteSelectionList(FWDrawContext& context);

    bool ActivateEvent(bool active) override;
    bool ResizeEvent() override;
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

    // The shader interface of layout 21000; null for every other layout.
    CDataPTKC* GetShaderData() const { return mShaderData; }

private:
    bool mDirty = false;
    CDataPTKC* mShaderData = nullptr;
};
