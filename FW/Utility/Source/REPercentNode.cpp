#include "REPercentNode.h"

void REPercentNode::ComputeFirstAndLastPos()
{
    REPoundNode::ComputeFirstAndLastPos();
    mNullable = true;
}
