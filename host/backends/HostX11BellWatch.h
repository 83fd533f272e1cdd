// Test interface: watches an X display's bell from a connection of its own (XKB bell
// notifications), so that a test sees a program it started ring it.
#pragma once

#include <chrono>
#include <string>

class HostX11BellWatch {
public:
    // Watches the named display (such as ":3") from now on.
    explicit HostX11BellWatch(const std::string& display);
    ~HostX11BellWatch();
    HostX11BellWatch(const HostX11BellWatch&) = delete;
    HostX11BellWatch& operator=(const HostX11BellWatch&) = delete;

    // False when the display could not be opened or has no XKB.
    bool Watching() const { return mDisplay != nullptr; }
    // How many times the bell rang since the watch began; while fewer than the awaited rings came,
    // waits for them up to the limit (sleeping until the server says something).
    int Rings(std::chrono::milliseconds limit, int awaited = 1);

private:
    struct _XDisplay* mDisplay = nullptr;
    int mEventBase = 0;
    int mRings = 0;
};

// Sends WM_DELETE_WINDOW to the window, as a window manager does when its close is clicked.
bool HostX11AskToClose(const std::string& display, unsigned long window);
