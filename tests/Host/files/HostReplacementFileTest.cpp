#include "HostEvents.h"
#include "HostReplacementFile.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::vector<uint8_t> kOld{'o', 'l', 'd'};

// Writes a megabyte of new contents in a child process, which reports whether its new file is
// unnamed and then waits to be killed.
bool killedMidWrite(const std::string& target)
{
    int channel[2];
    EXPECT_EQ(0, pipe(channel));
    pid_t pid = fork();
    if (pid == 0) {
        HostReplacementFile replacement(target);
        char state = replacement.Open(0644) != noErr ? 'e' : replacement.Unnamed() ? 'u' : 'n';
        const std::vector<uint8_t> data(1 << 20, 'x');
        if (state != 'e' && write(replacement.Descriptor(), data.data(), data.size()) != ssize_t(data.size()))
            state = 'e';
        (void)!write(channel[1], &state, 1);
        for (;;)
            pause();
    }
    close(channel[1]);
    char state = 'e';
    EXPECT_EQ(1, read(channel[0], &state, 1));
    close(channel[0]);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    EXPECT_NE('e', state);
    return state == 'u';
}

} // namespace

static bool failLinks = false; // as on file systems whose unnamed files cannot be linked
static int signalOnLink = 0; // this end signal comes once the new file is named, before its rename
extern "C" int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) noexcept
{
    if (signalOnLink != 0 && syscall(SYS_linkat, fromFolder, from, toFolder, to, flags) == 0 &&
        kill(getpid(), signalOnLink) == 0)
        for (;;)
            pause();
    errno = EOPNOTSUPP;
    return failLinks ? -1 : int(syscall(SYS_linkat, fromFolder, from, toFolder, to, flags));
}

TEST(HostReplacementFile, AWriterKilledMidWriteLeavesTheFolderAsItWas)
{
    ScratchFolder scratch;
    const std::string target = scratch / "layouts.rsrc";
    WriteBytes(target, kOld);
    if (!killedMidWrite(target))
        GTEST_SKIP() << "this file system has no unnamed files";
    // The end signals' handler removes the named new file; a broken pipe ends nothing (EPIPE).
    for (int signo : {SIGTERM, SIGHUP}) {
        EXPECT_EXIT(
            {
                HostInstallEndSignals();
                int broken[2];
                (void)!(pipe(broken) == 0 && close(broken[0]) == 0 && write(broken[1], "x", 1) == 1);
                signalOnLink = signo;
                HostReplacementFile replacement(target);
                if (replacement.Open(0644) == noErr && replacement.Write("new", 3) == noErr)
                    replacement.Commit();
            },
            testing::ExitedWithCode(0), "")
            << signo;
        EXPECT_EQ(std::vector<std::string>{"layouts.rsrc"}, FolderEntries(scratch.Path())) << signo;
        EXPECT_EQ(kOld, ReadBytes(target)) << signo;
    }
}

TEST(HostReplacementFile, AnEndSignalTakenAtTheNextWaitRemovesTheFilesOfSavesUnderWay)
{
    // The file a save is writing (noted as a swatch save notes its temporary file) goes when the
    // event wait after an end signal ends the program.
    for (int signo : {SIGTERM, SIGINT, SIGHUP}) {
        ScratchFolder scratch;
        const std::string target = scratch / "layouts.rsrc";
        WriteBytes(target, kOld);
        EXPECT_EXIT(
            {
                HostInstallEndSignals();
                const std::string temporary = scratch / ".swatch.tmp";
                WriteBytes(temporary, kOld);
                HostNoteUnfinishedSave(temporary.c_str());
                raise(signo);
                EventRecord event;
                WaitNextEvent(everyEvent, &event, 0, nullptr);
            },
            testing::ExitedWithCode(0), "")
            << signo;
        EXPECT_EQ(std::vector<std::string>{"layouts.rsrc"}, FolderEntries(scratch.Path())) << signo;
    }
}

TEST(HostReplacementFile, ACommitReplacesTheFileAndAnAbandonedWriteLeavesNothing)
{
    ScratchFolder scratch;
    const std::string target = scratch / "layouts.rsrc";
    WriteBytes(target, kOld);
    for (bool commit : {false, true}) {
        HostReplacementFile replacement(target);
        ASSERT_EQ(noErr, replacement.Open(0644));
        ASSERT_EQ(3, write(replacement.Descriptor(), "new", 3));
        if (commit)
            ASSERT_EQ(noErr, replacement.Commit());
        else
            EXPECT_EQ(-1, replacement.Release()); // nothing to hand over before the commit
    }
    EXPECT_EQ(std::vector<std::string>{"layouts.rsrc"}, FolderEntries(scratch.Path()));
    EXPECT_EQ((std::vector<uint8_t>{'n', 'e', 'w'}), ReadBytes(target));
}

TEST(HostReplacementFile, ASaveRemovesOnlyWhatKilledSavesOfTheFileLeftAndGetsANameWhereLinkingFails)
{
    ScratchFolder scratch;
    const std::string target = scratch / "layouts.rsrc";
    const std::string longName(250, 'n');
    // Kept: a user's file of the shape of a hidden name without its mark, one held by a save still
    // writing, one with an fcntl lock, names of other shapes or for other files.
    const std::vector<std::string> kept{".layouts.rsrc.0a1b2c", ".layouts.rsrc.fwsave-00beef",
        ".layouts.rsrc.fwsave-0A1B2C", ".layouts.rsrc.fwsave-0a1b2c3", ".layouts.rsrc.fwsave-c0ffee",
        ".other.rsrc.fwsave-0a1b2c", "layouts.rsrc", "layouts.rsrc.fwsave-0a1b2c", longName};
    for (const std::string& name : kept)
        WriteBytes(scratch / name, kOld);
    // Left by killed saves of both files.
    WriteBytes(scratch / ".layouts.rsrc.fwsave-0a1b2c", kOld);
    WriteBytes(scratch / ("." + longName.substr(0, 183) + "~0cc2566b9cafe80d.fwsave-0a1b2c"), kOld);
    const int live = open((scratch / kept[1]).c_str(), O_RDONLY);
    ASSERT_EQ(0, flock(live, LOCK_EX));
    const int recordLocked = open((scratch / kept[4]).c_str(), O_RDWR);
    struct flock whole {};
    whole.l_type = F_WRLCK;
    ASSERT_EQ(0, fcntl(recordLocked, F_OFD_SETLK, &whole));
    ASSERT_EQ(noErr, HostReplacementFile(scratch / longName).Open(0600));
    HostReplacementFile replacement(target);
    ASSERT_EQ(noErr, replacement.Open(0600));
    ASSERT_EQ(noErr, replacement.Write("new", 3));
    failLinks = true;
    EXPECT_EQ(noErr, replacement.Commit());
    failLinks = false;
    close(live);
    close(recordLocked);
    EXPECT_EQ(kept, FolderEntries(scratch.Path()));
    EXPECT_EQ((std::vector<uint8_t>{'n', 'e', 'w'}), ReadBytes(target));
    struct stat named, held;
    ASSERT_EQ(0, stat(target.c_str(), &named) | fstat(replacement.Descriptor(), &held));
    EXPECT_EQ(held.st_ino, named.st_ino) << "the descriptor handed over is the file put in place";
}
