// A parse-tree node over one child (the postfix operators).
#pragma once

#include "RENode.h"

#include <memory>

class REOneChildNode : public RENode {
public:
    explicit REOneChildNode(std::unique_ptr<RENode> child);

    // Passes the call on to the child.
    void ComputeFollowPos(REFollowTable& follow) override;
    void ConsolidateLastPos(REPositionSet& set) const override;
    void ConsolidateFirstPos(REPositionSet& set) const override;

    RENode* GetChild() const { return mChild.get(); }

protected:
    std::unique_ptr<RENode> mChild;
};
