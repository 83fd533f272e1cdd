#include "REPoundNode.h"

void REPoundNode::ComputeFirstAndLastPos()
{
    mChild->ComputeFirstAndLastPos();
    mNullable = false;
    mFirstPos = mChild->GetFirstPos();
    mLastPos.Clear();
    mChild->ConsolidateLastPos(mLastPos);
}
