// A parse-tree node over a left and a right child (alternation and concatenation).
#pragma once

#include "RENode.h"

#include <memory>

class RETwoChildNode : public RENode {
public:
    RETwoChildNode(std::unique_ptr<RENode> left, std::unique_ptr<RENode> right);

    // Passes the call on to both children, left first.
    void ComputeFollowPos(REFollowTable& follow) override;
    void ConsolidateLastPos(REPositionSet& set) const override;
    void ConsolidateFirstPos(REPositionSet& set) const override;

    RENode* GetLeftChild() const { return mLeft.get(); }
    RENode* GetRightChild() const { return mRight.get(); }

protected:
    std::unique_ptr<RENode> mLeft;
    std::unique_ptr<RENode> mRight;
};
