#include "HostForks.h"
#include "HostResourceFile.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

HFSUniStr255 resourceForkName()
{
    HFSUniStr255 name;
    EXPECT_EQ(noErr, FSGetResourceForkName(&name));
    return name;
}

FSRef refOf(const std::string& path)
{
    FSRef ref;
    EXPECT_EQ(noErr, FSPathMakeRef(PathBytes(path), &ref, nullptr));
    return ref;
}

} // namespace

TEST(HostForks, TheResourceForkIsTheFilesContentsReadFromAnyPosition)
{
    ScratchFolder scratch;
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 300; ++i)
        bytes.push_back(uint8_t(i));
    WriteBytes(scratch / "a.rsc", bytes);
    FSRef ref = refOf(scratch / "a.rsc");
    HFSUniStr255 name = resourceForkName();
    FSIORefNum fork = 0;
    ASSERT_EQ(noErr, FSOpenFork(&ref, name.length, name.unicode, fsRdPerm, &fork));
    SInt64 size = 0;
    ASSERT_EQ(noErr, FSGetForkSize(fork, &size));
    EXPECT_EQ(300, size);

    std::vector<uint8_t> buffer(400);
    ByteCount actual = 0;
    ASSERT_EQ(noErr, FSReadFork(fork, fsFromStart, 0, 300, buffer.data(), &actual));
    EXPECT_EQ(300u, actual);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), buffer.begin()));
    ASSERT_EQ(noErr, FSReadFork(fork, fsFromLEOF, -10, 4, buffer.data(), &actual));
    EXPECT_EQ(290 & 0xFF, buffer[0]);
    ASSERT_EQ(noErr, FSReadFork(fork, fsAtMark, 0, 2, buffer.data(), &actual));
    EXPECT_EQ(294 & 0xFF, buffer[0]);
    ASSERT_EQ(noErr, FSReadFork(fork, fsFromMark, -6, 1, buffer.data(), &actual));
    EXPECT_EQ(290 & 0xFF, buffer[0]);
    EXPECT_EQ(eofErr, FSReadFork(fork, fsFromStart, 250, 100, buffer.data(), &actual));
    EXPECT_EQ(50u, actual);
    EXPECT_EQ(posErr, FSReadFork(fork, fsFromStart, -1, 1, buffer.data(), &actual));
    EXPECT_EQ(noErr, FSCloseFork(fork));
    EXPECT_EQ(rfNumErr, FSCloseFork(fork));
    EXPECT_EQ(rfNumErr, FSGetForkSize(fork, &size));

    // The data fork (the empty name) is the same contents.
    ASSERT_EQ(noErr, FSOpenFork(&ref, 0, nullptr, fsRdPerm, &fork));
    ASSERT_EQ(noErr, FSGetForkSize(fork, &size));
    EXPECT_EQ(300, size);
    FSCloseFork(fork);
}

TEST(HostForks, OpeningRefusesFoldersOtherForksAndWriting)
{
    ScratchFolder scratch;
    WriteBytes(scratch / "a", {1});
    FSRef file = refOf(scratch / "a");
    FSRef folder = refOf(scratch.Path());
    HFSUniStr255 name = resourceForkName();
    FSIORefNum fork = 0;
    EXPECT_EQ(notAFileErr, FSOpenFork(&folder, name.length, name.unicode, fsRdPerm, &fork));
    ASSERT_EQ(0, mkfifo((scratch / "fifo.rsrc").c_str(), 0600));
    FSRef fifo = refOf(scratch / "fifo.rsrc");
    EXPECT_EQ(notAFileErr, FSOpenFork(&fifo, name.length, name.unicode, fsRdPerm, &fork));
    const UniChar other[] = {'x'};
    EXPECT_EQ(errFSForkNotFound, FSOpenFork(&file, 1, other, fsRdPerm, &fork));
    EXPECT_EQ(paramErr, FSOpenFork(&file, name.length, name.unicode, fsRdWrPerm, &fork));
    EXPECT_EQ(0, fork);
}

TEST(HostForks, CreatingAResourceForkWritesAnEmptyMapOnlyIntoAnEmptyFile)
{
    ScratchFolder scratch;
    WriteBytes(scratch / "new.rsrc", {});
    chmod((scratch / "new.rsrc").c_str(), 0640);
    FSRef ref = refOf(scratch / "new.rsrc");
    HFSUniStr255 name = resourceForkName();
    ASSERT_EQ(noErr, FSCreateResourceFork(&ref, name.length, name.unicode, 0));

    std::vector<uint8_t> expected(256, 0);
    expected[2] = 1;  // data at 256
    expected[6] = 1;  // map at 256
    expected[15] = 30; // map length 30, data length 0
    const uint8_t map[] = {0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 30, // header copy
                           0, 0, 0, 0, 0, 0,                               // reserved
                           0, 0, 0, 28, 0, 30,                             // attributes, lists
                           0xFF, 0xFF};                                    // no types
    expected.insert(expected.end(), std::begin(map), std::end(map));
    EXPECT_EQ(286u, expected.size());
    EXPECT_EQ(expected, ReadBytes(scratch / "new.rsrc"));
    EXPECT_EQ(expected, HostResourceFile::Empty());
    struct stat info;
    ASSERT_EQ(0, stat((scratch / "new.rsrc").c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 0777);

    // A file with contents is left alone, also one that is a resource file already.
    EXPECT_EQ(errFSForkExists, FSCreateResourceFork(&ref, name.length, name.unicode, 0));
    EXPECT_EQ(expected, ReadBytes(scratch / "new.rsrc"));
    WriteBytes(scratch / "text", {'h', 'i'});
    FSRef text = refOf(scratch / "text");
    EXPECT_EQ(errFSForkExists, FSCreateResourceFork(&text, name.length, name.unicode, 0));
    EXPECT_EQ((std::vector<uint8_t>{'h', 'i'}), ReadBytes(scratch / "text"));
}
