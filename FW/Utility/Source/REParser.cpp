#include "REParser.h"

#include "RECharExpected.h"
#include "RECharNode.h"
#include "REConcatNode.h"
#include "REEndOfRENode.h"
#include "REEpsilonNode.h"
#include "REIllegalRange.h"
#include "REMatchFailed.h"
#include "REOrNode.h"
#include "REPercentNode.h"
#include "REPlusNode.h"
#include "REPoundNode.h"
#include "REQuestionNode.h"
#include "RERangeNode.h"
#include "REStarNode.h"

#include <algorithm>

namespace {

int hexValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

REParser::REParser(RECharacterSet& usedChars) : mUsedChars(usedChars) {}

std::unique_ptr<REConcatNode> REParser::ParseExpression(const char* pattern, bool caseSensitive, int16_t tokenID)
{
    mInput = reinterpret_cast<const unsigned char*>(pattern != nullptr ? pattern : "");
    mCaseSensitive = caseSensitive;
    mNesting = 0;
    GetNextToken();

    Parsed expression = mToken == kEnd ? Parsed{std::make_unique<REEpsilonNode>(), 1} : ParseAlternatives();
    CheckHeight(expression.height + 1);
    auto end = std::make_unique<REEndOfRENode>(tokenID);
    return std::make_unique<REConcatNode>(std::move(expression.node), std::move(end));
}

void REParser::GetNextToken()
{
    while (*mInput == ' ' || *mInput == '\t' || *mInput == '\n' || *mInput == '\r')
        ++mInput;

    unsigned char c = *mInput;
    mTokenChar = c;
    if (c == 0) {
        mToken = kEnd; // the input stays on the zero byte
        return;
    }
    ++mInput;
    switch (c) {
    case '|': mToken = kAlternation; return;
    case '*': mToken = kStar; return;
    case '+': mToken = kPlus; return;
    case '?': mToken = kQuestion; return;
    case '#': mToken = kPound; return;
    case '%': mToken = kPercent; return;
    case '[': mToken = kOpenBracket; return;
    case ']': mToken = kCloseBracket; return;
    case '-': mToken = kRangeDash; return;
    case '^': mToken = kCaret; return;
    case '(': mToken = kOpenParenthesis; return;
    case ')': mToken = kCloseParenthesis; return;
    default: break;
    }

    if (c == '\\') {
        c = *mInput;
        if (c == 0) {
            mToken = kError;
            return;
        }
        ++mInput;
        if (c == 'x' || c == 'X') {
            int high = hexValue(*mInput);
            if (high < 0) {
                mToken = kError;
                return;
            }
            ++mInput;
            int low = hexValue(*mInput);
            if (low >= 0) {
                ++mInput;
                c = static_cast<unsigned char>(high * 16 + low);
            } else {
                c = static_cast<unsigned char>(high);
            }
        }
    }
    if (!mCaseSensitive && c >= 'a' && c <= 'z')
        c = static_cast<unsigned char>(c - 'a' + 'A');
    mToken = kCharacter;
    mTokenChar = c;
}

void REParser::Expect(TokenKind kind) const
{
    if (mToken != kind)
        throw REMatchFailed(mToken, mTokenChar, kind);
}

// expression = sequence { '|' sequence }
REParser::Parsed REParser::ParseAlternatives()
{
    Parsed left = ParseSequence();
    while (mToken == kAlternation) {
        GetNextToken();
        Parsed right = ParseSequence();
        left = Join<REOrNode>(std::move(left), std::move(right));
    }
    return left;
}

// sequence = postfix { postfix }
REParser::Parsed REParser::ParseSequence()
{
    Parsed left = ParsePostfix();
    while (mToken == kOpenBracket || mToken == kOpenParenthesis || mToken == kCharacter) {
        Parsed right = ParsePostfix();
        left = Join<REConcatNode>(std::move(left), std::move(right));
    }
    return left;
}

// postfix = primary { '*' | '+' | '?' | '#' | '%' }
REParser::Parsed REParser::ParsePostfix()
{
    Parsed node = ParsePrimary();
    for (;;) {
        switch (mToken) {
        case kStar: node = Wrap<REStarNode>(std::move(node)); break;
        case kPlus: node = Wrap<REPlusNode>(std::move(node)); break;
        case kQuestion: node = Wrap<REQuestionNode>(std::move(node)); break;
        case kPound: node = Wrap<REPoundNode>(std::move(node)); break;
        case kPercent: node = Wrap<REPercentNode>(std::move(node)); break;
        default: return node;
        }
        GetNextToken();
    }
}

// primary = '[' list ']' | '(' expression ')' | character
REParser::Parsed REParser::ParsePrimary()
{
    switch (mToken) {
    case kOpenBracket: {
        GetNextToken();
        Parsed list = ParseList();
        Expect(kCloseBracket);
        GetNextToken();
        return list;
    }
    case kOpenParenthesis: {
        if (++mNesting > kMaxNesting)
            throw REException();
        GetNextToken();
        Parsed expression = ParseAlternatives();
        Expect(kCloseParenthesis);
        --mNesting;
        GetNextToken();
        return expression;
    }
    case kCharacter: {
        Parsed character = MakeCharacter(mTokenChar);
        GetNextToken();
        return character;
    }
    default:
        throw RECharExpected();
    }
}

// list = { character [ '-' character ] }, the items joined by alternation.
REParser::Parsed REParser::ParseList()
{
    Parsed list{nullptr, 0};
    while (mToken == kCharacter) {
        unsigned char low = mTokenChar;
        GetNextToken();
        Parsed item;
        if (mToken == kRangeDash) {
            GetNextToken();
            if (mToken != kCharacter)
                throw RECharExpected();
            // The upper bound is compared as a signed byte: no range reaches 0x80 or above.
            if (int(static_cast<signed char>(mTokenChar)) <= int(low))
                throw REIllegalRange();
            item = MakeRange(low, mTokenChar);
            GetNextToken();
        } else {
            item = MakeCharacter(low);
        }
        list = list.node ? Join<REOrNode>(std::move(list), std::move(item)) : std::move(item);
    }
    if (!list.node)
        return {std::make_unique<REEpsilonNode>(), 1};
    return list;
}

REParser::Parsed REParser::MakeCharacter(unsigned char c)
{
    auto node = std::make_unique<RECharNode>(c);
    mUsedChars |= c;
    return {std::move(node), 1};
}

REParser::Parsed REParser::MakeRange(unsigned char lo, unsigned char hi)
{
    auto node = std::make_unique<RERangeNode>(lo, hi);
    for (int c = lo; c <= hi; ++c)
        mUsedChars |= uint32_t(c);
    return {std::move(node), 1};
}

template <typename Node>
REParser::Parsed REParser::Wrap(Parsed child)
{
    CheckHeight(child.height + 1);
    return {std::make_unique<Node>(std::move(child.node)), child.height + 1};
}

template <typename Node>
REParser::Parsed REParser::Join(Parsed left, Parsed right)
{
    int height = std::max(left.height, right.height) + 1;
    CheckHeight(height);
    return {std::make_unique<Node>(std::move(left.node), std::move(right.node)), height};
}

void REParser::CheckHeight(int height)
{
    if (height > kMaxTreeHeight)
        throw REException();
}
