#include "RELexer.h"

#include "FWProgrammerMessage.h"
#include "REConcatNode.h"
#include "REEndOfRENode.h"
#include "REException.h"
#include "REOrNode.h"
#include "REParser.h"
#include "REState.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>

namespace {

constexpr uint8_t kNoSymbol = 255;
constexpr uint16_t kEmptySlot = 0xFFFF;
constexpr const char* kSourcePath = "FW/Utility/Source/RELexer";

// The positions are global, so one lexer at a time owns them from BeginLexer on.
const RELexer* sBuilder = nullptr;

uint64_t hashPositions(const REPositionSet& set)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (size_t u = 0; u < REPositionSet::kUnitCount; ++u) {
        h ^= set.Unit(u);
        h *= 0x100000001b3ull;
    }
    return h;
}

} // namespace

RELexer::RELexer()
{
    std::memset(mSymbolMap, kNoSymbol, sizeof mSymbolMap);
}

RELexer::~RELexer()
{
    if (sBuilder == this)
        sBuilder = nullptr;
}

void RELexer::BeginLexer(bool skipSpaces, bool caseSensitive)
{
    FreeTables();
    mScan = ScanState();
    ForgetDescriptions();
    mUsedChars.Clear();
    RENode::gThePositions.ResetPositionCollection();
    sBuilder = this;
    mCaseSensitive = caseSensitive;
    mBuilding = true;
    if (skipSpaces)
        AddTokenDescription("\\x20+", kSeparator, nullptr);
}

void RELexer::AddTokenDescription(const char* pattern, int16_t tokenID, REActionFactory action)
{
    if (!mBuilding || tokenID == kEndOfText || tokenID == kNotReady)
        return;
    if (sBuilder != this) {
        fw_programmer_message("Another lexer was begun while this one was being built", kSourcePath, __LINE__);
        return;
    }
    try {
        REParser parser(mUsedChars);
        mDescriptions.push_back({parser.ParseExpression(pattern, mCaseSensitive, tokenID), tokenID, action});
    } catch (const REException&) {
        // A pattern that does not parse is dropped; its positions stay taken until BeginLexer.
    }
}

void RELexer::FinishLexer()
{
    if (!mBuilding || mDescriptions.empty())
        return;
    if (sBuilder != this) {
        fw_programmer_message("Another lexer was begun while this one was being built", kSourcePath, __LINE__);
    } else if (!BuildTables()) {
        FreeTables();
        fw_programmer_message("The lexer is too large for its tables; it will accept nothing", kSourcePath,
                              __LINE__);
    }
    ForgetDescriptions();
    if (sBuilder == this) {
        RENode::gThePositions.ResetPositionCollection();
        sBuilder = nullptr;
    }
    mBuilding = false;
}

bool RELexer::BuildTables()
{
    std::vector<uint16_t> endPositions;
    std::unique_ptr<RENode> root = JoinDescriptions(endPositions);
    const int numSyms = MakeSymbolMap();

    REState::PrepareForNewStates(numSyms);
    REState::List states;
    if (!MakeStates(*root, endPositions, states))
        return false;
    root.reset();

    REState::MakeInitialPartitions(states);
    REState::ExpandPartitions(states);
    REState::MergePartitions(states);
    REState::MarkLiveStates(states);
    REState::MarkReachableStates(states);
    const uint16_t stateCount = REState::RenumberStates(states);
    return PackTables(states, stateCount, numSyms);
}

std::unique_ptr<RENode> RELexer::JoinDescriptions(std::vector<uint16_t>& endPositions)
{
    // ((d1 | d2) | d3) ..., in the order added.
    std::unique_ptr<RENode> root;
    for (tTokenRecord& d : mDescriptions) {
        endPositions.push_back(static_cast<const REEndOfRENode*>(d.tree->GetRightChild())->GetPosition());
        if (root)
            root = std::make_unique<REOrNode>(std::move(root), std::move(d.tree));
        else
            root = std::move(d.tree);
    }
    return root;
}

int RELexer::MakeSymbolMap()
{
    // The used characters 1-255 in increasing order; the zero byte ends the text.
    int numSyms = 0;
    std::memset(mSymbolMap, kNoSymbol, sizeof mSymbolMap);
    for (uint32_t c = 1; c < 256; ++c)
        if (mUsedChars & c)
            mSymbolMap[c] = static_cast<uint8_t>(numSyms++);
    return numSyms;
}

