#include "ClassicLayout.h"
#include "HostForks.h"
#include "HostMemory.h"
#include "HostResourceFile.h"
#include "HostResources.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

// Runs once, just before the next exclusive lock is taken (see flock below).
std::function<void()> gBeforeWriteLock;

} // namespace

// Every flock of this program passes here, so that a test can do what another program does
// between the host's open of a file and its lock.
extern "C" int flock(int fd, int operation)
{
    using Flock = int (*)(int, int);
    static const Flock real = reinterpret_cast<Flock>(dlsym(RTLD_NEXT, "flock"));
    if ((operation & LOCK_EX) != 0 && gBeforeWriteLock)
        std::exchange(gBeforeWriteLock, nullptr)();
    return real(fd, operation);
}

namespace {

constexpr ResType kWINT = FOUR_CHAR_CODE("WINT");
constexpr ResType kSTR = FOUR_CHAR_CODE("STR ");
constexpr ResType kTEST = FOUR_CHAR_CODE("TEST");

using classic::resource;


Handle handleOf(const std::vector<uint8_t>& bytes)
{
    Handle h = NewHandle(Size(bytes.size()));
    if (!bytes.empty())
        std::memcpy(*h, bytes.data(), bytes.size());
    return h;
}

std::vector<uint8_t> bytesOf(Handle h)
{
    return std::vector<uint8_t>(*h, *h + GetHandleSize(h));
}

std::string nameOf(Handle h)
{
    Str255 name;
    GetResInfo(h, nullptr, nullptr, name);
    return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
}

// Runs a step in a child process (which first lets go of the files it inherited) and returns the
// code it reports.
template <class Step>
OSErr inChild(Step step)
{
    int channel[2];
    EXPECT_EQ(0, pipe(channel));
    pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        HostCloseAllResourceFiles();
        OSErr result = step();
        (void)!write(channel[1], &result, sizeof result);
        _exit(0);
    }
    close(channel[1]);
    OSErr result = 1;
    EXPECT_EQ(ssize_t(sizeof result), read(channel[0], &result, sizeof result));
    close(channel[0]);
    waitpid(pid, nullptr, 0);
    return result;
}

class HostResources : public ::testing::Test {
protected:
    void TearDown() override { HostCloseAllResourceFiles(); }

    std::string file(const std::string& name, const std::vector<ClassicResource>& resources)
    {
        std::string path = scratch / name;
        WriteBytes(path, HandBuildClassic(resources));
        return path;
    }

    std::string emptyFile(const std::string& name)
    {
        std::string path = scratch / name;
        WriteBytes(path, HostResourceFile::Empty());
        return path;
    }

    static SInt16 open(const std::string& path, SInt8 permission)
    {
        FSSpec spec = SpecOf(path);
        return FSpOpenResFile(&spec, permission);
    }

    ScratchFolder scratch;
};

} // namespace

TEST_F(HostResources, FilesWrittenElsewhereOpenAndListTheirResources)
{
    std::string path = file("a.rsrc", {resource(kWINT, 128, "Main", {1, 2, 3}), resource(kWINT, -1, "", {9}),
                                       resource(kSTR, 5, "s", {})});
    SInt16 ref = open(path, fsRdPerm);
    ASSERT_GT(ref, 0);
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ(ref, CurResFile());
    ASSERT_EQ(2, Count1Resources(kWINT));
    Handle first = Get1IndResource(kWINT, 1);
    ASSERT_NE(nullptr, first);
    SInt16 id = 0;
    ResType type = 0;
    Str255 name;
    GetResInfo(first, &id, &type, name);
    EXPECT_EQ(128, id);
    EXPECT_EQ(kWINT, type);
    EXPECT_EQ("Main", nameOf(first));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), bytesOf(first));
    EXPECT_EQ(first, Get1Resource(kWINT, 128)); // asked again: the same handle

    Handle second = Get1IndResource(kWINT, 2);
    GetResInfo(second, &id, nullptr, name);
    EXPECT_EQ(-1, id);
    EXPECT_EQ(0, name[0]);
    EXPECT_EQ(nullptr, Get1IndResource(kWINT, 3));
    EXPECT_EQ(resNotFound, ResError());
    EXPECT_EQ(nullptr, Get1IndResource(kWINT, 0));
    EXPECT_EQ(nullptr, Get1Resource(kWINT, 7));
    EXPECT_EQ(resNotFound, ResError());
    Handle empty = Get1Resource(kSTR, 5);
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0, GetHandleSize(empty));
    EXPECT_EQ(0, Count1Resources(FOUR_CHAR_CODE("none")));
    CloseResFile(ref);
    EXPECT_FALSE(HostIsHandle(first)); // the file's handles go with it
}

