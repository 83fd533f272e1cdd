// forkflip: asks for a ".rsc" file, writes its resource fork into a flat "(PC)" file beside it,
// shows a summary note and quits.
#include "CarbonApp.h"
#include "MainNib.h"

int main()
{
    RegisterMainNib();
    {
        CarbonApp app;
        HICommand open{};
        open.commandID = kHICommandOpen;
        ProcessHICommand(&open);
    }
    return 0;
}
