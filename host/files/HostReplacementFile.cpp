// A replacement is written into an unnamed file (O_TMPFILE) that gets a name only just before it
// is renamed over the target; file systems without unnamed files get a hidden named one.
#include "HostReplacementFile.h"

#include "HostFiles.h"
#include "HostPathNames.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kNameAttempts = 100;

// ".NAME.xxxxxx" beside the target, the name cut so that the whole stays a legal name.
std::string hiddenName(const std::string& folder, const std::string& target, uint32_t salt)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%06x", unsigned(salt & 0xFFFFFF));
    return HostJoinPath(folder, "." + HostNameOfPath(target).substr(0, 200) + suffix);
}

uint32_t randomSalt()
{
    static std::mt19937 generator{std::random_device{}()};
    return uint32_t(generator());
}

// Where the file system has no unnamed files, or a kernel does not know them.
bool unnamedUnsupported(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

void syncFolder(const std::string& folder)
{
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    fsync(dir);
    close(dir);
}

} // namespace

HostReplacementFile::HostReplacementFile(std::string target) : mTarget(std::move(target)) {}

HostReplacementFile::~HostReplacementFile()
{
    discard();
}

OSErr HostReplacementFile::Open(mode_t mode)
{
    discard();
    const std::string folder = HostFolderOfPath(mTarget);
    // An unnamed file is named later through /proc; without /proc it is never tried.
    if (access("/proc/self/fd", X_OK) == 0) {
        bool unsupported = false;
        OSErr err = openUnnamed(folder, mode, unsupported);
        if (!unsupported)
            return err;
    }
    return openNamed(folder, mode);
}

OSErr HostReplacementFile::openUnnamed(const std::string& folder, mode_t mode, bool& unsupported)
{
    mFd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (mFd >= 0) {
        mUnnamed = true;
        return noErr;
    }
    unsupported = unnamedUnsupported(errno);
    return HostOSErrFromErrno(errno);
}

OSErr HostReplacementFile::openNamed(const std::string& folder, mode_t mode)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = hiddenName(folder, mTarget, randomSalt());
        mFd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (mFd >= 0) {
            mTempPath = std::move(name);
            return noErr;
        }
        if (errno != EEXIST)
            return HostOSErrFromErrno(errno);
    }
    return dupFNErr;
}

// Gives the unnamed file a hidden name beside the target.
OSErr HostReplacementFile::linkUnder(std::string& name)
{
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", mFd);
    const std::string folder = HostFolderOfPath(mTarget);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = hiddenName(folder, mTarget, randomSalt());
        if (linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return noErr;
        if (errno != EEXIST)
            return HostOSErrFromErrno(errno);
    }
    return dupFNErr;
}

OSErr HostReplacementFile::Commit()
{
    if (mFd < 0 || mCommitted)
        return paramErr;
    if (fsync(mFd) != 0)
        return HostOSErrFromErrno(errno);
    if (mUnnamed) {
        std::string name;
        OSErr err = linkUnder(name);
        if (err != noErr)
            return err;
        mTempPath = std::move(name);
    }
    if (rename(mTempPath.c_str(), mTarget.c_str()) != 0)
        return HostOSErrFromErrno(errno);
    mTempPath.clear();
    mCommitted = true;
    syncFolder(HostFolderOfPath(mTarget));
    return noErr;
}

int HostReplacementFile::Release()
{
    return mCommitted ? std::exchange(mFd, -1) : -1;
}

void HostReplacementFile::discard()
{
    if (mFd >= 0)
        close(std::exchange(mFd, -1));
    if (!mTempPath.empty())
        unlink(mTempPath.c_str());
    mTempPath.clear();
    mUnnamed = false;
    mCommitted = false;
}
