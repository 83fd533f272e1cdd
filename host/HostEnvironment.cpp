// Start-up environment of the host: ending the program, the hidden port and system functions by
// name. FlushEvents lives with the event queue (HostEvents.cpp).
#include "HostEnvironment.h"

#include <cstdlib>
#include <cstring>
#include <map>

namespace {

std::map<HostPortToken, HostHiddenPortInfo> sHiddenPorts;
HostPortToken sNextPort = 1;

} // namespace

void ExitToShell()
{
    std::exit(EXIT_SUCCESS);
}

HostPortToken HostNewHiddenPort(const Rect& bounds, SInt16 procID)
{
    HostPortToken port = sNextPort++;
    sHiddenPorts[port] = HostHiddenPortInfo{bounds, procID};
    return port;
}

void HostDisposeHiddenPort(HostPortToken port)
{
    sHiddenPorts.erase(port);
}

bool HostGetHiddenPortInfo(HostPortToken port, HostHiddenPortInfo& info)
{
    auto found = sHiddenPorts.find(port);
    if (found == sHiddenPorts.end())
        return false;
    info = found->second;
    return true;
}
