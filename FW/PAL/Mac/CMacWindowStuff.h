// The platform data of one framework window: its borderless platform window and an optional
// overlay window attached to it. Owned by the window (InitializeWindow / FinishWindow).
#pragma once

#include <cstdint>
#include <set>

struct HostWindow;

class CMacWindowStuff {
public:
    CMacWindowStuff();
    // Disposes of the overlay window; the platform window is the owner's to dispose of.
    ~CMacWindowStuff();
    CMacWindowStuff(const CMacWindowStuff&) = delete;
    CMacWindowStuff& operator=(const CMacWindowStuff&) = delete;

    HostWindow* mWindow = nullptr;
    uintptr_t mSecond = 0;
    HostWindow* mOverlay = nullptr;

    void DisposeOverlay();
    // Disposes of the overlay windows of every window.
    static void CloseAllOverlayWindows();
    static int32_t sOverlayCount;

private:
    static std::set<CMacWindowStuff*>& all();
};
