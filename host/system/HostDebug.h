// Debugger output of the host layer: where the framework's debugger messages go.
#pragma once

#include "HostTypes.h"

// Writes a length-prefixed message to the debugger; with no debugger attached, to stderr.
void DebugStr(ConstStr255Param message);
