// The editor's file commands (open, new, save, save all, quit and the questions before closing
// or quitting) and the two menus rebuilt at run time: Window and Open Recent.
#include "QuillformApp.h"

#include "CDataPTKC.h"
#include "CQF_Document.h"
#include "EditWindow.h"
#include "FS_FileUtil.h"
#include "FS_ResourceUtil.h"
#include "FS_UtilPAC.h"
#include "FWDynamicString.h"
#include "FWFileDialog.h"
#include "FWFileType.h"
#include "FWMenuMgr.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "FWUserMsg.h"
#include "FWUserOp.h"
#include "FileReference.h"
#include "HostMacRoman.h"
#include "HostMemory.h"

#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr uint32_t kResourceFileType = FOUR_CHAR_CODE("RSRC");
constexpr int32_t kModalDialogStyle = 1;

// The open document whose file has that path, or null.
CQF_Document* documentOfPath(FWApp& app, const FWString& path)
{
    ListTraversal<FWDocument> walk(&app.GetDocumentList());
    for (FWDocument* document = walk.First(); document != nullptr; document = walk.Next())
        if (document->AssociatedFile().PathName() == path)
            return dynamic_cast<CQF_Document*>(document);
    return nullptr;
}

// The text of a recent file's row: the path after its last '/', else after its last '\'. Menu
// rows are named in UTF-8, as file names are; the menu bar makes them system text.
std::string recentRowText(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A document's row: its file's own name (UTF-8), or the name it shows when it has no file.
std::string documentRowText(FWDocument* document)
{
    FWDynamicString name;
    if (document->HasAssociatedFile())
        document->AssociatedFile().GetFileName(name);
    else
        document->DocName(name);
    return name.GetCString();
}

// System text (a layout's name) as UTF-8, the text of menu rows.
std::string systemTextToRowText(const std::string& text)
{
    std::string row;
    for (char c : text)
        HostAppendUtf8(row, HostMacRomanToUnicode(uint8_t(c)));
    return row;
}

// A document's edit windows in its order; the dialogs made with it (the layout list while it is
// up) have no row in the Window menu.
std::vector<EditWindow*> editWindowsOf(FWDocument* document)
{
    std::vector<EditWindow*> windows;
    ListTraversal<FWWindow> walk(&document->GetWindowList());
    for (FWWindow* window = walk.First(); window != nullptr; window = walk.Next())
        if (auto* edit = dynamic_cast<EditWindow*>(window))
            windows.push_back(edit);
    return windows;
}

} // namespace

// ---- Opening and creating ------------------------------------------------------------------

void QuillformApp::SetupFileDialog(FWFileDialog& dialog, void (*action)(FWUserOp*))
{
    if (action != FWApp::FileOpen)
        return;
    dialog.SetDialogName(FWStr<63>("Select Resource File"));
    dialog.AddFilter(FWFileType(kResourceFileType, FWStr<63>("Resource Files")));
}

void QuillformApp::OpenFile(FileReference& file)
{
    if (CQF_Document* open = documentOfPath(*this, file.PathName())) {
        SetActiveDocument(open);
        DialogWINT(open);
        return;
    }
    // Recorded before it is read: a file that turns out unreadable stays in Open Recent.
    UpdatePrefs2Open(file);
    auto* document = new CQF_Document;
    document->SetAssociatedFile(file);
    if (!document->ReadWINT()) {
        document->SendMessage(Dependable::IsBeingDeleted);
        delete document;
        ShowResError();
        return;
    }
    DialogWINT(document);
}

void QuillformApp::DoFileNew()
{
    const FWStr<31> title("Create New Resource File");
    FWFileDialog dialog(&title);
    dialog.SetDefaultFileName(FWStr<31>("untitled.rsrc"));
    if (!dialog.SelectFileForSave())
        return;
    FileReference file;
    dialog.GetChosenFile(file);
    ListTraversal<FWDocument> walk(&GetDocumentList());
    for (FWDocument* document = walk.First(); document != nullptr; document = walk.Next()) {
        if (document->AssociatedFile() == file) {
            ErrorMessage("Can't oveeride the file is opened now");
            return;
        }
    }
    Corvel::FS_Locator locator;
    Corvel::FS_UtilPAC::DotPathNameToLocator(file.PathName(), locator);
    // Creating fails on a file that exists, so nothing of the user's is overwritten.
    bool made = false;
    try {
        Corvel::FS_FileUtil::MakeFile(locator);
        made = true;
    } catch (...) {
    }
    if (!made || !Corvel::FS_ResourceUtil::CreateResourceFork(locator)) {
        if (made)
            unlink(file.PathName().GetCString()); // the empty file made here, nothing more
        ErrorMessage("Error creating file");
        return;
    }
    OpenFile(file);
}

