// Option: a?.
#pragma once

#include "REOneChildNode.h"

class REQuestionNode : public REOneChildNode {
public:
    using REOneChildNode::REOneChildNode;

    void ComputeFirstAndLastPos() override;
};
