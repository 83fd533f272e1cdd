#include "FWQTUtil.h"

#include "HostMovies.h"

bool FWQTUtil::InitQuickTime()
{
    return EnterMovies() == noErr;
}

void FWQTUtil::CloseQuickTime()
{
    ExitMovies();
}
