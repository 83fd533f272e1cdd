#include "REState.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

int REState::gNumSyms = 0;
uint32_t REState::gNumStateIDs = 0;
uint32_t REState::gNumPartitionIDs = 0;

void REState::PrepareForNewStates(int numSyms)
{
    gNumSyms = numSyms;
    gNumStateIDs = 0;
    gNumPartitionIDs = 0;
}

REState::REState(const REPositionSet& positions)
    : mIndex(static_cast<uint16_t>(gNumStateIDs)), mStateID(static_cast<uint16_t>(gNumStateIDs)), mPositions(positions)
{
    ++gNumStateIDs;
}

void REState::MakeInitialPartitions(List& states)
{
    std::map<std::pair<int16_t, uintptr_t>, uint16_t> opened;
    gNumPartitionIDs = 0;
    for (auto& state : states) {
        auto key = std::make_pair(state->mToken, reinterpret_cast<uintptr_t>(state->mAction));
        auto [it, isNew] = opened.emplace(key, static_cast<uint16_t>(gNumPartitionIDs));
        if (isNew)
            ++gNumPartitionIDs;
        state->mPartition = it->second;
    }
}

namespace {

// The blocks of a partition of the states, kept as ranges of one permutation so that a block is
// split by moving its marked members to its front.
class Blocks {
public:
    Blocks(const REState::List& states, uint32_t blockCount)
        : mElements(states.size()), mLocation(states.size()), mBlockOf(states.size()), mStart(blockCount + 1),
          mEnd(blockCount), mMarked(blockCount, 0)
    {
        for (auto& state : states)
            ++mStart[state->GetPartition() + 1];
        for (uint32_t b = 0; b < blockCount; ++b) {
            mStart[b + 1] += mStart[b];
            mEnd[b] = mStart[b];
        }
        mStart.pop_back();
        for (auto& state : states) {
            uint32_t b = state->GetPartition();
            uint32_t s = state->GetIndex();
            mElements[mEnd[b]] = s;
            mLocation[s] = mEnd[b]++;
            mBlockOf[s] = b;
        }
    }

    uint32_t Count() const { return static_cast<uint32_t>(mStart.size()); }
    uint32_t BlockOf(uint32_t s) const { return mBlockOf[s]; }
    uint32_t Size(uint32_t b) const { return mEnd[b] - mStart[b]; }
    template <typename F>
    void ForEachMember(uint32_t b, F&& f) const
    {
        for (uint32_t i = mStart[b]; i < mEnd[b]; ++i)
            f(mElements[i]);
    }

    // Splits every block that holds some but not all of splitter's states (no state twice) into
    // the part inside the splitter (a new block) and the rest; onSplit(old, new) follows each.
    template <typename F>
    void Split(const std::vector<uint32_t>& splitter, F&& onSplit)
    {
        mTouched.clear();
        for (uint32_t s : splitter) {
            uint32_t b = mBlockOf[s];
            if (mMarked[b] == 0)
                mTouched.push_back(b);
            uint32_t to = mStart[b] + mMarked[b]++;
            uint32_t other = mElements[to];
            std::swap(mElements[mLocation[s]], mElements[to]);
            mLocation[other] = mLocation[s];
            mLocation[s] = to;
        }
        for (uint32_t b : mTouched) {
            uint32_t marked = mMarked[b];
            mMarked[b] = 0;
            if (marked == Size(b))
                continue;
            uint32_t fresh = Count();
            mStart.push_back(mStart[b]);
            mEnd.push_back(mStart[b] + marked);
            mMarked.push_back(0);
            mStart[b] += marked;
            for (uint32_t i = mStart[fresh]; i < mEnd[fresh]; ++i)
                mBlockOf[mElements[i]] = fresh;
            onSplit(b, fresh);
        }
    }

private:
    std::vector<uint32_t> mElements;
    std::vector<uint32_t> mLocation;
    std::vector<uint32_t> mBlockOf;
    std::vector<uint32_t> mStart;
    std::vector<uint32_t> mEnd;
    std::vector<uint32_t> mMarked;
    std::vector<uint32_t> mTouched;
};

} // namespace

