#include "FWMemoryStream.h"
#include "FWStreamException.h"
#include "FWString.h"
#include "IFFBlocks.h"
#include "IFFDispatcher.h"
#include "IFFException.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kForm = 0x464F524D; // 'FORM'
constexpr uint32_t kData = 0x44415441; // 'DATA'

Bytes contents(FWMemoryStream& s)
{
    return Bytes(s.Buffer(), s.Buffer() + s.GetStreamSize());
}

FWMemoryStream reader(const Bytes& bytes)
{
    return FWMemoryStream(FWStream::kReadOnly, FWPlatform::kBigEndian, bytes.data(), uint32_t(bytes.size()));
}

} // namespace

TEST(IFFException, FailuresCarryTheirFixedTexts)
{
    const std::pair<std::string, std::string> cases[] = {
        {IFFUnexpectedIFF().WhatFailed(), "an unexpected IFF type was encountered"},
        {IFFUnexpectedSize().WhatFailed(), "a IFF block size mismatch occurred"},
        {IFFUnknownVersion().WhatFailed(), "an unknown IFF block version was encountered"},
        {IFFBlockNotOpen().WhatFailed(), "an unbalanced block end function was called"},
        {IFFUnexpectedMode().WhatFailed(), "attempted to change the IFF dispatcher's read/write mode"},
    };
    for (const auto& [actual, expected] : cases)
        EXPECT_EQ(expected, actual);
    try {
        throw IFFUnexpectedSize();
    } catch (const IFFIOException& e) {
        const IFFException& base = e;
        EXPECT_FALSE(base.WasReported());
    }
}

TEST(IFFBlocks, HelperBlocksHaveExactLayout)
{
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian);
    IFFDispatcher d;
    WriteString(s, d, FWStr<31>("ab"));
    WriteSignature(s, d, 0x51465357);
    WriteVersion(s, d, 2);
    EXPECT_EQ((Bytes{0x73, 0x74, 0x72, 0x67, 0, 0, 0, 3, 1, 0x61, 0x62,
                     0x73, 0x67, 0x74, 0x72, 0, 0, 0, 4, 0x51, 0x46, 0x53, 0x57,
                     0x76, 0x65, 0x72, 0x73, 0, 0, 0, 4, 0, 0, 0, 2}),
              contents(s));
    EXPECT_EQ(IFFDispatcher::kNone, d.Mode());

    s.SetStreamPosition(0);
    FWDynamicString text;
    uint32_t signature = 0;
    uint32_t version = 0;
    ReadString(s, d, text);
    ReadSignature(s, d, signature);
    ReadVersion(s, d, version);
    EXPECT_EQ(std::string("ab"), text.GetCString());
    EXPECT_EQ(0x51465357u, signature);
    EXPECT_EQ(2u, version);
    EXPECT_EQ(0u, d.OpenBlockCount());
    EXPECT_EQ(IFFDispatcher::kNone, d.Mode());
}

TEST(IFFBlocks, LongAndEmptyStringsReadBackWhole)
{
    for (size_t length : {size_t(0), size_t(300)}) {
        std::string original(length, 'k');
        FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kLittleEndian);
        IFFDispatcher d;
        WriteString(s, d, FWDynamicString(original.c_str()));
        s.SetStreamPosition(0);
        FWDynamicString back("stale");
        ReadString(s, d, back);
        EXPECT_EQ(original, back.GetCString());
        EXPECT_EQ(s.GetStreamSize(), s.GetStreamPosition());
    }
}

