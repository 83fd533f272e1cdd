#include "RECharExpected.h"
#include "REConcatNode.h"
#include "REIllegalRange.h"
#include "REMatchFailed.h"
#include "REParser.h"
#include "RETooManyPositions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<REConcatNode> parse(const std::string& pattern, RECharacterSet& used, bool caseSensitive = true)
{
    RENode::gThePositions.ResetPositionCollection();
    REParser parser(used);
    auto tree = parser.ParseExpression(pattern.c_str(), caseSensitive, 1);
    tree->ComputeFirstAndLastPos();
    return tree;
}

std::unique_ptr<REConcatNode> parse(const std::string& pattern, bool caseSensitive = true)
{
    RECharacterSet used;
    return parse(pattern, used, caseSensitive);
}

std::vector<uint32_t> members(const REPositionSet& set)
{
    std::vector<uint32_t> list;
    set.ForEach([&](uint32_t p) { list.push_back(p); });
    return list;
}

// The character of every position handed out, in position order.
std::string positionCharacters()
{
    std::string characters(RENode::gThePositions.GetNumPositions(), '?');
    for (int c = 0; c < 256; ++c)
        for (uint16_t p : RENode::gThePositions.GetCharacterPositions(static_cast<unsigned char>(c)))
            characters[p] = static_cast<char>(c);
    return characters;
}

enum class Failure { None, CharExpected, IllegalRange, MatchFailed, TooManyPositions, Other };

Failure failureOf(const std::string& pattern)
{
    try {
        parse(pattern);
        return Failure::None;
    } catch (const RECharExpected&) {
        return Failure::CharExpected;
    } catch (const REIllegalRange&) {
        return Failure::IllegalRange;
    } catch (const REMatchFailed&) {
        return Failure::MatchFailed;
    } catch (const RETooManyPositions&) {
        return Failure::TooManyPositions;
    } catch (const REException&) {
        return Failure::Other;
    }
}

} // namespace

TEST(REParser, PositionsRunLeftToRightWithTheEndLast)
{
    auto tree = parse("a ( b | c )* d");
    EXPECT_EQ(std::string("abcd") + '\0', positionCharacters());
    EXPECT_EQ((std::vector<uint32_t>{0}), members(tree->GetFirstPos()));
    EXPECT_EQ((std::vector<uint32_t>{4}), members(tree->GetLastPos()));

    REFollowTable follow(RENode::gThePositions.GetNumPositions());
    tree->ComputeFollowPos(follow);
    const std::vector<uint32_t> loop{1, 2, 3};
    EXPECT_EQ(loop, members(follow[0]));
    EXPECT_EQ(loop, members(follow[1]));
    EXPECT_EQ(loop, members(follow[2]));
    EXPECT_EQ((std::vector<uint32_t>{4}), members(follow[3]));
    EXPECT_FALSE(follow[4].IsNotEmpty());
}

TEST(REParser, NullableByNodeKind)
{
    struct Case {
        const char* pattern;
        bool nullable;
    };
    const Case cases[] = {
        {"", true},       {"  \t\r\n", true}, {"[]", true},   {"a", false},    {"a?", true},
        {"a*", true},     {"a+", false},      {"(a?)+", false}, {"a#", false}, {"a%", true},
        {"a|b?", true},   {"ab?", false},     {"a?b?", true}, {"(a*)#", false}, {"(ab)%", true},
        {"[]+", false},   {"a*?", true},      {"a+%", true},
    };
    for (const Case& c : cases) {
        auto tree = parse(c.pattern);
        EXPECT_EQ(c.nullable, tree->GetLeftChild()->IsNullable()) << '"' << c.pattern << '"';
        EXPECT_FALSE(tree->IsNullable()); // the end node is never nullable
    }
}

