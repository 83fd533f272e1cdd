// Forks over file descriptors: each open fork keeps its descriptor and its mark.
#include "HostForks.h"

#include "HostFileLocks.h"
#include "HostFiles.h"
#include "HostPathNames.h"
#include "HostResourceFile.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kResourceForkName = "resource";

struct OpenFork {
    int fd;
    SInt64 mark;
};

std::map<FSIORefNum, OpenFork>& openForks()
{
    static auto* forks = new std::map<FSIORefNum, OpenFork>;
    return *forks;
}

OpenFork* forkOf(FSIORefNum refNum)
{
    auto it = openForks().find(refNum);
    return it != openForks().end() ? &it->second : nullptr;
}

bool isResourceForkName(UniCharCount length, const UniChar* name)
{
    HFSUniStr255 expected;
    FSGetResourceForkName(&expected);
    if (length != expected.length || name == nullptr)
        return false;
    for (UniCharCount i = 0; i < length; ++i)
        if (name[i] != expected.unicode[i])
            return false;
    return true;
}

bool isForkName(UniCharCount length, const UniChar* name)
{
    return length == 0 || isResourceForkName(length, name);
}

OSErr openFile(const FSRef* ref, int flags, int& fd)
{
    if (ref == nullptr || ref->path[0] != '/')
        return paramErr;
    return HostOpenRegularFile(ref->path, flags, fd);
}

OSErr writeAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? HostOSErrFromErrno(errno) : OSErr(writErr);
        done += size_t(n);
    }
    return fsync(fd) == 0 ? OSErr(noErr) : HostOSErrFromErrno(errno);
}

} // namespace

OSErr FSGetResourceForkName(HFSUniStr255* forkName)
{
    if (forkName == nullptr)
        return paramErr;
    HostFileNameToUtf16(kResourceForkName, *forkName);
    return noErr;
}

OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName, SInt8 permissions,
                 FSIORefNum* forkRefNum)
{
    if (forkRefNum == nullptr || (permissions != fsRdPerm && permissions != fsCurPerm))
        return paramErr;
    *forkRefNum = 0;
    if (!isForkName(forkNameLength, forkName))
        return errFSForkNotFound;
    int fd;
    OSErr err = openFile(ref, O_RDONLY, fd);
    if (err != noErr)
        return err;
    for (FSIORefNum candidate = 1; candidate < 0x7FFF; ++candidate)
        if (forkOf(candidate) == nullptr) {
            openForks()[candidate] = OpenFork{fd, 0};
            *forkRefNum = candidate;
            return noErr;
        }
    close(fd);
    return tmfoErr;
}

OSErr FSGetForkSize(FSIORefNum forkRefNum, SInt64* forkSize)
{
    OpenFork* fork = forkOf(forkRefNum);
    if (fork == nullptr)
        return rfNumErr;
    struct stat info;
    if (fstat(fork->fd, &info) != 0)
        return HostOSErrFromErrno(errno);
    if (forkSize != nullptr)
        *forkSize = info.st_size;
    return noErr;
}

OSErr FSReadFork(FSIORefNum forkRefNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                 void* buffer, ByteCount* actualCount)
{
    if (actualCount != nullptr)
        *actualCount = 0;
    OpenFork* fork = forkOf(forkRefNum);
    if (fork == nullptr)
        return rfNumErr;
    if (buffer == nullptr && requestCount > 0)
        return paramErr;
    SInt64 start = 0;
    switch (positionMode & 3) {
    case fsAtMark:
        start = fork->mark;
        break;
    case fsFromStart:
        start = positionOffset;
        break;
    case fsFromLEOF: {
        SInt64 size = 0;
        OSErr err = FSGetForkSize(forkRefNum, &size);
        if (err != noErr)
            return err;
        start = size + positionOffset;
        break;
    }
    case fsFromMark:
        start = fork->mark + positionOffset;
        break;
    }
    if (start < 0)
        return posErr;
    ByteCount done = 0;
    while (done < requestCount) {
        ssize_t n = pread(fork->fd, static_cast<char*>(buffer) + done, requestCount - done, off_t(start + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return HostOSErrFromErrno(errno);
        if (n == 0)
            break;
        done += ByteCount(n);
    }
    fork->mark = start + done;
    if (actualCount != nullptr)
        *actualCount = done;
    return done < requestCount ? OSErr(eofErr) : OSErr(noErr);
}

OSErr FSCloseFork(FSIORefNum forkRefNum)
{
    OpenFork* fork = forkOf(forkRefNum);
    if (fork == nullptr)
        return rfNumErr;
    close(fork->fd);
    openForks().erase(forkRefNum);
    return noErr;
}

OSErr FSCreateResourceFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName, UInt32)
{
    if (!isResourceForkName(forkNameLength, forkName))
        return errFSForkNotFound;
    int fd;
    OSErr err = openFile(ref, O_WRONLY, fd);
    if (err != noErr)
        return err;
    struct stat info;
    if ((err = HostLockForWriting(fd)) == noErr && fstat(fd, &info) != 0)
        err = HostOSErrFromErrno(errno);
    if (err == noErr && info.st_size != 0)
        err = errFSForkExists;
    if (err == noErr && (err = writeAll(fd, HostResourceFile::Empty())) != noErr) {
        // The file was empty: leave it so rather than holding part of a map.
        if (ftruncate(fd, 0) != 0)
            (void)0;
    }
    close(fd);
    return err;
}
