// The screen's size and menu-bar height from the monitor configuration. Kept apart because the
// monitor calls and the port calls name their device types differently.
#include "HostMonitors.h"

Rect HostScreenMonitorBounds()
{
    return HostMainScreenBounds();
}

int16_t HostScreenMenuBarHeight()
{
    return kHostMenuBarHeight;
}
