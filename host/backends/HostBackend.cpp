// Choice of the back end and presentation of the composited screen on it.
#include "HostBackend.h"

#include "HostScreen.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::unique_ptr<HostBackend>& slot()
{
    static auto* sBackend = new std::unique_ptr<HostBackend>;
    return *sBackend;
}

// A display is closed properly at exit (its window and connection), before static data goes.
void shutDown()
{
    slot().reset();
}

std::unique_ptr<HostBackend> make(const char* name, std::string* error)
{
    if (std::strcmp(name, "headless") == 0)
        return HostMakeHeadlessBackend();
    if (std::strcmp(name, "sdl") == 0)
        return HostMakeSdlBackend(error);
    if (error != nullptr)
        *error = std::string("no back end named \"") + name + "\"";
    return nullptr;
}

std::unique_ptr<HostBackend> choose()
{
    std::string error;
    const char* forced = std::getenv("FW_HOST_BACKEND");
    if (forced != nullptr && *forced != '\0') {
        if (auto backend = make(forced, &error))
            return backend;
        std::fprintf(stderr, "FW_HOST_BACKEND=%s: %s; running headless\n", forced, error.c_str());
        return HostMakeHeadlessBackend();
    }
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') {
        if (auto backend = HostMakeSdlBackend(&error))
            return backend;
    } else {
        error = "DISPLAY is not set";
    }
    // Said once a run, so that a person who started the program knows why no window appears;
    // its messages then go to standard error.
    static bool sSaid = false;
    if (sSaid)
        return HostMakeHeadlessBackend();
    sSaid = true;
    std::fprintf(stderr,
                 "No display (%s): running headless, without windows; messages are written here. "
                 "FW_HOST_BACKEND (sdl or headless) chooses the back end.\n",
                 error.c_str());
    return HostMakeHeadlessBackend();
}

void closeAtExit()
{
    static bool sRegistered = false;
    if (sRegistered)
        return;
    sRegistered = true;
    std::atexit(shutDown);
}

} // namespace

HostBackend& HostCurrentBackend()
{
    auto& backend = slot();
    if (!backend) {
        backend = choose();
        closeAtExit();
    }
    return *backend;
}

const char* HostBackendName()
{
    return HostCurrentBackend().Name();
}

bool HostSelectBackend(const char* name, std::string* error)
{
    if (name == nullptr)
        return false;
    // Chosen here before any use, nothing is said about the choice the program would have made.
    auto& backend = slot();
    closeAtExit();
    if (backend && std::strcmp(backend->Name(), name) == 0)
        return true;
    // Only one display at a time: the old one closes before the new one opens.
    std::string why;
    backend.reset();
    backend = make(name, &why);
    if (backend) {
        HostInvalScreen(HostScreenBounds());
        return true;
    }
    if (error != nullptr)
        *error = why;
    backend = HostMakeHeadlessBackend();
    return false;
}

void HostPresentScreen(bool force)
{
    using Clock = std::chrono::steady_clock;
    HostBackend& backend = HostCurrentBackend();
    if (!backend.ShowsScreen())
        return;
    static Clock::time_point sLast;
    const Clock::time_point now = Clock::now();
    if (!force && now - sLast < std::chrono::milliseconds(8))
        return;
    sLast = now;
    const HostRegion area = HostComposeScreen();
    if (!area.Empty())
        backend.Present(HostScreenPixels(), area);
}
