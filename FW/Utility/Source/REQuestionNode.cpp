#include "REQuestionNode.h"

void REQuestionNode::ComputeFirstAndLastPos()
{
    mChild->ComputeFirstAndLastPos();
    mNullable = true;
    mFirstPos = mChild->GetFirstPos();
    mLastPos = mChild->GetLastPos();
}
