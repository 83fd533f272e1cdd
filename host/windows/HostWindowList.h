// Inside the host only: the window record and the stacking order that the window calls, the
// compositor and the event wait share. The framework uses HostWindows.h.
#pragma once

#include "HostWindows.h"

#include <string>
#include <vector>

enum class HostWindowLayer : uint8_t {
    Normal,
    Floating,
    Modal,
    Popup,
    Overlay,
};

struct HostWindow {
    HostPort* port = nullptr; // owned
    WindowClass windowClass = kHostDocumentWindowClass;
    WindowAttributes attributes = 0;
    WindowDefSpec definition{0, 0};
    HostWindowLayer layer = HostWindowLayer::Normal;
    int16_t left = 0;   // global top-left
    int16_t top = 0;
    int32_t width = 0;  // may be 0; the port is at least 1 x 1
    int32_t height = 0;
    bool visible = false;
    bool everShown = false;
    bool hilited = false;
    bool inUpdate = false;
    SRefCon refCon = nullptr;
    std::string title;  // Mac Roman
    RGBColor contentColor{0xFFFF, 0xFFFF, 0xFFFF};
    HostRegion updateRegion; // local

    // Kept by the compositor: what of the window the screen showed at the last refresh, in
    // global coordinates, and the window's top-left then.
    HostRegion shownRegion;
    int16_t shownLeft = 0;
    int16_t shownTop = 0;
    Rect shownBounds{0, 0, 0, 0}; // overlays: where they were last drawn

    // Global bounds, held to the 16-bit range.
    Rect Bounds() const;
    // The window's area in local coordinates.
    Rect LocalBounds() const;
};

// Front to back: overlays, then pop-up, modal, floating and normal windows.
const std::vector<HostWindow*>& HostWindowOrder();
// The window's place changed in a way the screen must take over (stacking, visibility, position,
// size): the next refresh recomputes what shows.
void HostWindowsChanged();
// Told when a window goes away, before it is freed.
void HostScreenWindowGone(const HostWindow& window);
void HostEventsWindowGone(const HostWindow* window);

// The main monitor's bounds and the height of the menu-bar strip (HostMonitors).
Rect HostScreenMonitorBounds();
int16_t HostScreenMenuBarHeight();

// Recomputes what shows of each window when something changed, adding newly visible parts to
// the windows' update regions (no pixels are composited).
void HostRefreshVisibility();
