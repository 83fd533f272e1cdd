#include "RELexer.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Description {
    const char* pattern;
    int16_t id;
};

void build(RELexer& lexer, std::initializer_list<Description> descriptions, bool skipSpaces = false,
           bool caseSensitive = true)
{
    lexer.BeginLexer(skipSpaces, caseSensitive);
    for (const Description& d : descriptions)
        lexer.AddTokenDescription(d.pattern, d.id);
    lexer.FinishLexer();
}

std::vector<int> scan(RELexer& lexer, const char* text, bool skipSeparators)
{
    std::vector<int> ids;
    lexer.LexString(text);
    for (int i = 0; i < 100; ++i) {
        int id = lexer.GetNextToken(nullptr, skipSeparators);
        ids.push_back(id);
        if (id == RELexer::kEndOfText || id == RELexer::kNotReady)
            break;
    }
    return ids;
}

// Records the lexeme of every token it is made for.
std::vector<std::string> sLexemes;
struct RecordingAction : RETokenAction {
    void TokenScanned() override { sLexemes.push_back(GetLexeme()); }
};
RETokenAction* makeRecordingAction()
{
    return new RecordingAction;
}

std::string repeat(const std::string& piece, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

} // namespace

TEST(RELexer, LongestMatchWinsAndEarliestDescriptionBreaksTies)
{
    RELexer lexer;
    build(lexer, {{"if", 1}, {"[a-z]+", 2}});
    EXPECT_EQ((std::vector<int>{1, -1}), scan(lexer, "if", false));
    EXPECT_EQ((std::vector<int>{2, -1}), scan(lexer, "iff", false));
    EXPECT_EQ((std::vector<int>{2, -1}), scan(lexer, "x", false));
    // A byte no pattern uses is no match and is passed over alone.
    EXPECT_EQ((std::vector<int>{2, -3, -3, 1, -1}), scan(lexer, "ab!Aif", false));
}

TEST(RELexer, SeparatorsAreSkippedOrReported)
{
    RELexer lexer;
    build(lexer, {{"[0-9]+", 1}}, true);
    EXPECT_EQ((std::vector<int>{1, 1, -1}), scan(lexer, "12 34", true));
    EXPECT_EQ((std::vector<int>{1, -2, 1, -1}), scan(lexer, "12 34", false));
    EXPECT_EQ((std::vector<int>{-2, 1, -2, -1}), scan(lexer, "   7  ", false));
}

TEST(RELexer, EmptyTextYieldsTheEmptyMatchOnce)
{
    RELexer lexer;
    build(lexer, {{"[0-9]*", 1}}, true);
    EXPECT_EQ((std::vector<int>{1, -1, -1}), [&] {
        std::vector<int> ids;
        lexer.LexString("");
        for (int i = 0; i < 3; ++i)
            ids.push_back(lexer.GetNextToken(nullptr, true));
        return ids;
    }());
    // Once tokens were read, the end of the text is only the end.
    EXPECT_EQ((std::vector<int>{1, -1}), scan(lexer, "5", true));

    RELexer plain;
    build(plain, {{"[0-9]+", 1}});
    EXPECT_EQ((std::vector<int>{-1}), scan(plain, "", true));
}

TEST(RELexer, AcceptsOneTokenAllowsSeparatorsAroundOneToken)
{
    RELexer lexer;
    build(lexer, {{"[0-9]+", 1}}, true);
    struct Case {
        const char* text;
        bool one;
        bool multiple;
    };
    const Case cases[] = {
        {"", true, true},
        {"   ", true, true},
        {"12", true, true},
        {" 12 ", true, true},
        {"12 34", false, true},
        {"1234", true, true},
        {"12x", false, false},
        {"x", false, false},
        {"1 x", false, false}, // every token after a separator must be recognised too
        {"1 2 x 3", false, false},
        {"1  2   3 ", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.one, lexer.AcceptsOneToken(c.text)) << '"' << c.text << '"';
        EXPECT_EQ(c.multiple, lexer.AcceptsMultipleTokens(c.text)) << '"' << c.text << '"';
    }
}

