// The application object. Here its foreground flag (set when the application is resumed or
// suspended, read wherever the application may only act while it is in front) and the list of
// every framework window.
#pragma once

#include "FWList.h"

class FWRect;
class FWWindow;

class FWApp {
public:
    // True at start, after a resume; false after a suspend.
    static bool AppInForeground() { return gInForeground; }
    static void SetInForeground(bool inForeground) { gInForeground = inForeground; }

    // Windows: every created window is on this list until it is deleted.
    static void AddWindow(FWWindow* window);
    static void RemoveWindow(FWWindow* window);
    static FWList<FWWindow>& GetWindowList();
    // The rectangle a window zooms to from a frame: the usable bounds of the monitor holding
    // most of it.
    static void GetOneViewRect(FWRect* rect);

private:
    static bool gInForeground;
};
