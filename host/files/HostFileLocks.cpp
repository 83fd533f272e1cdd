// Write locks with flock: they belong to the open file description, so closing some other
// descriptor of the same file (as fcntl locks would) never drops them.
#include "HostFileLocks.h"

#include "HostFiles.h"

#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>

namespace {

int lockRetryingInterrupts(int fd, int operation)
{
    int result;
    do {
        result = flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result;
}

OSErr lockError()
{
    if (errno == EWOULDBLOCK)
        return permErr;
    return HostOSErrFromErrno(errno);
}

} // namespace

OSErr HostLockForWriting(int fd)
{
    if (lockRetryingInterrupts(fd, LOCK_EX | LOCK_NB) != 0)
        return lockError();
    return noErr;
}

OSErr HostLockPathForWriting(int fd, const char* path, bool& replaced)
{
    replaced = false;
    OSErr err = HostLockForWriting(fd);
    if (err != noErr)
        return err;
    struct stat locked;
    struct stat named;
    if (fstat(fd, &locked) != 0 || stat(path, &named) != 0) {
        err = HostOSErrFromErrno(errno);
        lockRetryingInterrupts(fd, LOCK_UN);
        return err;
    }
    if (locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)
        return noErr;
    lockRetryingInterrupts(fd, LOCK_UN);
    replaced = true;
    return permErr;
}

OSErr HostCheckNoWriter(int fd)
{
    if (lockRetryingInterrupts(fd, LOCK_SH | LOCK_NB) != 0)
        return lockError();
    lockRetryingInterrupts(fd, LOCK_UN);
    return noErr;
}
