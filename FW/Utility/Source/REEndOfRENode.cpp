#include "REEndOfRENode.h"

REEndOfRENode::REEndOfRENode(int16_t tokenID) : mTokenID(tokenID), mPosition(gThePositions.AllocatePosition(0))
{
    ComputeFirstAndLastPos();
}

void REEndOfRENode::ComputeFirstAndLastPos()
{
    mFirstPos = mPosition;
    mLastPos = mPosition;
}
