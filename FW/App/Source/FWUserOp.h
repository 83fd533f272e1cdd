// A command: a named node of the command tree with an id, a flag word, optional icons, a shortcut
// key and three callbacks (adjust, action, alternative action). Menus (FWOpMenu) hold children,
// items (FWOpItem) are leaves. The menu bar, pop-up menus and tool palettes all work on the same
// tree.
#pragma once

#include "FWArgb32.h"
#include "FWDynamicString.h"
#include "FWOpData.h"
#include "FWRect.h"

#include <cstdint>

class DiskImage;

// Flag bits of a node.
enum : uint32_t {
    kUserOpCheckable = 4,       // choosing it toggles the checked bit
    kUserOpSeparator = 8,       // forces the disabled bit at construction
    kUserOpDisabled = 16,
    kUserOpHilited = 32,        // a top-level menu: its title is highlighted in the bar
    kUserOpChecked = 64,
    kUserOpHasChildren = 128,   // a menu
    kUserOpNameChanged = 4096,  // the name changed since the menu bar last showed it
    kUserOpNoIcons = 8192,      // a menu: none of its children has an icon
    kUserOpModalEnabled = 8192, // an item: stays enabled while a modal window is in front
    kUserOpBorrowedIcons = 32768, // the icon images are not released by this node
};

class FWUserOp {
public:
    FWUserOp(const char* name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID, char shortcutKey,
             uint16_t modifiers, FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction);
    FWUserOp(const FWString& name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID, char shortcutKey,
             uint16_t modifiers, FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction);
    FWUserOp(const FWUserOp&) = delete;
    // Unlinks the node from its parent and peers and releases its icons.
    virtual ~FWUserOp();

    // The tree
    virtual FWUserOp* FirstChild() const { return nullptr; }
    virtual int32_t CountChildren() const { return 0; }
    FWUserOp* Parent() const { return mParent; }
    FWUserOp* NextPeer() const { return mNextPeer; }
    FWUserOp* PrevPeer() const { return mPrevPeer; }
    // Links this node right after the peer, under the peer's parent; nothing for null.
    void InsertAfter(FWUserOp* peer);
    // Unlinks the node from its parent and peers.
    void Remove();
    // The preorder successor within root's subtree (root null: the whole tree), updating *depth
    // (when given) by +1 per level down and -1 per level up; null at the end.
    FWUserOp* NextNode(const FWUserOp* root, int* depth) const;
    // The first node with the id in preorder from this node, this node included, or null.
    // *index (when given) receives -1 when it is this node, else the 0-based position of the
    // child whose branch holds it.
    FWUserOp* FindUserOpByID(int32_t id, int* index);

    // Commands
    virtual void DoAdjust();
    virtual void DoAction();
    virtual void DoAltAction();
    // Copies the name, id, flags, shortcut, modifiers, callbacks, rectangle and reference word,
    // and shares the other node's icons; the copy is not linked into any tree.
    virtual FWUserOp& operator=(const FWUserOp& other);

    // Fields
    const FWString& Name() const { return mName; }
    // Sets kUserOpNameChanged when the text differs.
    void SetName(const FWString& name);
    int32_t Id() const { return mID; }
    uint32_t Flags() const { return mFlags; }
    // True only when every one of the bits is set.
    bool TestFlag(uint32_t bits) const { return (mFlags & bits) == bits; }
    void SetFlag(uint32_t bits) { mFlags |= bits; }
    void ClearFlag(uint32_t bits) { mFlags &= ~bits; }
    int32_t IconID() const { return mIconID; }
    DiskImage* Icon() const { return mIcon; }
    int32_t AltIconID() const { return mAltIconID; }
    DiskImage* AltIcon() const { return mAltIcon; }
    char ShortcutKey() const { return mShortcutKey; }
    // The shortcut's own modifiers, as the menu bar shows them; they never change.
    uint16_t ShortcutMods() const { return mModifiers; }
    // Records the modifier keys held when the command was chosen; the menu bar sets them before
    // it calls the adjust and action callbacks. Kept apart from the shortcut's, which they must
    // not replace.
    void SetModifiers(uint16_t modifiers) { mHeldModifiers = modifiers; }
    FWUserOpCallback Adjust() const { return mAdjust; }
    FWUserOpCallback Action() const { return mAction; }
    FWUserOpCallback AltAction() const { return mAltAction; }
    const FWArgb32& Color() const { return mColor; }
    // Free for the users of the tree; initialised empty and zero, and copied by assignment.
    const FWRect& GetRect() const { return mRect; }
    void SetRect(const FWRect& rect) { mRect = rect; }
    int32_t RefCon() const { return mRefCon; }
    void SetRefCon(int32_t refCon) { mRefCon = refCon; }

    // Icons: releases the current images, takes the given ones as borrowed (kUserOpBorrowedIcons).
    void set_icon(int32_t iconID, DiskImage* image, int32_t altIconID, DiskImage* altImage);

protected:
    // Loads each icon id as a 'PICT' image, or as a 'cicn' when there is no 'PICT' of that id.
    void load_icons();
    // Releases both images unless they are borrowed, and forgets them.
    void release_icons();

private:
    friend class FWOpMenu;

    FWDynamicString mName;
    int32_t mID;
    uint32_t mFlags;
    int32_t mIconID;
    DiskImage* mIcon = nullptr;
    int32_t mAltIconID;
    DiskImage* mAltIcon = nullptr;
    char mShortcutKey;
    uint16_t mModifiers;
    uint16_t mHeldModifiers = 0;
    FWUserOpCallback mAdjust;
    FWUserOpCallback mAction;
    FWUserOpCallback mAltAction;
    FWArgb32 mColor = FWArgb32::Black;
    FWUserOp* mParent = nullptr;
    FWUserOp* mNextPeer = nullptr;
    FWUserOp* mPrevPeer = nullptr;
    FWRect mRect;
    int32_t mRefCon = 0;
    [[maybe_unused]] int16_t mRefConShort = 0;
};
