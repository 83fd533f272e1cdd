#include "REPositionCollection.h"

#include "RETooManyPositions.h"

uint16_t REPositionCollection::AllocatePosition(unsigned char c)
{
    if (mCount >= kMaxPositions)
        throw RETooManyPositions();
    mPositions[c].push_back(mCount);
    return mCount++;
}

uint16_t REPositionCollection::AllocatePositionRange(unsigned char lo, unsigned char hi)
{
    if (mCount + (int(hi) - int(lo)) > kMaxPositions - 1)
        throw RETooManyPositions();
    uint16_t first = mCount;
    for (int c = lo; c <= hi; ++c)
        mPositions[c].push_back(mCount++);
    return first;
}

void REPositionCollection::ResetPositionCollection()
{
    mCount = 0;
    for (auto& list : mPositions)
        list.clear();
}
