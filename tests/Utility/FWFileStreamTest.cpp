#include "FWFileStream.h"
#include "FWStreamException.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string bytes(std::initializer_list<uint8_t> list)
{
    return std::string(list.begin(), list.end());
}

} // namespace

TEST(FWFileStream, WritesTypedDataAndReadsItBack)
{
    TempFolder folder;
    FileReference file(folder.File("data").c_str());
    {
        FWFileStream out(FWStream::kWriteOnly, FWPlatform::kBigEndian, file);
        out.WriteLong(258);
        out.WriteShort(-2);
        EXPECT_EQ(6u, out.GetStreamPosition());
        EXPECT_EQ(6u, out.GetStreamSize());
        out.CloseFile();
    }
    EXPECT_EQ(bytes({0, 0, 1, 2, 0xFF, 0xFE}), TempFolder::ReadFile(file.GetCString()));

    FWFileStream in(FWStream::kReadOnly, FWPlatform::kBigEndian, file);
    EXPECT_EQ(6u, in.GetStreamSize());
    EXPECT_EQ(258, in.ReadLong());
    EXPECT_EQ(-2, in.ReadShort());
    EXPECT_THROW(in.WriteLong(1), FWWriteAccessException);
}

TEST(FWFileStream, ShortReadThrowsAndKeepsPosition)
{
    TempFolder folder;
    std::string path = folder.File("short");
    TempFolder::WriteFile(path, bytes({1, 2, 3, 4, 5, 6}));
    FWFileStream in(FWStream::kReadOnly, FWPlatform::kBigEndian, FileReference(path.c_str()));
    in.SetStreamPosition(4);
    EXPECT_THROW(in.ReadLong(), FWReadFailedException);
    EXPECT_EQ(4u, in.GetStreamPosition());
    EXPECT_EQ(0x0506, in.ReadShort()); // the stream is still usable
    EXPECT_THROW(in.ReadUChar(), FWReadFailedException);
}

TEST(FWFileStream, OpenFailuresThrow)
{
    TempFolder folder;
    FileReference missing(folder.File("missing").c_str());
    EXPECT_THROW(FWFileStream(FWStream::kReadOnly, FWPlatform::kBigEndian, missing), FWOpenFailedException);
    FileReference inMissingFolder(folder.File("no/such").c_str());
    EXPECT_THROW(FWFileStream(FWStream::kWriteOnly, FWPlatform::kBigEndian, inMissingFolder), FWOpenFailedException);
}

TEST(FWFileStream, ReopensAfterCloseWithoutTruncating)
{
    TempFolder folder;
    FileReference file(folder.File("reopen").c_str());
    FWFileStream s(FWStream::kReadWrite, FWPlatform::kLittleEndian, file);
    s.WriteLong(1);
    s.WriteLong(2);
    s.CloseFile();
    EXPECT_FALSE(s.IsOpen());

    EXPECT_EQ(8u, s.GetStreamSize()); // reopened "rb+" at the start
    EXPECT_TRUE(s.IsOpen());
    EXPECT_EQ(1, s.ReadLong());
    s.WriteLong(9); // switching from reading to writing in place
    s.SetStreamPosition(0);
    EXPECT_EQ(1, s.ReadLong());
    EXPECT_EQ(9, s.ReadLong());
    s.CloseFile();
    EXPECT_EQ(bytes({1, 0, 0, 0, 9, 0, 0, 0}), TempFolder::ReadFile(file.GetCString()));

    // A reopen that fails reports an open failure.
    FWFileStream r(FWStream::kReadOnly, FWPlatform::kBigEndian, file);
    r.CloseFile();
    std::filesystem::remove(file.GetCString());
    EXPECT_THROW(r.ReadLong(), FWOpenFailedException);
}

TEST(FWFileStream, FullDiskIsReportedByWriteAndByClose)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    FileReference full("/dev/full");
    {
        // Small writes wait in the buffer: the failure shows when it is flushed.
        FWFileStream s(FWStream::kWriteOnly, FWPlatform::kBigEndian, full);
        s.WriteLong(1);
        EXPECT_THROW(s.CloseFile(), FWDiskFullException);
        EXPECT_FALSE(s.IsOpen());
    }
    {
        FWFileStream s(FWStream::kWriteOnly, FWPlatform::kBigEndian, full);
        std::vector<char> block(FWFileStream::kBufferSize + 1, 'x');
        EXPECT_THROW(s.WriteData(block.data(), uint32_t(block.size())), FWDiskFullException);
    }
}