TEST_F(HostResources, WhatTheManagerWritesIsTheClassicLayoutByteForByte)
{
    std::string path = scratch / "new.rsrc";
    WriteBytes(path, {});
    FSRef ref;
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(path), &ref, nullptr));
    HFSUniStr255 fork;
    FSGetResourceForkName(&fork);
    ASSERT_EQ(noErr, FSCreateResourceFork(&ref, fork.length, fork.unicode, 0));

    SInt16 file = open(path, fsRdWrPerm);
    ASSERT_GT(file, 0);
    std::vector<uint8_t> name = Pascal("Hi");
    AddResource(handleOf({1, 2, 3}), kTEST, 128, name.data());
    ASSERT_EQ(noErr, ResError());
    UpdateResFile(file);
    ASSERT_EQ(noErr, ResError());
    EXPECT_EQ(OneResourceFileBytes(), ReadBytes(path));
}

TEST_F(HostResources, UpdateThenReopenGivesBackTypesIdsNamesAttributesAndData)
{
    std::string path = emptyFile("doc.rsrc");
    SInt16 ref = open(path, fsRdWrPerm);
    ASSERT_GT(ref, 0);
    std::vector<uint8_t> longName(1, 255);
    longName.insert(longName.end(), 255, 'L');
    AddResource(handleOf({1}), kWINT, 1000, Pascal("Dialog").data());
    AddResource(handleOf(std::vector<uint8_t>(70000, 7)), kWINT, 21000, longName.data());
    AddResource(handleOf({}), kSTR, -32768, nullptr);
    ASSERT_EQ(noErr, ResError());
    UpdateResFile(ref);
    ASSERT_EQ(noErr, ResError());
    CloseResFile(ref);

    std::vector<ClassicResource> expected = {resource(kSTR, -32768, "", {}), resource(kWINT, 1000, "Dialog", {1}),
                                             resource(kWINT, 21000, std::string(255, 'L'), std::vector<uint8_t>(70000, 7))};
    EXPECT_EQ(expected, ReadClassic(ReadBytes(path)));

    ref = open(path, fsRdPerm);
    ASSERT_GT(ref, 0);
    Handle dialog = Get1Resource(kWINT, 1000);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("Dialog", nameOf(dialog));
    EXPECT_EQ(std::string(255, 'L'), nameOf(Get1Resource(kWINT, 21000)));
    EXPECT_EQ(70000, GetHandleSize(Get1Resource(kWINT, 21000)));
    SInt16 id = 0;
    GetResInfo(Get1IndResource(kSTR, 1), &id, nullptr, nullptr);
    EXPECT_EQ(-32768, id);
}

TEST_F(HostResources, RewritingKeepsWhatOtherWritersStoredAndTheAttributes)
{
    std::string path = file("other.rsrc", {resource(kWINT, 1, "one", {1}, resProtected | resPurgeable),
                                           resource(kSTR, 2, "two", {2, 2})});
    std::vector<uint8_t> before = ReadBytes(path);
    SInt16 ref = open(path, fsRdWrPerm);
    AddResource(handleOf({3}), kSTR, 3, Pascal("three").data());
    UpdateResFile(ref);
    ASSERT_EQ(noErr, ResError());
    std::vector<uint8_t> after = ReadBytes(path);
    EXPECT_EQ((std::vector<ClassicResource>{resource(kSTR, 2, "two", {2, 2}), resource(kSTR, 3, "three", {3}),
                                            resource(kWINT, 1, "one", {1}, resProtected | resPurgeable)}),
              ReadClassic(after));
    EXPECT_TRUE(std::equal(before.begin() + 16, before.begin() + 256, after.begin() + 16)); // reserved bytes kept
}

TEST_F(HostResources, OpeningAnOpenFileCountsAndAnInnerCloseKeepsItOpen)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "", {1})});
    SInt16 outer = open(path, fsRdPerm);
    ASSERT_GT(outer, 0);
    AddResource(handleOf({2}), kWINT, 2, nullptr);
    EXPECT_EQ(wrPermErr, ResError()); // open read-only

    SInt16 inner = open(path, fsRdWrPerm); // same file, gains write access
    EXPECT_EQ(outer, inner);
    Handle added = handleOf({2});
    AddResource(added, kWINT, 2, nullptr);
    ASSERT_EQ(noErr, ResError());
    UpdateResFile(inner);
    ASSERT_EQ(noErr, ResError());
    CloseResFile(inner);
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ(outer, CurResFile());
    EXPECT_EQ(2, Count1Resources(kWINT)); // the outer open still sees the file
    EXPECT_EQ(added, Get1Resource(kWINT, 2));
    CloseResFile(outer);
    EXPECT_EQ(noErr, ResError());
    CloseResFile(outer);
    EXPECT_EQ(resFNotFound, ResError());
    EXPECT_EQ(0, CurResFile());
}

