// The editor's application object. It installs the editor's event dispatcher, registers the
// resource-file type, builds the menu bar and the tools from the command tables, reads the
// preferences (the last folder and the recent files), and carries the editor-wide commands: the
// file commands, the Window and Open Recent menus, the grid and layout size, and the utilities
// that act on the front edit window.
#pragma once

#include "FWApp.h"
#include "FWOpData.h"

#include <cstdint>
#include <string>
#include <vector>

class CQF_Document;
class EditWindow;
class FWOpMenu;

// The whole run: platform set-up, the framework's start-up, the application and its event loop.
// The arguments are the program's command line; the files named there are opened.
void QZMain(int argc = 0, const char* const* argv = nullptr);

class QuillformApp : public FWApp {
public:
    QuillformApp();
    ~QuillformApp() override;

    // The application object (FWApp::Instance) as the editor's.
    static QuillformApp* Instance();

    // The command tables: the menu bar and the tools.
    static const FWOpData sMenuRoot;
    static const FWOpData sToolbarRoot;
    // Ids of the menus rebuilt at run time.
    static constexpr int32_t kWindowMenuID = 133;
    static constexpr int32_t kRecentMenuID = 200;
    // The row after which the Window menu holds rows that are not its own (tool palettes).
    static constexpr int32_t kPaletteSeparatorID = 0xABCDEF21;

    // FWApp -----------------------------------------------------------------------------------
    void GetAppShortName(FWString& name) const override;
    void GetAppLongName(FWString& name) const override;
    void OpenFile(FileReference& file) override;
    using FWApp::OpenFile;
    void WindowIsClosing(FWWindow* window) override;
    // Does nothing: the preferences have their own place.
    void GetPreferencesDirectory(FileReference&) const override {}
    void SetupFileDialog(FWFileDialog& dialog, void (*action)(FWUserOp*)) override;
    void DoAdjustFileNew(FWUserOp* op) override;
    void DoFileNew() override;
    void DoAdjustFileOpen(FWUserOp* op) override;
    void DoAdjustFileSave(FWUserOp* op) override;
    void DoFileSave() override;
    void DoAdjustFileQuit(FWUserOp* op) override;
    bool CanQuit() override;

    // Edit windows ----------------------------------------------------------------------------
    // The front window of style 0 when it is an edit window, else null.
    EditWindow* GetFrontEditWindow();
    // Invalidates every edit window from the front edit window back.
    void InvalAll();
    // Saves one layout into its document's file; true on success.
    bool SaveEditWindow(EditWindow& window);
    // Saves every edit window with unsaved changes; true unless a save failed.
    bool DoFileSaveAll();
    // The Yes / Cancel / Don't Save question; answers FWUserMsg's result (2, 3, 4).
    int32_t AskSaveBeforeClose(const char* question);
    // The WINT list dialog of a document.
    void DialogWINT(CQF_Document* document);
    // Clean-up after an edit window of the document failed to load: the document goes when it
    // has no window left, and the user is told.
    void RemoveBadWindow(FWDocument* document);

    // Menus rebuilt at run time ---------------------------------------------------------------
    void UpdateWindowMenu();
    void UpdateRecentMenu();
    void SelectWindow(int32_t rowID);
    void OpenRecent(int32_t rowID);

    // Custom events -----------------------------------------------------------------------------
    static void PostCustomEvent(int32_t code, int32_t argument, void* data);
    void ProcessCustomEvent(int32_t code, int32_t argument, void* data);

    // Preferences -----------------------------------------------------------------------------
    void ReadPreferences();
    void WritePreferences();
    // Records a file being opened as the newest recent file.
    void UpdatePrefs2Open(const FileReference& file);
    // Line 0 the folder of the last opened file, then the recent files, oldest first.
    const std::vector<std::string>& RecentLines() const { return mRecentLines; }
    // Where the preferences are kept: "path.txt" in "Preferences" beside the program.
    static std::string PreferencesPath();

    // Messages ----------------------------------------------------------------------------------
    // Show the text as it is, with one OK button.
    static void WarningMessage(const char* text);
    static void ErrorMessage(const char* text);
    // The last resource error (CResMap::errCode) as an error message.
    static void ShowResError();

    // Grid --------------------------------------------------------------------------------------
    int32_t GetGridSize() const { return mGridSize; }
    void SetGridSize(int32_t size) { mGridSize = size; }

    // Command callbacks (the argument is not used) ---------------------------------------------
    static void adjust_grid(FWUserOp*);
    static void ResizeDialog(FWUserOp*);
    static void recompute_IDs(FWUserOp*);
    static void do_tab_reorder(FWUserOp*);
    static void do_shader(FWUserOp*);
    static void write_source_file(FWUserOp*);
    static void AdjustUtils(FWUserOp* op);
    static void AdjustAlign(FWUserOp* op);
    static void FileSaveAll(FWUserOp*);
    static void AdjustFileSaveAll(FWUserOp* op);
    static void do_window_menu(FWUserOp* op);
    static void do_recent_menu(FWUserOp* op);
    static void align_left(FWUserOp*);
    static void align_right(FWUserOp*);
    static void align_top(FWUserOp*);
    static void align_bottom(FWUserOp*);
    static void align_horiz(FWUserOp*);
    static void align_vert(FWUserOp*);
    static void align_edits(FWUserOp*);
    static void align_distrib(FWUserOp*);
    static void CenterInParentHoriz(FWUserOp*);
    static void CenterInParentVert(FWUserOp*);
    // The shader interface of layout 21000.
    void InterfaceShader();

    void DoAdjustUtils(FWUserOp* op);
    void DoAdjustAlign(FWUserOp* op);
    void DoAdjustFileSaveAll(FWUserOp* op);

private:
    // Builds the tools and shows the tool window.
    void SetUpTools();
    // The menu of that id in the menu bar's tree, or null.
    static FWOpMenu* findMenu(int32_t id);
    // Puts the menu's rows in place of its own old ones; an empty menu is disabled with one
    // separator row.
    static void replaceRows(FWOpMenu* menu, const std::vector<std::string>& rows, void (*action)(FWUserOp*));

    int32_t mGridSize = 1;
    std::vector<std::string> mRecentLines;
};
