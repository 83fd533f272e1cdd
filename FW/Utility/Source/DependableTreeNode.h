// The base part of a node in a tree of dependables (the views): tree links to T together with
// Dependable as a virtual base, which the most derived class builds.
#pragma once

#include "Dependable.h"
#include "TreeNode.h"

template <class T>
class DependableTreeNode : public TreeNode<T>, public virtual Dependable {
public:
    DependableTreeNode() = default;
    ~DependableTreeNode() override = default;
};