void QuillformApp::RemoveBadWindow(FWDocument* document)
{
    // The constructor that threw has already destroyed the window and taken it out of every list:
    // the window is never touched. A document left without windows goes.
    EditWindow::mCreatedInstance = nullptr;
    bool open = false;
    ListTraversal<FWDocument> walk(&GetDocumentList());
    for (FWDocument* d = walk.First(); d != nullptr; d = walk.Next())
        open = open || d == document;
    if (open && document->GetWindowList().First() == nullptr) {
        document->SendMessage(Dependable::IsBeingDeleted);
        delete document;
    }
    UpdateWindowMenu();
    ErrorMessage("The resource is invalid or corrupted, delete it");
}

// ---- Saving --------------------------------------------------------------------------------

bool QuillformApp::SaveEditWindow(EditWindow& window)
{
    const int32_t id = window.ViewMngr().GetResID();
    Handle layout = nullptr;
    // A tree that cannot be written fails the save as a missing one does: nothing is stored. Any
    // id a resource can have is saved under it, as any such layout opens.
    try {
        if (id >= INT16_MIN && id <= INT16_MAX)
            layout = window.ViewMngr().SerializeViewTree();
    } catch (...) {
        layout = nullptr;
    }
    auto* document = dynamic_cast<CQF_Document*>(window.GetDocument());
    if (layout == nullptr || document == nullptr) {
        if (layout != nullptr)
            DisposeHandle(layout);
        ErrorMessage("Unknown error. Can't save window");
        return false;
    }
    if (!document->SaveWINT(layout, id)) {
        ShowResError();
        return false;
    }
    // The shader interface goes with its layout; when it fails, the layout stays changed.
    if (CDataPTKC* shader = window.GetShaderData(); shader != nullptr && !shader->WriteAll(&window)) {
        ShowResError();
        return false;
    }
    window.SetDirty(false);
    return true;
}

void QuillformApp::DoFileSave()
{
    EditWindow* front = GetFrontEditWindow();
    if (front != nullptr && front->IsDirty())
        SaveEditWindow(*front);
}

bool QuillformApp::DoFileSaveAll()
{
    bool saved = true;
    for (FWWindow* window = GetFrontWindow(); window != nullptr; window = window->NextWindowUnder()) {
        auto* edit = dynamic_cast<EditWindow*>(window);
        if (edit != nullptr && edit->IsDirty() && !SaveEditWindow(*edit))
            saved = false;
    }
    return saved;
}

int32_t QuillformApp::AskSaveBeforeClose(const char* question)
{
    FWUserMsg message("%s", question);
    message.SetOKTitle("Yes");
    message.SetCancelTitle("Cancel");
    message.SetAltTitle("Don't Save");
    message.Execute();
    const int32_t answer = message.Result();
    message.SendMessage(Dependable::IsBeingDeleted);
    return answer;
}

void QuillformApp::DoAdjustFileQuit(FWUserOp* op)
{
    // Only the framework's check, without its beep: enabling the row asks the user nothing.
    FWWindow* front = GetFrontWindow();
    const bool modal = FWWindow::ModalCount() != 0 || (front != nullptr && front->GetStyle() == kModalDialogStyle);
    if (op == nullptr)
        return;
    if (modal)
        op->SetFlag(kUserOpDisabled);
    else
        op->ClearFlag(kUserOpDisabled);
}

bool QuillformApp::CanQuit()
{
    // Tab-order mode ends first, as Escape ends it; the quit is handled once it is over.
    if (!EditWindow::NormalMode()) {
        EditWindow::RequestQuitAfterMode();
        return false;
    }
    if (!FWApp::CanQuit())
        return false;
    // Unsaved changes are the edit windows'; the framework's closing of documents asks nothing.
    ListTraversal<FWDocument> walk(&GetDocumentList());
    for (FWDocument* document = walk.First(); document != nullptr; document = walk.Next())
        document->SetDirtyFlag(false);
    bool dirty = false;
    for (FWWindow* window = GetFrontEditWindow(); window != nullptr && !dirty; window = window->NextWindowUnder()) {
        auto* edit = dynamic_cast<EditWindow*>(window);
        dirty = edit != nullptr && edit->IsDirty();
    }
    if (!dirty)
        return true;
    switch (AskSaveBeforeClose("Save changes before quit ?")) {
    case FWUserMsg::kResultOK:
        return DoFileSaveAll();
    case FWUserMsg::kResultAlternative:
        return true;
    default:
        return false;
    }
}

