// Alternation: a | b.
#pragma once

#include "RETwoChildNode.h"

class REOrNode : public RETwoChildNode {
public:
    using RETwoChildNode::RETwoChildNode;

    void ComputeFirstAndLastPos() override;
};
