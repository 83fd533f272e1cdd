// The virtual screen: one 32-bit store the size of the main monitor (HostMonitors) into which
// the host composites, back to front, the desktop, the visible windows' ports, the menu-bar
// strip across the top and the overlay windows. Only what changed is composited again: what was
// drawn in a port (its changed bounds), and what the stacking, showing, hiding, moving and
// sizing of windows uncovered. A display back end shows the result; tests read it back.
#pragma once

#include "HostPixels.h"
#include "HostRegion.h"

#include <cstdint>

// The port type of HostPorts.h, named here so that this header goes along with HostMonitors.h.
class HostPort;
using CGrafPtr = HostPort*;

constexpr uint32_t kHostDesktopColor = 0xFF5F7187; // a slate blue-grey

// Brings the screen up to date and answers the area (global) that changed. Window areas that
// became visible are added to those windows' update regions first.
HostRegion HostComposeScreen();
// The screen, composited; 32-bit opaque pixels, its bounds the main monitor's.
const HostPixelMap& HostScreenPixels();
// One composited pixel at a global point; 0 outside the screen.
uint32_t HostScreenPixel(Point where);
// Writes the composited screen as a PNG (HostWritePNG's errors).
OSErr HostWriteScreenPNG(const char* path);
Rect HostScreenBounds();

// The menu-bar strip (kHostMenuBarHeight high, across the top) lies above every window. Its
// drawer paints it into its own port, which is current during the call; by default it is white
// with a black line along its bottom. Installing a drawer (null: the default) or
// HostInvalMenuBar has it painted again at the next composite.
using HostMenuBarDrawer = void (*)(CGrafPtr port, const Rect& bounds);
HostMenuBarDrawer HostSetMenuBarDrawer(HostMenuBarDrawer drawer);
void HostInvalMenuBar();
Rect HostMenuBarBounds();

// Marks a global area to be composited again (back ends call it when their display lost it).
void HostInvalScreen(const Rect& area);
