// Compiles arbitrary patterns into a lexer and scans arbitrary text with it.
// Input: a flags byte (bit 0 case-sensitive, bit 1 skip spaces, bit 2 token actions, bits 3-4 the
// number of patterns less one), the patterns each ended by a zero byte, then the text.
#include "FWProgrammerMessage.h"
#include "RELexer.h"

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Bounds that keep one run fast: the automaton of a short pattern can already have thousands of
// states ("[a-z]*a[a-z][a-z]..."), and those of several patterns multiply.
constexpr size_t kMaxPatternBytes = 64;
constexpr size_t kMaxPatterns = 4;
constexpr size_t kMaxTextLength = 1024;

bool quiet(const FWProgrammerMessageInfo&)
{
    return false;
}

RETokenAction* makeAction()
{
    return new RETokenAction;
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Every call passes over at least one byte or ends the text, so a scan takes at most
// length + 2 calls.
void scanAll(RELexer& lexer, const std::string& text, bool skipSeparators, bool withActions)
{
    lexer.LexString(text.data(), text.size());
    for (size_t calls = 0;; ++calls) {
        check(calls <= text.size() + 2);
        RETokenAction* action = nullptr;
        int16_t id = lexer.GetNextToken(withActions ? &action : nullptr, skipSeparators);
        if (action != nullptr) {
            check(action->GetLexeme().size() <= text.size());
            delete action;
        }
        if (id == RELexer::kEndOfText || id == RELexer::kNotReady)
            return;
        check(!(skipSeparators && id == RELexer::kSeparator));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool installed = false;
    if (!installed) {
        FWSetProgrammerMessagePresenter(quiet);
        installed = true;
    }
    if (size == 0)
        return 0;

    const uint8_t flags = data[0];
    const bool caseSensitive = (flags & 1) != 0;
    const bool skipSpaces = (flags & 2) != 0;
    const bool withActions = (flags & 4) != 0;
    const size_t patternCount = std::min<size_t>(kMaxPatterns, 1 + ((flags >> 3) & 3));

    size_t at = 1;
    size_t budget = kMaxPatternBytes;
    std::vector<std::string> patterns;
    while (patterns.size() < patternCount && at < size) {
        size_t end = at;
        while (end < size && data[end] != 0)
            ++end;
        std::string pattern(reinterpret_cast<const char*>(data + at), end - at);
        pattern.resize(std::min(pattern.size(), budget));
        budget -= pattern.size();
        patterns.push_back(pattern);
        at = end + 1;
    }
    std::string text;
    if (at < size)
        text.assign(reinterpret_cast<const char*>(data + at), std::min(size - at, kMaxTextLength));

    const int16_t ids[] = {1, 2, RELexer::kSeparator, RELexer::kNoMatch, RELexer::kEndOfText, 7, RELexer::kNotReady};
    RELexer lexer;
    lexer.BeginLexer(skipSpaces, caseSensitive);
    for (size_t i = 0; i < patterns.size(); ++i)
        lexer.AddTokenDescription(patterns[i].c_str(), ids[(i + flags) % 7], withActions ? makeAction : nullptr);
    lexer.FinishLexer();

    scanAll(lexer, text, true, withActions);
    scanAll(lexer, text, false, withActions);
    bool one = lexer.AcceptsOneToken(text.data(), text.size());
    bool multiple = lexer.AcceptsMultipleTokens(text.c_str());
    (void)one;
    (void)multiple;

    // A lexer that can scan at all accepts the empty text.
    lexer.LexString("");
    if (lexer.GetNextToken(nullptr, true) != RELexer::kNotReady)
        check(lexer.AcceptsOneToken("") && lexer.AcceptsMultipleTokens(""));
    return 0;
}
