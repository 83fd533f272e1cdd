#include "REEpsilonNode.h"

REEpsilonNode::REEpsilonNode()
{
    mNullable = true;
}

void REEpsilonNode::ComputeFirstAndLastPos()
{
    mNullable = true;
}