TEST(IFFBlocks, DamagedHelperBlocksAreRejected)
{
    struct Case {
        const char* what;
        Bytes bytes;
        int reader; // 0 string, 1 version, 2 signature
        std::string expected;
    };
    const Case cases[] = {
        {"empty string block", {'s', 't', 'r', 'g', 0, 0, 0, 0}, 0, IFFUnexpectedSize().WhatFailed()},
        {"string version 2", {'s', 't', 'r', 'g', 0, 0, 0, 2, 2, 'a'}, 0, IFFUnknownVersion().WhatFailed()},
        {"not a string", {'v', 'e', 'r', 's', 0, 0, 0, 4, 0, 0, 0, 1}, 0, IFFUnexpectedIFF().WhatFailed()},
        {"huge string", {'s', 't', 'r', 'g', 0xFF, 0xFF, 0xFF, 0xFF, 1, 'a'}, 0, IFFUnexpectedSize().WhatFailed()},
        {"version of 3 bytes", {'v', 'e', 'r', 's', 0, 0, 0, 3, 0, 0, 1}, 1, IFFUnexpectedSize().WhatFailed()},
        {"truncated header", {'v', 'e', 'r', 's', 0, 0}, 1, FWReadFailedException().WhatFailed()},
        {"a version where the signature belongs", {'v', 'e', 'r', 's', 0, 0, 0, 4, 0, 0, 0, 1}, 2,
         IFFUnexpectedIFF().WhatFailed()},
    };
    for (const Case& c : cases) {
        FWMemoryStream s = reader(c.bytes);
        IFFDispatcher d;
        std::string failure;
        try {
            uint32_t value;
            FWStr<31> text;
            if (c.reader == 0)
                ReadString(s, d, text);
            else if (c.reader == 1)
                ReadVersion(s, d, value);
            else
                ReadSignature(s, d, value);
        } catch (const FWException& e) {
            failure = e.WhatFailed();
        }
        EXPECT_EQ(c.expected, failure) << c.what;
        // The failed read leaves nothing open: the dispatcher can write.
        EXPECT_EQ(0u, d.OpenBlockCount()) << c.what;
        EXPECT_EQ(IFFDispatcher::kNone, d.Mode()) << c.what;
        EXPECT_EQ(0u, s.GetStreamPosition()) << c.what;
        FWMemoryStream out(FWStream::kReadWrite, FWPlatform::kBigEndian);
        EXPECT_NO_THROW(WriteVersion(out, d, 2)) << c.what;
    }
}

TEST(IFFDispatcher, NestedBlocksGetTheirSizesPatched)
{
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian);
    IFFDispatcher d;
    d.BeginIFFBlockWrite(s, kForm);
    d.BeginIFFBlockWrite(s, kData);
    s.WriteShort(0x0102);
    d.EndIFFBlockWrite(s, kData);
    EXPECT_EQ(IFFDispatcher::kWriting, d.Mode());
    d.EndIFFBlockWrite(s, kForm);
    EXPECT_EQ(IFFDispatcher::kNone, d.Mode());
    EXPECT_EQ((Bytes{'F', 'O', 'R', 'M', 0, 0, 0, 10, 'D', 'A', 'T', 'A', 0, 0, 0, 2, 1, 2}), contents(s));
    EXPECT_EQ(18u, s.GetStreamPosition());

    // The same dispatcher now reads what it wrote.
    s.SetStreamPosition(0);
    uint32_t id, size, innerId, innerSize;
    d.BeginIFFBlockRead(s, id, size);
    d.BeginIFFBlockRead(s, innerId, innerSize);
    EXPECT_EQ(kData, innerId);
    EXPECT_EQ(2u, innerSize);
    EXPECT_EQ(0x0102, s.ReadShort());
    d.EndIFFBlockRead(s, innerId, innerSize);
    d.EndIFFBlockRead(s, id, size);
    EXPECT_EQ(kForm, id);
    EXPECT_EQ(10u, size);
    EXPECT_EQ(IFFDispatcher::kNone, d.Mode());
}

