// forkflip: asks for a ".rsc" file, writes its resource fork into a flat "(PC)" file beside it,
// shows a summary note and quits.
#include "CarbonApp.h"
#include "HostBackend.h"
#include "HostEvents.h"
#include "MainNib.h"

// SIGTERM, SIGINT and SIGHUP end the program with status 0 from its first instant: the handler goes in
// before the program's static initialisers run, not only once main is reached.
[[gnu::constructor(101)]] static void installEndSignalsFirst()
{
    HostInstallEndSignals();
}

int main()
{
    // The display first: a program that has none ends at once, before touching any file.
    HostCurrentBackend();
    RegisterMainNib();
    {
        CarbonApp app;
        HICommand open{};
        open.commandID = kHICommandOpen;
        ProcessHICommand(&open);
    }
    return 0;
}
