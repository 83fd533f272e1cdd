// forkflip: asks for a ".rsc" file, writes its resource fork into a flat "(PC)" file beside it,
// shows a summary note and quits.
#include "CarbonApp.h"
#include "HostEvents.h"
#include "MainNib.h"

int main()
{
    // First of all: SIGTERM or SIGINT during the set-up ends the program at its first wait
    // (status 0), not by the signal's default action.
    HostInstallEndSignals();
    RegisterMainNib();
    {
        CarbonApp app;
        HICommand open{};
        open.commandID = kHICommandOpen;
        ProcessHICommand(&open);
    }
    return 0;
}
