// Aliases as handles that hold a path.
#include "HostAlias.h"

#include "HostMemory.h"
#include "HostPathNames.h"

#include <cstring>
#include <sys/stat.h>

OSErr NewAliasMinimalFromFullPath(SInt16 fullPathLength, const void* fullPath, ConstStr255Param, ConstStr255Param,
                                  AliasHandle* alias)
{
    if (alias == nullptr)
        return paramErr;
    *alias = nullptr;
    if (fullPath == nullptr || fullPathLength <= 0)
        return paramErr;
    std::string path = HostAbsolutePath(std::string(static_cast<const char*>(fullPath), size_t(fullPathLength)));
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.size() >= kHostPathCapacity || path.find('\0') != std::string::npos)
        return bdNamErr;
    Handle h = NewHandle(Size(path.size()));
    if (h == nullptr)
        return MemError();
    std::memcpy(*h, path.data(), path.size());
    *alias = h;
    return noErr;
}

OSErr ResolveAlias(const FSSpec*, AliasHandle alias, FSSpec* target, Boolean* wasChanged)
{
    if (wasChanged != nullptr)
        *wasChanged = false;
    if (!HostIsHandle(alias) || target == nullptr)
        return paramErr;
    std::string path(*alias, size_t(GetHandleSize(alias)));
    FSRef ref;
    OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr);
    if (err == noErr)
        return FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, target, nullptr);
    if (err != fnfErr)
        return err;
    // The item is missing: its folder must exist.
    std::string folder;
    if (HostCanonicalPath(HostFolderOfPath(path), folder) != noErr)
        return dirNFErr;
    struct stat info;
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return dirNFErr;
    std::string name = HostNameOfPath(path);
    std::memset(target, 0, sizeof *target);
    target->vRefNum = kHostVolumeRefNum;
    if (name.size() > 255 || !HostStorePath(folder, target->parentPath))
        return bdNamErr;
    target->name[0] = uint8_t(name.size());
    std::memcpy(target->name + 1, name.data(), name.size());
    return fnfErr;
}