TEST_F(HostResources, SearchesRunFromTheCurrentFileDownToTheApplicationsFile)
{
    std::string app = file("app.rsrc", {resource(kSTR, 1, "app", {}), resource(kSTR, 5, "app5", {})});
    std::string a = file("a.rsrc", {resource(kSTR, 1, "A", {}), resource(kWINT, 1, "", {})});
    std::string b = file("b.rsrc", {resource(kSTR, 2, "B", {})});
    SInt16 refA = open(a, fsRdPerm);
    SInt16 refApp = 0;
    ASSERT_EQ(noErr, HostOpenApplicationResourceFile(app.c_str(), &refApp)); // goes below A
    SInt16 refB = open(b, fsRdPerm);
    ASSERT_TRUE(refA > 0 && refApp > 0 && refB > 0);
    EXPECT_EQ(refB, CurResFile());

    EXPECT_EQ("A", nameOf(GetResource(kSTR, 1)));
    EXPECT_EQ("app5", nameOf(GetResource(kSTR, 5)));
    EXPECT_EQ(nullptr, Get1Resource(kSTR, 1));
    EXPECT_EQ(resNotFound, ResError());
    EXPECT_EQ(4, CountResources(kSTR));
    EXPECT_EQ(1, Count1Resources(kSTR));
    EXPECT_EQ("B", nameOf(GetIndResource(kSTR, 1)));
    EXPECT_EQ("A", nameOf(GetIndResource(kSTR, 2)));
    EXPECT_EQ("app5", nameOf(GetIndResource(kSTR, 4)));
    EXPECT_EQ(nullptr, GetIndResource(kSTR, 5));

    UseResFile(refA); // B lies above A: no longer searched
    EXPECT_EQ(nullptr, GetResource(kSTR, 2));
    EXPECT_EQ(3, CountResources(kSTR));
    UseResFile(0);
    EXPECT_EQ(refApp, CurResFile());
    EXPECT_EQ("app", nameOf(GetResource(kSTR, 1)));
    UseResFile(12345);
    EXPECT_EQ(resFNotFound, ResError());
    EXPECT_EQ(refApp, CurResFile());

    // A guard: remember, open, close, restore.
    UseResFile(refB);
    SInt16 previous = CurResFile();
    SInt16 guarded = open(a, fsRdPerm);
    EXPECT_EQ(refA, guarded);
    EXPECT_EQ(refA, CurResFile());
    CloseResFile(guarded);
    UseResFile(previous);
    EXPECT_EQ(refB, CurResFile());
    EXPECT_EQ("A", nameOf(GetResource(kSTR, 1)));

    CloseResFile(refB); // the current file closes: the next one down becomes current
    EXPECT_EQ(refA, CurResFile());
    CloseResFile(refA);
    EXPECT_EQ(refApp, CurResFile());
}

TEST_F(HostResources, CloseNeverWritesAndUpdateWritesOnlyChanges)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "", {1})});
    std::vector<uint8_t> before = ReadBytes(path);
    SInt16 ref = open(path, fsRdWrPerm);
    UpdateResFile(ref); // nothing changed: nothing written, so the hand-made layout stays
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ(before, ReadBytes(path));
    AddResource(handleOf({2}), kWINT, 2, nullptr);
    RemoveResource(Get1Resource(kWINT, 1));
    CloseResFile(ref);
    EXPECT_EQ(before, ReadBytes(path));
}

TEST_F(HostResources, UpdateReplacesTheFileKeepingItsPermissionsAndTheWriteLock)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "", {1})});
    chmod(path.c_str(), 0640);
    SInt16 ref = open(path, fsRdWrPerm);
    AddResource(handleOf({2}), kWINT, 2, nullptr);
    UpdateResFile(ref);
    ASSERT_EQ(noErr, ResError());
    struct stat info;
    ASSERT_EQ(0, stat(path.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);
    EXPECT_EQ((std::vector<std::string>{"a.rsrc"}), FolderEntries(scratch.Path()));
    // The new file is held for writing as the old one was.
    EXPECT_EQ(permErr, inChild([&] {
                  open(path, fsRdWrPerm);
                  return ResError();
              }));
    AddResource(handleOf({3}), kWINT, 3, nullptr);
    UpdateResFile(ref);
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ(3u, ReadClassic(ReadBytes(path)).size());
}

