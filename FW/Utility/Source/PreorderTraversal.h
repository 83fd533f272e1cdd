// A preorder walk over TreeNode links: a node, then its children's subtrees in peer order;
// optionally going on with the root's next peers and their subtrees. Children are found through
// FirstChild, so a node type may redirect the walk.
#pragma once

#include "FWStack.h"

template <class T>
class PreorderTraversal {
public:
    PreorderTraversal(T* root, bool continueToRootPeers)
        : mContinueToRootPeers(continueToRootPeers), mRoot(root), mStack(30) {}

    // Changes the root and the flag; the walk is restarted by First.
    void Set(T* root, bool continueToRootPeers)
    {
        mRoot = root;
        mContinueToRootPeers = continueToRootPeers;
        mNext = nullptr;
        mStack.Clear();
    }

    T* First()
    {
        mStack.Clear();
        mNext = nullptr;
        if (mRoot == nullptr)
            return nullptr;
        mStack.Push(mRoot);
        mNext = mRoot->FirstChild();
        return mRoot;
    }

    T* Next()
    {
        for (;;) {
            if (mNext != nullptr) {
                T* node = mNext;
                mStack.Push(node);
                mNext = node->FirstChild();
                return node;
            }
            if (mStack.Size() == 0)
                return nullptr;
            advancePast(mStack.Pop());
        }
    }

    // Skips the subtree of the node last returned: the walk goes on with its next peer.
    void SkipToNextPeer()
    {
        if (mStack.Size() == 0)
            return;
        advancePast(mStack.Pop());
    }

private:
    void advancePast(T* node)
    {
        if (node == mRoot && !mContinueToRootPeers)
            mNext = nullptr;
        else
            mNext = node->NextPeer();
    }

    bool mContinueToRootPeers;
    T* mRoot;
    T* mNext = nullptr;
    FWStack<T*> mStack;
};
