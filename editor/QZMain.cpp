// The program's start: platform set-up, the file services, the framework, the application and its
// event loop.
#include "FD_Package.h"
#include "Env_InitCleanUpRA.h"
#include "FWApp.h"
#include "HostBackend.h"
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

// Why the program's own resource file did not open, as the end of the line that names it.
std::string whyNotOpened(OSErr err)
{
    switch (err) {
    case fnfErr:
        return "is missing";
    case eofErr:
        return "is empty";
    case mapReadErr:
        return "is damaged: it is cut short or not a resource file";
    case notAFileErr:
        return "is not a file";
    case wrPermErr:
        return "cannot be read: permission denied";
    case permErr:
        return "cannot be read: another program is writing it";
    default:
        return "cannot be read (error " + std::to_string(err) + ")";
    }
}

} // namespace

void QZMain(int argc, const char* const* argv)
{
    // First of all: SIGTERM, SIGINT or SIGHUP during the set-up below ends the program (status 0) at its
    // first wait, or a moment later should the set-up not reach one, not by the signal's default
    // action.
    HostInstallEndSignals();
    CoreEndianFlipProc unused = nullptr;
    void* unusedRefCon = nullptr;
    CoreEndianGetFlipper(kCoreEndianResourceManagerDomain, FOUR_CHAR_CODE("cicn"), &unused, &unusedRefCon);
    for (OSType type : {FOUR_CHAR_CODE("acur"), FOUR_CHAR_CODE("PICT"), FOUR_CHAR_CODE("cicn"), FOUR_CHAR_CODE("STR#")})
        CoreEndianInstallFlipper(kCoreEndianResourceManagerDomain, type, keepAsStored, nullptr);

    // The program's own resources (dialog layouts, images, menus) sit beside it. Without them it
    // could show no window, so it says so and ends; this comes before the display opens, so that
    // no window shows only to go, and no wait for a display that does not answer comes first.
    SInt16 applicationFile = 0;
    const std::string resources = HostExecutablePath() + ".rsrc";
    if (OSErr err = HostOpenApplicationResourceFile(resources.c_str(), &applicationFile); err != noErr)
        HostEndAtStart("cannot open its resources: " + resources + " " + whyNotOpened(err));
    // Then the display: a program that has none ends at once, before it opens any other file.
    HostCurrentBackend();

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
