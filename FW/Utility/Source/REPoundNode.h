// Non-empty prefix: a#. Every position of a's subtree that ends some sub-expression of a also ends
// the whole, so a# accepts the non-empty texts that stop where some part of a can stop ('abc#'
// accepts 'a', 'ab' and 'abc').
#pragma once

#include "REOneChildNode.h"

class REPoundNode : public REOneChildNode {
public:
    using REOneChildNode::REOneChildNode;

    void ComputeFirstAndLastPos() override;
};