// Hopcroft's refinement, in the form that suits transitions that may be missing: every initial
// block starts as a splitter. The result is the coarsest refinement of the initial partitions in
// which states of one partition agree, symbol by symbol, on the partition of their targets (or
// on having none), so it does not depend on the order of the splits.
bool REState::ExpandPartitions(List& states)
{
    if (states.empty())
        return false;
    uint32_t initialCount = gNumPartitionIDs;
    Blocks blocks(states, initialCount);

    // Transitions backwards, grouped by target: (symbol, source).
    std::vector<uint32_t> inStart(states.size() + 1, 0);
    for (auto& state : states)
        for (const Transition& t : state->mTransitions)
            ++inStart[t.target + 1];
    for (size_t i = 0; i < states.size(); ++i)
        inStart[i + 1] += inStart[i];
    std::vector<Transition> incoming(inStart.back());
    {
        std::vector<uint32_t> fill(inStart.begin(), inStart.end() - 1);
        for (auto& state : states)
            for (const Transition& t : state->mTransitions)
                incoming[fill[t.target]++] = {t.symbol, state->mIndex};
    }

    std::vector<uint32_t> work;
    std::vector<bool> inWork(initialCount, true);
    for (uint32_t b = initialCount; b-- > 0;)
        work.push_back(b);

    std::vector<std::vector<uint32_t>> bySymbol(gNumSyms);
    std::vector<uint8_t> symbolsUsed;
    auto onSplit = [&](uint32_t old, uint32_t fresh) {
        inWork.push_back(false);
        uint32_t add = inWork[old] || blocks.Size(fresh) <= blocks.Size(old) ? fresh : old;
        if (!inWork[add]) {
            inWork[add] = true;
            work.push_back(add);
        }
    };

    while (!work.empty()) {
        uint32_t splitter = work.back();
        work.pop_back();
        inWork[splitter] = false;

        symbolsUsed.clear();
        blocks.ForEachMember(splitter, [&](uint32_t target) {
            for (uint32_t i = inStart[target]; i < inStart[target + 1]; ++i) {
                const Transition& t = incoming[i];
                if (bySymbol[t.symbol].empty())
                    symbolsUsed.push_back(t.symbol);
                bySymbol[t.symbol].push_back(t.target);
            }
        });
        for (uint8_t symbol : symbolsUsed) {
            blocks.Split(bySymbol[symbol], onSplit);
            bySymbol[symbol].clear();
        }
    }

    for (auto& state : states)
        state->mPartition = static_cast<uint16_t>(blocks.BlockOf(state->mIndex));
    gNumPartitionIDs = blocks.Count();
    return gNumPartitionIDs != initialCount;
}

void REState::MergePartitions(List& states)
{
    std::vector<uint16_t> earliest(gNumPartitionIDs, kNone);
    for (auto& state : states) {
        uint16_t& first = earliest[state->mPartition];
        if (first == kNone)
            first = state->mIndex;
        else
            state->mStateID = kNone;
    }
    for (auto& state : states) {
        if (state->IsRemoved())
            continue;
        for (Transition& t : state->mTransitions)
            t.target = earliest[states[t.target]->mPartition];
    }
}

void REState::MarkLiveStates(List& states)
{
    std::vector<uint32_t> inStart(states.size() + 1, 0);
    for (auto& state : states)
        if (!state->IsRemoved())
            for (const Transition& t : state->mTransitions)
                ++inStart[t.target + 1];
    for (size_t i = 0; i < states.size(); ++i)
        inStart[i + 1] += inStart[i];
    std::vector<uint16_t> sources(inStart.back());
    std::vector<uint32_t> fill(inStart.begin(), inStart.end() - 1);
    for (auto& state : states)
        if (!state->IsRemoved())
            for (const Transition& t : state->mTransitions)
                sources[fill[t.target]++] = state->mIndex;

    std::vector<uint16_t> stack;
    for (auto& state : states) {
        state->mLive = state->mToken != kNoToken;
        if (state->mLive && !state->IsRemoved())
            stack.push_back(state->mIndex);
    }
    while (!stack.empty()) {
        uint16_t live = stack.back();
        stack.pop_back();
        for (uint32_t i = inStart[live]; i < inStart[live + 1]; ++i) {
            REState& source = *states[sources[i]];
            if (!source.mLive) {
                source.mLive = true;
                stack.push_back(source.mIndex);
            }
        }
    }
}

void REState::MarkReachableStates(List& states)
{
    for (auto& state : states)
        state->mReachable = false;
    if (states.empty())
        return;
    std::vector<uint16_t> stack{0};
    states[0]->mReachable = true;
    while (!stack.empty()) {
        REState& state = *states[stack.back()];
        stack.pop_back();
        for (const Transition& t : state.mTransitions) {
            REState& target = *states[t.target];
            if (!target.mReachable) {
                target.mReachable = true;
                stack.push_back(target.mIndex);
            }
        }
    }
}

uint16_t REState::RenumberStates(List& states)
{
    // The start state stays even when nothing can be accepted from it: the scanner starts there.
    for (auto& state : states)
        if (state->mIndex != 0 && !(state->mLive && state->mReachable))
            state->mStateID = kNone;
    uint16_t next = 0;
    for (auto& state : states) {
        if (state->IsRemoved())
            continue;
        auto& transitions = state->mTransitions;
        transitions.erase(std::remove_if(transitions.begin(), transitions.end(),
                                         [&](const Transition& t) { return states[t.target]->IsRemoved(); }),
                          transitions.end());
        state->mStateID = next++;
    }
    return next;
}
