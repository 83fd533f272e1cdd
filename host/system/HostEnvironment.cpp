// Start-up environment of the host: ending the program, the hidden port and system functions by
// name. FlushEvents lives with the event queue (HostEvents.cpp).
#include "HostEnvironment.h"

#include "HostPorts.h"

#include <cstdlib>
#include <cstring>
#include <map>

namespace {

std::map<HostPortToken, HostHiddenPortInfo> sHiddenPorts;

} // namespace

void ExitToShell()
{
    std::exit(EXIT_SUCCESS);
}

// The port is an off-screen world of the window's size: a window that is never shown takes
// no part in the stacking, so it is kept out of the window list, where it would stand in front
// of every framework window as a foreign one.
HostPortToken HostNewHiddenPort(const Rect& bounds, SInt16 procID)
{
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr)
        return 0;
    SetGWorld(world, nullptr);
    EraseRect(&bounds); // white, as a window's content starts
    TextFont(0);
    TextSize(0);
    TextFace(0);
    TextMode(kModeCopy);
    const auto port = reinterpret_cast<HostPortToken>(world);
    sHiddenPorts[port] = HostHiddenPortInfo{bounds, procID};
    return port;
}

void HostDisposeHiddenPort(HostPortToken port)
{
    if (sHiddenPorts.erase(port) > 0)
        DisposeGWorld(reinterpret_cast<GWorldPtr>(port));
}

bool HostGetHiddenPortInfo(HostPortToken port, HostHiddenPortInfo& info)
{
    auto found = sHiddenPorts.find(port);
    if (found == sHiddenPorts.end())
        return false;
    info = found->second;
    return true;
}
