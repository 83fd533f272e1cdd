// Read-back of the SDL window and its bell, through SDL's own X connection.
#include "HostSdlDisplay.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>

namespace {

// The X connection and window under the SDL window; false when it is not on an X display.
bool x11WindowOf(SDL_Window* window, Display** display, Window* xwindow)
{
    if (window == nullptr)
        return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return false;
    *display = info.info.x11.display;
    *xwindow = info.info.x11.window;
    return true;
}

} // namespace

bool HostSdlReadWindow(SDL_Window* window, HostPixelMap& into)
{
    Display* display = nullptr;
    Window xwindow = 0;
    if (!x11WindowOf(window, &display, &xwindow))
        return false;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, xwindow, &attributes) == 0)
        return false;
    XImage* image = XGetImage(display, xwindow, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    bool ok = into.Allocate(Rect{0, 0, int16_t(attributes.height), int16_t(attributes.width)}, 32) == noErr;
    // Each channel's mask scaled to 8 bits.
    auto channel = [](unsigned long pixel, unsigned long mask) -> uint8_t {
        if (mask == 0)
            return 0;
        int shift = 0;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        const unsigned long max = mask >> shift;
        return uint8_t((((pixel & mask) >> shift) * 255 + max / 2) / max);
    };
    for (int y = 0; ok && y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            into.Set(x, y, HostArgb(255, channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                                    channel(pixel, image->blue_mask)));
        }
    }
    XDestroyImage(image);
    return ok;
}

bool HostSdlRingBell(SDL_Window* window)
{
    Display* display = nullptr;
    Window xwindow = 0;
    if (!x11WindowOf(window, &display, &xwindow))
        return false;
    // At the bell's own volume (0 percent more or less); the core bell where XKB is missing.
    if (!XkbBell(display, xwindow, 0, None))
        XBell(display, 0);
    // SDL's connection may otherwise hold the request until its next event poll.
    XFlush(display);
    return true;
}

int HostSdlDisplaySocket(SDL_Window* window)
{
    Display* display = nullptr;
    Window xwindow = 0;
    return x11WindowOf(window, &display, &xwindow) ? ConnectionNumber(display) : -1;
}

bool HostSdlDisplayEventsWaiting(SDL_Window* window)
{
    Display* display = nullptr;
    Window xwindow = 0;
    return x11WindowOf(window, &display, &xwindow) && XEventsQueued(display, QueuedAfterFlush) > 0;
}
