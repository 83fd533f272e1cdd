// Intrusive tree links: parent, first child, previous and next peer, all pointers to T, where T
// derives from TreeNode<T>. A node stores itself in its neighbours as a T. Nothing is owned
// except through DeleteChildren.
#pragma once

#include "FWStack.h"

#include <cstdint>

template <class T>
class PreorderTraversal;

template <class T>
class TreeNode {
public:
    TreeNode() = default;
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;
    // Leaves the links as they are: a node is unlinked before it dies.
    virtual ~TreeNode() = default;

    // child becomes the first / last child. It is not unlinked from a former place first.
    virtual void PrependChild(T* child);
    virtual void AppendChild(T* child);
    // Takes this node (with its children) out of its parent and peer chain.
    virtual void Unlink();

    virtual T* Parent() const { return mParent; }
    virtual T* FirstChild() const { return mFirstChild; }
    virtual T* LastChild() const;
    virtual T* NextPeer() const { return mNextPeer; }
    virtual T* PrevPeer() const { return mPrevPeer; }

    // Places this node before / after node, under node's parent; null does nothing.
    void LinkBefore(T* node);
    void LinkAfter(T* node);
    // Deletes the subtree below this node, the last child's first.
    void DeleteChildren();
    // Nodes in the subtree, this one included.
    int32_t Size();
    // Direct children.
    int32_t ChildTotal() const;

protected:
    // Sets the four links as they stand, touching no neighbour: for a reader that fills in
    // stored links before they are resolved, and clears them again when it gives up.
    void SetRawLinks(T* parent, T* firstChild, T* prevPeer, T* nextPeer)
    {
        mParent = parent;
        mFirstChild = firstChild;
        mPrevPeer = prevPeer;
        mNextPeer = nextPeer;
    }

private:
    T* self() { return static_cast<T*>(this); }
    static TreeNode* links(T* node) { return node; }

    T* mParent = nullptr;
    T* mFirstChild = nullptr;
    T* mPrevPeer = nullptr;
    T* mNextPeer = nullptr;
};

#include "PreorderTraversal.h"

template <class T>
void TreeNode<T>::PrependChild(T* child)
{
    if (child == nullptr)
        return;
    TreeNode* c = links(child);
    c->mParent = self();
    c->mPrevPeer = nullptr;
    c->mNextPeer = mFirstChild;
    if (mFirstChild != nullptr)
        links(mFirstChild)->mPrevPeer = child;
    mFirstChild = child;
}

template <class T>
void TreeNode<T>::AppendChild(T* child)
{
    if (child == nullptr)
        return;
    TreeNode* c = links(child);
    T* last = LastChild();
    c->mParent = self();
    c->mNextPeer = nullptr;
    c->mPrevPeer = last;
    if (last != nullptr)
        links(last)->mNextPeer = child;
    else
        mFirstChild = child;
}

template <class T>
void TreeNode<T>::Unlink()
{
    if (mPrevPeer != nullptr)
        links(mPrevPeer)->mNextPeer = mNextPeer;
    if (mNextPeer != nullptr)
        links(mNextPeer)->mPrevPeer = mPrevPeer;
    if (mParent != nullptr && links(mParent)->mFirstChild == self())
        links(mParent)->mFirstChild = mNextPeer;
    mParent = nullptr;
    mPrevPeer = nullptr;
    mNextPeer = nullptr;
}

template <class T>
T* TreeNode<T>::LastChild() const
{
    T* child = FirstChild();
    if (child == nullptr)
        return nullptr;
    while (child->NextPeer() != nullptr)
        child = child->NextPeer();
    return child;
}

template <class T>
void TreeNode<T>::LinkBefore(T* node)
{
    if (node == nullptr)
        return;
    TreeNode* n = links(node);
    mParent = n->mParent;
    mNextPeer = node;
    mPrevPeer = n->mPrevPeer;
    if (mPrevPeer != nullptr)
        links(mPrevPeer)->mNextPeer = self();
    n->mPrevPeer = self();
    if (mParent != nullptr && links(mParent)->mFirstChild == node)
        links(mParent)->mFirstChild = self();
}

template <class T>
void TreeNode<T>::LinkAfter(T* node)
{
    if (node == nullptr)
        return;
    TreeNode* n = links(node);
    mParent = n->mParent;
    mPrevPeer = node;
    mNextPeer = n->mNextPeer;
    if (mNextPeer != nullptr)
        links(mNextPeer)->mPrevPeer = self();
    n->mNextPeer = self();
}

template <class T>
void TreeNode<T>::DeleteChildren()
{
    // The stored links, not the FirstChild override: only the children linked here are owned.
    T* child = mFirstChild;
    if (child == nullptr)
        return;
    while (links(child)->mNextPeer != nullptr)
        child = links(child)->mNextPeer;
    while (child != nullptr) {
        T* previous = links(child)->mPrevPeer;
        links(child)->DeleteChildren();
        delete child;
        child = previous;
    }
    mFirstChild = nullptr;
}

template <class T>
int32_t TreeNode<T>::Size()
{
    PreorderTraversal<T> walk(self(), false);
    int32_t count = 0;
    for (T* node = walk.First(); node != nullptr; node = walk.Next())
        ++count;
    return count;
}

template <class T>
int32_t TreeNode<T>::ChildTotal() const
{
    int32_t count = 0;
    for (T* child = FirstChild(); child != nullptr; child = child->NextPeer())
        ++count;
    return count;
}
