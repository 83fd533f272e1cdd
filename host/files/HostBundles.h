// Platform functions found by name at run time. The host has no loadable frameworks: each
// framework the framework asks for is a fixed table of direct calls, and any other name is
// not found.
#pragma once

#include "HostTypes.h"

struct HostBundle;
using CFBundleRef = const HostBundle*;

// The framework of that name ("ApplicationServices.framework", "System.framework"), loaded;
// null when the host has no such framework.
CFBundleRef HostLoadFrameworkBundle(const char* frameworkName);
// The address of the named function of the bundle, or null.
void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, const char* functionName);

// Tests can stand in for the system library ("System.framework"): an installed finder answers
// in place of the host's table. Null restores the table; returns the finder replaced (null for
// the table).
using HostSystemFunctionFinder = void* (*)(const char* frameworkName, const char* functionName);
HostSystemFunctionFinder HostSetSystemFunctionFinder(HostSystemFunctionFinder finder);

// Display calls (ApplicationServices.framework).
using CGDirectDisplayID = uint32_t;
using CGError = int32_t;
struct CGPoint {
    double x;
    double y;
};
enum : CGError {
    kCGErrorSuccess = 0,
    kCGErrorIllegalArgument = 1001,
};

CGDirectDisplayID CGMainDisplayID();
// Moves the mouse to the point of the display (display coordinates, x across, y down).
CGError CGDisplayMoveCursorToPoint(CGDirectDisplayID display, CGPoint point);