TEST_F(HostResources, AFileAnotherProcessHoldsForWritingAnswersPermissionDenied)
{
    std::string held = file("held.rsrc", {resource(kWINT, 1, "", {1})});
    std::string shared = file("shared.rsrc", {resource(kWINT, 1, "", {1})});
    SInt16 sharedRef = open(shared, fsRdPerm); // open here before the other process writes
    ASSERT_GT(sharedRef, 0);
    int opened[2], release[2];
    ASSERT_EQ(0, pipe(opened));
    ASSERT_EQ(0, pipe(release));
    pid_t pid = fork();
    if (pid == 0) {
        HostCloseAllResourceFiles();
        open(held, fsRdWrPerm);
        OSErr result = ResError();
        if (result == noErr) {
            open(shared, fsRdWrPerm);
            result = ResError();
        }
        (void)!write(opened[1], &result, sizeof result);
        char go;
        (void)!read(release[0], &go, 1);
        _exit(0);
    }
    OSErr childResult = 1;
    ASSERT_EQ(ssize_t(sizeof childResult), read(opened[0], &childResult, sizeof childResult));
    EXPECT_EQ(noErr, childResult);

    EXPECT_EQ(-1, open(held, fsRdWrPerm));
    EXPECT_EQ(permErr, ResError());
    EXPECT_EQ(-1, open(held, fsRdPerm));
    EXPECT_EQ(permErr, ResError());
    EXPECT_EQ(-1, open(held, fsCurPerm));
    EXPECT_EQ(permErr, ResError());
    EXPECT_EQ(-1, open(shared, fsRdWrPerm)); // no write access for the file open here
    EXPECT_EQ(permErr, ResError());
    EXPECT_EQ(1, Count1Resources(kWINT)); // which stays open read-only
    AddResource(handleOf({}), kWINT, 2, nullptr);
    EXPECT_EQ(wrPermErr, ResError());

    (void)!write(release[1], "x", 1);
    waitpid(pid, nullptr, 0);
    for (int fd : {opened[0], opened[1], release[0], release[1]})
        close(fd);
    EXPECT_GT(open(held, fsRdWrPerm), 0);
    EXPECT_EQ(sharedRef, open(shared, fsRdWrPerm));
}

TEST_F(HostResources, AFailedUpdateLeavesTheOldFileWhole)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "one", {1, 2, 3})});
    const std::vector<uint8_t> before = ReadBytes(path);

    // The new file cannot grow past a size limit: its write fails half way.
    OSErr result = inChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {rlim_t(before.size() + 100), rlim_t(before.size() + 100)};
        setrlimit(RLIMIT_FSIZE, &limit);
        SInt16 ref = open(path, fsRdWrPerm);
        if (ref <= 0)
            return ResError();
        AddResource(handleOf(std::vector<uint8_t>(10000, 1)), kWINT, 2, nullptr);
        UpdateResFile(ref);
        return ResError();
    });
    EXPECT_EQ(writErr, result);
    EXPECT_EQ(before, ReadBytes(path));
    EXPECT_EQ((std::vector<std::string>{"a.rsrc"}), FolderEntries(scratch.Path()));

    // No new file can be made in a read-only folder (the superuser may make one anyway).
    if (geteuid() != 0) {
        SInt16 ref = open(path, fsRdWrPerm);
        AddResource(handleOf({4}), kWINT, 4, nullptr);
        chmod(scratch.Path().c_str(), 0555);
        UpdateResFile(ref);
        EXPECT_EQ(wrPermErr, ResError());
        chmod(scratch.Path().c_str(), 0755);
        EXPECT_EQ(before, ReadBytes(path));
        EXPECT_EQ((std::vector<std::string>{"a.rsrc"}), FolderEntries(scratch.Path()));
        UpdateResFile(ref); // the change is still pending and can be written later
        EXPECT_EQ(noErr, ResError());
        EXPECT_EQ(2u, ReadClassic(ReadBytes(path)).size());
    }
}

// Permissions of a file or its folder refusing access answer -61, not the -54 of a held file.
TEST_F(HostResources, APermissionRefusalAnswersTheWritePermissionCode)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "", {1})});
    const uid_t user = geteuid() == 0 ? 65534 : geteuid(); // the superuser is refused nothing
    ASSERT_EQ(0, chown(path.c_str(), user, -1) | chown(scratch.Path().c_str(), user, -1));
    const struct { mode_t file, folder; SInt8 permission; } cases[] = {
        {0444, 0755, fsRdWrPerm}, {0200, 0755, fsRdPerm}, {0644, 0555, fsRdWrPerm}};
    for (const auto& c : cases) {
        ASSERT_EQ(0, chmod(path.c_str(), c.file) | chmod(scratch.Path().c_str(), c.folder));
        EXPECT_EQ(wrPermErr, inChild([&] {
                      SInt16 ref = setuid(user) != 0 ? -1 : open(path, c.permission);
                      if (ref > 0) {
                          AddResource(handleOf({2}), kWINT, 2, nullptr);
                          UpdateResFile(ref);
                      }
                      return ResError();
                  })) << std::oct << c.file << " in " << c.folder;
    }
}

