#include "FWString.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

namespace {
std::string text(const FWString& s)
{
    return std::string(s.GetCString(), s.GetCurrLength());
}
} // namespace

TEST(FWString, FixedStringCutsLongTextToCapacityAndTerminates)
{
    std::string forty(40, 'x');
    for (int i = 0; i < 40; ++i)
        forty[size_t(i)] = char('A' + i % 26);
    FWStr<31> s(forty.c_str());
    EXPECT_EQ(31u, s.GetCurrLength());
    EXPECT_EQ(forty.substr(0, 31), s.GetCString());
    EXPECT_EQ(0, s[31]);

    s.SetCurrLength(0xFFFFFFFFu); // compared unsigned: any request above capacity gives N
    EXPECT_EQ(31u, s.GetCurrLength());

    FWStr<31> fromNull(static_cast<const char*>(nullptr));
    EXPECT_EQ(0u, fromNull.GetCurrLength());
    EXPECT_STREQ("", fromNull.GetCString());

    FWStr<255> counted(3, "abcdef");
    EXPECT_EQ("abc", text(counted));
    FWStr<31> fromWide(FWStr<255>("a longer text that will not fit in thirty-one"));
    EXPECT_EQ(31u, fromWide.GetCurrLength());
}

TEST(FWString, CopiesAndAssignmentsAreIndependent)
{
    FWStr<63> a("first");
    FWStr<63> b(a);
    b += "!";
    EXPECT_EQ("first", text(a));
    EXPECT_EQ("first!", text(b));
    a = b;
    EXPECT_EQ("first!", text(a));
    FWStr<63>& alias = a;
    a = alias;
    EXPECT_EQ("first!", text(a));

    FWDynamicString d(a);
    FWDynamicString e(d);
    e.Append(" more");
    EXPECT_EQ("first!", text(d));
    EXPECT_EQ("first! more", text(e));
    d = e;
    EXPECT_EQ("first! more", text(d));
    FWStr<31> target;
    e.Copy(&target);
    EXPECT_EQ("first! more", text(target));
}

TEST(FWString, SetAndAppendAcceptTheirOwnText)
{
    FWDynamicString d("0123456789012345678901234567890123456789"); // 40 characters, 64 bytes
    d.Set(d.GetCString() + 10);                                   // shrinks to 30: a new array
    EXPECT_EQ("012345678901234567890123456789", text(d));
    d += d; // grows to 60 while reading itself
    EXPECT_EQ("012345678901234567890123456789012345678901234567890123456789", text(d));

    FWStr<31> s("abc");
    s.Append(s.GetCString());
    EXPECT_EQ("abcabc", text(s));
    s += 'd';
    EXPECT_EQ("abcabcd", text(s));
    s.Append(static_cast<const char*>(nullptr));
    s.Set(static_cast<const char*>(nullptr));
    EXPECT_EQ("abcabcd", text(s));
}

TEST(FWString, AppendBeyondCapacityKeepsWhatFits)
{
    FWStr<31> s("0123456789012345678901234567");
    s.Append("abcdefgh");
    EXPECT_EQ("0123456789012345678901234567abc", text(s));
    EXPECT_EQ(0, s[31]);
}

TEST(FWString, SubStringEraseAndReplaceInsertUseTheirRanges)
{
    FWStr<31> s("abcdef");
    FWStr<31> out;
    s.GetSubString(2, 4, out);
    EXPECT_EQ("cde", text(out));
    s.GetSubString(4, 100, out); // cut to what the string holds
    EXPECT_EQ("ef", text(out));
    s.GetSubString(3, 2, out);
    EXPECT_EQ("", text(out));
    FWStr<2> narrow;
    s.GetSubString(0, 5, narrow);
    EXPECT_EQ("ab", text(narrow));
    s.GetSubString(1, 3, s);
    EXPECT_EQ("bcd", text(s));

    FWStr<31> e("abcdef");
    e.Erase(2, 4);
    EXPECT_EQ("abef", text(e));
    e.Erase(1, 1);
    EXPECT_EQ("abef", text(e));

    FWStr<31> r("abc");
    FWStr<31> xy("XY");
    r.ReplaceInsert(&xy, 1, 1);
    EXPECT_EQ("aXYbc", text(r));
    r.ReplaceInsert(&xy, 0, 5);
    EXPECT_EQ("XY", text(r));
    r.ReplaceInsert(nullptr, 0, 1);
    EXPECT_EQ("XY", text(r));
    r.ReplaceInsert(&r, 2, 2);
    EXPECT_EQ("XYXY", text(r));

    FWStr<4> small("abcd");
    small.ReplaceInsert(&xy, 2, 2);
    EXPECT_EQ("abXY", text(small));
}

