// The movie toolbox is not present; starting and stopping it succeed and do nothing, so that
// the framework's start-up and shut-down run unchanged.
#pragma once

#include "HostTypes.h"

OSErr EnterMovies();
void ExitMovies();