TEST(RELexer, AcceptsLeavesTheCurrentScanAlone)
{
    RELexer lexer;
    build(lexer, {{"[0-9]+", 1}, {"[a-z]+", 2}}, true);
    lexer.LexString("12 ab");
    EXPECT_EQ(1, lexer.GetNextToken(nullptr, true));
    EXPECT_FALSE(lexer.AcceptsOneToken("1 2"));
    EXPECT_TRUE(lexer.AcceptsMultipleTokens("1 a 2"));
    EXPECT_EQ(2, lexer.GetNextToken(nullptr, true));
    EXPECT_EQ(-1, lexer.GetNextToken(nullptr, true));
}

TEST(RELexer, ByteRangesEndAtTheirLengthOrAtAZeroByte)
{
    RELexer lexer;
    build(lexer, {{"[0-9]+", 1}});
    EXPECT_TRUE(lexer.AcceptsOneToken("12x", 2));
    EXPECT_FALSE(lexer.AcceptsOneToken("12x", 3));
    EXPECT_TRUE(lexer.AcceptsOneToken(std::string("12\0x", 4).c_str(), 4));
    EXPECT_TRUE(lexer.AcceptsOneToken(nullptr, 10));
}

TEST(RELexer, CaseInsensitiveLexerFoldsPatternAndText)
{
    RELexer lexer;
    build(lexer, {{"on", 1}, {"\\xE9", 2}}, false, false);
    for (const char* text : {"on", "On", "ON", "oN"})
        EXPECT_TRUE(lexer.AcceptsOneToken(text)) << text;
    EXPECT_FALSE(lexer.AcceptsOneToken("o"));
    // Only ASCII letters fold.
    EXPECT_TRUE(lexer.AcceptsOneToken("\xE9"));
    EXPECT_FALSE(lexer.AcceptsOneToken("\xC9"));

    RELexer sensitive;
    build(sensitive, {{"on", 1}});
    EXPECT_TRUE(sensitive.AcceptsOneToken("on"));
    EXPECT_FALSE(sensitive.AcceptsOneToken("On"));
}

TEST(RELexer, SpecialIdsAreRefusedOrKeptAsTheyAre)
{
    // Ids -1 and -4 are dropped: with nothing left the lexer stays under construction.
    RELexer refused;
    build(refused, {{"a", -1}, {"b", -4}});
    EXPECT_EQ((std::vector<int>{-4}), scan(refused, "a", false));
    EXPECT_FALSE(refused.AcceptsOneToken(""));
    EXPECT_FALSE(refused.AcceptsMultipleTokens(""));

    // A -2 description is a separator; a -3 description accepts nothing.
    RELexer lexer;
    build(lexer, {{"[0-9]+", 1}, {",", -2}, {"x", -3}});
    EXPECT_EQ((std::vector<int>{1, 1, -1}), scan(lexer, "1,2", true));
    EXPECT_EQ((std::vector<int>{1, -3, -1}), scan(lexer, "1x", true));
    EXPECT_TRUE(lexer.AcceptsMultipleTokens("1,2,3"));
}

TEST(RELexer, PatternsThatDoNotParseAreDropped)
{
    RELexer lexer;
    build(lexer, {{"a|^b", 2}, {"[0-9]+", 1}, {"(x", 3}});
    EXPECT_EQ((std::vector<int>{1, -3, -3, -1}), scan(lexer, "12ax", false));

    RELexer nothing;
    build(nothing, {{"()", 1}});
    EXPECT_EQ((std::vector<int>{-4}), scan(nothing, "", false));
}