TEST_F(HostResources, DamagedMissingEmptyAndFolderFilesAnswerErrorsAndLeaveTheChainAlone)
{
    std::string good = file("good.rsrc", {resource(kWINT, 1, "x", {1, 2})});
    SInt16 goodRef = open(good, fsRdPerm);
    std::vector<uint8_t> bytes = ReadBytes(good);

    std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
    WriteBytes(scratch / "cut.rsrc", cut);
    EXPECT_EQ(-1, open(scratch / "cut.rsrc", fsRdWrPerm));
    EXPECT_EQ(mapReadErr, ResError());

    std::vector<uint8_t> looping = bytes;
    const size_t map = classic::u32(bytes, 4);
    const size_t typeList = map + classic::u16(bytes, map + 24);
    classic::set16(looping, typeList, 0x1000); // far more types than the map holds
    WriteBytes(scratch / "loop.rsrc", looping);
    EXPECT_EQ(-1, open(scratch / "loop.rsrc", fsRdPerm));
    EXPECT_EQ(mapReadErr, ResError());

    WriteBytes(scratch / "empty", {});
    EXPECT_EQ(-1, open(scratch / "empty", fsRdPerm));
    EXPECT_EQ(eofErr, ResError());
    EXPECT_EQ(-1, open(scratch / "missing", fsRdPerm));
    EXPECT_EQ(fnfErr, ResError());
    EXPECT_EQ(-1, open(scratch.Path(), fsRdPerm));
    EXPECT_EQ(notAFileErr, ResError());
    // A FIFO (no writer: opening it would wait for one) and a device answer at once.
    ASSERT_EQ(0, mkfifo((scratch / "fifo.rsrc").c_str(), 0600));
    for (SInt8 permission : {fsRdPerm, fsRdWrPerm, fsCurPerm}) {
        EXPECT_EQ(-1, open(scratch / "fifo.rsrc", permission));
        EXPECT_EQ(notAFileErr, ResError());
    }
    EXPECT_EQ(-1, open("/dev/null", fsRdPerm));
    EXPECT_EQ(notAFileErr, ResError());
    EXPECT_EQ(-1, open(scratch / "missing/x", fsRdPerm));
    EXPECT_EQ(fnfErr, ResError());
    EXPECT_EQ(goodRef, CurResFile());
}

TEST_F(HostResources, ReleasedAndDisposedResourcesAreReadAgainAndChangedOnesWaitForTheWrite)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "one", {1}), resource(kWINT, 2, "two", {2})});
    ASSERT_GT(open(path, fsRdWrPerm), 0);
    Handle one = Get1Resource(kWINT, 1);
    ReleaseResource(one);
    EXPECT_EQ(noErr, ResError());
    EXPECT_FALSE(HostIsHandle(one));
    one = Get1Resource(kWINT, 1);
    EXPECT_EQ((std::vector<uint8_t>{1}), bytesOf(one));
    DisposeHandle(one); // given back as by a release
    EXPECT_FALSE(HostIsHandle(one));
    EXPECT_EQ((std::vector<uint8_t>{1}), bytesOf(Get1Resource(kWINT, 1)));

    Handle two = Get1Resource(kWINT, 2);
    SetHandleSize(two, 3);
    std::memcpy(*two, "\x09\x08\x07", 3);
    ChangedResource(two);
    ReleaseResource(two);
    DisposeHandle(two);
    EXPECT_TRUE(HostIsHandle(two)); // changed: the file keeps it until it is written
    EXPECT_EQ(two, Get1Resource(kWINT, 2));
    WriteResource(two);
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ((std::vector<ClassicResource>{resource(kWINT, 1, "one", {1}), resource(kWINT, 2, "two", {9, 8, 7})}),
              ReadClassic(ReadBytes(path)));
    ReleaseResource(two);
    EXPECT_FALSE(HostIsHandle(two));

    Handle plain = NewHandle(1);
    ReleaseResource(plain);
    EXPECT_EQ(resNotFound, ResError());
    GetResInfo(plain, nullptr, nullptr, nullptr);
    EXPECT_EQ(resNotFound, ResError());
    EXPECT_TRUE(HostIsHandle(plain));
    DisposeHandle(plain);
}

