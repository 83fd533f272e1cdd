// The application object: the singleton at the end of every handler chain. It keeps the
// foreground flag, the active document, and the names and the about box that the menu bar shows.
// Applications derive from it and override its hooks.
#pragma once

#include "FWEventHandler.h"

class FileReference;
class FWDocument;
class FWString;
class FWWindow;

class FWApp : public FWEventHandler {
public:
    // Becomes the application object.
    FWApp();
    // Destroys the menu bar and stops being the application object.
    ~FWApp() override;
    FWApp(const FWApp&) = delete;
    FWApp& operator=(const FWApp&) = delete;

    // The application object; the program ends when there is none.
    static FWApp* Instance();

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

    // Windows: the frontmost visible framework window, or null.
    FWWindow* GetFrontWindow() const;

private:
    FWDocument* mActiveDocument = nullptr;

    static FWApp* mGlobalApp;
    static bool gInForeground;
};