TEST(RELexer, ActionsAreMadeWithTheLexeme)
{
    sLexemes.clear();
    RELexer lexer;
    lexer.BeginLexer(true, true);
    lexer.AddTokenDescription("[0-9]*", 1, makeRecordingAction);
    lexer.AddTokenDescription("[a-z]+", 2, nullptr);
    lexer.FinishLexer();

    lexer.LexString("42 ab !7");
    RETokenAction* action = nullptr;
    EXPECT_EQ(1, lexer.GetNextToken(&action, true));
    ASSERT_NE(nullptr, action);
    EXPECT_EQ("42", action->GetLexeme());
    delete action;
    EXPECT_EQ(2, lexer.GetNextToken(&action, true));
    EXPECT_EQ(nullptr, action);
    EXPECT_EQ(-3, lexer.GetNextToken(&action, true));
    EXPECT_EQ(nullptr, action);
    EXPECT_EQ(1, lexer.GetNextToken(&action, true));
    delete action;
    EXPECT_EQ(-1, lexer.GetNextToken(&action, true));
    EXPECT_EQ(nullptr, action);

    lexer.LexString("");
    EXPECT_EQ(1, lexer.GetNextToken(&action, true));
    ASSERT_NE(nullptr, action);
    EXPECT_EQ("", action->GetLexeme());
    delete action;
    EXPECT_EQ((std::vector<std::string>{"42", "7", ""}), sLexemes);
}

TEST(RELexer, ALexerWithoutDescriptionsOrInputIsNotReady)
{
    RELexer fresh;
    EXPECT_EQ(-4, fresh.GetNextToken(nullptr, true));
    EXPECT_FALSE(fresh.AcceptsOneToken(""));

    RELexer lexer;
    lexer.BeginLexer(false, true);
    lexer.FinishLexer();
    lexer.LexString("a");
    EXPECT_EQ(-4, lexer.GetNextToken(nullptr, true));
    EXPECT_FALSE(lexer.AcceptsOneToken(""));
    // Still under construction: a description can be added and the lexer finished.
    lexer.AddTokenDescription("a", 1);
    lexer.FinishLexer();
    EXPECT_TRUE(lexer.AcceptsOneToken("a"));
    EXPECT_EQ(-4, lexer.GetNextToken(nullptr, true)); // no input yet
}

TEST(RELexer, PositionsAreSharedByAllDescriptionsOfALexer)
{
    std::string longest(2047, 'a');
    RELexer lexer;
    build(lexer, {{longest.c_str(), 1}});
    EXPECT_TRUE(lexer.AcceptsOneToken(longest.c_str()));
    EXPECT_FALSE(lexer.AcceptsOneToken(longest.substr(1).c_str()));

    std::string tooLong(2048, 'a');
    RELexer dropped;
    build(dropped, {{tooLong.c_str(), 1}});
    EXPECT_EQ(-4, dropped.GetNextToken(nullptr, true));

    std::string half(1000, 'b');
    RELexer shared;
    build(shared, {{half.c_str(), 1}, {half.c_str(), 2}, {"[0-9]+", 3}, {"c", 4}});
    // Two descriptions of 1001 positions each leave 46 for the others.
    EXPECT_TRUE(shared.AcceptsOneToken("123"));
    EXPECT_TRUE(shared.AcceptsOneToken("c"));
    // A range of 127 positions does not fit any more; a later short pattern still does.
    RELexer full;
    build(full, {{half.c_str(), 1}, {half.c_str(), 2}, {"[\\x01-\\x7f]", 3}, {"c", 4}});
    EXPECT_FALSE(full.AcceptsOneToken("A"));
    EXPECT_TRUE(full.AcceptsOneToken("c"));
}

