#include "REConcatNode.h"

void REConcatNode::ComputeFirstAndLastPos()
{
    mLeft->ComputeFirstAndLastPos();
    mRight->ComputeFirstAndLastPos();
    mNullable = mLeft->IsNullable() && mRight->IsNullable();
    mFirstPos = mLeft->GetFirstPos();
    if (mLeft->IsNullable())
        mFirstPos |= mRight->GetFirstPos();
    mLastPos = mRight->GetLastPos();
    if (mRight->IsNullable())
        mLastPos |= mLeft->GetLastPos();
}

void REConcatNode::ComputeFollowPos(REFollowTable& follow)
{
    AddToFollow(follow, mLeft->GetLastPos(), mRight->GetFirstPos());
    RETwoChildNode::ComputeFollowPos(follow);
}
