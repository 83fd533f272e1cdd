// The program's start: platform set-up, the file services, the framework, the application and its
// event loop.
#include "FD_Package.h"
#include "Env_InitCleanUpRA.h"
#include "FWApp.h"
#include "HostEndian.h"
#include "HostEvents.h"
#include "HostProcess.h"
#include "HostResources.h"
#include "QuillformApp.h"

#include <string>

namespace {

// Resources of these types are handed over as stored.
OSStatus keepAsStored(OSType, OSType, SInt16, void*, ByteCount, Boolean, void*)
{
    return noErr;
}

} // namespace

void QZMain(int argc, const char* const* argv)
{
    // First of all: SIGTERM or SIGINT during the set-up below ends the program (status 0) at its
    // first wait, or a moment later should the set-up not reach one, not by the signal's default
    // action.
    HostInstallEndSignals();
    CoreEndianFlipProc unused = nullptr;
    void* unusedRefCon = nullptr;
    CoreEndianGetFlipper(kCoreEndianResourceManagerDomain, FOUR_CHAR_CODE("cicn"), &unused, &unusedRefCon);
    for (OSType type : {FOUR_CHAR_CODE("acur"), FOUR_CHAR_CODE("PICT"), FOUR_CHAR_CODE("cicn"), FOUR_CHAR_CODE("STR#")})
        CoreEndianInstallFlipper(kCoreEndianResourceManagerDomain, type, keepAsStored, nullptr);

    // The program's own resources (dialog layouts, images, menus) sit beside it.
    SInt16 applicationFile = 0;
    const std::string resources = HostExecutablePath() + ".rsrc";
    HostOpenApplicationResourceFile(resources.c_str(), &applicationFile);

    {
        Corvel::Env_InitCleanUpRA<Corvel::FD_Package> fileServices;
        try {
            if (FWApp::Init()) {
                auto* app = new QuillformApp;
                HostPostLaunchEvents(argc, argv);
                FWApp::Execute(app);
                FWApp::Uninit();
            }
        } catch (...) {
            FWApp::Uninit();
        }
    }
    if (applicationFile != 0)
        CloseResFile(applicationFile);
}
