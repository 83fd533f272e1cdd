// A missing ']' or ')': the token found in its place, its character, and the token expected.
#pragma once

#include "REException.h"
#include "REParser.h"

class REMatchFailed : public REException {
public:
    REMatchFailed(REParser::TokenKind found, unsigned char foundChar, REParser::TokenKind expected)
        : mFound(found), mFoundChar(foundChar), mExpected(expected)
    {
    }
    ~REMatchFailed() override;

    REParser::TokenKind GetFound() const { return mFound; }
    unsigned char GetFoundChar() const { return mFoundChar; }
    REParser::TokenKind GetExpected() const { return mExpected; }

private:
    REParser::TokenKind mFound;
    unsigned char mFoundChar;
    REParser::TokenKind mExpected;
};