TEST(FWString, BadRangesAreReportedAndLeaveTheText)
{
    ProgrammerMessageRecorder recorder;
    FWStr<31> s("abcdef");
    FWStr<31> xy("XY");
    s.ReplaceInsert(&xy, 3, 2);
    s.ReplaceInsert(&xy, 2, 9);
    s.Erase(4, 2);
    s.Erase(7, 8);
    EXPECT_EQ("abcdef", text(s));
    ASSERT_EQ(4u, recorder.Messages().size());
    EXPECT_EQ("Bad string insertion parameters", recorder.Messages()[0].message);
    EXPECT_EQ("FW/Utility/Source/FWString", recorder.Messages()[0].sourcePath);
    EXPECT_EQ(468, recorder.Messages()[0].line);
    EXPECT_EQ("", recorder.Messages()[2].message);
    EXPECT_EQ(443, recorder.Messages()[3].line);
}

TEST(FWString, DynamicStringGrowsAndShrinksInChunks)
{
    EXPECT_EQ(32u, FWDynamicString::ChunkSize(0));
    EXPECT_EQ(32u, FWDynamicString::ChunkSize(1));
    EXPECT_EQ(32u, FWDynamicString::ChunkSize(32));
    EXPECT_EQ(64u, FWDynamicString::ChunkSize(33));

    FWDynamicString empty;
    EXPECT_EQ(32u, empty.ArraySize());
    FWDynamicString nullText(static_cast<const char*>(nullptr));
    EXPECT_EQ(0u, nullText.GetCurrLength());

    FWDynamicString d(std::string(31, 'a').c_str());
    EXPECT_EQ(32u, d.ArraySize());
    d += 'b';
    EXPECT_EQ(32u, d.GetCurrLength());
    EXPECT_EQ(64u, d.ArraySize());
    EXPECT_EQ(std::string(31, 'a') + "b", text(d));
    d.SetCurrLength(3); // shrinks the array too
    EXPECT_EQ(32u, d.ArraySize());
    EXPECT_EQ("aaa", text(d));

    d.ReserveLength(100);
    EXPECT_EQ(128u, d.ArraySize());
    EXPECT_EQ("aaa", text(d));
    d.ReserveLength(10); // no smaller than the chunk in use: nothing
    EXPECT_EQ(128u, d.ArraySize());
    // The chunk in use is computed from the length, so a new length in the first chunk
    // does not reallocate and one beyond it does.
    d.SetCurrLength(20);
    EXPECT_EQ(128u, d.ArraySize());
    d.SetCurrLength(40);
    EXPECT_EQ(64u, d.ArraySize());
    EXPECT_EQ(0, d[40]);

    std::string big(5000, 'z');
    FWDynamicString huge(big.c_str());
    EXPECT_EQ(5024u, huge.ArraySize());
    EXPECT_EQ(big, text(huge));
}

TEST(FWString, IntegerConversions)
{
    FWStr<31> s;
    s.Set(int32_t(-123456));
    EXPECT_EQ("-123456", text(s));
    EXPECT_EQ(-123456, s.GetLong());
    s = "  42abc";
    EXPECT_EQ(42, s.GetLong());
    s = "99999999999";
    EXPECT_EQ(INT32_MAX, s.GetLong());
    s = "x";
    EXPECT_EQ(0, s.GetLong());
}

TEST(FWString, GetRealAcceptsCommaAndTreatsLoneSignsAsZero)
{
    struct Case {
        const char* text;
        float value;
    } cases[] = {
        {"", 0.0f}, {"-", 0.0f}, {".", 0.0f}, {"1,5", 1.5f}, {"1.5", 1.5f},
        {"2e3", 2000.0f}, {"-0,25xyz", -0.25f}, {"abc", 0.0f},
    };
    for (const auto& c : cases) {
        FWStr<31> s(c.text);
        EXPECT_FLOAT_EQ(c.value, s.GetReal()) << c.text;
    }
}

