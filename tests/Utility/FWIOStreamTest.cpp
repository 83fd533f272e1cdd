#include "FWArgb32.h"
#include "FWBrenloPlatform.h"
#include "FWIOStream.h"
#include "FWPoint.h"
#include "FWRect.h"
#include "FWStreamException.h"
#include "FWString.h"
#include "HostClock.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes contents(FWIOStream& s)
{
    return Bytes(s.Buffer(), s.Buffer() + s.Size());
}


} // namespace

TEST(FWIOStream, SerialPrimitivesHaveExactBigEndianLayout)
{
    FWIOStream s(nullptr, 0, 0);
    s.WriteLong(258);
    s.WriteFWPoint(FWPoint(7, 3)); // h 7, v 3
    s.WriteFWArgb32AsLong(FWArgb32(255, 1, 2, 3));
    s.WriteString("abc", 2);
    EXPECT_EQ((Bytes{0x00, 0x00, 0x01, 0x02, 0x00, 0x03, 0x00, 0x07, 0x03, 0x02, 0x01, 0xFF, 0x61, 0x62, 0x00}),
              contents(s));

    s.SetCurrPos(0);
    EXPECT_EQ(258, s.ReadLong());
    FWPoint p;
    s.ReadFWPoint(p);
    EXPECT_EQ(FWPoint(7, 3), p);
    FWArgb32 c;
    s.ReadFWArgb32AsLong(c);
    EXPECT_EQ(FWArgb32(255, 1, 2, 3), c);
    FWStr<31> text;
    s.ReadString(text);
    EXPECT_EQ(std::string("ab"), text.GetCString());
    EXPECT_TRUE(s.AtStreamEnd());

    // A read past the end fails and leaves the position where it was.
    EXPECT_THROW(s.ReadLong(), FWReadFailedException);
    EXPECT_EQ(15u, s.GetCurrPos());
}

TEST(FWIOStream, PlatformRecordChoosesTheByteOrder)
{
    const std::pair<int, Bytes> cases[] = {
        {0, {0x00, 0x00, 0x01, 0x02}}, {3, {0x00, 0x00, 0x01, 0x02}}, {4, {0x02, 0x01, 0x00, 0x00}},
        {5, {0x00, 0x00, 0x01, 0x02}}, {6, {0x02, 0x01, 0x00, 0x00}},
    };
    for (const auto& [platform, expected] : cases) {
        FWIOStream s(nullptr, 0, platform);
        s.WriteLong(258);
        EXPECT_EQ(expected, contents(s)) << "platform " << platform;
    }
    EXPECT_EQ(FWPlatform::kLittleEndian, FWBrenloPlatform::ConvertByteOrder(7));
    EXPECT_EQ(4, FWBrenloPlatform::Info(4).sizes[2]);
    EXPECT_EQ(8, FWBrenloPlatform::Info(5).alignments[5]);
}

TEST(FWIOStream, UnknownPlatformIsReportedAndBigEndianUsed)
{
    ProgrammerMessageRecorder recorder;
    FWIOStream s(nullptr, 0, 7);
    ASSERT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ("FW/Utility/Source/FWIOStream", recorder.Messages()[0].sourcePath);
    EXPECT_EQ(58, recorder.Messages()[0].line);
    EXPECT_EQ(FWPlatform::kBigEndian, s.GetByteOrder());
}

TEST(FWIOStream, StringsStopAtTheirFirstZeroOrLimit)
{
    struct Case {
        const char* text;
        uint32_t maxLen;
        Bytes expected;
    };
    const Case cases[] = {
        {"abc", 2, {'a', 'b', 0}},
        {"abc", 10, {'a', 'b', 'c', 0}},
        {"", 10, {0}},
        {nullptr, 10, {0}},
    };
    for (const Case& c : cases) {
        FWIOStream s(nullptr, 0, 0);
        s.WriteString(c.text, c.maxLen);
        EXPECT_EQ(c.expected, contents(s)) << (c.text ? c.text : "(null)") << " " << c.maxLen;
    }

    FWStr<31> withZero;
    withZero.Set(3, "a\0b");
    FWIOStream s(nullptr, 0, 0);
    s.WriteString(withZero);
    EXPECT_EQ((Bytes{'a', 0}), contents(s));
}

