#include "FWByteReversal.h"
#include "FWMemoryStream.h"
#include "FWStreamException.h"
#include "FWStreamHelpers.h"
#include "FWStreamPositionSaver.h"
#include "FWRect.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes contents(FWMemoryStream& s)
{
    return Bytes(s.Buffer(), s.Buffer() + s.GetStreamSize());
}

FWPlatform::tByteOrder otherOrder()
{
    return FWPlatform::GetCurrentByteOrder() == FWPlatform::kBigEndian ? FWPlatform::kLittleEndian
                                                                       : FWPlatform::kBigEndian;
}

} // namespace

TEST(FWPlatform, SwapsOnlyForTheOtherExplicitOrder)
{
    FWPlatform::tByteOrder own = FWPlatform::GetCurrentByteOrder();
    EXPECT_FALSE(FWPlatform::ShouldSwapBytes(own));
    EXPECT_TRUE(FWPlatform::ShouldSwapBytes(otherOrder()));
    EXPECT_FALSE(FWPlatform::ShouldSwapBytes(FWPlatform::kNativeByteOrder));

    uint8_t bytes[16];
    for (int i = 0; i < 16; ++i)
        bytes[i] = uint8_t(i);
    FWByteReversal<16>::Reverse(bytes);
    EXPECT_EQ(15, bytes[0]);
    EXPECT_EQ(0, bytes[15]);
    FWReverseBytes(bytes, 3);
    EXPECT_EQ((Bytes{13, 14, 15}), Bytes(bytes, bytes + 3));
}

TEST(FWStream, TypedScalarsHaveExactBigEndianLayout)
{
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian);
    s.WriteBool(true);
    s.WriteSChar(-2);
    s.WriteUChar(0xAB);
    s.WriteChar('x');
    s.WriteShort(-2);
    s.WriteUShort(0x1234);
    s.WriteLong(258);
    s.WriteULong(0xDEADBEEF);
    s.WriteFloat(1.0f);
    s.WriteDouble(-2.0);
    EXPECT_EQ((Bytes{0x01, 0xFE, 0xAB, 'x', 0xFF, 0xFE, 0x12, 0x34, 0x00, 0x00, 0x01, 0x02, 0xDE, 0xAD, 0xBE, 0xEF,
                     0x3F, 0x80, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}),
              contents(s));

    s.SetStreamPosition(0);
    EXPECT_TRUE(s.ReadBool());
    EXPECT_EQ(-2, s.ReadSChar());
    EXPECT_EQ(0xAB, s.ReadUChar());
    EXPECT_EQ('x', s.ReadChar());
    EXPECT_EQ(-2, s.ReadShort());
    EXPECT_EQ(0x1234, s.ReadUShort());
    EXPECT_EQ(258, s.ReadLong());
    EXPECT_EQ(0xDEADBEEFu, s.ReadULong());
    EXPECT_EQ(1.0f, s.ReadFloat());
    EXPECT_EQ(-2.0, s.ReadDouble());
}

TEST(FWStream, ByteOrderDecidesTheLayoutOfALong)
{
    struct Case {
        FWPlatform::tByteOrder order;
        Bytes expected;
    };
    bool little = FWPlatform::GetCurrentByteOrder() == FWPlatform::kLittleEndian;
    const Case cases[] = {
        {FWPlatform::kBigEndian, {0x00, 0x00, 0x01, 0x02}},
        {FWPlatform::kLittleEndian, {0x02, 0x01, 0x00, 0x00}},
        {FWPlatform::kNativeByteOrder, little ? Bytes{0x02, 0x01, 0x00, 0x00} : Bytes{0x00, 0x00, 0x01, 0x02}},
    };
    for (const Case& c : cases) {
        FWMemoryStream s(FWStream::kReadWrite, c.order);
        s.WriteLong(258);
        EXPECT_EQ(c.expected, contents(s)) << "order " << c.order;
        s.SetStreamPosition(0);
        EXPECT_EQ(258, s.ReadLong());
    }
}

