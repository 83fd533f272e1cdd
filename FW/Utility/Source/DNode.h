// A node of the dependency graph: it names one Dependable. A dependable's root node names the
// dependable itself; its children name the direct dependants. FirstChild leads from a node to
// the children of the named dependable's root, so a tree walk goes from a dependable to its
// dependants, to theirs, and so on.
#pragma once

#include "TreeNode.h"

class Dependable;

class DNode : public TreeNode<DNode> {
public:
    explicit DNode(Dependable* dependable) : mDependable(dependable) {}

    Dependable* GetDependable() const { return mDependable; }
    DNode* FirstChild() const override;

private:
    Dependable* mDependable;
};
