// The display back ends behind one small interface: `headless` (no display; input comes from
// HostHeadless.h) and `sdl` (one SDL2 window showing the screen at 1:1, feeding real mouse and
// keyboard). The host takes `sdl` on the X display DISPLAY names, or `headless` when
// FW_HOST_BACKEND=headless asks for it; without either, the program says why and ends (status 1).
#pragma once

#include "HostPixels.h"
#include "HostRegion.h"

#include <cstdint>
#include <memory>
#include <string>

class HostBackend {
public:
    virtual ~HostBackend() = default;
    virtual const char* Name() const = 0;

    // Hands what the display gathered to HostDeliverInput; true when anything came.
    virtual bool Poll() = 0;
    // Sleeps up to nanoseconds of real time, waking early when display input arrives.
    virtual void Wait(uint64_t nanoseconds) = 0;
    // Whether a display shows the screen: then every composite is presented at once.
    virtual bool ShowsScreen() const = 0;
    // Shows the area (global) of the composited screen.
    virtual void Present(const HostPixelMap& screen, const HostRegion& area) {}
    // Puts the pointer at a global point.
    virtual void MoveMouse(Point where) {}

    // Test interface: what the display shows, read back from it into a 32-bit store over the
    // screen's bounds; false when there is no display.
    virtual bool ReadDisplay(HostPixelMap& into) { return false; }
    // Where the screen's top-left lies on the display's own screen.
    virtual bool DisplayOrigin(int32_t* x, int32_t* y) { return false; }
    // Test interface: how many times Wait was called, each one sleep.
    virtual uint64_t WaitCount() const { return 0; }
};

// The back end in use, picked on first use.
HostBackend& HostCurrentBackend();
const char* HostBackendName();
// Test interface: replaces the back end by the named one ("headless", "sdl"); false, with the
// reason in *error and the headless back end in use, when it cannot start.
bool HostSelectBackend(const char* name, std::string* error = nullptr);

// Composites what changed and, when a display shows the screen, presents it. force: even when
// presented only a moment ago (polling calls present at most every few milliseconds).
void HostPresentScreen(bool force);

std::unique_ptr<HostBackend> HostMakeHeadlessBackend();
// Null, with the reason in *error, when SDL's video cannot start.
std::unique_ptr<HostBackend> HostMakeSdlBackend(std::string* error);
