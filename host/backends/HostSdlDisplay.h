// Inside the host only: what the SDL back end asks of the X server under its window (reading
// back what it shows, ringing the bell), kept apart from the back end because the X headers name
// types the host names too.
#pragma once

#include "HostPixels.h"

struct SDL_Window;

// Reads the window's pixels from the X server into a 32-bit store the window's size; false when
// the window is not on an X display.
bool HostSdlReadWindow(SDL_Window* window, HostPixelMap& into);
// Rings the X display's bell (SDL has none); false when the window is not on an X display.
bool HostSdlRingBell(SDL_Window* window);
// The socket of SDL's X connection, for a wait to sleep on; -1 when the window is not on an X
// display.
int HostSdlDisplaySocket(SDL_Window* window);
// Sends what SDL's X connection holds back and answers whether events have come that SDL has not
// taken yet (then a wait must not sleep).
bool HostSdlDisplayEventsWaiting(SDL_Window* window);
