// Write locks with flock: they belong to the open file description, so closing some other
// descriptor of the same file (as fcntl locks would) never drops them.
#include "HostFileLocks.h"

#include "HostFiles.h"

#include <cerrno>
#include <sys/file.h>

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

OSErr HostCheckNoWriter(int fd)
{
    if (lockRetryingInterrupts(fd, LOCK_SH | LOCK_NB) != 0)
        return lockError();
    lockRetryingInterrupts(fd, LOCK_UN);
    return noErr;
}
