// The application object: the singleton at the end of every handler chain. It starts and stops
// the framework, keeps the lists of windows and documents and the active document, answers the
// open-application, open-documents and quit Apple events, runs the 10-millisecond idle timer, and
// carries the file commands with their adjust callbacks, the About box and Command-Tab window
// cycling. Applications derive from it and override its hooks.
#pragma once

#include "FWEventHandler.h"
#include "FWList.h"

#include <cstdint>
#include <list>

class FileReference;
class FWDocument;
class FWFileDialog;
class FWPoint;
class FWRect;
class FWString;
class FWUserOp;
class FWWindow;

class FWApp : public FWEventHandler {
public:
    // Start and stop. Init comes before the application object is made; Execute runs the main
    // loop until Quit; Uninit deletes the application object.
    static bool Init();
    static void Execute(FWApp* app);
    static void Uninit();

    // Becomes the application object; installs the Apple-event handlers and starts the idle timer.
    FWApp();
    // Stops the idle timer, deletes the windows still in its list (documents are closed before),
    // and takes down the menu bar, the dispatcher, drag and drop and the event manager.
    ~FWApp() override;
    FWApp(const FWApp&) = delete;
    FWApp& operator=(const FWApp&) = delete;

    // The application object; the program ends when there is none.
    static FWApp* Instance();
    // Whether there is an application object (code that also runs without one asks first).
    static bool Exists() { return mGlobalApp != nullptr; }

    // True at start, after a resume; false after a suspend.
    static bool AppInForeground() { return gInForeground; }
    static void SetInForeground(bool inForeground) { gInForeground = inForeground; }
    // From the main loop: Suspend or Resume, and the foreground flag.
    static void ProcessSuspend();
    static void ProcessResume();
    // The idle timer waits, when there is no idle work, until the next is due. These bring its
    // next pass back to 10 milliseconds from now: after an event, when a process starts idling,
    // and (the second) when a key went down or up since the last pass.
    static void HurryIdleTime();
    static void HurryIdleTimeIfKeysChanged();

    // Command-Tab cycles the key window; other command keys are menu shortcuts.
    bool KeyDownEvent(FWEvent& event) override;

    // Hooks ---------------------------------------------------------------------------------------
    virtual void InitMenus() {}
    virtual void DoFirstAction() {}
    virtual void DoAboutApp();
    // "QZ Framework App" and "Orlenta Framework Application" unless overridden.
    virtual void GetAppShortName(FWString& name) const;
    virtual void GetAppLongName(FWString& name) const;
    // A new plain document.
    virtual FWDocument* NewDocument();
    virtual void OpenFile(FileReference& file);
    virtual void OpenFile(const std::list<FileReference>& files);
    virtual void GetFourViewRect(int quadrant, FWRect* rect);
    virtual void GetOneViewRect(FWRect* rect);
    virtual void WindowIsClosing(FWWindow*) {}
    virtual void Suspend() {}
    virtual void Resume() {}
    // The folder of the application's preferences.
    virtual void GetPreferencesDirectory(FileReference& folder) const = 0;
    virtual void SetupFileDialog(FWFileDialog&, void (*)(FWUserOp*)) {}
    virtual void DoAdjustFileNew(FWUserOp* op);
    virtual void DoFileNew();
    virtual void DoAdjustFileOpen(FWUserOp* op);
    virtual void DoFileOpen();
    virtual void DoAdjustFileClose(FWUserOp* op);
    virtual void DoFileClose();
    virtual void DoAdjustFileSave(FWUserOp* op);
    virtual void DoFileSave();
    virtual void DoAdjustFileSaveAs(FWUserOp* op);
    virtual void DoFileSaveAs();
    virtual void DoAdjustFileSaveACopy(FWUserOp* op);
    virtual void DoFileSaveACopy();
    virtual void DoAdjustFileQuit(FWUserOp* op);
    virtual void DoFileQuit();
    // False, with a beep, while a modal dialog is in front or up.
    virtual bool CanQuit();

    // Command entry points for command tables.
    static void FileNew(FWUserOp* op);
    static void FileOpen(FWUserOp* op);
    static void FileSave(FWUserOp* op);
    static void FileSaveAs(FWUserOp* op);
    static void FileQuit(FWUserOp* op);
    static void AdjustFileNew(FWUserOp* op);
    static void AdjustFileOpen(FWUserOp* op);
    static void AdjustFileSave(FWUserOp* op);
    static void AdjustFileSaveAs(FWUserOp* op);
    static void AdjustFileQuit(FWUserOp* op);

    // Documents. Setting the active document deactivates the old one and activates the new one
    // (each when not null), even when they are the same.
    void SetActiveDocument(FWDocument* document);
    FWDocument* GetActiveDocument() const { return mActiveDocument; }
    void AddDocument(FWDocument* document);
    // Removing the active document makes the first remaining one active, without activation.
    void RemoveDocument(FWDocument* document);
    FWList<FWDocument>& GetDocumentList() { return mDocuments; }
    void SetAllowMultipleDocuments(bool allow) { mAllowMultipleDocuments = allow; }
    bool AllowMultipleDocuments() const { return mAllowMultipleDocuments; }

    // Windows. Joining or leaving the list resets the dispatcher's window state.
    void AddWindow(FWWindow* window);
    void RemoveWindow(FWWindow* window);
    FWList<FWWindow>& GetWindowList() { return mWindows; }
    // The first visible window, in the platform's order from the front, that is one of the
    // application's framework windows; null when none.
    FWWindow* GetFrontWindow();
    // From the front window down, the first window of the style; and from there the last of an
    // unbroken run of windows of the style.
    FWWindow* GetFrontWindowOfStyle(int32_t style);
    FWWindow* GetBackWindowOfStyle(int32_t style);
    // The framework window under a global point, or null.
    FWWindow* FindWindow(const FWPoint& global);
    // Whether the platform's front window is not a framework window.
    bool ForeignWindowOpen();

private:
    // Installs the Apple-event handlers and the file dialogs' event function.
    void Initialize();
    // Takes down the event manager.
    static void Finish();
    // Command-Tab: the next (or, backward, the previous) window that takes keys becomes the key
    // window.
    void cycleKeyWindow(bool backward);

    FWList<FWWindow> mWindows;
    FWList<FWDocument> mDocuments;
    FWDocument* mActiveDocument = nullptr;
    bool mAllowMultipleDocuments = false;

    static FWApp* mGlobalApp;
    static bool gInForeground;
};