TEST(FWIOStream, ReadStringHandlesUnterminatedAndLongTexts)
{
    const char unterminated[] = {'a', 'b', 'c'};
    FWIOStream s(unterminated, 3, 0);
    FWDynamicString text("old");
    s.ReadString(text);
    EXPECT_EQ(std::string("ab"), text.GetCString()); // the stream's last byte ends it
    EXPECT_TRUE(s.AtStreamEnd());
    EXPECT_THROW(s.ReadString(text), FWReadFailedException);

    std::string longText(1000, 'x');
    FWIOStream w(nullptr, 0, 0);
    w.WriteString(longText.c_str(), 5000);
    w.WriteByte(9);
    w.SetCurrPos(0);
    FWDynamicString whole;
    w.ReadString(whole);
    EXPECT_EQ(longText, whole.GetCString());
    EXPECT_EQ(9, w.ReadByte());

    w.SetCurrPos(0);
    FWStr<31> cut;
    w.ReadString(cut);
    EXPECT_EQ(31u, cut.GetCurrLength());
    EXPECT_EQ(9, w.ReadByte()); // the whole string is consumed even when cut
}

TEST(FWIOStream, ScalarsArraysBlocksAndOffsetsRoundTrip)
{
    FWIOStream s(nullptr, 0, 0);
    s.WriteByte(-1);
    s.WriteShort(-300);
    s.WriteFloat(0.5f);
    const int32_t values[] = {1, -1, 0x7FFFFFFF};
    s.WriteLongArray(values, 3);
    uint32_t at = s.LeaveSpaceForOffset();
    s.WriteBlock_old("\x01\x02\x03", 3);
    s.PatchOffset(at, int32_t(s.GetCurrPos() - at));
    s.WriteFWRect(FWRect(1, 2, 3, 4));
    EXPECT_EQ(1u + 2 + 4 + 12 + 4 + 3 + 8, s.Size());
    EXPECT_EQ(s.Size(), s.GetEndPos());

    FWIOStream r(s.Buffer(), s.Size(), 0);
    EXPECT_EQ(-1, r.ReadByte());
    EXPECT_EQ(-300, r.ReadShort());
    EXPECT_EQ(0.5f, r.ReadFloat());
    int32_t back[3];
    r.ReadLongArray(back, 3);
    EXPECT_EQ(0x7FFFFFFF, back[2]);
    EXPECT_EQ(-1, back[1]);
    EXPECT_EQ(7, r.ReadLong());
    r.SkipBytes(3);
    FWRect rect;
    r.ReadFWRect(rect);
    EXPECT_EQ(FWRect(1, 2, 3, 4), rect);
    EXPECT_TRUE(r.AtStreamEnd());
    EXPECT_THROW(r.SkipBytes(1), FWSetPositionFailedException);
    r.SkipBytes(-8);
    EXPECT_EQ(r.Size() - 8, r.GetCurrPos());
}

TEST(FWIOStream, DoubleReadsEightBytes)
{
    const char data[] = {0x40, 0x09, 0x21, (char)0xFB, 0x54, 0x44, 0x2D, 0x18};
    FWIOStream s(data, 8, 0);
    EXPECT_DOUBLE_EQ(3.141592653589793, s.ReadDouble());
}

namespace {
std::vector<std::pair<uint32_t, uint32_t>> sProgress;
void recordProgress(uint32_t current, uint32_t end)
{
    sProgress.emplace_back(current, end);
}
} // namespace

TEST(FWIOStream, ProgressIsReportedRarelyAndAtTheEnd)
{
    sProgress.clear();
    HostSetManualTicks(1000);
    {
        FWIOStream s(nullptr, 0, 0);
        s.SetProgressCallback(recordProgress);
        s.WriteLong(1);      // reported: first check
        s.WriteLong(2);      // too soon
        s.WriteFWPoint({});  // points never report
        HostAdvanceTicks(500000);
        s.WriteShort(3);     // due again
    }
    HostUseSystemClock();
    const std::vector<std::pair<uint32_t, uint32_t>> expected = {{4, 4}, {14, 14}, {100, 100}};
    EXPECT_EQ(expected, sProgress);
}
