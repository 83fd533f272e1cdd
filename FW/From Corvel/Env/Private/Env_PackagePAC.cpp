// Start-up checks of the environment: the system version, the program's requirement records,
// the Classic environment, and the hidden port. A failed check ends the program after its alert.
#include "Env_PackagePAC.h"

#include "FS_ResourceUtil.h"
#include "FWStoredDataNotice.h"
#include "HostAlerts.h"
#include "HostGestalt.h"
#include "HostMemory.h"
#include "HostResources.h"
#include "LoadMachOFunction.h"

#include <cstdio>
#include <string>

namespace Corvel {

int32_t Env_PackagePAC::sSystemVersion = 0;
HostPortToken Env_PackagePAC::sHiddenPort = 0;

namespace {

const char* const kSourcePath = "FW/From Corvel/Env/Private/Env_PackagePAC";

constexpr int32_t kVersion10 = 0x1000;
constexpr int16_t kMovableAlertProc = 1045; // the Appearance kind
constexpr int16_t kMovableDialogProc = 5;   // the classic kind

[[noreturn]] void failWithAlert(int16_t alertID)
{
    StopAlert(alertID);
    ExitToShell();
}

// The one way this package asks Gestalt: a selector the system cannot answer ends the program.
uint32_t requiredGestalt(OSType selector)
{
    SInt32 value = 0;
    if (Gestalt(selector, &value) != noErr)
        failWithAlert(Env_PackagePAC::kMissingFeatureAlert);
    return uint32_t(value);
}

uint32_t bigEndian32(const unsigned char* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

uint16_t bigEndian16(const unsigned char* p)
{
    return uint16_t((p[0] << 8) | p[1]);
}

// A requirement record: selector at 0, two masks or bounds at 4 and 8, alert id at 12.
struct Requirement {
    OSType selector;
    uint32_t first;
    uint32_t second;
    int16_t alertID;
};

using Passes = bool (*)(uint32_t value, const Requirement& record);

bool withinBounds(uint32_t value, const Requirement& record)
{
    return (record.first == 0 || value >= record.first) && (record.second == 0 || value <= record.second);
}

bool bitsAsRequired(uint32_t value, const Requirement& record)
{
    return (value & record.first) == record.first && (~value & record.second) == record.second;
}

// Checks every record of every resource of the type in the current file. Only records that lie
// wholly inside the resource are read; a resource shorter than its count says is named in a
// notice that goes on.
void checkRequirements(ResType type, uint32_t recordSize, Passes passes)
{
    const SInt16 count = Count1Resources(type);
    for (SInt16 index = 1; index > 0 && index <= count; ++index) {
        Handle handle = Get1IndResource(type, index);
        if (handle == nullptr)
            continue;
        const FS_LockedResource resource(handle);
        const unsigned char* bytes = resource.Bytes();
        const uint32_t size = uint32_t(resource.Size());
        if (size < 2) {
            FWStoredDataNotice::Report("Damaged requirement resource", kSourcePath, __LINE__);
            continue;
        }
        uint32_t records = bigEndian16(bytes);
        if (records > (size - 2) / recordSize) {
            FWStoredDataNotice::Report("Damaged requirement resource", kSourcePath, __LINE__);
            records = (size - 2) / recordSize;
        }
        for (uint32_t i = 0; i < records; ++i) {
            const unsigned char* p = bytes + 2 + recordSize * i;
            Requirement record{bigEndian32(p), bigEndian32(p + 4), bigEndian32(p + 8), int16_t(bigEndian16(p + 12))};
            if (!passes(requiredGestalt(record.selector), record))
                failWithAlert(record.alertID);
        }
    }
}

using PopenFunction = FILE* (*)(const char*, const char*);
using FgetcFunction = int (*)(FILE*);
using PcloseFunction = int (*)(FILE*);

// True when a running process is the Classic environment. The functions are found once; when
// they or the command are not available, the answer is no.
bool runningInClassic()
{
    static bool sLookedUp = false;
    static PopenFunction sPopen = nullptr;
    static FgetcFunction sFgetc = nullptr;
    static PcloseFunction sPclose = nullptr;
    if (!sLookedUp) {
        sLookedUp = true;
        sPopen = reinterpret_cast<PopenFunction>(LoadMachOFunction("popen", "System.framework"));
        sFgetc = reinterpret_cast<FgetcFunction>(LoadMachOFunction("fgetc", "System.framework"));
        sPclose = reinterpret_cast<PcloseFunction>(LoadMachOFunction("pclose", "System.framework"));
    }
    if (sPopen == nullptr || sFgetc == nullptr || sPclose == nullptr)
        return false;
    FILE* processes = sPopen("ps -acxww", "r");
    if (processes == nullptr)
        return false;
    std::string listing;
    for (int c = sFgetc(processes); c != EOF; c = sFgetc(processes))
        listing += char(c);
    sPclose(processes);
    return listing.find("TruBlueEnvironme") != std::string::npos;
}

HostPortToken newHiddenPort()
{
    SInt32 ignored = 0;
    const bool appearance = Gestalt(FOUR_CHAR_CODE("appr"), &ignored) == noErr;
    const Rect bounds{0, 0, 100, 400};
    return HostNewHiddenPort(bounds, appearance ? kMovableAlertProc : kMovableDialogProc);
}

} // namespace

void Env_PackagePAC::Init()
{
    InitCursor();
    FlushEvents(0xFFFF, 0);
    sSystemVersion = int32_t(requiredGestalt(FOUR_CHAR_CODE("sysv")));

    {
        FWStoredDataNotice damaged;
        checkRequirements(FOUR_CHAR_CODE("GstV"), 14, withinBounds);
        checkRequirements(FOUR_CHAR_CODE("GstA"), 16, bitsAsRequired);
        damaged.Present();
    }

    if (sSystemVersion < kVersion10)
        return;
    if (Count1Resources(FOUR_CHAR_CODE("NBOX")) > 0 && runningInClassic())
        failWithAlert(kClassicEnvironmentAlert);
    sHiddenPort = newHiddenPort();
}

void Env_PackagePAC::CleanUp()
{
    if (sSystemVersion < kVersion10)
        return;
    if (sHiddenPort != 0)
        HostDisposeHiddenPort(sHiddenPort);
    sHiddenPort = 0;
}

} // namespace Corvel
