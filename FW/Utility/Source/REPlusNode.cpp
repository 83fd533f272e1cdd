#include "REPlusNode.h"

void REPlusNode::ComputeFirstAndLastPos()
{
    mChild->ComputeFirstAndLastPos();
    mNullable = false;
    mFirstPos = mChild->GetFirstPos();
    mLastPos = mChild->GetLastPos();
}

void REPlusNode::ComputeFollowPos(REFollowTable& follow)
{
    AddToFollow(follow, mLastPos, mFirstPos);
    REOneChildNode::ComputeFollowPos(follow);
}
