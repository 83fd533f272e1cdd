// Repetition, once or more: a+. Never nullable, even over a nullable a, so a+ never matches
// the empty text.
#pragma once

#include "REOneChildNode.h"

class REPlusNode : public REOneChildNode {
public:
    using REOneChildNode::REOneChildNode;

    void ComputeFirstAndLastPos() override;
    void ComputeFollowPos(REFollowTable& follow) override;
};
