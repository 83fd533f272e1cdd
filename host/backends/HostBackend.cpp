// Choice of the back end and presentation of the composited screen on it.
#include "HostBackend.h"

#include "HostProcess.h"
#include "HostScreen.h"

#include <chrono>
#include <csignal>
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

// The display, unless FW_HOST_BACKEND asks for another back end; the headless one only when asked
// for, since nobody could answer a program that runs without a screen. A desktop program with no
// display to show its windows on has nothing to do: it says why on one line and ends before
// anything starts (no window, file or preference touched yet).
std::unique_ptr<HostBackend> choose()
{
    const char* forced = std::getenv("FW_HOST_BACKEND");
    const char* name = forced != nullptr && *forced != '\0' ? forced : "sdl";
    const char* display = std::getenv("DISPLAY");
    if (std::strcmp(name, "sdl") == 0 && (display == nullptr || *display == '\0'))
        HostEndAtStart("needs an X display to show its windows, and DISPLAY is not set: start it from a "
                       "desktop session or over ssh -X, or set DISPLAY to a virtual display (Xvfb) that "
                       "you watch through a VNC viewer");
    // Before any display connection, also in programs that install no end signals: a write to a
    // lost display reaches Xlib's I/O error handler rather than SIGPIPE (see HostInstallEndSignals).
    signal(SIGPIPE, SIG_IGN);
    std::string error;
    if (auto backend = make(name, &error))
        return backend;
    if (std::strcmp(name, "sdl") != 0)
        error = std::string("FW_HOST_BACKEND=") + name + " names no back end (sdl or headless)";
    HostEndAtStart(error);
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
