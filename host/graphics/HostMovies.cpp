#include "HostMovies.h"

OSErr EnterMovies()
{
    return noErr;
}

void ExitMovies()
{
}
