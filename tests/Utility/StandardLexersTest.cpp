#include "FWStandardLexers.h"
#include "FWString.h"
#include "RELexer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

namespace {

RELexer* lexerNumber(int index)
{
    return index < 6 ? FWGetLexerForType(index, false) : FWGetLexerForType(index - 6, true);
}

// What each standard lexer accepts, written independently as ECMAScript expressions. The
// patterns accept every prefix of a value ('%' at their end), so these are prefix closures,
// derived by hand:
//   number  = digits, or a mantissa (digits then '.' or ',' and maybe digits, or maybe digits then
//             '.' or ',' and digits) with an optional exponent, or digits with an exponent;
//   a prefix of a number is digits, an optional separator and digits, or, once the mantissa holds
//   a digit, the mantissa, 'e' and a prefix of a signed exponent;
//   item    = '@', optionally an operator and a number with an optional '%', or one of # ! $;
//   a prefix of an item list is whole items each followed by ';', then a prefix of an item.
// Letters fold case.
const std::string kExponent = "[eE][+-]?[0-9]+";
const std::string kNumber = "(?:[0-9]+|(?:[0-9]+\\.|[0-9]+,[0-9]*|[0-9]*\\.[0-9]+|,[0-9]+)(?:" + kExponent +
                            ")?|[0-9]+" + kExponent + ")";
const std::string kNumberPrefix =
    "(?:[0-9]*(?:[.,][0-9]*)?|(?:[0-9]+(?:[.,][0-9]*)?|[.,][0-9]+)[eE][+-]?[0-9]*)";
const std::string kOperator = "[-+*/^]";
const std::string kItem = "(?:@(?:" + kOperator + "?" + kNumber + "%?|[#!$])?)";
const std::string kItemPrefix =
    "(?:@(?:" + kOperator + "?" + kNumberPrefix + "|" + kOperator + "?" + kNumber + "%|[#!$]))?";
const std::string kExpressionList = "(?:" + kItem + ";)*" + kItemPrefix;

const std::string kTypePatterns[5] = {
    "\\+?[0-9]*",
    "[+-]?[0-9]*",
    "\\+?" + kNumberPrefix,
    "[+-]?" + kNumberPrefix,
    "(?:o(?:n|f|ff)?)?",
};

std::regex referenceFor(int index)
{
    std::string pattern;
    if (index < 5)
        pattern = kTypePatterns[index];
    else if (index == 5)
        pattern = kExpressionList;
    else
        pattern = "(?:" + kTypePatterns[index - 6] + ")|(?:" + kExpressionList + ")";
    return std::regex(pattern, std::regex::ECMAScript | std::regex::icase | std::regex::optimize);
}

// A small deterministic generator (the same sequence on every platform).
class Random {
public:
    explicit Random(uint32_t seed) : mState(seed) {}
    uint32_t Next()
    {
        mState = mState * 1664525u + 1013904223u;
        return mState >> 8;
    }
    int Below(int n) { return int(Next() % uint32_t(n)); }
    bool OneIn(int n) { return Below(n) == 0; }
    char Of(const std::string& s) { return s[Below(int(s.size()))]; }

private:
    uint32_t mState;
};

const std::string kAlphabet = "0123456789+-*/^.,eE@;#!$%onfONFx ";

std::string digits(Random& r)
{
    std::string s;
    for (int n = 1 + r.Below(3); n > 0; --n)
        s += char('0' + r.Below(10));
    return s;
}

std::string number(Random& r)
{
    std::string s;
    switch (r.Below(4)) {
    case 0: s = digits(r); break;
    case 1: s = digits(r) + r.Of(".,") + (r.OneIn(2) ? digits(r) : ""); break;
    default: s = (r.OneIn(2) ? digits(r) : "") + r.Of(".,") + digits(r); break;
    }
    if (r.OneIn(3))
        s += std::string(1, r.Of("eE")) + (r.OneIn(2) ? std::string(1, r.Of("+-")) : "") + digits(r);
    return s;
}

std::string value(Random& r)
{
    switch (r.Below(4)) {
    case 0: return (r.OneIn(2) ? std::string(1, r.Of("+-")) : "") + number(r);
    case 1: return r.OneIn(2) ? "on" : "off";
    default: {
        std::string s;
        for (int n = 1 + r.Below(3); n > 0; --n) {
            if (!s.empty())
                s += ';';
            s += '@';
            if (r.OneIn(4))
                s += r.Of("#!$");
            else if (!r.OneIn(4))
                s += (r.OneIn(2) ? std::string(1, r.Of("+-*/^")) : "") + number(r) + (r.OneIn(3) ? "%" : "");
        }
        return s;
    }
    }
}

// Values, their prefixes and near misses, and noise.
std::string candidate(Random& r)
{
    if (r.OneIn(5)) {
        std::string s;
        for (int n = r.Below(9); n > 0; --n)
            s += r.OneIn(8) ? char(1 + r.Below(255)) : r.Of(kAlphabet);
        return s;
    }
    std::string s = value(r);
    if (r.OneIn(2))
        s = s.substr(0, r.Below(int(s.size()) + 1));
    for (int edits = r.Below(3); edits > 0; --edits) {
        size_t at = s.empty() ? 0 : size_t(r.Below(int(s.size())));
        switch (r.Below(3)) {
        case 0: s.insert(at, 1, r.Of(kAlphabet)); break;
        case 1: if (!s.empty()) s.erase(at, 1); break;
        default: if (!s.empty()) s[at] = r.Of(kAlphabet); break;
        }
    }
    if (r.OneIn(6)) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z' && r.OneIn(2))
                c = char(c - 'a' + 'A');
    }
    return s;
}