// Subset construction over positions: a state is the set of positions that can come next, the
// first one the root's first positions. Fails when the states outnumber their 16-bit ids.
bool RELexer::MakeStates(RENode& root, const std::vector<uint16_t>& endPositions, REState::List& states)
{
    root.ComputeFirstAndLastPos();
    const uint16_t numPositions = RENode::gThePositions.GetNumPositions();
    REFollowTable follow(numPositions);
    root.ComputeFollowPos(follow);
    std::vector<uint8_t> positionSymbol(numPositions, kNoSymbol);
    for (int c = 1; c < 256; ++c)
        for (uint16_t p : RENode::gThePositions.GetCharacterPositions(static_cast<unsigned char>(c)))
            positionSymbol[p] = mSymbolMap[c];

    // Positions with equal follow sets share a class (the positions of a range always do). A
    // symbol's target depends only on the classes of the state's positions of that symbol, so
    // symbols with the same classes share one union and one look-up.
    std::vector<uint16_t> followClass(numPositions);
    std::vector<uint16_t> classPosition; // a position of each class
    std::unordered_multimap<uint64_t, uint16_t> classesByHash;
    for (uint16_t p = 0; p < numPositions; ++p) {
        uint64_t hash = hashPositions(follow[p]);
        auto [first, last] = classesByHash.equal_range(hash);
        auto same = std::find_if(first, last, [&](const auto& e) { return follow[classPosition[e.second]] == follow[p]; });
        if (same != last) {
            followClass[p] = same->second;
            continue;
        }
        followClass[p] = static_cast<uint16_t>(classPosition.size());
        classesByHash.emplace(hash, followClass[p]);
        classPosition.push_back(p);
    }

    constexpr int kRefused = -1;
    constexpr int kNoTransition = -2;
    std::unordered_multimap<uint64_t, uint16_t> statesByHash;
    auto findOrAddState = [&](const REPositionSet& positions) -> int {
        uint64_t hash = hashPositions(positions);
        auto [first, last] = statesByHash.equal_range(hash);
        for (auto it = first; it != last; ++it)
            if (states[it->second]->GetPositions() == positions)
                return it->second;
        if (!REState::CanCreateState())
            return kRefused;
        auto state = std::make_unique<REState>(positions);
        // The earliest description ending here gives the token.
        for (size_t d = 0; d < mDescriptions.size(); ++d) {
            if (positions & endPositions[d]) {
                state->SetToken(mDescriptions[d].tokenID, mDescriptions[d].action);
                break;
            }
        }
        uint16_t index = state->GetIndex();
        states.push_back(std::move(state));
        statesByHash.emplace(hash, index);
        return index;
    };

    findOrAddState(root.GetFirstPos());
    std::vector<std::vector<uint16_t>> classesBySymbol(REState::gNumSyms);
    std::vector<uint8_t> touched;
    std::map<std::vector<uint16_t>, int> targetByClasses;
    REPositionSet next;
    for (size_t i = 0; i < states.size(); ++i) {
        REState& state = *states[i];
        touched.clear();
        state.GetPositions().ForEach([&](uint32_t p) {
            uint8_t symbol = positionSymbol[p];
            if (symbol == kNoSymbol)
                return; // end positions lead nowhere
            if (classesBySymbol[symbol].empty())
                touched.push_back(symbol);
            classesBySymbol[symbol].push_back(followClass[p]);
        });
        // In increasing symbol order, so new states are numbered the same whatever is shared.
        std::sort(touched.begin(), touched.end());
        targetByClasses.clear();
        for (uint8_t symbol : touched) {
            std::vector<uint16_t>& classes = classesBySymbol[symbol];
            std::sort(classes.begin(), classes.end());
            classes.erase(std::unique(classes.begin(), classes.end()), classes.end());
            auto [known, isNew] = targetByClasses.emplace(classes, kNoTransition);
            classes.clear();
            if (isNew) {
                next.Clear();
                for (uint16_t c : known->first)
                    next |= follow[classPosition[c]];
                if (next.IsNotEmpty())
                    known->second = findOrAddState(next);
                if (known->second == kRefused)
                    return false;
            }
            if (known->second != kNoTransition)
                state.AddTransition(symbol, static_cast<uint16_t>(known->second));
        }
    }
    return true;
}

// Comb packing: each state's transitions take the slots base + symbol, the smallest base whose
// slots no earlier state holds. Fails when a slot at kMaxSlots or beyond would be needed.
bool RELexer::PackTables(REState::List& states, uint16_t stateCount, int numSyms)
{
    std::vector<uint8_t> slotUsed(kMaxSlots, 0);
    int firstFree = 0; // every slot below is taken, so no base puts a first symbol below it
    int maxBase = 0;
    for (auto& state : states) {
        if (state->IsRemoved())
            continue;
        const auto& transitions = state->GetTransitions();
        int base = 0;
        if (!transitions.empty()) {
            for (base = std::max(0, firstFree - transitions.front().symbol);; ++base) {
                if (base + transitions.back().symbol >= kMaxSlots)
                    return false;
                bool fits = std::all_of(transitions.begin(), transitions.end(),
                                        [&](const REState::Transition& t) { return !slotUsed[base + t.symbol]; });
                if (fits)
                    break;
            }
            for (const REState::Transition& t : transitions)
                slotUsed[base + t.symbol] = 1;
            while (firstFree < kMaxSlots && slotUsed[firstFree])
                ++firstFree;
        }
        state->SetBase(static_cast<uint16_t>(base));
        maxBase = std::max(maxBase, base);
    }

    // Every state's lookup base + symbol stays inside the tables.
    const size_t tableSize = size_t(numSyms) + size_t(maxBase);
    mBase.assign(stateCount, 0);
    mToken.assign(stateCount, kNoMatch);
    mAction.assign(stateCount, nullptr);
    mNext.assign(tableSize, kEmptySlot);
    mCheck.assign(tableSize, kEmptySlot);
    for (auto& state : states) {
        if (state->IsRemoved())
            continue;
        uint16_t id = state->GetStateID();
        mBase[id] = state->GetBase();
        mToken[id] = state->GetToken();
        mAction[id] = state->GetAction();
        for (const REState::Transition& t : state->GetTransitions()) {
            mNext[state->GetBase() + t.symbol] = states[t.target]->GetStateID();
            mCheck[state->GetBase() + t.symbol] = id;
        }
    }
    return true;
}

