// The leaf that ends every token description: a position of the zero byte, which no text
// character matches, so reaching it marks a state that accepts the description's token.
#pragma once

#include "RENode.h"

class REEndOfRENode : public RENode {
public:
    explicit REEndOfRENode(int16_t tokenID);

    void ComputeFirstAndLastPos() override;

    int16_t GetTokenID() const { return mTokenID; }
    uint16_t GetPosition() const { return mPosition; }

private:
    int16_t mTokenID;
    uint16_t mPosition;
};