TEST_F(HostResources, DetachedAndRemovedHandlesBecomeTheCallers)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "one", {1}), resource(kWINT, 2, "two", {2})});
    SInt16 ref = open(path, fsRdWrPerm);
    Handle copy = Get1Resource(kWINT, 1);
    DetachResource(copy);
    ASSERT_EQ(noErr, ResError());
    AddResource(copy, kWINT, 3, Pascal("copy").data()); // a copy of layout 1 as layout 3
    ASSERT_EQ(noErr, ResError());
    EXPECT_NE(copy, Get1Resource(kWINT, 1));

    Handle removed = Get1Resource(kWINT, 2);
    RemoveResource(removed);
    ASSERT_EQ(noErr, ResError());
    EXPECT_EQ(nullptr, Get1Resource(kWINT, 2));
    UpdateResFile(ref);
    ASSERT_EQ(noErr, ResError());
    CloseResFile(ref);
    EXPECT_TRUE(HostIsHandle(removed));
    EXPECT_EQ((std::vector<uint8_t>{2}), bytesOf(removed));
    DisposeHandle(removed);
    EXPECT_EQ((std::vector<ClassicResource>{resource(kWINT, 1, "one", {1}), resource(kWINT, 3, "copy", {1})}),
              ReadClassic(ReadBytes(path)));

    ref = open(path, fsRdWrPerm);
    Handle added = handleOf({5});
    AddResource(added, kWINT, 5, nullptr);
    DetachResource(added); // its data exist only in the handle
    EXPECT_EQ(resAttrErr, ResError());
}

TEST_F(HostResources, ChangesThatWouldLoseOrConfuseResourcesAreRefused)
{
    std::string a = file("a.rsrc", {resource(kWINT, 1, "one", {1}), resource(kWINT, 2, "two", {2}),
                                    resource(kWINT, 9, "locked", {9}, resProtected)});
    std::string b = file("b.rsrc", {resource(kSTR, 1, "", {})});
    SInt16 refA = open(a, fsRdWrPerm);
    Handle one = Get1Resource(kWINT, 1);

    AddResource(handleOf({}), kWINT, 2, nullptr);
    EXPECT_EQ(addResFailed, ResError()); // the id is taken
    AddResource(one, kWINT, 7, nullptr);
    EXPECT_EQ(addResFailed, ResError()); // already a resource
    char* block = nullptr;
    AddResource(&block, kWINT, 7, nullptr);
    EXPECT_EQ(addResFailed, ResError()); // not a handle
    SetResInfo(one, 2, nullptr);
    EXPECT_EQ(addResFailed, ResError());
    RemoveResource(Get1Resource(kWINT, 9));
    EXPECT_EQ(rmvResFailed, ResError());
    SetResInfo(Get1Resource(kWINT, 9), 10, nullptr);
    EXPECT_EQ(resAttrErr, ResError());

    SetResInfo(one, 1, Pascal("renamed").data()); // same id, new name
    EXPECT_EQ(noErr, ResError());
    SetResInfo(one, 3, nullptr); // new id, name kept
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ(one, Get1Resource(kWINT, 3));
    EXPECT_EQ(nullptr, Get1Resource(kWINT, 1));
    EXPECT_EQ("renamed", nameOf(one));

    SInt16 refB = open(b, fsRdPerm);
    RemoveResource(Get1Resource(kWINT, 2) /* not in the current file */);
    EXPECT_EQ(rmvResFailed, ResError());
    RemoveResource(GetResource(kWINT, 2)); // found in A below, but B is current
    EXPECT_EQ(rmvResFailed, ResError());
    AddResource(handleOf({}), kSTR, 2, nullptr);
    EXPECT_EQ(wrPermErr, ResError());
    ChangedResource(Get1Resource(kSTR, 1));
    EXPECT_EQ(wrPermErr, ResError());
    SetResInfo(Get1Resource(kSTR, 1), 3, nullptr);
    EXPECT_EQ(wrPermErr, ResError());
    CloseResFile(refB);
    CloseResFile(refA);
    AddResource(handleOf({}), kSTR, 2, nullptr);
    EXPECT_EQ(resFNotFound, ResError()); // no file is open
}

