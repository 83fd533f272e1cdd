#include "RECharNode.h"

RECharNode::RECharNode(unsigned char c) : mCharacter(c), mPosition(gThePositions.AllocatePosition(c))
{
    ComputeFirstAndLastPos();
}

void RECharNode::ComputeFirstAndLastPos()
{
    mFirstPos = mPosition;
    mLastPos = mPosition;
}