TEST(RELexer, ALexerTooLargeForItsTablesIsRefusedAndAcceptsNothing)
{
    // Every state of "[a-h]*a" followed by n more "[a-h]" is distinct and moves on all eight
    // letters: 2^(n+1) states of eight slots each.
    ProgrammerMessageRecorder recorder;
    RELexer fits;
    build(fits, {{("[a-h]*a" + repeat("[a-h]", 6)).c_str(), 1}});
    EXPECT_TRUE(fits.AcceptsOneToken("ahhhhhh"));
    EXPECT_FALSE(fits.AcceptsOneToken("hhhhhhh"));
    EXPECT_TRUE(recorder.Messages().empty());

    RELexer tooLarge;
    build(tooLarge, {{("[a-h]*a" + repeat("[a-h]", 8)).c_str(), 1}});
    ASSERT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ("FW/Utility/Source/RELexer", recorder.Messages()[0].sourcePath);
    EXPECT_EQ((std::vector<int>{-4}), scan(tooLarge, "ahhhhhhhh", true));
    EXPECT_FALSE(tooLarge.AcceptsOneToken(""));
    EXPECT_FALSE(tooLarge.AcceptsOneToken("ahhhhhhhh"));
    EXPECT_FALSE(tooLarge.AcceptsMultipleTokens(""));

    // Begun again, it works.
    build(tooLarge, {{"a", 1}});
    EXPECT_TRUE(tooLarge.AcceptsOneToken("a"));
}

TEST(RELexer, OnlyOneLexerIsBuiltAtATime)
{
    ProgrammerMessageRecorder recorder;
    RELexer first;
    RELexer second;
    first.BeginLexer(false, true);
    first.AddTokenDescription("a", 1);
    second.BeginLexer(false, true);
    second.AddTokenDescription("b", 1);
    first.AddTokenDescription("c", 1);
    first.FinishLexer();
    second.FinishLexer();
    EXPECT_EQ(2u, recorder.Messages().size());
    EXPECT_TRUE(second.AcceptsOneToken("b"));
    EXPECT_EQ(-4, [&] {
        first.LexString("a");
        return first.GetNextToken(nullptr, true);
    }());
}

TEST(RELexer, PrefixOperatorsAcceptWhatTheyShould)
{
    RELexer lexer;
    build(lexer, {{"(on | off)%", 1}});
    for (const char* text : {"", "o", "on", "of", "off"})
        EXPECT_TRUE(lexer.AcceptsOneToken(text)) << text;
    for (const char* text : {"n", "f", "onf", "offf", "oo"})
        EXPECT_FALSE(lexer.AcceptsOneToken(text)) << text;

    RELexer pound;
    build(pound, {{"(abc)#", 1}});
    EXPECT_EQ((std::vector<int>{-1}), scan(pound, "", false));
    EXPECT_EQ((std::vector<int>{1, -1}), scan(pound, "ab", false));
    EXPECT_EQ((std::vector<int>{1, 1, -1}), scan(pound, "abca", false));

    RELexer percent;
    build(percent, {{"(abc)%", 1}});
    EXPECT_EQ((std::vector<int>{1, -1}), scan(percent, "", false));
    EXPECT_EQ((std::vector<int>{1, -1}), scan(percent, "ab", false));

    // The operator binds to the primary before it.
    RELexer last;
    build(last, {{"abc#", 1}});
    EXPECT_EQ((std::vector<int>{-3, -3, -1}), scan(last, "ab", false));
    EXPECT_EQ((std::vector<int>{1, -1}), scan(last, "abc", false));

    RELexer plus;
    build(plus, {{"(a?)+", 1}});
    EXPECT_EQ((std::vector<int>{-1}), scan(plus, "", false));
    EXPECT_EQ((std::vector<int>{1, -1}), scan(plus, "aaa", false));
}

TEST(RELexer, TheDeepestTreesAndLongestDescriptionListsBuild)
{
    // A pattern as deep as the parser allows, then as many descriptions as there are positions.
    std::string deep;
    for (int i = 0; i < 4000; ++i)
        deep += "[]";
    RELexer lexer;
    lexer.BeginLexer(false, true);
    lexer.AddTokenDescription((deep + "a").c_str(), 1);
    for (int i = 0; i < 2100; ++i)
        lexer.AddTokenDescription("", 2);
    lexer.FinishLexer();
    EXPECT_EQ((std::vector<int>{1, -1}), scan(lexer, "a", false));
    EXPECT_EQ((std::vector<int>{2, -1}), scan(lexer, "", false));
}
