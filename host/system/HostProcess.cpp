// The current process over /proc/self/exe.
#include "HostProcess.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

bool isCurrent(const ProcessSerialNumber* psn)
{
    if (psn == nullptr || psn->highLongOfPSN != 0)
        return false;
    return psn->lowLongOfPSN == kCurrentProcess || psn->lowLongOfPSN == UInt32(getpid());
}

// Tests put the program in a scratch folder; empty: the real executable.
std::string sProgramPathOverride;

} // namespace

void HostSetProgramPathForTests(const std::string& path)
{
    sProgramPathOverride = path;
}

std::string HostExecutablePath()
{
    if (!sProgramPathOverride.empty())
        return sProgramPathOverride;
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return std::string();
    return std::string(path, size_t(length));
}

void HostEndAtStart(const std::string& why)
{
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, why.c_str());
    std::fflush(nullptr);
    _exit(1);
}

OSErr GetCurrentProcess(ProcessSerialNumber* psn)
{
    if (psn == nullptr)
        return paramErr;
    psn->highLongOfPSN = 0;
    psn->lowLongOfPSN = UInt32(getpid());
    return noErr;
}

OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info)
{
    if (info == nullptr)
        return paramErr;
    if (!isCurrent(psn))
        return procNotFound;
    std::string executable = HostExecutablePath();
    if (executable.empty())
        return fnfErr;
    GetCurrentProcess(&info->processNumber);
    info->processType = FOUR_CHAR_CODE("APPL");
    info->processSignature = FOUR_CHAR_CODE("????");
    if (info->processName != nullptr) {
        std::string name = executable.substr(executable.find_last_of('/') + 1).substr(0, 31);
        info->processName[0] = uint8_t(name.size());
        std::memcpy(info->processName + 1, name.data(), name.size());
    }
    if (info->processAppSpec != nullptr) {
        FSRef ref;
        OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(executable.c_str()), &ref, nullptr);
        if (err == noErr)
            err = FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, info->processAppSpec, nullptr);
        if (err != noErr)
            return err;
    }
    return noErr;
}

OSStatus GetProcessBundleLocation(const ProcessSerialNumber* psn, FSRef* location)
{
    if (location == nullptr)
        return paramErr;
    if (!isCurrent(psn))
        return procNotFound;
    std::string executable = HostExecutablePath();
    return FSPathMakeRef(reinterpret_cast<const UInt8*>(executable.c_str()), location, nullptr);
}

OSErr SetFrontProcess(const ProcessSerialNumber* psn)
{
    return isCurrent(psn) ? OSErr(noErr) : OSErr(procNotFound);
}
