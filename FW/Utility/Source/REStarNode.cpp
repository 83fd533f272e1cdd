#include "REStarNode.h"

void REStarNode::ComputeFirstAndLastPos()
{
    mChild->ComputeFirstAndLastPos();
    mNullable = true;
    mFirstPos = mChild->GetFirstPos();
    mLastPos = mChild->GetLastPos();
}

void REStarNode::ComputeFollowPos(REFollowTable& follow)
{
    AddToFollow(follow, mLastPos, mFirstPos);
    REOneChildNode::ComputeFollowPos(follow);
}