TEST(IFFDispatcher, MisplacedEndsFailAndLeaveTheBlockOpen)
{
    FWMemoryStream s(FWStream::kReadWrite, FWPlatform::kBigEndian);
    IFFDispatcher d;
    EXPECT_THROW(d.EndIFFBlockWrite(s, kForm), IFFBlockNotOpen);
    EXPECT_THROW(d.EndIFFBlockRead(s, kForm, 0), IFFBlockNotOpen);

    d.BeginIFFBlockWrite(s, kForm);
    s.WriteLong(5);
    EXPECT_THROW(d.EndIFFBlockWrite(s, kData), IFFUnexpectedIFF);
    EXPECT_EQ(1u, d.OpenBlockCount());
    EXPECT_EQ(12u, s.GetStreamPosition());
    uint32_t id, size;
    EXPECT_THROW(d.BeginIFFBlockRead(s, id, size), IFFUnexpectedMode);
    EXPECT_THROW(d.EndIFFBlockRead(s, kForm, 4), IFFUnexpectedMode);
    EXPECT_EQ(1u, d.OpenBlockCount());
    d.EndIFFBlockWrite(s, kForm);
    EXPECT_EQ((Bytes{'F', 'O', 'R', 'M', 0, 0, 0, 4, 0, 0, 0, 5}), contents(s));

    s.SetStreamPosition(0);
    d.BeginIFFBlockRead(s, id, size);
    EXPECT_THROW(d.BeginIFFBlockWrite(s, kData), IFFUnexpectedMode);
    EXPECT_EQ(8u, s.GetStreamPosition());
    EXPECT_THROW(d.EndIFFBlockWrite(s, kForm), IFFUnexpectedMode);
    EXPECT_THROW(d.EndIFFBlockRead(s, kData, size), IFFUnexpectedIFF);
    EXPECT_THROW(d.EndIFFBlockRead(s, id, size), IFFUnexpectedSize); // body not read yet
    EXPECT_THROW(d.EndIFFBlockRead(s, id, size + 1), IFFUnexpectedSize);
    EXPECT_EQ(1u, d.OpenBlockCount());
    EXPECT_EQ(IFFDispatcher::kReading, d.Mode());
    s.ReadLong();
    d.EndIFFBlockRead(s, id, size);
    EXPECT_EQ(IFFDispatcher::kNone, d.Mode());
}

TEST(IFFDispatcher, VersionBlockClosedBeforeItsValueIsReadIsASizeError)
{
    FWMemoryStream s = reader({'v', 'e', 'r', 's', 0, 0, 0, 4, 0, 0, 0, 1});
    IFFDispatcher d;
    uint32_t id, size;
    d.BeginIFFBlockRead(s, id, size);
    EXPECT_THROW(d.EndIFFBlockRead(s, id, size), IFFUnexpectedSize);
}

TEST(IFFDispatcher, FailedBeginRollsBackStackModeAndPosition)
{
    // A header cut short, a size beyond the stream, and a block larger than its parent.
    const Bytes cases[] = {
        {'F', 'O', 'R', 'M', 0, 0, 0, 6, 'D', 'A', 'T', 'A', 0, 0},
        {'F', 'O', 'R', 'M', 0, 0, 0, 8, 'D', 'A', 'T', 'A', 0, 0, 0, 9},
        {'F', 'O', 'R', 'M', 0, 0, 0, 8, 'D', 'A', 'T', 'A', 0, 0, 0, 1, 0, 0, 0, 0},
    };
    for (const Bytes& bytes : cases) {
        FWMemoryStream s = reader(bytes);
        IFFDispatcher d;
        uint32_t id, size;
        d.BeginIFFBlockRead(s, id, size);
        EXPECT_THROW(d.BeginIFFBlockRead(s, id, size), FWException);
        EXPECT_EQ(1u, d.OpenBlockCount());
        EXPECT_EQ(IFFDispatcher::kReading, d.Mode());
        EXPECT_EQ(8u, s.GetStreamPosition());
    }

    // At the outermost level the mode goes back to none, so writing is possible again.
    FWMemoryStream s = reader({'F', 'O', 'R', 'M', 0, 0, 0, 9});
    IFFDispatcher d;
    uint32_t id, size;
    EXPECT_THROW(d.BeginIFFBlockRead(s, id, size), IFFUnexpectedSize);
    EXPECT_EQ(0u, d.OpenBlockCount());
    EXPECT_EQ(IFFDispatcher::kNone, d.Mode());
    EXPECT_EQ(0u, s.GetStreamPosition());
}

TEST(IFFDispatcher, FailedWriteRollsBack)
{
    FWMemoryStream s(FWStream::kReadOnly, FWPlatform::kBigEndian);
    IFFDispatcher d;
    EXPECT_THROW(d.BeginIFFBlockWrite(s, kForm), FWWriteAccessException);
    EXPECT_EQ(0u, d.OpenBlockCount());
    EXPECT_EQ(IFFDispatcher::kNone, d.Mode());
}