TEST(FWStream, AnyNonZeroByteReadsAsTrue)
{
    const uint8_t data[] = {0, 1, 0x80};
    FWMemoryStream s(FWStream::kReadOnly, FWPlatform::kBigEndian, data, 3);
    EXPECT_FALSE(s.ReadBool());
    EXPECT_TRUE(s.ReadBool());
    EXPECT_TRUE(s.ReadBool());
}

TEST(FWStream, LongDoubleRoundTripsAsSixteenBytesAndIsReported)
{
    ProgrammerMessageRecorder recorder;
    FWMemoryStream s(FWStream::kReadWrite, otherOrder());
    s.WriteLongDouble(1.5L);
    EXPECT_EQ(16u, s.GetStreamSize());
    s.SetStreamPosition(0);
    EXPECT_EQ(1.5L, s.ReadLongDouble());
    ASSERT_EQ(2u, recorder.Messages().size());
    EXPECT_EQ("", recorder.Messages()[0].message);
    EXPECT_EQ("FW/Utility/Source/FWStream", recorder.Messages()[0].sourcePath);
    EXPECT_EQ(217, recorder.Messages()[0].line);
    EXPECT_EQ(355, recorder.Messages()[1].line);
}

TEST(FWStream, AccessModesAreEnforcedBeforeAnyTransfer)
{
    const uint8_t data[] = {1, 2, 3, 4};
    FWMemoryStream readOnly(FWStream::kReadOnly, FWPlatform::kBigEndian, data, 4);
    EXPECT_THROW(readOnly.WriteLong(7), FWWriteAccessException);
    EXPECT_EQ(0u, readOnly.GetStreamPosition());
    EXPECT_EQ((Bytes{1, 2, 3, 4}), contents(readOnly));

    FWMemoryStream writeOnly(FWStream::kWriteOnly, FWPlatform::kBigEndian, data, 4);
    EXPECT_THROW(writeOnly.ReadLong(), FWReadAccessException);
    EXPECT_EQ(0u, writeOnly.GetStreamPosition());
}

TEST(FWMemoryStream, GrowsInWholeBlocks)
{
    FWMemoryStream s(FWStream::kWriteOnly, FWPlatform::kBigEndian);
    EXPECT_EQ(0u, s.GetStreamSize());
    EXPECT_EQ(1024u, s.Capacity());

    std::vector<char> bytes(1025, 'q');
    s.WriteData(bytes.data(), 1024);
    EXPECT_EQ(1024u, s.Capacity());
    s.WriteData(bytes.data(), 1);
    EXPECT_EQ(1025u, s.GetStreamSize());
    EXPECT_EQ(2048u, s.Capacity());

    EXPECT_EQ(1024u, FWMemoryStream::CalcBufferSize(0));
    EXPECT_EQ(1024u, FWMemoryStream::CalcBufferSize(1024));
    EXPECT_EQ(3072u, FWMemoryStream::CalcBufferSize(2049));
    EXPECT_EQ(0u, FWMemoryStream::CalcBufferSize(UINT32_MAX)); // cannot be allocated
}

TEST(FWMemoryStream, CapacityAtLeastDoublesOnEachGrowth)
{
    // Capacities seen while writing byte by byte, from an empty stream and from 3,000 bytes.
    struct Case {
        uint32_t initial;
        uint32_t written;
        std::vector<uint32_t> capacities;
    };
    const Case cases[] = {
        {0, 70000, {1024, 2048, 4096, 8192, 16384, 32768, 65536, 131072}},
        {3000, 20000, {3072, 6144, 12288, 24576}},
    };
    for (const Case& c : cases) {
        std::vector<char> initial(c.initial, 'i');
        FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian, initial.data(), c.initial);
        s.SetStreamPosition(c.initial);
        std::vector<uint32_t> seen{s.Capacity()};
        for (uint32_t i = 0; i < c.written; ++i) {
            s.WriteUChar(uint8_t(i * 7));
            if (s.Capacity() != seen.back())
                seen.push_back(s.Capacity());
        }
        EXPECT_EQ(c.capacities, seen) << c.initial;
        ASSERT_EQ(c.initial + c.written, s.GetStreamSize());
        // Every byte survives the moves.
        bool same = std::equal(initial.begin(), initial.end(), s.Buffer());
        for (uint32_t i = 0; i < c.written; ++i)
            same = same && uint8_t(s.Buffer()[c.initial + i]) == uint8_t(i * 7);
        EXPECT_TRUE(same) << c.initial;
    }

    // One write far past the capacity takes the blocks it needs.
    FWMemoryStream s(FWStream::kWriteOnly, FWPlatform::kBigEndian);
    std::vector<char> big(5000, 'b');
    s.WriteData(big.data(), 5000);
    EXPECT_EQ(5120u, s.Capacity());
}

