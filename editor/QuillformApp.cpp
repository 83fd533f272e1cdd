// The editor's application object: construction, names, the front edit window, the utility
// commands, custom events and messages. Files and menus rebuilt at run time are in
// QuillformFiles.cpp, the preferences in QuillformPrefs.cpp.
#include "QuillformApp.h"

#include "CQF_Document.h"
#include "EditWindow.h"
#include "FS_FileTypeRegistry.h"
#include "FWMenuMgr.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "FWUserMsg.h"
#include "FWUserOp.h"
#include "FWView.h"
#include "PreorderTraversal.h"
#include "QFEventDispatcher.h"

#include <cstdio>

namespace {

constexpr uint32_t kResourceFileType = FOUR_CHAR_CODE("RSRC");
constexpr int32_t kErrorIcon = 141;
constexpr int32_t kWindowClosed = 1000;

void enableIf(FWUserOp* op, bool enabled)
{
    if (op == nullptr)
        return;
    if (enabled)
        op->ClearFlag(kUserOpDisabled);
    else
        op->SetFlag(kUserOpDisabled);
}

void showMessage(const char* text, int32_t icon)
{
    FWUserMsg message("%s", text != nullptr ? text : "");
    if (icon != 0)
        message.SetIcon(icon);
    message.Execute();
    message.SendMessage(Dependable::IsBeingDeleted);
}

} // namespace

QuillformApp::QuillformApp()
{
    // The dispatcher installs itself as the framework's singleton, which owns it from then on.
    new QFEventDispatcher;
    SetAllowMultipleDocuments(true);
    Corvel::FS_FileTypeRegistry::RegisterFileType(kResourceFileType, FWStr<31>("rsrc"), 0);
    Corvel::FS_FileTypeRegistry::RegisterFileType(kResourceFileType, FWStr<31>("rsc"), 0);
    // Drag and drop is set up by FWApp's constructor and taken down by its destructor: doing it
    // here as well would install its handlers twice and remove them twice.
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(sMenuRoot));
    ReadPreferences();
    SetUpTools();
}

QuillformApp::~QuillformApp() = default;

QuillformApp* QuillformApp::Instance()
{
    return static_cast<QuillformApp*>(FWApp::Instance());
}

void QuillformApp::GetAppShortName(FWString& name) const
{
    name = "QZ Quillform";
}

void QuillformApp::GetAppLongName(FWString& name) const
{
    name = "Orlenta Quillform 2.0";
}

EditWindow* QuillformApp::GetFrontEditWindow()
{
    return dynamic_cast<EditWindow*>(GetFrontWindowOfStyle(0));
}

// ---- Custom events -------------------------------------------------------------------------

void QuillformApp::PostCustomEvent(int32_t code, int32_t argument, void* data)
{
    if (auto* dispatcher = dynamic_cast<QFEventDispatcher*>(FWEventDispatcher::Instance()))
        dispatcher->PostEvent(code, argument, data);
}

void QuillformApp::WindowIsClosing(FWWindow* window)
{
    if (dynamic_cast<EditWindow*>(window) != nullptr)
        PostCustomEvent(kWindowClosed, 0, window->GetDocument());
}

void QuillformApp::ProcessCustomEvent(int32_t code, int32_t, void* data)
{
    if (code != kWindowClosed || data == nullptr)
        return;
    auto* document = static_cast<FWDocument*>(data);
    // The document may have gone meanwhile (quitting closes every document).
    bool open = false;
    ListTraversal<FWDocument> walk(&GetDocumentList());
    for (FWDocument* d = walk.First(); d != nullptr; d = walk.Next())
        open = open || d == document;
    if (!open)
        return;
    if (document->GetWindowList().First() == nullptr) {
        document->SendMessage(Dependable::IsBeingDeleted);
        delete document;
    }
    UpdateWindowMenu();
}

// ---- Messages ------------------------------------------------------------------------------

void QuillformApp::WarningMessage(const char* text)
{
    showMessage(text, 0);
}

void QuillformApp::ErrorMessage(const char* text)
{
    showMessage(text, kErrorIcon);
}

void QuillformApp::ShowResError()
{
    const int code = CResMap::errCode;
    if (code == 0) {
        ErrorMessage("Unknown Resource Error");
        return;
    }
    char text[160];
    std::snprintf(text, sizeof text, "Resource error %d%s", code,
                  code == -54 ? ". Be sure the file is not opened by other application for writing" : "");
    ErrorMessage(text);
}

// ---- Enabling rules ------------------------------------------------------------------------

void QuillformApp::DoAdjustFileNew(FWUserOp* op)
{
    enableIf(op, EditWindow::NormalMode());
}

void QuillformApp::DoAdjustFileOpen(FWUserOp* op)
{
    // A rebuilt menu left without rows of its own (one separator) stays disabled.
    const bool empty = op != nullptr && op->TestFlag(kUserOpHasChildren) && op->FirstChild() != nullptr &&
                       op->FirstChild()->NextPeer() == nullptr && op->FirstChild()->TestFlag(kUserOpSeparator);
    enableIf(op, EditWindow::NormalMode() && !empty);
}

void QuillformApp::DoAdjustFileSave(FWUserOp* op)
{
    EditWindow* front = GetFrontEditWindow();
    enableIf(op, EditWindow::NormalMode() && front != nullptr && front->IsDirty());
}

void QuillformApp::DoAdjustFileSaveAll(FWUserOp* op)
{
    bool dirty = false;
    for (FWWindow* window = GetFrontEditWindow(); window != nullptr && !dirty; window = window->NextWindowUnder()) {
        auto* edit = dynamic_cast<EditWindow*>(window);
        dirty = edit != nullptr && edit->IsDirty();
    }
    enableIf(op, EditWindow::NormalMode() && dirty);
}

void QuillformApp::DoAdjustUtils(FWUserOp* op)
{
    enableIf(op, EditWindow::NormalMode() && GetFrontEditWindow() != nullptr);
}

void QuillformApp::DoAdjustAlign(FWUserOp* op)
{
    EditWindow* front = GetFrontEditWindow();
    int selected = 0;
    if (front != nullptr && EditWindow::NormalMode()) {
        // Stops at the second selected view.
        PreorderTraversal<FWView> walk(front->ViewMngr().GetViewTree(), false);
        for (FWView* view = walk.First(); view != nullptr && selected < 2; view = walk.Next())
            if (view->IsSelected())
                ++selected;
    }
    enableIf(op, selected >= 2);
}

void QuillformApp::AdjustUtils(FWUserOp* op)
{
    Instance()->DoAdjustUtils(op);
}

void QuillformApp::AdjustAlign(FWUserOp* op)
{
    Instance()->DoAdjustAlign(op);
}

void QuillformApp::AdjustFileSaveAll(FWUserOp* op)
{
    Instance()->DoAdjustFileSaveAll(op);
}

void QuillformApp::FileSaveAll(FWUserOp*)
{
    Instance()->DoFileSaveAll();
}
