// The file-dialog package, the top of the library: its first Init brings up the debugging and
// file-system packages (and through them everything else), its last CleanUp takes them down.
#pragma once

#include "Dbg_InitCounter.h"

namespace Corvel {

class FD_Package {
public:
    static void Init();
    static void CleanUp();

    static uint32_t InitCount() { return sCounter.Count(); }

private:
    static Dbg_InitCounter sCounter;
};

} // namespace Corvel