TEST(FWMemoryStream, StartsWithACopyOfItsData)
{
    char data[] = {'a', 'b', 'c'};
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian, data, 3);
    data[0] = 'z';
    EXPECT_EQ(3u, s.GetStreamSize());
    EXPECT_EQ(0u, s.GetStreamPosition());
    EXPECT_EQ('a', s.ReadChar());

    // Overwriting inside keeps the size; writing past the end extends it.
    s.SetStreamPosition(2);
    s.WriteShort(0x4142);
    EXPECT_EQ((Bytes{'a', 'b', 0x41, 0x42}), contents(s));
}

TEST(FWMemoryStream, ReadPastEndThrowsAndKeepsPosition)
{
    const uint8_t data[] = {1, 2, 3, 4, 5, 6};
    FWMemoryStream s(FWStream::kReadOnly, FWPlatform::kBigEndian, data, 6);
    s.SetStreamPosition(4);
    EXPECT_THROW(s.ReadLong(), FWReadFailedException);
    EXPECT_EQ(4u, s.GetStreamPosition());
    EXPECT_EQ(0x0506, s.ReadShort());
    EXPECT_THROW(s.ReadChar(), FWReadFailedException);

    uint8_t big[8];
    s.SetStreamPosition(1);
    EXPECT_THROW(s.ReadData(big, UINT32_MAX), FWReadFailedException); // no wrap-around
    EXPECT_EQ(1u, s.GetStreamPosition());
}

TEST(FWMemoryStream, PositionStaysWithinTheData)
{
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian);
    s.WriteLong(1);
    s.SetStreamPosition(4); // the end itself is a valid position
    EXPECT_THROW(s.SetStreamPosition(5), FWSetPositionFailedException);
    EXPECT_EQ(4u, s.GetStreamPosition());
}

TEST(FWStreamHelpers, OffsetsArePatchedInPlace)
{
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian);
    s.WriteChar('x');
    uint32_t at = LeaveSpaceForLongOffset(s);
    EXPECT_EQ(1u, at);
    s.WriteShort(7);
    PatchLongOffset(s, at, 0x01020304);
    EXPECT_EQ(7u, s.GetStreamPosition());
    EXPECT_EQ((Bytes{'x', 1, 2, 3, 4, 0, 7}), contents(s));

    OffsetStream(s, -6);
    EXPECT_EQ(1u, s.GetStreamPosition());
    OffsetStream(s, 0);
    EXPECT_EQ(1u, s.GetStreamPosition());
    EXPECT_THROW(OffsetStream(s, -2), FWSetPositionFailedException);
    EXPECT_THROW(OffsetStream(s, 100), FWSetPositionFailedException);
}

TEST(FWStreamHelpers, RectIsFourShortsTopLeftBottomRight)
{
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian);
    WriteFWRect(s, FWRect(2, 1, 4, -3)); // left, top, right, bottom
    EXPECT_EQ((Bytes{0, 1, 0, 2, 0xFF, 0xFD, 0, 4}), contents(s));
    s.SetStreamPosition(0);
    FWRect r;
    ReadFWRect(s, r);
    EXPECT_EQ(FWRect(2, 1, 4, -3), r);
}

TEST(FWStreamPositionSaver, RestoresOnlyWhenAllowed)
{
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian);
    s.WriteLong(0);
    s.SetStreamPosition(1);
    {
        FWStreamPositionSaver saver(s);
        s.SetStreamPosition(3);
    }
    EXPECT_EQ(3u, s.GetStreamPosition());
    {
        FWStreamPositionSaver saver(s);
        saver.CanRestorePosition();
        s.SetStreamPosition(0);
    }
    EXPECT_EQ(3u, s.GetStreamPosition());
}
