#include "REOrNode.h"

void REOrNode::ComputeFirstAndLastPos()
{
    mLeft->ComputeFirstAndLastPos();
    mRight->ComputeFirstAndLastPos();
    mNullable = mLeft->IsNullable() || mRight->IsNullable();
    mFirstPos = mLeft->GetFirstPos();
    mFirstPos |= mRight->GetFirstPos();
    mLastPos = mLeft->GetLastPos();
    mLastPos |= mRight->GetLastPos();
}
