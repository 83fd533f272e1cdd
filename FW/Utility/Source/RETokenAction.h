// Base of the actions a lexer can attach to a token: made by the description's factory when the
// token is scanned, given the token's text, then told so.
#pragma once

#include <cstddef>
#include <string>

class RETokenAction {
public:
    virtual ~RETokenAction();

    // Called once the lexeme is set. Does nothing here.
    virtual void TokenScanned();

    void SetLexeme(const char* text, size_t length) { mLexeme.assign(text, length); }
    const std::string& GetLexeme() const { return mLexeme; }

private:
    std::string mLexeme;
};

// Makes a new action (the caller of GetNextToken owns it).
using REActionFactory = RETokenAction* (*)();
