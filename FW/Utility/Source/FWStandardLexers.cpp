#include "FWStandardLexers.h"

#include "FWString.h"
#include "RELexer.h"

namespace {

// Every pattern ends in '%', so each prefix of a valid value, the empty one included, is accepted
// while the value is being typed. White space inside a pattern is skipped; '.' is a literal full
// stop, and ',' is accepted as the decimal separator in its place.
const char* const kUnsignedInteger =
    R"PAT(((\+?)([0-9]+))%)PAT";
const char* const kSignedInteger =
    R"PAT((([\+ \-]?)([0-9]+))%)PAT";
const char* const kUnsignedReal =
    R"PAT(((\+?)(([0-9]+)|(((((([0-9]+).) | (([0-9]+),)(([0-9]+)?)) |((([0-9]+)?)(.([0-9]+)) | (,([0-9]+))))(((e|E)([\+ \-]?)([0-9]+))?)) |(([0-9]+)((e|E)([\+ \-]?)([0-9]+))))))%)PAT";
const char* const kSignedReal =
    R"PAT((([\+ \-]?)(([0-9]+)|(((((([0-9]+).) | (([0-9]+),)(([0-9]+)?)) |((([0-9]+)?)(.([0-9]+)) | (,([0-9]+))))(((e|E)([\+ \-]?)([0-9]+))?)) |(([0-9]+)((e|E)([\+ \-]?)([0-9]+))))))%)PAT";
const char* const kOnOff =
    R"PAT((on | off)%)PAT";
// An item is '@', then either an unsigned number, optionally after one of + - * / ^ and
// optionally followed by '%', or one of # ! $; further items follow, each after ';'.
const char* const kExpressionList =
    R"PAT((\@((([\+ \- \* \/ \^]?(([0-9]+)|(((((([0-9]+).) | (([0-9]+),)(([0-9]+)?)) |((([0-9]+)?)(.([0-9]+)) | (,([0-9]+))))(((e|E)([\+ \-]?)([0-9]+))?)) |(([0-9]+)((e|E)([\+ \-]?)([0-9]+)))))\%?)| [\# \! \$] )?)(\; \@((([\+ \- \* \/ \^]?(([0-9]+)|(((((([0-9]+).) | (([0-9]+),)(([0-9]+)?)) |((([0-9]+)?)(.([0-9]+)) | (,([0-9]+))))(((e|E)([\+ \-]?)([0-9]+))?)) |(([0-9]+)((e|E)([\+ \-]?)([0-9]+)))))\%?)| [\# \! \$] )?))*)%)PAT";

constexpr int kLexerCount = 11;
constexpr int kExpressionListType = 5;

// Lexer i accepts the patterns of row i: one per value type, then each of types 0-4 with the
// expression list as well.
const char* const kLexerPatterns[kLexerCount][2] = {
    {kUnsignedInteger, nullptr},
    {kSignedInteger, nullptr},
    {kUnsignedReal, nullptr},
    {kSignedReal, nullptr},
    {kOnOff, nullptr},
    {kExpressionList, nullptr},
    {kUnsignedInteger, kExpressionList},
    {kSignedInteger, kExpressionList},
    {kUnsignedReal, kExpressionList},
    {kSignedReal, kExpressionList},
    {kOnOff, kExpressionList},
};

RELexer sLexers[kLexerCount];
bool sBuilt = false;

} // namespace

void FWInitStandardLexers()
{
    if (sBuilt)
        return;
    sBuilt = true;
    for (int i = 0; i < kLexerCount; ++i) {
        RELexer& lexer = sLexers[i];
        lexer.BeginLexer(false, false);
        for (const char* pattern : kLexerPatterns[i])
            if (pattern != nullptr)
                lexer.AddTokenDescription(pattern, 1, nullptr);
        lexer.FinishLexer();
    }
}

RELexer* FWGetLexerForType(int type, bool allowExpression)
{
    FWInitStandardLexers();
    if (allowExpression && type != kExpressionListType)
        return &sLexers[type + 6];
    return &sLexers[type];
}

// FWString reaches the standard lexers through its class-wide operations.
void FWString::InitStandardLexers()
{
    FWInitStandardLexers();
}

RELexer* FWString::GetLexerForType(Type type, bool allowExpression)
{
    return FWGetLexerForType(type, allowExpression);
}
