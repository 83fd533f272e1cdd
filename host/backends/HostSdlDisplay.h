// Inside the host only: reading back what the X server shows of the SDL back end's window, kept
// apart from the back end because the X headers name types the host names too.
#pragma once

#include "HostPixels.h"

struct SDL_Window;

// Reads the window's pixels from the X server into a 32-bit store the window's size; false when
// the window is not on an X display.
bool HostSdlReadWindow(SDL_Window* window, HostPixelMap& into);