TEST_F(HostResources, RandomAddsRemovalsAndNewIdsKeepTheFirstResourceOfEachIdFound)
{
    // A file whose ids repeat, changed at random and checked against a list kept here: (id,
    // number held in the data) in the file's order.
    std::vector<std::pair<int16_t, int>> model;
    std::vector<ClassicResource> stored;
    auto data = [](int number) { return std::vector<uint8_t>{uint8_t(number >> 8), uint8_t(number)}; };
    auto numberOf = [](Handle h) { return h != nullptr ? (uint8_t(**h) << 8) | uint8_t((*h)[1]) : -1; };
    for (int i = 0; i < 300; ++i) {
        int16_t id = int16_t(i % 200 - 50); // -50 .. 149, the first 100 twice
        stored.push_back(resource(kTEST, id, "", data(i)));
        model.push_back({id, i});
    }
    SInt16 ref = open(file("many.rsrc", stored), fsRdWrPerm);
    ASSERT_GT(ref, 0);
    auto holderOf = [&](int16_t id) {
        for (size_t k = 0; k < model.size(); ++k)
            if (model[k].first == id)
                return int(k);
        return -1;
    };
    std::mt19937 random(33);
    int next = 300;
    for (int step = 0; step < 1500; ++step) {
        const int16_t id = int16_t(int(random() % 320) - 60);
        const int k = model.empty() ? -1 : int(random() % model.size());
        switch (random() % 3) {
        case 0:
        {
            Handle h = handleOf(data(next));
            AddResource(h, kTEST, id, nullptr);
            EXPECT_EQ(holderOf(id) >= 0 ? addResFailed : noErr, ResError());
            if (holderOf(id) < 0)
                model.push_back({id, next});
            else
                DisposeHandle(h);
            ++next;
        }
            break;
        case 1:
            if (k >= 0) {
                Handle h = Get1IndResource(kTEST, SInt16(k + 1));
                ASSERT_EQ(model[size_t(k)].second, numberOf(h));
                RemoveResource(h);
                ASSERT_EQ(noErr, ResError());
                DisposeHandle(h);
                model.erase(model.begin() + k);
            }
            break;
        default:
            if (k >= 0) {
                const int holder = holderOf(id);
                SetResInfo(Get1IndResource(kTEST, SInt16(k + 1)), id, nullptr);
                EXPECT_EQ(holder >= 0 && holder != k ? addResFailed : noErr, ResError());
                if (holder < 0 || holder == k)
                    model[size_t(k)].first = id;
            }
            break;
        }
        if (step % 100 == 99) {
            ASSERT_EQ(SInt16(model.size()), Count1Resources(kTEST));
            for (int16_t each = -60; each < 260; ++each) {
                const int holder = holderOf(each);
                ASSERT_EQ(holder >= 0 ? model[size_t(holder)].second : -1, numberOf(Get1Resource(kTEST, each)))
                    << "id " << each << " after step " << step;
            }
        }
    }
    CloseResFile(ref);
}

TEST_F(HostResources, ReadOnlyMapsAndMemoryFilesTakeNoChanges)
{
    std::string path = scratch / "ro.rsrc";
    WriteBytes(path, HandBuildClassic({resource(kWINT, 1, "", {1})}, mapReadOnly));
    SInt16 ref = open(path, fsRdWrPerm);
    ASSERT_GT(ref, 0);
    AddResource(handleOf({}), kWINT, 2, nullptr);
    EXPECT_EQ(wrPermErr, ResError());

    std::vector<uint8_t> bytes = HandBuildClassic({resource(kSTR, 4, "mem", {4, 4})});
    SInt16 memory = HostOpenMemoryResFile(bytes.data(), bytes.size());
    ASSERT_GT(memory, 0);
    EXPECT_EQ(memory, CurResFile());
    EXPECT_EQ("mem", nameOf(Get1Resource(kSTR, 4)));
    AddResource(handleOf({}), kSTR, 5, nullptr);
    EXPECT_EQ(wrPermErr, ResError());
    UpdateResFile(memory);
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ(-1, HostOpenMemoryResFile(bytes.data(), 20));
    EXPECT_EQ(mapReadErr, ResError());
}

TEST_F(HostResources, WriteAccessRereadsAFileAnotherProcessReplaced)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "old", {1})});
    SInt16 ref = open(path, fsRdPerm);
    Handle old = Get1Resource(kWINT, 1);
    WriteBytes(path, HandBuildClassic({resource(kWINT, 1, "new", {1, 2}), resource(kWINT, 2, "", {})}));
    EXPECT_EQ(ref, open(path, fsRdWrPerm));
    EXPECT_EQ(2, Count1Resources(kWINT));
    EXPECT_EQ("new", nameOf(Get1Resource(kWINT, 1)));
    EXPECT_TRUE(HostIsHandle(old)); // the old data stay with whoever holds them
    DisposeHandle(old);
}

