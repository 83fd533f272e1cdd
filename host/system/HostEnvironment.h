// The process's environment at start-up: cursor and event reset, ending the program, the hidden
// drawing port the framework keeps for measuring.
#pragma once

#include "HostCursors.h"
#include "HostTypes.h"

// Drops the queued events whose kinds are in mask, up to the first of a kind in stopMask
// (declared with the event queue in HostEvents.h as well).
void FlushEvents(UInt16 mask, UInt16 stopMask);
// Ends the program at once, with a successful exit status.
[[noreturn]] void ExitToShell();

// The hidden port: an invisible window of the given bounds and window kind (procID) that
// becomes the current drawing port, with text font 0, size 0, plain style and copy mode.
// The token is the port (a CGrafPtr); 0 is no port.
using HostPortToken = uintptr_t;
struct HostHiddenPortInfo {
    Rect bounds;
    SInt16 procID;
};
HostPortToken HostNewHiddenPort(const Rect& bounds, SInt16 procID);
void HostDisposeHiddenPort(HostPortToken port);
// What the port was made with; false for a port that is not open.
bool HostGetHiddenPortInfo(HostPortToken port, HostHiddenPortInfo& info);

