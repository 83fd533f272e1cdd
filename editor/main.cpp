#include "HostEvents.h"
#include "QuillformApp.h"

// SIGTERM, SIGINT and SIGHUP end the program with status 0 from its first instant: the handler goes in
// before the program's static initialisers run, not only once main is reached.
[[gnu::constructor(101)]] static void installEndSignalsFirst()
{
    HostInstallEndSignals();
}

int main(int argc, char** argv)
{
    // Its own resources first, then the display (see QZMain).
    QZMain(argc, argv);
    return 0;
}
