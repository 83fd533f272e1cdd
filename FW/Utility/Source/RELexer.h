// A compiled token recogniser. A client begins the lexer, adds token descriptions (a pattern, a
// token id, an optional action factory) and finishes it; finishing builds a deterministic
// automaton straight from the patterns' positions, minimises it and packs it into comb tables.
// The lexer then splits a text into tokens by longest match, or tells whether a text is one token
// or a run of tokens and separators. Only one lexer may be under construction at a time.
#pragma once

#include "RENode.h"
#include "RETokenAction.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class REConcatNode;
class REState;
using REStateList = std::vector<std::unique_ptr<REState>>;

class RELexer {
public:
    // Token ids with a meaning of their own.
    static constexpr int16_t kEndOfText = -1;
    static constexpr int16_t kSeparator = -2; // passed over when skipping; "\x20+" with skipSpaces
    static constexpr int16_t kNoMatch = -3;   // no token starts here; one byte is passed over
    static constexpr int16_t kNotReady = -4;  // no input, being built, or refused

    // The packed tables hold at most this many transitions' slots. A lexer that needs more, or
    // whose automaton needs more states than 16-bit ids can number, is refused when finished: it
    // keeps no tables, and every scan answers kNotReady, so it accepts nothing.
    static constexpr int kMaxSlots = 2048;

    RELexer();
    ~RELexer();
    RELexer(const RELexer&) = delete;
    RELexer& operator=(const RELexer&) = delete;

    // Building.
    // Forgets tables, input and pending descriptions and starts a new lexer. With skipSpaces, runs
    // of spaces are separators; without caseSensitive, letters match in either case.
    void BeginLexer(bool skipSpaces, bool caseSensitive);
    // Adds a description; a pattern that does not parse is dropped, as is an id of kEndOfText or
    // kNotReady. Between BeginLexer and FinishLexer only.
    void AddTokenDescription(const char* pattern, int16_t tokenID, REActionFactory action = nullptr);
    // Builds the tables. Without any description the lexer stays under construction.
    void FinishLexer();

    // Scanning. The text must stay alive while it is scanned; a zero byte ends it.
    void LexString(const char* text);
    void LexString(const char* text, size_t length);
    // The next token id. With skipSeparators, separators are passed over. When action is not null
    // it receives a new action for the token (owned by the caller), or null.
    int16_t GetNextToken(RETokenAction** action, bool skipSeparators);

    // Whole texts; the current scan is left as it was.
    // True when text is one token, with separators around it allowed, or nothing at all.
    bool AcceptsOneToken(const char* text);
    bool AcceptsOneToken(const char* text, size_t length);
    // True when text is a run of tokens, each of them recognised, with separators between them.
    bool AcceptsMultipleTokens(const char* text);
    bool AcceptsMultipleTokens(const char* text, size_t length);

private:
    struct tTokenRecord {
        std::unique_ptr<REConcatNode> tree;
        int16_t tokenID;
        REActionFactory action;
    };

    // Where a scan stands; saved and restored around the Accepts operations.
    struct ScanState {
        const unsigned char* current = nullptr;
        const unsigned char* end = nullptr;
        uint16_t tokenCount = 0;
    };

    // Finishing: false when the lexer is refused.
    bool BuildTables();
    std::unique_ptr<RENode> JoinDescriptions(std::vector<uint16_t>& endPositions);
    int MakeSymbolMap();
    bool MakeStates(RENode& root, const std::vector<uint16_t>& endPositions, REStateList& states);
    bool PackTables(REStateList& states, uint16_t stateCount, int numSyms);
    void FreeTables();
    void ForgetDescriptions();
    bool IsReady() const { return !mBuilding && !mBase.empty(); }
    bool AcceptsOneTokenNow();
    bool AcceptsMultipleTokensNow();

    uint8_t mSymbolMap[256];
    ScanState mScan;

    std::vector<uint16_t> mBase;  // per state
    std::vector<uint16_t> mNext;  // per slot
    std::vector<uint16_t> mCheck; // per slot: the state owning the slot, or 0xFFFF
    std::vector<int16_t> mToken;  // per state
    std::vector<REActionFactory> mAction; // per state

    std::vector<tTokenRecord> mDescriptions;
    bool mBuilding = false;
    bool mCaseSensitive = true;
    RECharacterSet mUsedChars;
};
