// File and folder references, specifications, catalogue information and creation over POSIX
// calls. References are canonical absolute paths; specifications a folder path and a name.
#include "HostFiles.h"

#include "HostPathNames.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isSet(const FSRef* ref)
{
    return ref != nullptr && ref->path[0] == '/';
}

void clearRef(FSRef* ref)
{
    if (ref != nullptr)
        ref->path[0] = 0;
}

OSErr statPath(const std::string& path, struct stat& info)
{
    if (stat(path.c_str(), &info) != 0)
        return HostOSErrFromErrno(errno);
    return noErr;
}

OSErr makeRef(const std::string& path, FSRef* ref)
{
    if (ref == nullptr)
        return noErr;
    std::string canonical;
    OSErr err = HostCanonicalPath(path, canonical);
    if (err != noErr) {
        clearRef(ref);
        return err;
    }
    return HostStorePath(canonical, ref->path) ? noErr : bdNamErr;
}

// The file specification (FSSpec) of an absolute canonical path: its folder and its last name.
OSErr makeSpec(const std::string& path, FSSpec* spec)
{
    if (spec == nullptr)
        return noErr;
    std::memset(spec, 0, sizeof *spec);
    spec->vRefNum = kHostVolumeRefNum;
    std::string name = HostNameOfPath(path);
    std::string folder = path == "/" ? std::string("/") : HostFolderOfPath(path);
    if (name.size() > 255 || !HostStorePath(folder, spec->parentPath))
        return bdNamErr;
    spec->name[0] = uint8_t(name.size());
    std::memcpy(spec->name + 1, name.data(), name.size());
    return noErr;
}

// The folder a creation call puts its item into, and the item's path.
OSErr creationPath(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name, std::string& path)
{
    if (!isSet(parentRef))
        return paramErr;
    struct stat info;
    OSErr err = statPath(parentRef->path, info);
    if (err == fnfErr || (err == noErr && !S_ISDIR(info.st_mode)))
        return dirNFErr;
    if (err != noErr)
        return err;
    std::string fileName;
    if (!HostFileNameFromUtf16(name, nameLength, fileName))
        return bdNamErr;
    path = HostJoinPath(parentRef->path, fileName);
    if (path.size() >= kHostPathCapacity)
        return bdNamErr;
    return noErr;
}

OSErr finishCreation(const std::string& path, FSRef* newRef, FSSpec* newSpec)
{
    OSErr err = makeRef(path, newRef);
    if (err == noErr)
        err = makeSpec(path, newSpec);
    return err;
}

} // namespace

OSErr HostOpenRegularFile(const char* path, int flags, int& fd)
{
    // Without O_NONBLOCK, opening a FIFO waits for its other end and a device may wait for
    // its line; the type is checked on the open descriptor, so a file swapped in between
    // the open and the check is caught too.
    fd = open(path, flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENXIO ? OSErr(notAFileErr) : HostOSErrFromErrno(errno);
    struct stat info;
    OSErr err = noErr;
    if (fstat(fd, &info) != 0)
        err = HostOSErrFromErrno(errno);
    else if (!S_ISREG(info.st_mode))
        err = notAFileErr;
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        err = HostOSErrFromErrno(errno);
    if (err != noErr) {
        close(fd);
        fd = -1;
    }
    return err;
}

OSErr HostOSErrFromErrno(int error)
{
    switch (error) {
    case 0:
        return noErr;
    case ENOENT:
        return fnfErr;
    // A refusal of the file or its folder, like a read-only volume: permErr (-54) is kept for a
    // file another process holds for writing, which is what its message tells the user.
    case EACCES:
    case EPERM:
    case EROFS:
        return wrPermErr;
    case EEXIST:
        return dupFNErr;
    case ENOSPC:
    case EDQUOT:
        return dskFulErr;
    case ENOTDIR:
        return dirNFErr;
    case ENAMETOOLONG:
    case ELOOP:
    case EILSEQ:
        return bdNamErr;
    case EISDIR:
        return notAFileErr;
    case ENOTEMPTY:
    case EBUSY:
    case ETXTBSY:
        return fBsyErr;
    case EMFILE:
    case ENFILE:
        return tmfoErr;
    case ENOMEM:
        return memFullErr;
    case EINVAL:
        return paramErr;
    case EFBIG:
        return writErr;
    case ENODEV:
    case ENXIO:
        return nsvErr;
    default:
        return ioErr;
    }
}

OSErr HostPathOfFSSpec(const FSSpec* spec, std::string& path)
{
    if (spec == nullptr || spec->parentPath[0] != '/')
        return paramErr;
    std::string name(reinterpret_cast<const char*>(spec->name + 1), spec->name[0]);
    if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos || name == "." || name == "..")
        return bdNamErr;
    path = HostJoinPath(spec->parentPath, name);
    return noErr;
}

std::string HostNativePath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    return HostAbsolutePath(path);
}

OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory)
{
    if (path == nullptr || ref == nullptr)
        return paramErr;
    if (path[0] == 0) {
        clearRef(ref);
        return fnfErr;
    }
    OSErr err = makeRef(reinterpret_cast<const char*>(path), ref);
    if (err != noErr)
        return err;
    if (isDirectory != nullptr) {
        struct stat info;
        err = statPath(ref->path, info);
        if (err != noErr)
            return err;
        *isDirectory = S_ISDIR(info.st_mode);
    }
    return noErr;
}

OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize)
{
    if (!isSet(ref) || path == nullptr || maxPathSize == 0)
        return paramErr;
    size_t length = strnlen(ref->path, kHostPathCapacity);
    if (length + 1 > maxPathSize) {
        path[0] = 0;
        return bdNamErr;
    }
    std::memcpy(path, ref->path, length + 1);
    return noErr;
}

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef)
{
    if (!isSet(ref))
        return paramErr;
    std::string path = ref->path;
    struct stat info;
    OSErr err = statPath(path, info);
    if (err != noErr)
        return err;
    if (catalogInfo != nullptr) {
        if (whichInfo & kFSCatInfoNodeFlags)
            catalogInfo->nodeFlags = S_ISDIR(info.st_mode) ? kFSNodeIsDirectoryMask : 0;
        if (whichInfo & kFSCatInfoVolume)
            catalogInfo->volume = kHostVolumeRefNum;
        if (whichInfo & kFSCatInfoFinderInfo)
            std::memset(&catalogInfo->finderInfo, 0, sizeof catalogInfo->finderInfo);
    }
    if (outName != nullptr)
        HostFileNameToUtf16(path == "/" ? std::string(kHostVolumeName) : HostNameOfPath(path), *outName);
    if ((err = makeSpec(path, fsSpec)) != noErr)
        return err;
    if (parentRef != nullptr && !HostStorePath(path == "/" ? path : HostFolderOfPath(path), parentRef->path))
        return bdNamErr;
    return noErr;
}

OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* newRef)
{
    std::string path;
    OSErr err = HostPathOfFSSpec(spec, path);
    if (err != noErr)
        return err;
    struct stat info;
    if (stat(spec->parentPath, &info) != 0)
        return errno == EACCES ? wrPermErr : dirNFErr;
    if (!S_ISDIR(info.st_mode))
        return dirNFErr;
    if (newRef == nullptr)
        return paramErr;
    return makeRef(path, newRef);
}

OSErr FSCreateFileUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap, const FSCatalogInfo*, FSRef* newRef, FSSpec* newSpec)
{
    std::string path;
    OSErr err = creationPath(parentRef, nameLength, name, path);
    if (err != noErr)
        return err;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return HostOSErrFromErrno(errno);
    close(fd);
    return finishCreation(path, newRef, newSpec);
}

OSErr FSCreateDirectoryUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                               FSCatalogInfoBitmap, const FSCatalogInfo*, FSRef* newRef, FSSpec* newSpec,
                               UInt32* newDirID)
{
    std::string path;
    OSErr err = creationPath(parentRef, nameLength, name, path);
    if (err != noErr)
        return err;
    if (mkdir(path.c_str(), 0777) != 0)
        return HostOSErrFromErrno(errno);
    if (newDirID != nullptr)
        *newDirID = 0;
    return finishCreation(path, newRef, newSpec);
}

OSErr PBGetVolumeInfoSync(FSVolumeInfoParam* param)
{
    if (param == nullptr)
        return paramErr;
    OSErr err = noErr;
    if (param->volumeIndex > 0) {
        if (param->volumeIndex == 1)
            param->ioVRefNum = kHostVolumeRefNum;
        else
            err = nsvErr;
    } else if (param->ioVRefNum != kHostVolumeRefNum && param->ioVRefNum != kOnSystemDisk &&
               param->ioVRefNum != 0) {
        err = nsvErr;
    }
    if (err == noErr) {
        if (param->volumeName != nullptr)
            HostFileNameToUtf16(kHostVolumeName, *param->volumeName);
        if (param->ref != nullptr)
            HostStorePath("/", param->ref->path);
    }
    param->ioResult = err;
    return err;
}

OSErr FSpGetFInfo(const FSSpec* spec, FInfo* info)
{
    std::string path;
    OSErr err = HostPathOfFSSpec(spec, path);
    if (err != noErr)
        return err;
    struct stat status;
    if ((err = statPath(path, status)) != noErr)
        return err;
    if (S_ISDIR(status.st_mode))
        return notAFileErr;
    if (info != nullptr)
        std::memset(info, 0, sizeof *info);
    return noErr;
}

OSErr FSpSetFInfo(const FSSpec* spec, const FInfo*)
{
    FInfo ignored;
    return FSpGetFInfo(spec, &ignored);
}

OSStatus LSCopyItemInfoForRef(const FSRef* ref, LSRequestedInfo, LSItemInfoRecord* info)
{
    if (!isSet(ref) || info == nullptr)
        return paramErr;
    struct stat status;
    OSErr err = statPath(ref->path, status);
    if (err != noErr)
        return err;
    info->flags = 0;
    info->filetype = 0;
    info->creator = 0;
    if (S_ISDIR(status.st_mode)) {
        info->flags = kLSItemInfoIsContainer;
    } else {
        info->flags = kLSItemInfoIsPlainFile;
        if (S_ISREG(status.st_mode) && (status.st_mode & 0111) != 0)
            info->flags |= kLSItemInfoIsApplication;
    }
    return noErr;
}
