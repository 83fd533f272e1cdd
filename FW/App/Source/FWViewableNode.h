// The face an object shows to the outline view: a name, an icon, tree neighbours and the row
// states (lock, visibility, selection, ghosting, style, activity), with the edits the outline
// may make. Every answer has a harmless default; a node class overrides what it supports.
#pragma once

#include "FWArgb32.h"
#include "FWPoint.h"
#include "FWString.h"

#include <cstdint>

class FWDrawContext;
class ImageBuffer;

class FWViewableNode {
public:
    FWViewableNode() = default;
    virtual ~FWViewableNode() = default;

    // Name
    virtual const FWString& Viewable_Name() const = 0;
    virtual bool Viewable_CanSetName() const { return false; }
    virtual void Viewable_SetName(const char*) {}
    virtual void Viewable_SetName(const FWString&) {}

    // Tree neighbours
    virtual FWViewableNode* Viewable_NextPeer() { return nullptr; }
    virtual FWViewableNode* Viewable_PrevPeer() { return nullptr; }
    virtual FWViewableNode* Viewable_FirstChild() { return nullptr; }
    virtual FWViewableNode* Viewable_Parent() { return nullptr; }

    // Icon
    virtual const ImageBuffer* Viewable_Icon() { return nullptr; }
    virtual void Viewable_SetIcon(const ImageBuffer*) {}

    // Row states
    virtual bool Viewable_IsLockable() const { return false; }
    virtual bool Viewable_IsLocked() const { return false; }
    virtual bool Viewable_IsLockedConsistent() const { return true; }
    virtual void Viewable_SetLockState(bool) {}
    virtual bool Viewable_IsHideable() const { return false; }
    virtual bool Viewable_Visibility() const { return false; }
    virtual bool Viewable_IsVisibilityConsistent() const { return true; }
    virtual void Viewable_SetVisibility(bool) {}
    // True while the node's children are shown (the node is expanded).
    virtual bool Viewable_SubtreeVisible() const { return true; }
    virtual void Viewable_SetSubtreeVisible(bool) {}
    virtual bool Viewable_NodeSelected() const { return false; }
    virtual void Viewable_SetNodeSelected(bool) {}
    virtual void Viewable_NodeHit() {}
    virtual void Viewable_DoubleClick() {}
    virtual bool Viewable_NodeGhosted() const { return false; }
    virtual void Viewable_SetNodeGhosted(bool) {}
    virtual bool Viewable_NodeBold() const { return false; }
    virtual bool Viewable_NodeItalic() const { return false; }
    virtual void Viewable_SetNodeBold(bool) {}
    virtual void Viewable_SetNodeItalic(bool) {}
    virtual FWArgb32 Viewable_NodeTextColor() const { return FWArgb32::Black; }
    virtual bool Viewable_CanBeActive() const { return false; }
    virtual bool Viewable_NodeActive() const { return false; }
    virtual void Viewable_SetNodeActive(bool) {}

    // Edits the outline may make
    virtual bool Viewable_CanBeRelocated() const { return false; }
    virtual bool Viewable_CanAcceptChild(FWViewableNode*) const { return false; }
    virtual void Viewable_Unlink() {}
    virtual void Viewable_LinkAsFirstChildTo(FWViewableNode*) {}
    virtual void Viewable_LinkAsNextPeerTo(FWViewableNode*) {}
    virtual void Viewable_LinkAsPrevPeerTo(FWViewableNode*) {}
    virtual void* Viewable_Object() { return nullptr; }
    virtual bool Viewable_CanDuplicate() const { return false; }
    virtual FWViewableNode* Viewable_Duplicate() { return nullptr; }
    virtual bool Viewable_CanDelete() const { return false; }
    virtual bool Viewable_Delete() { return false; }
    virtual bool Viewable_WantsIconClick() const { return false; }
    virtual void Viewable_NodeIconHit() {}

    // The row's text: the name drawn 2 pixels right of the point, and its width plus 2.
    virtual void Viewable_Draw(FWDrawContext& context, const FWPoint& where);
    virtual int32_t Viewable_Width(FWDrawContext& context);

    // A preorder walk over viewable nodes, optionally through the root's following peers and
    // optionally skipping the children of collapsed nodes.
    class Preorder {
    public:
        Preorder(FWViewableNode* root, bool traverseRootPeers);

        FWViewableNode* First() { return mRoot; }
        // The next node in preorder, null at the end.
        FWViewableNode* Next();
        // Starts again at root (or at the present root when null).
        void Restart(FWViewableNode* root);
        void TraverseRootPeers(bool on) { mTraverseRootPeers = on; }
        void TraverseCollapsedNodes(bool on) { mTraverseCollapsedNodes = on; }
        // The walk will not enter that node's children.
        void DontDescendNode(FWViewableNode* node) { mDontDescend = node; }

    private:
        FWViewableNode* mRoot;
        FWViewableNode* mCurrent;
        bool mTraverseRootPeers;
        bool mTraverseCollapsedNodes = true;
        FWViewableNode* mDontDescend = nullptr;
        int32_t mDepth = 0;
    };
};
