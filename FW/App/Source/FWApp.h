// The application object. Here only its foreground flag: set when the application is resumed
// or suspended, read wherever the application may only act while it is in front.
#pragma once

class FWApp {
public:
    // True at start, after a resume; false after a suspend.
    static bool AppInForeground() { return gInForeground; }
    static void SetInForeground(bool inForeground) { gInForeground = inForeground; }

private:
    static bool gInForeground;
};
