// Repetition, none or more times: a*.
#pragma once

#include "REOneChildNode.h"

class REStarNode : public REOneChildNode {
public:
    using REOneChildNode::REOneChildNode;

    void ComputeFirstAndLastPos() override;
    // Every position that can end a is followed by a's first positions again.
    void ComputeFollowPos(REFollowTable& follow) override;
};
