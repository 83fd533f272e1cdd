#include "FactoryHandler.h"
#include "GlobalSerialStream.h"
#include "ProgrammerMessageRecorder.h"
#include "SerialTestView.h"
#include "SubClassFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Stream = SerialStreamOf<SerialTestView>;
using Global = GlobalSerialStreamOf<SerialTestView>;
using Handler = FactoryHandler<SerialTestView>;

SubClassFactory<SerialTestView, SerialTestView> sViewFactory("SerialTestView");
SubClassFactory<SerialTestView, SerialTestLabel> sLabelFactory("SerialTestLabel");

std::vector<uint8_t> bytesOf(Stream& s)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(s.Buffer());
    return std::vector<uint8_t>(p, p + s.Size());
}

std::vector<char> chars(const std::vector<uint8_t>& bytes)
{
    return std::vector<char>(bytes.begin(), bytes.end());
}

// A reading stream over bytes.
struct Reader {
    explicit Reader(const std::vector<uint8_t>& bytes)
        : stream(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size()), Stream::kReading)
    {
    }
    Global stream;
};

TEST(SerialStream, ClassLevelsAreOneVersionByteAndEveryStreamStartsAPass)
{
    Stream s(nullptr, 0, Stream::kWriting);
    uint32_t pass = Stream::ID();
    s.BeginClassWrite("Anything", 3);
    s.BeginClass("Anything");
    s.FinishClass("Anything", nullptr, 0);
    s.WriteLong(258); // always big-endian
    EXPECT_EQ((std::vector<uint8_t>{3, 0, 0, 1, 2}), bytesOf(s));

    Stream r(s.Buffer(), s.Size(), Stream::kReading);
    EXPECT_EQ(pass + 1, Stream::ID());
    EXPECT_EQ(3, r.BeginClassRead("Anything"));
    EXPECT_EQ(0u, r.ReadReference()); // the plain stream has no references
    EXPECT_EQ(nullptr, r.ResolveReference(11));

    // The pass number skips 0, the stamp of a view never numbered.
    Stream::mSerializationID = 0xFFFFFFFFu;
    Stream next(nullptr, 0, Stream::kWriting);
    EXPECT_EQ(1u, Stream::ID());
}

TEST(GlobalSerialStream, HeaderHoldsTheTableSizeOnceWritingEnds)
{
    Global s(nullptr, 0, Stream::kWriting);
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 0, 0, 0}), bytesOf(s));
    SerialTestView a, b, c;
    s.RegisterStreamable(&a);
    s.RegisterStreamable(&b);
    s.RegisterStreamable(&a); // once per pass
    s.RegisterStreamable(&c);
    s.RegisterStreamable(nullptr);
    EXPECT_EQ(1, a.GetSerialID());
    EXPECT_EQ(2, b.GetSerialID());
    EXPECT_EQ(3, c.GetSerialID());
    s.FinishWriting();
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 0, 0, 4}), bytesOf(s));
    EXPECT_EQ(5u, s.GetCurrPos());

    // Room for three numbers after the header: a table of 4 entries.
    std::vector<uint8_t> stored = bytesOf(s);
    stored.resize(5 + 12, 0);
    Reader r(stored);
    EXPECT_EQ(4, r.stream.TableSize());
}

TEST(GlobalSerialStream, ReferencesAreNumbersPerPass)
{
    SerialTestView first, target;
    {
        Global s(nullptr, 0, Stream::kWriting);
        s.RegisterStreamable(&first);
        s.WriteReference(&target);
        s.WriteReference(&target);
        s.WriteReference(nullptr);
        EXPECT_EQ((std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 0}), bytesOf(s));
    }
    Global later(nullptr, 0, Stream::kWriting);
    later.WriteReference(&target); // a fresh number from the new stream's counter
    EXPECT_EQ(1, target.GetSerialID());
}

