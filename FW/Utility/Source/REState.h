// A state of the deterministic automaton while a lexer is being finished: the set of pattern
// positions it stands for, its transitions by symbol, the token it accepts, and the bookkeeping of
// minimisation and packing. The operations on the whole state list run in the order the lexer
// calls them: initial partitions, refinement, merging, live and reachable marks, renumbering.
#pragma once

#include "RENode.h"
#include "RETokenAction.h"

#include <cstdint>
#include <memory>
#include <vector>

class REState {
public:
    static constexpr uint16_t kNone = 0xFFFF;  // no state, no partition; the id of a removed state
    static constexpr int16_t kNoToken = -3;     // the state ends no description

    // States in creation order: entry i is the state created i-th, whose first id was i.
    using List = std::vector<std::unique_ptr<REState>>;

    struct Transition {
        uint8_t symbol;
        uint16_t target; // index of the target in the state list
    };

    // Resets the counters for a new automaton over numSyms symbols.
    static void PrepareForNewStates(int numSyms);
    // Ids are 16 bits with kNone reserved: false once every id is taken.
    static bool CanCreateState() { return gNumStateIDs < kNone; }

    static int gNumSyms;
    static uint32_t gNumStateIDs;
    static uint32_t gNumPartitionIDs;

    // Takes the next id; the state accepts no token until SetToken.
    explicit REState(const REPositionSet& positions);
    REState(const REState&) = delete;
    REState& operator=(const REState&) = delete;

    // Identity.
    uint16_t GetIndex() const { return mIndex; }
    uint16_t GetStateID() const { return mStateID; }
    bool IsRemoved() const { return mStateID == kNone; }
    const REPositionSet& GetPositions() const { return mPositions; }

    // Transitions, added in increasing symbol order, at most one per symbol.
    void AddTransition(uint8_t symbol, uint16_t target) { mTransitions.push_back({symbol, target}); }
    const std::vector<Transition>& GetTransitions() const { return mTransitions; }

    // Accepted token.
    void SetToken(int16_t token, REActionFactory action)
    {
        mToken = token;
        mAction = action;
    }
    int16_t GetToken() const { return mToken; }
    REActionFactory GetAction() const { return mAction; }

    // Minimisation and packing.
    uint16_t GetPartition() const { return mPartition; }
    bool IsLive() const { return mLive; }
    bool IsReachable() const { return mReachable; }
    uint16_t GetBase() const { return mBase; }
    void SetBase(uint16_t base) { mBase = base; }

    // Puts states with the same token and action into one partition, numbered in order of opening.
    static void MakeInitialPartitions(List& states);
    // Splits partitions until, within each, all states lead on every symbol into the same
    // partition or all have no transition on it. Returns whether anything was split.
    static bool ExpandPartitions(List& states);
    // Removes every state but the earliest of its partition and points transitions at that one.
    static void MergePartitions(List& states);
    // Live: accepts a token or leads to a live state.
    static void MarkLiveStates(List& states);
    // Reachable from the start state (the first in the list).
    static void MarkReachableStates(List& states);
    // Removes the states that are not both live and reachable (but never the start state) and the
    // transitions into them, and numbers the rest 0, 1, 2 ... in list order. Returns their count.
    static uint16_t RenumberStates(List& states);

private:
    uint16_t mIndex;
    uint16_t mStateID;
    REPositionSet mPositions;
    std::vector<Transition> mTransitions;
    uint16_t mPartition = kNone;
    int16_t mToken = kNoToken;
    REActionFactory mAction = nullptr;
    uint16_t mBase = 0;
    bool mLive = false;
    bool mReachable = false;
};