void RELexer::FreeTables()
{
    mBase.clear();
    mNext.clear();
    mCheck.clear();
    mToken.clear();
    mAction.clear();
}

void RELexer::ForgetDescriptions()
{
    mDescriptions.clear();
}

void RELexer::LexString(const char* text)
{
    LexString(text, text != nullptr ? std::strlen(text) : 0);
}

void RELexer::LexString(const char* text, size_t length)
{
    if (mBuilding)
        return;
    mScan.current = reinterpret_cast<const unsigned char*>(text);
    mScan.end = mScan.current != nullptr ? mScan.current + length : nullptr;
    mScan.tokenCount = 0;
}

int16_t RELexer::GetNextToken(RETokenAction** action, bool skipSeparators)
{
    if (action != nullptr)
        *action = nullptr;
    if (!IsReady() || mScan.current == nullptr)
        return kNotReady;

    for (;;) {
        const unsigned char* start = mScan.current;
        const unsigned char* last = start;
        int16_t token;
        REActionFactory factory = nullptr;
        bool empty = false;
        if (mScan.current < mScan.end && *mScan.current != 0) {
            // Longest match: run the automaton as far as it goes, remembering the last accept.
            token = kNoMatch;
            uint16_t state = 0;
            for (const unsigned char* p = mScan.current; p < mScan.end; ++p) {
                unsigned char c = *p;
                if (!mCaseSensitive && c >= 'a' && c <= 'z')
                    c = static_cast<unsigned char>(c - 'a' + 'A');
                uint8_t symbol = mSymbolMap[c];
                if (symbol == kNoSymbol)
                    break;
                size_t slot = size_t(mBase[state]) + symbol;
                if (mCheck[slot] != state)
                    break;
                state = mNext[slot];
                if (mToken[state] != kNoMatch) {
                    token = mToken[state];
                    factory = mAction[state];
                    last = p;
                }
            }
            mScan.current = last + 1;
        } else if (mToken[0] != kNoMatch && mScan.tokenCount == 0) {
            // An empty text holds the start state's token once.
            token = mToken[0];
            factory = mAction[0];
            empty = true;
        } else {
            token = kEndOfText;
        }
        // Saturates, so the empty match stays once per text however many tokens it holds.
        if (mScan.tokenCount != 0xFFFF)
            ++mScan.tokenCount;

        if (skipSeparators && token == kSeparator)
            continue;
        if (token == kNoMatch || action == nullptr || factory == nullptr)
            return token;
        RETokenAction* made = factory();
        if (made != nullptr) {
            made->SetLexeme(reinterpret_cast<const char*>(start), empty ? 0 : size_t(last - start) + 1);
            made->TokenScanned();
        }
        *action = made;
        return token;
    }
}

bool RELexer::AcceptsOneToken(const char* text)
{
    return AcceptsOneToken(text, text != nullptr ? std::strlen(text) : 0);
}

bool RELexer::AcceptsOneToken(const char* text, size_t length)
{
    if (mBuilding)
        return false;
    ScanState saved = mScan;
    LexString(text != nullptr ? text : "", text != nullptr ? length : 0);
    bool accepted = AcceptsOneTokenNow();
    mScan = saved;
    return accepted;
}

bool RELexer::AcceptsMultipleTokens(const char* text)
{
    return AcceptsMultipleTokens(text, text != nullptr ? std::strlen(text) : 0);
}

bool RELexer::AcceptsMultipleTokens(const char* text, size_t length)
{
    if (mBuilding)
        return false;
    ScanState saved = mScan;
    LexString(text != nullptr ? text : "", text != nullptr ? length : 0);
    bool accepted = AcceptsMultipleTokensNow();
    mScan = saved;
    return accepted;
}

bool RELexer::AcceptsOneTokenNow()
{
    if (GetNextToken(nullptr, true) == kNoMatch)
        return false;
    return GetNextToken(nullptr, true) == kEndOfText;
}

bool RELexer::AcceptsMultipleTokensNow()
{
    int16_t result;
    do
        result = GetNextToken(nullptr, false);
    while (result == kSeparator);
    if (result == kNoMatch)
        return false;
    for (;;) {
        result = GetNextToken(nullptr, false);
        if (result != kSeparator)
            return result == kEndOfText;
        do
            result = GetNextToken(nullptr, false);
        while (result == kSeparator);
        if (result == kEndOfText)
            return true;
        // Every token after a separator must be recognised too, so "1 x" is refused.
        if (result == kNoMatch)
            return false;
    }
}
