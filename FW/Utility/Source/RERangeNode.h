// A leaf for a bracketed range lo-hi: one position per character it covers, any one of which
// starts and ends it.
#pragma once

#include "RENode.h"

class RERangeNode : public RENode {
public:
    // Takes hi - lo + 1 consecutive positions; throws RETooManyPositions when they do not fit.
    RERangeNode(unsigned char lo, unsigned char hi);

    void ComputeFirstAndLastPos() override;

    unsigned char GetLow() const { return mLow; }
    unsigned char GetHigh() const { return mHigh; }
    uint16_t GetFirstPosition() const { return mFirstPosition; }

private:
    unsigned char mLow;
    unsigned char mHigh;
    uint16_t mFirstPosition;
};
