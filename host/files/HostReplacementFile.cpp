// A replacement is written into an unnamed file (O_TMPFILE) that gets a name only just before it
// is renamed over the target; file systems without unnamed files get a hidden named one.
#include "HostReplacementFile.h"

#include "HostFileLocks.h"
#include "HostFiles.h"
#include "HostPathNames.h"

#include <atomic>
#include <sched.h>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int kNameAttempts = 100;
constexpr size_t kNameKept = 200;
constexpr size_t kHashDigits = 16;
constexpr size_t kSaltDigits = 6;
constexpr size_t kCopyBlock = 1 << 16;
// Marks the hidden names as this program's own: the clean-up removes nothing without it.
constexpr char kMark[] = ".fwsave-";

// The hidden names of the saves being written, where the end signals' handler and the reader's
// end on a lost display can read them. Each slot's state is a lock-free atomic, and so safe in a
// signal handler: a writer claims a free slot, writes the path and then marks it set; a reader
// takes a set slot for the removal and gives it back after, and a writer forgets a slot only by
// taking it from set to free, waiting while a reader holds it.
enum : int { kSlotFree, kSlotWriting, kSlotSet, kSlotReading };
struct NotedSave {
    char path[PATH_MAX];
    std::atomic<int> state{kSlotFree};
};
static_assert(std::atomic<int>::is_always_lock_free, "the slots are read in a signal handler");
constexpr int kNotedSaves = 4;
NotedSave sNoted[kNotedSaves];

// A name longer than what is kept whole is told apart by a hash of all of it.
uint64_t nameHash(const std::string& name)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : name)
        hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

// ".NAME.fwsave-" of the hidden names beside the target. A long name is cut and followed by
// "~" and the hash of the whole, so that the whole stays legal and still names one file.
std::string hiddenPrefix(const std::string& target)
{
    const std::string name = HostNameOfPath(target);
    std::string prefix = ".";
    if (name.size() <= kNameKept) {
        prefix += name;
    } else {
        char hash[kHashDigits + 2];
        std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(nameHash(name)));
        prefix.append(name, 0, kNameKept - kHashDigits - 1).append(hash);
    }
    return prefix + kMark;
}

// ".NAME.fwsave-xxxxxx": the prefix and six lowercase hexadecimal digits.
std::string hiddenName(const std::string& folder, const std::string& target, uint32_t salt)
{
    char suffix[kSaltDigits + 1];
    std::snprintf(suffix, sizeof suffix, "%06x", unsigned(salt & 0xFFFFFF));
    return HostJoinPath(folder, hiddenPrefix(target) + suffix);
}

bool isHiddenName(const std::string& entry, const std::string& prefix)
{
    if (entry.size() != prefix.size() + kSaltDigits || entry.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = prefix.size(); i < entry.size(); ++i)
        if (!((entry[i] >= '0' && entry[i] <= '9') || (entry[i] >= 'a' && entry[i] <= 'f')))
            return false;
    return true;
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

// Whether the path still names the open file, not a link, nor another file since put there.
bool namesFile(const std::string& path, int fd)
{
    struct stat named;
    struct stat held;
    return lstat(path.c_str(), &named) == 0 && fstat(fd, &held) == 0 && named.st_dev == held.st_dev &&
           named.st_ino == held.st_ino;
}

// Whether some process holds a record (fcntl) lock on part of the file.
bool recordLocked(int fd)
{
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    return fcntl(fd, F_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
}

// A save killed after naming its new file leaves it unlocked: its lock went with the process.
// A file locked in any way is in use, whoever made it. Called from Open only: a leftover goes at
// the next save of its target.
void removeIfLeftover(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() && info.st_nlink == 1 &&
        !recordLocked(fd) && HostLockForWriting(fd) == noErr && namesFile(path, fd))
        unlink(path.c_str());
    close(fd);
}

void removeLeftovers(const std::string& folder, const std::string& target)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir)
        return;
    const std::string prefix = hiddenPrefix(target);
    std::vector<std::string> found;
    while (const dirent* entry = readdir(dir.get()))
        if (isHiddenName(entry->d_name, prefix))
            found.emplace_back(entry->d_name);
    for (const std::string& name : found)
        removeIfLeftover(HostJoinPath(folder, name));
}

void syncFolder(const std::string& folder)
{
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    fsync(dir);
    close(dir);
}

OSErr writeAll(int fd, const char* bytes, size_t size)
{
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? HostOSErrFromErrno(errno) : OSErr(writErr);
        done += size_t(n);
    }
    return noErr;
}

