#include "FWViewableNode.h"

#include "FWDrawContext.h"
#include "FWFont.h"

FWViewableNode::Preorder::Preorder(FWViewableNode* root, bool traverseRootPeers)
    : mRoot(root), mCurrent(root), mTraverseRootPeers(traverseRootPeers)
{
}

void FWViewableNode::Preorder::Restart(FWViewableNode* root)
{
    if (root != nullptr)
        mRoot = root;
    mCurrent = mRoot;
    mDontDescend = nullptr;
    mDepth = 0;
}

FWViewableNode* FWViewableNode::Preorder::Next()
{
    if (mCurrent != nullptr) {
        FWViewableNode* candidate = nullptr;
        const bool mayDescend = mCurrent != mDontDescend &&
                                (mTraverseCollapsedNodes || mCurrent->Viewable_SubtreeVisible());
        if (mayDescend) {
            candidate = mCurrent->Viewable_FirstChild();
            if (candidate != nullptr)
                ++mDepth;
        }
        // The root's own next peer is taken below, as a new root, never here.
        if (candidate == nullptr && mCurrent != mRoot)
            candidate = mCurrent->Viewable_NextPeer();
        FWViewableNode* up = mCurrent;
        while (candidate == nullptr && mDepth >= 1) {
            up = up->Viewable_Parent();
            --mDepth;
            if (up == nullptr)
                break;
            if (mDepth > 0)
                candidate = up->Viewable_NextPeer();
        }
        mCurrent = candidate;
    }
    if (mCurrent == nullptr && mTraverseRootPeers && mRoot != nullptr && mRoot->Viewable_NextPeer() != nullptr) {
        mRoot = mRoot->Viewable_NextPeer();
        mCurrent = mRoot;
    }
    return mCurrent;
}

void FWViewableNode::Viewable_Draw(FWDrawContext& context, const FWPoint& where)
{
    context.DrawString(where.h + 2, where.v, &Viewable_Name());
}

int32_t FWViewableNode::Viewable_Width(FWDrawContext& context)
{
    return context.GetFont().GetStringWidth(&Viewable_Name()) + 2;
}