TEST(FWString, GetRealReadsTextsLongerThanAnyFixedBuffer)
{
    std::string digits = "3," + std::string(600, '1');
    FWDynamicString d(digits.c_str());
    EXPECT_NEAR(3.1111111f, d.GetReal(), 1e-6);
    std::string padded = std::string(400, ' ') + "7.25";
    FWDynamicString p(padded.c_str());
    EXPECT_FLOAT_EQ(7.25f, p.GetReal());
}

TEST(FWString, SetRealDropsTrailingZerosButKeepsOneAfterThePoint)
{
    struct Case {
        double value;
        int16_t width;
        int16_t precision;
        bool keepZeros;
        const char* text;
    } cases[] = {
        {2.5, 0, 3, false, "2.5"},      {2.0, 0, 3, false, "2.0"},     {100.0, 0, 0, false, "100"},
        {2.5, 0, 3, true, "2.500"},     {-0.00001, 0, 2, false, "0.0"}, {1.5, 0, 6, false, "1.5"},
        {3.0, 0, 6, false, "3.0"},      {-0.0000001, 0, 6, false, "0.0"}, {1200.0, 0, 0, false, "1200"},
        {-2.25, 8, 3, false, "  -2.25"}, {0.5, 0, 1, false, "0.5"},
    };
    for (const auto& c : cases) {
        FWDynamicString s;
        s.Set(c.value, c.width, c.precision, c.keepZeros);
        EXPECT_EQ(c.text, text(s)) << c.value << " " << c.precision;
    }
}

TEST(FWString, SetRealOfHugeValuesAndWidthsIsWhole)
{
    FWDynamicString s;
    s.Set(1e300, 0, 2, false);
    EXPECT_EQ(303u, s.GetCurrLength()); // 301 digits, the point and one 0
    EXPECT_EQ('1', s[0]);
    EXPECT_EQ(".0", text(s).substr(301));

    s.Set(1.5, 1000, 1, false);
    EXPECT_EQ(1000u, s.GetCurrLength());
    EXPECT_EQ("1.5", text(s).substr(997));

    FWStr<31> cut;
    cut.Set(1e300, 0, 2, true);
    EXPECT_EQ(31u, cut.GetCurrLength());
}

TEST(FWString, NumbersUseThePointWhateverTheLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous != nullptr ? previous : "C";
    bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
                    std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") != nullptr;
    FWStr<31> s;
    s.Set(1.25, 0, 2, false);
    EXPECT_EQ("1.25", text(s));
    s = "2.5";
    EXPECT_FLOAT_EQ(2.5f, s.GetReal());
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched)
        GTEST_SKIP() << "no other numeric locale installed";
}

TEST(FWString, ComparisonFollowsTheScriptOrder)
{
    FWStr<31> apple("apple");
    FWStr<31> banana("Banana");
    FWDynamicString lowerBanana("banana");
    EXPECT_TRUE(apple < banana);      // not byte order: 'B' < 'a' in bytes
    EXPECT_TRUE(banana < lowerBanana); // same letters: upper case first
    EXPECT_FALSE(lowerBanana < banana);
    EXPECT_TRUE(banana != lowerBanana);
    EXPECT_TRUE(lowerBanana == FWStr<255>("banana"));
    EXPECT_TRUE(apple == "apple");
    EXPECT_TRUE(apple != "apples");
    EXPECT_FALSE(apple == static_cast<const char*>(nullptr));
}

TEST(FWString, LongTextsCompareByTheirWholeLength)
{
    // Past 32767 characters (as a 16-bit length, 40000 and 65536 read as negative or zero).
    const struct {
        std::string a, b;
        bool equal, less;
    } cases[] = {
        {std::string(40000, 'a'), std::string(40000, 'b'), false, true},
        {std::string(65536, 'b'), std::string(65536, 'a'), false, false},
        {std::string(40000, 'a') + "x", std::string(40000, 'a') + "y", false, true},
        {std::string(40000, 'a'), std::string(40001, 'a'), false, true},
        {std::string(70000, 'z'), std::string(70000, 'z'), true, false},
    };
    for (const auto& c : cases) {
        const FWDynamicString a(c.a.c_str());
        const FWDynamicString b(c.b.c_str());
        EXPECT_EQ(c.equal, a == b) << c.a.size() << " " << c.b.size();
        EXPECT_EQ(c.equal, a == c.b.c_str()) << c.a.size();
        EXPECT_EQ(c.less, a < b) << c.a.size() << " " << c.b.size();
    }
}
