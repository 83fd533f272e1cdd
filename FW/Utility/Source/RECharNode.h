// A leaf for one character occurrence: one position.
#pragma once

#include "RENode.h"

class RECharNode : public RENode {
public:
    // Takes the next position for c; throws RETooManyPositions when none is left.
    explicit RECharNode(unsigned char c);

    void ComputeFirstAndLastPos() override;

    unsigned char GetCharacter() const { return mCharacter; }
    uint16_t GetPosition() const { return mPosition; }

private:
    unsigned char mCharacter;
    uint16_t mPosition;
};
