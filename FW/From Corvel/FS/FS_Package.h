// The file-system package: the environment, the locator and file-type registries and the
// well-known folders, brought up in that order by the first Init and down in reverse by the
// last CleanUp.
#pragma once

#include "Dbg_InitCounter.h"

namespace Corvel {

class FS_Package {
public:
    static void Init();
    static void CleanUp();

    static uint32_t InitCount() { return sCounter.Count(); }

private:
    static Dbg_InitCounter sCounter;
};

} // namespace Corvel
