// The patterns of one lexer need more than 2048 positions.
#pragma once

#include "REException.h"

class RETooManyPositions : public REException {
public:
    RETooManyPositions() = default;
    ~RETooManyPositions() override;
};
