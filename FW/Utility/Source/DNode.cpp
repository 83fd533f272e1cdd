#include "DNode.h"

#include "Dependable.h"

DNode* DNode::FirstChild() const
{
    const DNode& root = mDependable->Dependants();
    if (&root == this)
        return TreeNode<DNode>::FirstChild();
    return root.FirstChild();
}
