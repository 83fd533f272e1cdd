#include "RERangeNode.h"

RERangeNode::RERangeNode(unsigned char lo, unsigned char hi)
    : mLow(lo), mHigh(hi), mFirstPosition(gThePositions.AllocatePositionRange(lo, hi))
{
    ComputeFirstAndLastPos();
}

void RERangeNode::ComputeFirstAndLastPos()
{
    mFirstPos.Clear();
    for (int c = mLow; c <= mHigh; ++c)
        mFirstPos |= uint32_t(mFirstPosition + (c - mLow));
    mLastPos = mFirstPos;
}
