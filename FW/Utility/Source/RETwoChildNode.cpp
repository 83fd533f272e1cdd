#include "RETwoChildNode.h"

RETwoChildNode::RETwoChildNode(std::unique_ptr<RENode> left, std::unique_ptr<RENode> right)
    : mLeft(std::move(left)), mRight(std::move(right))
{
}

void RETwoChildNode::ComputeFollowPos(REFollowTable& follow)
{
    mLeft->ComputeFollowPos(follow);
    mRight->ComputeFollowPos(follow);
}

void RETwoChildNode::ConsolidateLastPos(REPositionSet& set) const
{
    RENode::ConsolidateLastPos(set);
    mLeft->ConsolidateLastPos(set);
    mRight->ConsolidateLastPos(set);
}

void RETwoChildNode::ConsolidateFirstPos(REPositionSet& set) const
{
    RENode::ConsolidateFirstPos(set);
    mLeft->ConsolidateFirstPos(set);
    mRight->ConsolidateFirstPos(set);
}
