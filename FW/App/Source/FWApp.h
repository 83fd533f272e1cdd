// The application object: the singleton at the end of every handler chain. It keeps the lists
// of windows and documents, the active document, the foreground flag, and the names and the
// about box that the menu bar shows. Applications derive from it and override its hooks.
#pragma once

#include "FWEventHandler.h"
#include "FWList.h"

class FileReference;
class FWDocument;
class FWRect;
class FWString;
class FWWindow;

class FWApp : public FWEventHandler {
public:
    // Becomes the application object.
    FWApp();
    // Deletes the windows still in its list (documents are closed before), destroys the menu bar
    // and stops being the application object.
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

    // Hooks
    virtual void DoAboutApp();
    // "QZ Framework App" and "Orlenta Framework Application" unless overridden.
    virtual void GetAppShortName(FWString& name) const;
    virtual void GetAppLongName(FWString& name) const;
    // The folder of the application's preferences.
    virtual void GetPreferencesDirectory(FileReference& folder) const = 0;

    // Documents. Setting the active document deactivates the old one and activates the new one
    // (each when not null), even when they are the same.
    void SetActiveDocument(FWDocument* document);
    FWDocument* GetActiveDocument() const { return mActiveDocument; }
    void AddDocument(FWDocument* document);
    // Removing the active document makes the first remaining one active, without activation.
    void RemoveDocument(FWDocument* document);
    FWList<FWDocument>& GetDocumentList() { return mDocuments; }

    // Windows
    void AddWindow(FWWindow* window);
    void RemoveWindow(FWWindow* window);
    FWList<FWWindow>& GetWindowList() { return mWindows; }
    // The first visible window, in the platform's order from the front, that is one of the
    // application's framework windows; null when none.
    FWWindow* GetFrontWindow();
    // The rectangle a window zooms to from a frame: the usable bounds of the monitor holding
    // most of it.
    static void GetOneViewRect(FWRect* rect);

private:
    FWList<FWWindow> mWindows;
    FWList<FWDocument> mDocuments;
    FWDocument* mActiveDocument = nullptr;

    static FWApp* mGlobalApp;
    static bool gInForeground;
};
