// Well-known folders from the environment, the way desktop programs on this system find them.
#include "HostFolders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An environment variable that holds an absolute path, else empty.
std::string absoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string homeFolder()
{
    std::string home = absoluteFromEnvironment("HOME");
    if (!home.empty())
        return home;
    const struct passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? std::string(user->pw_dir) : std::string("/");
}

std::string folderOfType(OSType folderType)
{
    switch (folderType) {
    case kPreferencesFolderType: {
        std::string config = absoluteFromEnvironment("XDG_CONFIG_HOME");
        return !config.empty() ? config : homeFolder() + "/.config";
    }
    case kTemporaryFolderType: {
        std::string temp = absoluteFromEnvironment("TMPDIR");
        return !temp.empty() ? temp : std::string("/tmp");
    }
    case kDesktopFolderType:
        return homeFolder() + "/Desktop";
    default:
        return std::string();
    }
}

// Creates the folder and any missing folder above it.
bool makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

} // namespace

OSErr FSFindFolder(FSVolumeRefNum vRefNum, OSType folderType, Boolean createFolder, FSRef* foundRef)
{
    if (foundRef == nullptr)
        return paramErr;
    foundRef->path[0] = 0;
    if (vRefNum != kOnSystemDisk && vRefNum != kHostVolumeRefNum)
        return nsvErr;
    std::string folder = folderOfType(folderType);
    if (folder.empty())
        return fnfErr;
    struct stat info;
    if (stat(folder.c_str(), &info) != 0) {
        if (!createFolder)
            return fnfErr;
        if (!makeFolders(folder))
            return HostOSErrFromErrno(errno);
    }
    Boolean isDirectory = false;
    OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), foundRef, &isDirectory);
    if (err == noErr && !isDirectory) {
        foundRef->path[0] = 0;
        return dirNFErr;
    }
    return err;
}
