#include "FS_Package.h"

#include "Dbg_Package.h"
#include "Env_InitCleanUpRA.h"
#include "Env_Package.h"
#include "FS_FileTypeRegistry.h"
#include "FS_LocatorRegistry.h"
#include "FS_UtilPAC.h"

namespace Corvel {

Dbg_InitCounter FS_Package::sCounter;

void FS_Package::Init()
{
    if (!sCounter.ShouldInit())
        return;
    Env_InitCleanUpRA<Env_Package> environment;
    Env_InitCleanUpRA<Dbg_Package> debugging;
    Env_InitCleanUpRA<FS_LocatorRegistry> locators;
    Env_InitCleanUpRA<FS_FileTypeRegistry> fileTypes;
    // Registers the well-known folders; a folder it cannot find stays unregistered.
    Env_InitCleanUpRA<FS_UtilPAC> wellKnownFolders;
    environment.DontCleanUp();
    debugging.DontCleanUp();
    locators.DontCleanUp();
    fileTypes.DontCleanUp();
    wellKnownFolders.DontCleanUp();
}

void FS_Package::CleanUp()
{
    if (!sCounter.ShouldCleanUp())
        return;
    FS_UtilPAC::CleanUp();
    FS_FileTypeRegistry::CleanUp();
    FS_LocatorRegistry::CleanUp();
    Dbg_Package::CleanUp();
    Env_Package::CleanUp();
}

} // namespace Corvel