// Another editor's save renames its new file over the path after this open and before this lock:
// the open starts again from that file, so this save keeps what the other one stored.
TEST_F(HostResources, ASaveRenamedOverTheFileBetweenOpenAndLockIsReadAndKept)
{
    for (bool openBefore : {false, true}) {
        std::string path = file("a.rsrc", {resource(kWINT, 1, "", {1})});
        if (openBefore) { // open read-only first: write access is then gained by a new open
            ASSERT_GT(open(path, fsRdPerm), 0);
        }
        gBeforeWriteLock = [&] {
            WriteBytes(scratch / "other", HandBuildClassic({resource(kWINT, 1, "", {1}), resource(kWINT, 2, "", {2})}));
            std::rename((scratch / "other").c_str(), path.c_str());
        };
        SInt16 ref = open(path, fsRdWrPerm);
        ASSERT_GT(ref, 0) << ResError();
        EXPECT_EQ(2, Count1Resources(kWINT));
        AddResource(handleOf({3}), kWINT, 3, nullptr);
        UpdateResFile(ref);
        EXPECT_EQ(noErr, ResError());
        EXPECT_EQ(3u, ReadClassic(ReadBytes(path)).size()) << "opened before: " << openBefore;
        HostCloseAllResourceFiles();
    }
    // Deleted in that moment instead: nothing is found.
    std::string path = file("b.rsrc", {resource(kWINT, 1, "", {1})});
    gBeforeWriteLock = [&] { std::remove(path.c_str()); };
    EXPECT_EQ(-1, open(path, fsRdWrPerm));
    EXPECT_EQ(fnfErr, ResError());
}

TEST_F(HostResources, ManyNamedResourcesAreWrittenAndReadBackUntilTheMapIsFull)
{
    std::string path = emptyFile("many.rsrc");
    SInt16 ref = open(path, fsRdWrPerm);
    for (int i = 0; i < 6000; ++i)
        AddResource(handleOf({uint8_t(i)}), kWINT, SInt16(i), Pascal(Numbered("n", i)).data());
    ASSERT_EQ(noErr, ResError());
    UpdateResFile(ref);
    ASSERT_EQ(noErr, ResError());
    CloseResFile(ref);
    std::vector<ClassicResource> all = ReadClassic(ReadBytes(path));
    ASSERT_EQ(6000u, all.size());
    EXPECT_EQ(resource(kWINT, 5999, "n5999", {uint8_t(5999)}), all.back());

    ref = open(path, fsRdWrPerm);
    EXPECT_EQ(6000, Count1Resources(kWINT));
    std::vector<uint8_t> longName(1, 255);
    longName.insert(longName.end(), 255, 'x');
    int added = 0;
    while (added < 1000) {
        AddResource(handleOf({}), kSTR, SInt16(added), longName.data());
        if (ResError() != noErr)
            break;
        ++added;
    }
    EXPECT_EQ(addResFailed, ResError());
    EXPECT_GT(added, 100);
    UpdateResFile(ref);
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ(6000u + size_t(added), ReadClassic(ReadBytes(path)).size());
}

// A file's resources are read into handles that share one block: each is still a copy of its own,
// and a handle that outlives the file (detached while locked) keeps its bytes.
TEST_F(HostResources, ResourceHandlesAreCopiesThatOutliveTheirFile)
{
    std::string path = file("a.rsrc", {resource(kWINT, 1, "one", {1, 1, 1}), resource(kWINT, 2, "two", {2, 2}),
                                       resource(kWINT, 3, "three", std::vector<uint8_t>(40, 3))});
    SInt16 ref = open(path, fsRdWrPerm);
    ASSERT_GT(ref, 0);
    Handle one = Get1IndResource(kWINT, 1);
    Handle two = Get1IndResource(kWINT, 2);
    Handle three = Get1IndResource(kWINT, 3);
    ASSERT_TRUE(HostHandleInSharedBlock(one) && HostHandleInSharedBlock(two) && HostHandleInSharedBlock(three));

    std::memset(*one, 0x77, 3); // scribbled on, never marked changed
    ReleaseResource(one);
    EXPECT_EQ((std::vector<uint8_t>{1, 1, 1}), bytesOf(Get1Resource(kWINT, 1)));

    SetHandleSize(two, 5000); // grows out of the block
    ASSERT_EQ(noErr, MemError());
    (*two)[4999] = 9;
    ChangedResource(two);
    HLock(three);
    DetachResource(three);
    ASSERT_EQ(noErr, ResError());
    UpdateResFile(ref);
    ASSERT_EQ(noErr, ResError());
    CloseResFile(ref);

    EXPECT_EQ(std::vector<uint8_t>(40, 3), bytesOf(three));
    HUnlock(three);
    SetHandleSize(three, 41);
    EXPECT_EQ(std::vector<uint8_t>(40, 3), std::vector<uint8_t>(*three, *three + 40));
    DisposeHandle(three);
    std::vector<ClassicResource> written = ReadClassic(ReadBytes(path));
    ASSERT_EQ(3u, written.size());
    EXPECT_EQ(5000u, written[1].data.size());
    EXPECT_EQ(std::vector<uint8_t>({2, 2}), std::vector<uint8_t>(written[1].data.begin(), written[1].data.begin() + 2));
    EXPECT_EQ(9, written[1].data[4999]);
}