void QuillformApp::InvalAll()
{
    for (FWWindow* window = GetFrontEditWindow(); window != nullptr; window = window->NextWindowUnder())
        if (dynamic_cast<EditWindow*>(window) != nullptr)
            window->Inval(nullptr);
}

// ---- Window and Open Recent menus ----------------------------------------------------------

FWOpMenu* QuillformApp::findMenu(int32_t id)
{
    FWUserOp* root = FWMenuMgr::Instance()->GetRootMenu();
    return root != nullptr ? dynamic_cast<FWOpMenu*>(root->FindUserOpByID(id, nullptr)) : nullptr;
}

void QuillformApp::replaceRows(FWOpMenu* menu, const std::vector<std::string>& rows, void (*action)(FWUserOp*))
{
    // Rows from the palette separator on belong to the tool palettes: they are kept, after ours.
    std::vector<FWUserOp*> kept;
    FWUserOp* row = menu->FirstChild();
    while (row != nullptr && row->Id() != kPaletteSeparatorID)
        row = row->NextPeer();
    while (row != nullptr) {
        FWUserOp* next = row->NextPeer();
        row->Remove();
        kept.push_back(row);
        row = next;
    }
    while (menu->FirstChild() != nullptr)
        menu->RemoveItem(0);
    for (size_t i = 0; i < rows.size(); ++i)
        menu->AppendChild(new FWOpItem(rows[i].c_str(), int32_t(i), 0, 0, 0, FWApp::AdjustFileOpen, action, nullptr,
                                       0, 0));
    for (FWUserOp* palette : kept)
        menu->AppendChild(palette);
    if (menu->FirstChild() == nullptr) {
        menu->SetFlag(kUserOpDisabled);
        menu->AppendChild(new FWOpItem("-", 0, kUserOpSeparator, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    } else {
        menu->ClearFlag(kUserOpDisabled);
    }
    FWMenuMgr::Instance()->RebuildMenus();
}

void QuillformApp::UpdateWindowMenu()
{
    FWOpMenu* menu = findMenu(kWindowMenuID);
    if (menu == nullptr)
        return;
    std::vector<std::string> rows;
    ListTraversal<FWDocument> documents(&GetDocumentList());
    for (FWDocument* document = documents.First(); document != nullptr; document = documents.Next()) {
        rows.push_back(documentRowText(document));
        auto* resourceDocument = dynamic_cast<CQF_Document*>(document);
        for (EditWindow* window : editWindowsOf(document)) {
            const int32_t id = window->ViewMngr().GetResID();
            const std::string layout = resourceDocument != nullptr ? resourceDocument->ResMap().Name(id) : "";
            rows.push_back("  " + std::to_string(id) + " " + systemTextToRowText(layout));
        }
    }
    replaceRows(menu, rows, do_window_menu);
}

void QuillformApp::UpdateRecentMenu()
{
    FWOpMenu* menu = findMenu(kRecentMenuID);
    if (menu == nullptr)
        return;
    std::vector<std::string> rows;
    for (size_t line = mRecentLines.size(); line > 1; --line)
        rows.push_back(recentRowText(mRecentLines[line - 1]));
    replaceRows(menu, rows, do_recent_menu);
}

void QuillformApp::SelectWindow(int32_t rowID)
{
    ListTraversal<FWDocument> documents(&GetDocumentList());
    for (FWDocument* document = documents.First(); document != nullptr; document = documents.Next()) {
        if (rowID == 0) {
            DialogWINT(dynamic_cast<CQF_Document*>(document));
            return;
        }
        const std::vector<EditWindow*> windows = editWindowsOf(document);
        const int32_t count = int32_t(windows.size());
        if (rowID - 1 < count) {
            windows[size_t(rowID - 1)]->MakeToFront();
            return;
        }
        rowID -= 1 + count;
    }
}

void QuillformApp::OpenRecent(int32_t rowID)
{
    const int64_t line = int64_t(mRecentLines.size()) - 1 - rowID;
    if (line <= 0 || line >= int64_t(mRecentLines.size()))
        return;
    FileReference file(mRecentLines[size_t(line)].c_str());
    OpenFile(file);
}

void QuillformApp::do_window_menu(FWUserOp* op)
{
    if (op != nullptr)
        Instance()->SelectWindow(op->Id());
}

void QuillformApp::do_recent_menu(FWUserOp* op)
{
    if (op != nullptr)
        Instance()->OpenRecent(op->Id());
}
