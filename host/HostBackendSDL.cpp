// The SDL2 back end (being built): until then no display opens.
#include "HostBackend.h"

std::unique_ptr<HostBackend> HostMakeSdlBackend(std::string* error)
{
    if (error != nullptr)
        *error = "the SDL back end is not built yet";
    return nullptr;
}
