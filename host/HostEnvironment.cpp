// Start-up environment of the host: ending the program, the hidden port and system functions by
// name. FlushEvents lives with the event queue (HostEvents.cpp).
#include "HostEnvironment.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <map>

namespace {

std::map<HostPortToken, HostHiddenPortInfo> sHiddenPorts;
HostPortToken sNextPort = 1;

void* findWithDynamicLinker(const char* frameworkName, const char* functionName)
{
    // Only the C library stands in for a system framework.
    if (frameworkName == nullptr || functionName == nullptr || std::strcmp(frameworkName, "System.framework") != 0)
        return nullptr;
    return dlsym(RTLD_DEFAULT, functionName);
}

HostSystemFunctionFinder sFinder = findWithDynamicLinker;

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

void* HostFindSystemFunction(const char* frameworkName, const char* functionName)
{
    return sFinder(frameworkName, functionName);
}

HostSystemFunctionFinder HostSetSystemFunctionFinder(HostSystemFunctionFinder finder)
{
    HostSystemFunctionFinder previous = sFinder;
    sFinder = finder != nullptr ? finder : findWithDynamicLinker;
    return previous == findWithDynamicLinker ? nullptr : previous;
}