TEST(GlobalSerialStream, StampComparesTheWholePassNumber)
{
    SerialTestView view;
    Global first(nullptr, 0, Stream::kWriting);
    first.RegisterStreamable(&view);
    first.RegisterStreamable(&view);
    EXPECT_EQ(1, view.GetSerialID());
    EXPECT_EQ(2, first.TableSize());

    // 65536 passes later the low 16 bits of the pass number are the same again.
    Stream::mSerializationID = first.ID() + 65535;
    Global later(nullptr, 0, Stream::kWriting);
    SerialTestView other;
    later.RegisterStreamable(&other);
    later.WriteReference(&view);
    EXPECT_EQ(1, other.GetSerialID());
    EXPECT_EQ(2, view.GetSerialID()); // renumbered, not the stale 1
    later.FinishWriting();
    EXPECT_EQ(3, later.TableSize());
}

TEST(GlobalSerialStream, StoredNumbersReadAsOddValuesAndResolveThroughTheTable)
{
    // Table of 6; a view registers as 5; references 5, 0, 6, -1 and 3 follow.
    std::vector<uint8_t> bytes = {1, 0, 0, 0, 6,    0, 0, 0, 5,    0, 0, 0, 0,
                                  0, 0, 0, 6,       0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 3};
    Reader r(bytes);
    ASSERT_EQ(6, r.stream.TableSize());
    SerialTestView view;
    uintptr_t own = r.stream.ReadReference();
    EXPECT_EQ(11u, own);
    view.SetSerialID(5);
    r.stream.RegisterStreamable(&view);
    EXPECT_TRUE(r.stream.NeedsResolving(own));
    EXPECT_EQ(&view, r.stream.ResolveReference(own));

    uintptr_t none = r.stream.ReadReference();
    EXPECT_EQ(0u, none);
    EXPECT_FALSE(r.stream.NeedsResolving(none));
    EXPECT_EQ(nullptr, r.stream.ResolveReference(none));
    EXPECT_EQ(nullptr, r.stream.ResolveReference(1)); // number 0

    // Damaged numbers (6 and -1 outside the table, 3 with nobody) give null and mark the stream
    // damaged, without a programmer message.
    ProgrammerMessageRecorder recorder;
    EXPECT_FALSE(r.stream.Damaged());
    for (int i = 0; i < 3; ++i) {
        Reader fresh(bytes);
        fresh.stream.SetCurrPos(13 + 4 * i);
        EXPECT_EQ(nullptr, fresh.stream.ResolveReference(fresh.stream.ReadReference())) << i;
        EXPECT_TRUE(fresh.stream.Damaged()) << i;
    }
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST(GlobalSerialStream, RefusesToRegisterNumbersOutsideTheTable)
{
    std::vector<uint8_t> bytes = {1, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0};
    Reader r(bytes);
    ProgrammerMessageRecorder recorder;
    for (int32_t id : {0, -1, 3, 0x7FFFFFFF}) {
        SerialTestView view;
        view.SetSerialID(id);
        r.stream.RegisterStreamable(&view);
        EXPECT_TRUE(r.stream.Damaged());
    }
    EXPECT_EQ(nullptr, r.stream.ResolveReference(2 * 2 + 1));
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST(GlobalSerialStream, StoredTableSizeMustFitTheStream)
{
    const std::vector<std::vector<uint8_t>> damaged = {
        {1, 0, 0, 0, 3, 0, 0, 0, 0},             // two numbers need 8 bytes, 4 are there
        {1, 0x7F, 0xFF, 0xFF, 0xFF},              // two billion entries
        {1, 0xFF, 0xFF, 0xFF, 0xFE, 0, 0, 0, 0}, // negative
        {1, 0, 0},                                // no size at all
    };
    for (const auto& bytes : damaged)
        EXPECT_THROW(Reader{bytes}, FWReadFailedException);

    std::vector<uint8_t> empty = {1, 0, 0, 0, 0};
    EXPECT_EQ(0, Reader(empty).stream.TableSize());
}

TEST(GlobalSerialStream, FinishWritingOnAReaderIsReportedAndChangesNothing)
{
    std::vector<uint8_t> bytes = {1, 0, 0, 0, 1};
    Reader r(bytes);
    ProgrammerMessageRecorder recorder;
    r.stream.FinishWriting();
    ASSERT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ(110, recorder.Messages()[0].line);
    EXPECT_EQ(bytes, bytesOf(r.stream));
}

TEST(FactoryHandler, FindsFactoriesInRegistrationOrder)
{
    ASSERT_NE(nullptr, Handler::sList);
    int32_t before = Handler::sList->Size();
    EXPECT_EQ(&sViewFactory, Handler::FindFactory("SerialTestView"));
    EXPECT_EQ(&sLabelFactory, Handler::FindFactory("SerialTestLabel"));
    EXPECT_EQ(nullptr, Handler::FindFactory("serialtestview")); // names match exactly
    EXPECT_EQ(nullptr, Handler::FindFactory(""));
    {
        SubClassFactory<SerialTestView, SerialTestLabel> shadow("SerialTestView");
        EXPECT_EQ(before + 1, Handler::sList->Size());
        EXPECT_EQ(&sViewFactory, Handler::FindFactory("SerialTestView")); // the first wins
        SubClassFactory<SerialTestView, SerialTestLabel> extra("Extra");
        EXPECT_EQ(&extra, Handler::FindFactory("Extra"));
    }
    EXPECT_EQ(before, Handler::sList->Size());
    EXPECT_EQ(nullptr, Handler::FindFactory("Extra"));
}

struct Other {
    virtual ~Other() = default;
};

TEST(FactoryHandler, ListLivesFromTheFirstFactoryToTheLast)
{
    EXPECT_EQ(nullptr, FactoryHandler<Other>::sList);
    {
        SubClassFactory<Other, Other> one("One");
        ASSERT_NE(nullptr, FactoryHandler<Other>::sList);
        {
            SubClassFactory<Other, Other> two("Two");
            EXPECT_EQ(2, FactoryHandler<Other>::sList->Size());
            std::unique_ptr<Other> made(two.CreateInstance());
            EXPECT_NE(nullptr, made);
        }
        EXPECT_EQ(1, FactoryHandler<Other>::sList->Size());
    }
    EXPECT_EQ(nullptr, FactoryHandler<Other>::sList);
}

// One entry: name, 0, body length, body.
std::vector<uint8_t> entry(const std::string& name, int32_t length, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> bytes(name.begin(), name.end());
    bytes.push_back(0);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(uint8_t(uint32_t(length) >> shift));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

std::vector<uint8_t> withHeader(const std::vector<uint8_t>& entries)
{
    std::vector<uint8_t> bytes(5 + entries.size());
    bytes[0] = 1;
    bytes[4] = 1;
    std::copy(entries.begin(), entries.end(), bytes.begin() + 5);
    return bytes;
}

TEST(FactoryHandler, UnknownClassIsSkippedByItsLength)
{
    std::vector<uint8_t> bytes = withHeader(entry("Mystery", 12, std::vector<uint8_t>(12, 0xEE)));
    bytes.push_back(0x42);
    Reader r(bytes);
    EXPECT_EQ(nullptr, Handler::OldRead(r.stream));
    EXPECT_EQ(5u + 8 + 4 + 12, r.stream.GetCurrPos());
    EXPECT_EQ(0x42, r.stream.ReadByte());
}

TEST(FactoryHandler, BodyLengthThatLeavesTheStreamIsRejected)
{
    struct Case {
        int32_t length;
        size_t bodyBytes;
    };
    for (Case c : {Case{-5, 8}, Case{-1, 0}, Case{int32_t(0x80000000), 4}, Case{9, 8}, Case{0x7FFFFFFF, 8}}) {
        std::vector<uint8_t> bytes = withHeader(entry("Mystery", c.length, std::vector<uint8_t>(c.bodyBytes, 0)));
        Reader r(bytes);
        EXPECT_THROW(Handler::OldRead(r.stream), FWSetPositionFailedException) << c.length;
        EXPECT_EQ(5u + 8 + 4, r.stream.GetCurrPos()) << c.length;
    }
    // A body that ends exactly at the end of the stream is fine.
    std::vector<uint8_t> bytes = withHeader(entry("Mystery", 8, std::vector<uint8_t>(8, 0)));
    Reader r(bytes);
    EXPECT_EQ(nullptr, Handler::OldRead(r.stream));
    EXPECT_TRUE(r.stream.AtStreamEnd());
}

TEST(FactoryHandler, ViewThatFailsToReadIsDeleted)
{
    // A label whose body ends inside the base record.
    std::vector<uint8_t> bytes = withHeader(entry("SerialTestLabel", 3, {2, 1, 0}));
    Reader r(bytes);
    int destroyed = SerialTestView::sDestroyed;
    EXPECT_THROW(Handler::OldRead(r.stream), FWReadFailedException);
    EXPECT_EQ(destroyed + 1, SerialTestView::sDestroyed);
}

TEST(SerialTestDocument, WritesExactBytesAndReadsThemBack)
{
    SerialTestView plain;
    SerialTestLabel label;
    plain.mValue = 7;
    plain.mPartner = &label;
    label.mValue = -2;
    label.mText = "Hi";
    label.mPartner = &label;

    std::vector<char> written = SerialTestDocument::Write({&plain, &label}, 1002);
    const std::vector<uint8_t> expected = {
        1, 0, 0, 0, 3,       // format byte, table size: numbers 1 and 2 were given
        0, 0, 0, 2,          // stream version
        0, 0, 0x03, 0xEA,    // ID counter 1002
        0, 0, 0, 2,          // two entries
        'S', 'e', 'r', 'i', 'a', 'l', 'T', 'e', 's', 't', 'V', 'i', 'e', 'w', 0,
        0, 0, 0, 13,         // body length
        1, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 7,
        'S', 'e', 'r', 'i', 'a', 'l', 'T', 'e', 's', 't', 'L', 'a', 'b', 'e', 'l', 0,
        0, 0, 0, 17,
        2, 1, 0, 0, 0, 2, 0, 0, 0, 2, 0xFF, 0xFF, 0xFF, 0xFE, 'H', 'i', 0,
    };
    EXPECT_EQ(chars(expected), written);

    SerialTestDocument::Result read = SerialTestDocument::Read(written);
    EXPECT_EQ(3, read.tableSize);
    EXPECT_EQ(1002, read.counter);
    ASSERT_EQ(2u, read.views.size());
    SerialTestView* first = read.views[0].get();
    auto* second = dynamic_cast<SerialTestLabel*>(read.views[1].get());
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(7, first->mValue);
    EXPECT_EQ(second, first->mPartner);
    EXPECT_EQ(second, second->mPartner);
    EXPECT_EQ(-2, second->mValue);
    EXPECT_EQ("Hi", std::string(second->mText.GetCString()));
}

TEST(SerialTestDocument, SkippedClassLeavesItsReferencesUnresolved)
{
    SerialTestView a, b;
    a.mPartner = &b;
    std::vector<char> written = SerialTestDocument::Write({&a, &b}, 0);
    // Rename b's class to one without a factory (same length).
    std::string text(written.begin(), written.end());
    size_t at = text.rfind("SerialTestView");
    ASSERT_NE(std::string::npos, at);
    text.replace(at, 14, "SerialTestVIEW");

    ProgrammerMessageRecorder recorder;
    SerialTestDocument::Result read = SerialTestDocument::Read(std::vector<char>(text.begin(), text.end()));
    ASSERT_EQ(1u, read.views.size());
    EXPECT_EQ(1, read.skipped);
    EXPECT_EQ(nullptr, read.views[0]->mPartner);
    EXPECT_TRUE(recorder.Messages().empty()); // stored damage, not a programming error
}

} // namespace