TEST(REParser, PrefixOperatorsEndWhereverAPartCanEnd)
{
    struct Case {
        const char* pattern;
        std::vector<uint32_t> first;
        std::vector<uint32_t> last;
    };
    const Case cases[] = {
        {"(abc)#", {0}, {0, 1, 2}},
        {"(a|bc)%", {0, 1}, {0, 1, 2}},
        {"ab#", {0}, {1}},
        {"(a*b)#", {0, 1}, {0, 1}},
        {"([a-c]d)%", {0, 1, 2}, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        auto tree = parse(c.pattern);
        EXPECT_EQ(c.first, members(tree->GetLeftChild()->GetFirstPos())) << c.pattern;
        EXPECT_EQ(c.last, members(tree->GetLeftChild()->GetLastPos())) << c.pattern;
    }
}

TEST(REParser, EscapesAndCharacterValues)
{
    struct Case {
        const char* pattern;
        std::string characters; // without the end position
        bool caseSensitive;
    };
    const Case cases[] = {
        {"\\x41", "A", true},
        {"\\X41", "A", true},
        {"\\xF", "\x0F", true},
        {"\\xaF", "\xAF", true},
        {"\\x4g", "\x04g", true},
        {"\\n\\t", "nt", true},
        {"a b\tc", "abc", true},
        {"\\ \\x20", "  ", true},
        {"\\\\\\(\\[\\%", "\\([%", true},
        {"on\\x61\\xE9", "ONA\xE9", false},
        {"[a-c]", "ABC", false},
        {"[b-d]x", "bcdx", true},
    };
    for (const Case& c : cases) {
        RECharacterSet used;
        parse(c.pattern, used, c.caseSensitive);
        EXPECT_EQ(c.characters + '\0', positionCharacters()) << c.pattern;
        int usedCount = 0;
        for (uint32_t ch = 0; ch < 256; ++ch)
            usedCount += (used & ch) ? 1 : 0;
        int distinct = 0;
        for (uint32_t ch = 0; ch < 256; ++ch)
            distinct += c.characters.find(char(ch)) != std::string::npos ? 1 : 0;
        EXPECT_EQ(distinct, usedCount) << c.pattern;
        for (char ch : c.characters)
            EXPECT_TRUE(used & uint32_t(static_cast<unsigned char>(ch))) << c.pattern;
    }

    RECharacterSet used;
    parse("[a-z]", used, false);
    EXPECT_TRUE(used & uint32_t('A'));
    EXPECT_TRUE(used & uint32_t('Z'));
    EXPECT_FALSE(used & uint32_t('a'));
}

TEST(REParser, MalformedPatternsThrowTheirFailure)
{
    struct Case {
        const char* pattern;
        Failure failure;
    };
    const Case cases[] = {
        {"a|^b", Failure::CharExpected},  {"()", Failure::CharExpected},   {"[a-]", Failure::CharExpected},
        {"*a", Failure::CharExpected},    {"\\", Failure::CharExpected},   {"\\xg", Failure::CharExpected},
        {"a||b", Failure::CharExpected},  {"[a-a]", Failure::IllegalRange}, {"[z-a]", Failure::IllegalRange},
        {"[a-\\x80]", Failure::IllegalRange}, {"[\\x01-\\xFF]", Failure::IllegalRange},
        {"[\\x90-\\x91]", Failure::IllegalRange}, {"(ab", Failure::MatchFailed}, {"[ab", Failure::MatchFailed},
        {"[-a]", Failure::MatchFailed},   {"(a]", Failure::MatchFailed},   {"[a|b]", Failure::MatchFailed},
        {"[\\x00-\\x7F]", Failure::None}, {"[]", Failure::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.failure, failureOf(c.pattern)) << c.pattern;

    try {
        parse("(a]");
        FAIL();
    } catch (const REMatchFailed& failure) {
        EXPECT_EQ(REParser::kCloseBracket, failure.GetFound());
        EXPECT_EQ(']', failure.GetFoundChar());
        EXPECT_EQ(REParser::kCloseParenthesis, failure.GetExpected());
    }
}

TEST(REParser, ATopLevelTokenThatCannotContinueEndsThePattern)
{
    struct Case {
        const char* pattern;
        const char* characters;
    };
    const Case cases[] = {
        {"ab)cd", "ab"}, {"a^b", "a"}, {"a]b", "a"}, {"a-b", "a"}, {"a\\", "a"}, {"ab\\xq", "ab"},
    };
    for (const Case& c : cases) {
        parse(c.pattern);
        EXPECT_EQ(std::string(c.characters) + '\0', positionCharacters()) << c.pattern;
    }
}

TEST(REParser, AFailedPatternKeepsThePositionsItTook)
{
    RENode::gThePositions.ResetPositionCollection();
    RECharacterSet used;
    REParser parser(used);
    EXPECT_THROW(parser.ParseExpression("ab(c", true, 1), REMatchFailed);
    EXPECT_EQ(3, RENode::gThePositions.GetNumPositions());
    EXPECT_TRUE(used & uint32_t('c'));
}

TEST(REParser, AtMost2048Positions)
{
    EXPECT_EQ(Failure::None, failureOf(std::string(2047, 'a')));
    EXPECT_EQ(2048, RENode::gThePositions.GetNumPositions());
    EXPECT_EQ(Failure::TooManyPositions, failureOf(std::string(2048, 'a')));

    // A range fits exactly, or takes no position at all.
    RENode::gThePositions.ResetPositionCollection();
    for (int i = 0; i < 1921; ++i)
        RENode::gThePositions.AllocatePosition('a');
    EXPECT_EQ(1921, RENode::gThePositions.AllocatePositionRange(1, 127));
    EXPECT_EQ(2048, RENode::gThePositions.GetNumPositions());
    RENode::gThePositions.ResetPositionCollection();
    for (int i = 0; i < 1922; ++i)
        RENode::gThePositions.AllocatePosition('a');
    EXPECT_THROW(RENode::gThePositions.AllocatePositionRange(1, 127), RETooManyPositions);
    EXPECT_EQ(1922, RENode::gThePositions.GetNumPositions());
    EXPECT_TRUE(RENode::gThePositions.GetCharacterPositions(1).empty());
}

TEST(REParser, TreesTooDeepToWalkAreRefused)
{
    EXPECT_EQ(Failure::Other, failureOf(std::string(300, '(') + "a" + std::string(300, ')')));
    EXPECT_EQ(Failure::None, failureOf(std::string(200, '(') + "a" + std::string(200, ')')));
    EXPECT_EQ(Failure::Other, failureOf("a" + std::string(5000, '*')));
    std::string emptyGroups;
    for (int i = 0; i < 5000; ++i)
        emptyGroups += "[]";
    EXPECT_EQ(Failure::Other, failureOf(emptyGroups));
}
