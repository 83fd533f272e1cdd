#include "RENode.h"

REPositionCollection RENode::gThePositions;

RENode::~RENode() = default;

void RENode::ComputeFollowPos(REFollowTable&) {}

void RENode::ConsolidateLastPos(REPositionSet& set) const
{
    set |= mLastPos;
}

void RENode::ConsolidateFirstPos(REPositionSet& set) const
{
    set |= mFirstPos;
}

void RENode::AddToFollow(REFollowTable& follow, const REPositionSet& from, const REPositionSet& to)
{
    from.ForEach([&](uint32_t p) { follow[p] |= to; });
}