OSErr copyContents(int from, int to)
{
    std::vector<char> block(kCopyBlock);
    for (off_t at = 0;;) {
        const ssize_t n = pread(from, block.data(), block.size(), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return HostOSErrFromErrno(errno);
        if (n == 0)
            return fsync(to) == 0 ? OSErr(noErr) : HostOSErrFromErrno(errno);
        if (OSErr err = writeAll(to, block.data(), size_t(n)); err != noErr)
            return err;
        at += n;
    }
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
    removeLeftovers(folder, mTarget);
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
    if (mFd < 0) {
        unsupported = unnamedUnsupported(errno);
        return HostOSErrFromErrno(errno);
    }
    mUnnamed = true;
    // Locked before it has a name, so that it is never seen unlocked.
    return HostLockForWriting(mFd);
}

OSErr HostReplacementFile::openNamed(const std::string& folder, mode_t mode)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = hiddenName(folder, mTarget, randomSalt());
        noteHidden(name);
        const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0)
            forgetHidden(); // no file was made: the name may be another's
        if (fd < 0 && errno != EEXIST)
            return HostOSErrFromErrno(errno);
        if (fd < 0)
            continue;
        // Between the open and the lock another save may take the new file for a leftover and
        // remove it; a file no longer named, or locked by that save, is given up for another.
        if (HostLockForWriting(fd) == noErr && namesFile(name, fd)) {
            mFd = fd;
            mTempPath = std::move(name);
            return noErr;
        }
        forgetHidden();
        close(fd);
    }
    return dupFNErr;
}

OSErr HostReplacementFile::Write(const void* bytes, size_t size)
{
    return mFd < 0 ? OSErr(paramErr) : writeAll(mFd, static_cast<const char*>(bytes), size);
}

// Gives the unnamed file a hidden name beside the target.
OSErr HostReplacementFile::linkUnder(std::string& name)
{
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", mFd);
    const std::string folder = HostFolderOfPath(mTarget);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = hiddenName(folder, mTarget, randomSalt());
        noteHidden(name);
        if (linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return noErr;
        const int error = errno;
        forgetHidden();
        if (error != EEXIST)
            return HostOSErrFromErrno(error);
    }
    return dupFNErr;
}

// Some file systems make unnamed files they cannot link: the contents, mode and owner go into a
// named file, which takes the unnamed one's place.
OSErr HostReplacementFile::copyToNamed()
{
    struct stat info;
    if (fstat(mFd, &info) != 0)
        return HostOSErrFromErrno(errno);
    const int unnamed = std::exchange(mFd, -1);
    mUnnamed = false;
    OSErr err = openNamed(HostFolderOfPath(mTarget), info.st_mode & 07777);
    if (err == noErr && fchmod(mFd, info.st_mode & 07777) != 0)
        err = HostOSErrFromErrno(errno);
    if (err == noErr) {
        (void)!fchown(mFd, info.st_uid, info.st_gid); // a courtesy that only some users are allowed
        err = copyContents(unnamed, mFd);
    }
    close(unnamed);
    return err;
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
        if (err == noErr)
            mTempPath = std::move(name);
        else if ((err = copyToNamed()) != noErr)
            return err;
    }
    if (rename(mTempPath.c_str(), mTarget.c_str()) != 0)
        return HostOSErrFromErrno(errno);
    forgetHidden();
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
    forgetHidden();
    mTempPath.clear();
    mUnnamed = false;
    mCommitted = false;
}

int HostNoteUnfinishedSave(const char* path)
{
    if (std::strlen(path) >= sizeof sNoted[0].path)
        return -1;
    for (int i = 0; i < kNotedSaves; ++i) {
        int expected = kSlotFree;
        if (sNoted[i].state.compare_exchange_strong(expected, kSlotWriting)) {
            std::strcpy(sNoted[i].path, path);
            sNoted[i].state.store(kSlotSet);
            return i;
        }
    }
    return -1;
}

void HostForgetUnfinishedSave(int slot)
{
    if (slot < 0 || slot >= kNotedSaves)
        return;
    for (;;) {
        int expected = kSlotSet;
        if (sNoted[slot].state.compare_exchange_strong(expected, kSlotFree) || expected != kSlotReading)
            return;
        sched_yield(); // another thread removes the file, and then ends the program
    }
}

void HostReplacementFile::noteHidden(const std::string& path)
{
    // Without a free slot, or for a path too long to note, a signal's end leaves the file, as a
    // kill does.
    forgetHidden();
    mNoted = HostNoteUnfinishedSave(path.c_str());
}

void HostReplacementFile::forgetHidden()
{
    HostForgetUnfinishedSave(mNoted);
    mNoted = -1;
}

void HostRemoveUnfinishedSaves()
{
    for (NotedSave& slot : sNoted) {
        int expected = kSlotSet;
        if (slot.state.compare_exchange_strong(expected, kSlotReading)) {
            unlink(slot.path);
            slot.state.store(kSlotSet);
        }
    }
}
