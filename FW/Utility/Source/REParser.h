// Parses one token-description pattern into a parse tree of positions.
//
// Syntax: a | b, a b, a*, a+, a?, a# (non-empty prefix), a% (prefix), ( a ), [ list ] of
// characters and ranges lo-hi. White space is skipped; '\' escapes the next byte, and \xH or \xHH
// gives a byte by value. There is no wildcard, no negation and no anchor. Without case
// sensitivity every character is taken in upper case.
#pragma once

#include "RENode.h"

#include <cstdint>
#include <memory>

class REConcatNode;

class REParser {
public:
    enum TokenKind {
        kAlternation,
        kStar,
        kPlus,
        kQuestion,
        kPound,
        kPercent,
        kOpenBracket,
        kCloseBracket,
        kRangeDash,
        kCaret, // a token no rule accepts: it ends the pattern
        kOpenParenthesis,
        kCloseParenthesis,
        kEnd,
        kCharacter,
        kError, // '\' at the end, or '\x' without a hex digit
    };

    // Parse trees deeper than this, or groups nested deeper than kMaxNesting, throw REException:
    // the tree walks recurse, and no sensible pattern comes near either bound.
    static constexpr int kMaxTreeHeight = 4096;
    static constexpr int kMaxNesting = 256;

    // Every character of a character or range node is added to usedChars.
    explicit REParser(RECharacterSet& usedChars);

    // Returns (expression, end of description holding tokenID); an empty pattern gives an epsilon
    // expression. A top-level token that cannot continue the expression ends it; the rest of the
    // pattern is ignored. Throws the REException family; a partial tree is deleted, but positions
    // and characters already used stay taken.
    std::unique_ptr<REConcatNode> ParseExpression(const char* pattern, bool caseSensitive, int16_t tokenID);

private:
    struct Parsed {
        std::unique_ptr<RENode> node;
        int height;
    };

    void GetNextToken();
    void Expect(TokenKind kind) const;

    Parsed ParseAlternatives();
    Parsed ParseSequence();
    Parsed ParsePostfix();
    Parsed ParsePrimary();
    Parsed ParseList();
    Parsed MakeCharacter(unsigned char c);
    Parsed MakeRange(unsigned char lo, unsigned char hi);

    template <typename Node>
    static Parsed Wrap(Parsed child);
    template <typename Node>
    static Parsed Join(Parsed left, Parsed right);
    static void CheckHeight(int height);

    RECharacterSet& mUsedChars;
    const unsigned char* mInput = nullptr;
    bool mCaseSensitive = true;
    TokenKind mToken = kEnd;
    unsigned char mTokenChar = 0;
    int mNesting = 0;
};