// The ids GetNextToken gives for text, worked out from the reference: the longest non-empty
// prefix that it matches is a token, else one byte is no match.
std::vector<int> referenceScan(const std::regex& reference, const std::string& text)
{
    std::vector<int> ids;
    if (text.empty())
        ids.push_back(1); // every standard lexer accepts the empty text
    for (size_t at = 0; at < text.size();) {
        size_t length = text.size() - at;
        while (length > 0 && !std::regex_match(text.begin() + at, text.begin() + at + length, reference))
            --length;
        ids.push_back(length > 0 ? 1 : -3);
        at += length > 0 ? length : 1;
    }
    ids.push_back(-1);
    return ids;
}

std::vector<int> lexerScan(RELexer& lexer, const std::string& text)
{
    std::vector<int> ids;
    lexer.LexString(text.c_str());
    for (size_t guard = 0; guard < text.size() + 2; ++guard) {
        ids.push_back(lexer.GetNextToken(nullptr, true));
        if (ids.back() < 0 && ids.back() != -3)
            break;
    }
    return ids;
}

} // namespace

TEST(StandardLexers, TypesMapToTheirLexers)
{
    FWInitStandardLexers();
    FWInitStandardLexers(); // built once
    EXPECT_EQ(FWGetLexerForType(5, true), FWGetLexerForType(5, false));
    for (int type = 0; type < 5; ++type)
        EXPECT_NE(FWGetLexerForType(type, true), FWGetLexerForType(type, false)) << type;

    RELexer* integerOrExpression = FWGetLexerForType(0, true);
    EXPECT_TRUE(integerOrExpression->AcceptsOneToken("12"));
    EXPECT_TRUE(integerOrExpression->AcceptsOneToken("@+3"));
    EXPECT_FALSE(FWGetLexerForType(0, false)->AcceptsOneToken("@+3"));

    // Edit fields reach the same lexers through FWString.
    EXPECT_EQ(FWGetLexerForType(2, true), FWString::GetLexerForType(FWString::kUnsignedReal, true));
    EXPECT_EQ(FWGetLexerForType(5, false), FWString::GetLexerForType(FWString::kExpressionList, true));
}

TEST(StandardLexers, AcceptTypedValuesAndTheirPrefixes)
{
    struct Case {
        int lexer;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {0, "", true}, {0, "+", true}, {0, "+12", true}, {0, "-1", false}, {0, "1+", false}, {0, "1.5", false},
        {0, " 1", false}, {1, "-", true}, {1, "-12", true}, {1, "+-1", false},
        {2, ".", true}, {2, ",", true}, {2, "1.", true}, {2, ".5", true}, {2, "1,5", true}, {2, "+.5", true},
        {2, "1.5e", true}, {2, "1.5E-", true}, {2, "1.5e-3", true}, {2, "1,e5", true}, {2, ".e", false},
        {2, "e5", false}, {2, "1.5.", false}, {2, "1.,", false}, {2, "-1", false}, {2, "1e5e", false},
        {3, "-.", true}, {3, "-1,5E+3", true}, {3, "--1", false},
        {4, "", true}, {4, "o", true}, {4, "ON", true}, {4, "oF", true}, {4, "Off", true}, {4, "offf", false},
        {4, "n", false}, {4, "onf", false},
        {5, "@", true}, {5, "@+", true}, {5, "@-1.5e3%", true}, {5, "@#", true}, {5, "@!;@$", true},
        {5, "@1;", true}, {5, "@1;@", true}, {5, "@;@", true}, {5, "@#5", false}, {5, "@%", false},
        {5, "@1%%", false}, {5, ";@", false}, {5, "@1 ;@2", false}, {5, "12", false},
        {6, "12", true}, {6, "@+3", true}, {6, "12@", false}, {9, "-1e", true}, {9, "@^,5e+2%;@!", true},
        {10, "of", true}, {10, "@$", true}, {10, "on@", false},
    };
    for (const Case& c : cases) {
        RELexer* lexer = lexerNumber(c.lexer);
        EXPECT_EQ(c.accepted, lexer->AcceptsOneToken(c.text)) << "lexer " << c.lexer << " \"" << c.text << '"';
        EXPECT_EQ(c.accepted, lexer->AcceptsMultipleTokens(c.text)) << "lexer " << c.lexer << " \"" << c.text << '"';
    }
}

// Each lexer against its reference on values, prefixes, near misses and noise.
TEST(StandardLexers, AgreeWithAnIndependentMatcher)
{
    Random random(20240611);
    std::vector<std::regex> references;
    for (int i = 0; i < 11; ++i)
        references.push_back(referenceFor(i));

    int accepted = 0;
    int refused = 0;
    for (int n = 0; n < 1500; ++n) {
        std::string text = candidate(random);
        for (int i = 0; i < 11; ++i) {
            RELexer& lexer = *lexerNumber(i);
            bool expected = text.empty() || std::regex_match(text, references[i]);
            (expected ? accepted : refused)++;
            ASSERT_EQ(expected, lexer.AcceptsOneToken(text.c_str())) << "lexer " << i << " \"" << text << '"';
            ASSERT_EQ(expected, lexer.AcceptsMultipleTokens(text.c_str())) << "lexer " << i << " \"" << text << '"';
            if (n % 8 == 0) {
                ASSERT_EQ(referenceScan(references[i], text), lexerScan(lexer, text))
                    << "lexer " << i << " \"" << text << '"';
            }
        }
    }
    // The candidates exercise both answers.
    EXPECT_GT(accepted, 2000);
    EXPECT_GT(refused, 2000);
}
