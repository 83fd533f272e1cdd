// A node of a pattern's parse tree. Leaves stand for positions (character occurrences); inner
// nodes combine their children's nullable flag and first, last and follow positions, the input of
// the lexer's direct pattern-to-automaton construction. Every node owns its children.
#pragma once

#include "FWStaticSet.h"
#include "REPositionCollection.h"

#include <cstdint>
#include <vector>

using REPositionSet = FWStaticSet<2048, uint32_t>;
using RECharacterSet = FWStaticSet<256, unsigned char>;
// One set of following positions per position.
using REFollowTable = std::vector<REPositionSet>;

class RENode {
public:
    // Numbers the positions of the lexer under construction.
    static REPositionCollection gThePositions;

    virtual ~RENode();
    RENode(const RENode&) = delete;
    RENode& operator=(const RENode&) = delete;

    // Computes nullable, first and last positions of this subtree, children first.
    virtual void ComputeFirstAndLastPos() = 0;
    // Adds this subtree's contributions to the follow table (first and last positions computed).
    virtual void ComputeFollowPos(REFollowTable& follow);
    // Add this node's own last (first) positions to set, then those of every node below it.
    virtual void ConsolidateLastPos(REPositionSet& set) const;
    virtual void ConsolidateFirstPos(REPositionSet& set) const;

    bool IsNullable() const { return mNullable; }
    const REPositionSet& GetFirstPos() const { return mFirstPos; }
    const REPositionSet& GetLastPos() const { return mLastPos; }

protected:
    RENode() = default;

    // follow(p) |= to, for every p in from.
    static void AddToFollow(REFollowTable& follow, const REPositionSet& from, const REPositionSet& to);

    REPositionSet mFirstPos;
    REPositionSet mLastPos;
    bool mNullable = false;
};
