#include "Env_Package.h"

#include "Env_InitCleanUpRA.h"
#include "Env_PackagePAC.h"
#include "Env_Time.h"

namespace Corvel {

uint32_t Env_Package::sCount = 0;

void Env_Package::Init()
{
    if (++sCount != 1)
        return;
    // The guards undo what is up already if a later Init throws.
    Env_InitCleanUpRA<Env_PackagePAC> platform;
    Env_InitCleanUpRA<Env_Time> time;
    platform.DontCleanUp();
    time.DontCleanUp();
}

void Env_Package::CleanUp()
{
    if (sCount == 0)
        return;
    if (--sCount != 0)
        return;
    Env_Time::CleanUp();
    Env_PackagePAC::CleanUp();
}

} // namespace Corvel
