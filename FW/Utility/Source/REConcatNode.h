// Concatenation: a b. Every position that can end a is followed by the first positions of b.
#pragma once

#include "RETwoChildNode.h"

class REConcatNode : public RETwoChildNode {
public:
    using RETwoChildNode::RETwoChildNode;

    void ComputeFirstAndLastPos() override;
    void ComputeFollowPos(REFollowTable& follow) override;
};
