// The host's frameworks: name tables of direct calls.
#include "HostBundles.h"

#include "HostBackend.h"
#include "HostInput.h"

#include <cmath>
#include <iterator>
#include <cstdio>
#include <cstring>

struct HostBundle {
    const char* name;
    struct Entry {
        const char* name;
        void* address;
    };
    const Entry* entries;
    size_t count;
};

namespace {

constexpr CGDirectDisplayID kMainDisplay = 1;

const HostBundle::Entry kApplicationServices[] = {
    {"CGDisplayMoveCursorToPoint", reinterpret_cast<void*>(&CGDisplayMoveCursorToPoint)},
};

// The C library calls the start-up checks use to run a command and read its output.
const HostBundle::Entry kSystem[] = {
    {"popen", reinterpret_cast<void*>(&popen)},
    {"fgetc", reinterpret_cast<void*>(&fgetc)},
    {"pclose", reinterpret_cast<void*>(&pclose)},
};

const HostBundle kBundles[] = {
    {"ApplicationServices.framework", kApplicationServices, std::size(kApplicationServices)},
    {"System.framework", kSystem, std::size(kSystem)},
};

HostSystemFunctionFinder sSystemFinder = nullptr;

int16_t toCoordinate(double value)
{
    if (!(value > -32768.0))
        return -32768;
    if (value > 32767.0)
        return 32767;
    return int16_t(std::lround(value));
}

} // namespace

CFBundleRef HostLoadFrameworkBundle(const char* frameworkName)
{
    if (frameworkName == nullptr)
        return nullptr;
    for (const HostBundle& bundle : kBundles)
        if (std::strcmp(bundle.name, frameworkName) == 0)
            return &bundle;
    return nullptr;
}

void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, const char* functionName)
{
    if (bundle == nullptr || functionName == nullptr)
        return nullptr;
    if (sSystemFinder != nullptr && std::strcmp(bundle->name, "System.framework") == 0)
        return sSystemFinder(bundle->name, functionName);
    for (size_t i = 0; i < bundle->count; ++i)
        if (std::strcmp(bundle->entries[i].name, functionName) == 0)
            return bundle->entries[i].address;
    return nullptr;
}

HostSystemFunctionFinder HostSetSystemFunctionFinder(HostSystemFunctionFinder finder)
{
    HostSystemFunctionFinder previous = sSystemFinder;
    sSystemFinder = finder;
    return previous;
}

CGDirectDisplayID CGMainDisplayID()
{
    return kMainDisplay;
}

CGError CGDisplayMoveCursorToPoint(CGDirectDisplayID display, CGPoint point)
{
    if (display != kMainDisplay)
        return kCGErrorIllegalArgument;
    // The main display's origin is the global origin.
    const Point where{toCoordinate(point.y), toCoordinate(point.x)};
    HostSetGlobalMouse(where);
    HostCurrentBackend().MoveMouse(where);
    return kCGErrorSuccess;
}
