#include "FD_Package.h"

#include "Dbg_Package.h"
#include "Env_InitCleanUpRA.h"
#include "FS_Package.h"

namespace Corvel {

Dbg_InitCounter FD_Package::sCounter;

void FD_Package::Init()
{
    if (!sCounter.ShouldInit())
        return;
    Env_InitCleanUpRA<Dbg_Package> debugging;
    Env_InitCleanUpRA<FS_Package> fileSystem;
    debugging.DontCleanUp();
    fileSystem.DontCleanUp();
}

void FD_Package::CleanUp()
{
    if (!sCounter.ShouldCleanUp())
        return;
    FS_Package::CleanUp();
    Dbg_Package::CleanUp();
}

} // namespace Corvel
