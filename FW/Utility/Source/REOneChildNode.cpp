#include "REOneChildNode.h"

REOneChildNode::REOneChildNode(std::unique_ptr<RENode> child) : mChild(std::move(child)) {}

void REOneChildNode::ComputeFollowPos(REFollowTable& follow)
{
    mChild->ComputeFollowPos(follow);
}

void REOneChildNode::ConsolidateLastPos(REPositionSet& set) const
{
    RENode::ConsolidateLastPos(set);
    mChild->ConsolidateLastPos(set);
}

void REOneChildNode::ConsolidateFirstPos(REPositionSet& set) const
{
    RENode::ConsolidateFirstPos(set);
    mChild->ConsolidateFirstPos(set);
}
