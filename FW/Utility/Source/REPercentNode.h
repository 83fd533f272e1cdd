// Prefix: a%. As a#, and the empty text as well; the edit-field patterns end in it so that a
// partly typed value is accepted.
#pragma once

#include "REPoundNode.h"

class REPercentNode : public REPoundNode {
public:
    using REPoundNode::REPoundNode;

    void ComputeFirstAndLastPos() override;
};
