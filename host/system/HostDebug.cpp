// Debugger output: no debugger is attached to the host, so messages go to stderr.
#include "HostDebug.h"

#include <cstdio>

void DebugStr(ConstStr255Param message)
{
    if (message == nullptr)
        return;
    std::fprintf(stderr, "%.*s\n", int(message[0]), reinterpret_cast<const char*>(message + 1));
}
