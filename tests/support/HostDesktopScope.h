// A clean virtual desktop for a test: no windows, no queued or injected input, the mouse and keys
// released, the default menu bar, and the clock frozen at a tick count. Everything is cleaned
// again when the scope ends, and the system clock is back.
#pragma once

#include "HostPixels.h"
#include "HostWindows.h"

#include <cstdint>

class HostDesktopScope {
public:
    explicit HostDesktopScope(uint32_t ticks = 1000);
    ~HostDesktopScope();
    HostDesktopScope(const HostDesktopScope&) = delete;
    HostDesktopScope& operator=(const HostDesktopScope&) = delete;

    // A shown window of the class at bounds whose port is filled with one colour.
    static WindowRef MakeWindow(const Rect& bounds, uint32_t argb, WindowClass windowClass = kHostDocumentWindowClass);
    // Fills the whole port of the window (through its pixels, noting the change).
    static void Fill(WindowRef window, uint32_t argb);
    // Compares colours without alpha.
    static uint32_t Rgb(uint32_t argb) { return argb & 0x00FFFFFFu; }

private:
    static void Clean();
};
