// The empty pattern (and empty brackets): matches the empty text and holds no position.
#pragma once

#include "RENode.h"

class REEpsilonNode : public RENode {
public:
    REEpsilonNode();

    void ComputeFirstAndLastPos() override;
};
