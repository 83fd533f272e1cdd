// The run application as a program of its own: it reports what it receives on standard output,
// one line each, opens the files named on its command line, and ends on Quit (saying "quit") or
// SIGTERM (at once).
#include "RunApplication.h"

#include "HostBackend.h"
#include "HostEvents.h"

#include <cstdint>
#include <cstdio>

int main(int argc, char** argv)
{
    RunLogEcho(true);
    if (!FWApp::Init())
        return 1;
    auto* app = new RunApp;
    // Where the screen lies on the display, so that a driver can aim at it.
    int32_t x = 0;
    int32_t y = 0;
    HostCurrentBackend().DisplayOrigin(&x, &y);
    std::printf("backend %s origin %d %d\n", HostBackendName(), int(x), int(y));
    std::fflush(stdout);
    HostPostLaunchEvents(argc, argv);
    FWApp::Execute(app);
    FWApp::Uninit();
    std::printf("quit\n");
    return 0;
}
