#include "FWUserOp.h"

#include "DiskImage.h"
#include "FWOpMenu.h"

#include <cstring>

namespace {

constexpr uint32_t kPICT = 0x50494354; // 'PICT'
constexpr uint32_t kCicn = 0x6369636E; // 'cicn'

DiskImage* loadIcon(int32_t id)
{
    if (id == 0)
        return nullptr;
    if (DiskImage* image = DiskImage::Acquire(id, kPICT))
        return image;
    return DiskImage::Acquire(id, kCicn);
}

uint32_t withSeparatorDisabled(uint32_t flags)
{
    return (flags & kUserOpSeparator) ? flags | kUserOpDisabled : flags;
}

} // namespace

FWUserOp::FWUserOp(const char* name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
                   char shortcutKey, uint16_t modifiers, FWUserOpCallback adjust, FWUserOpCallback action,
                   FWUserOpCallback altAction)
    : mName(name),
      mID(id),
      mFlags(withSeparatorDisabled(flags)),
      mIconID(iconID),
      mAltIconID(altIconID),
      mShortcutKey(shortcutKey),
      mModifiers(modifiers),
      mAdjust(adjust),
      mAction(action),
      mAltAction(altAction)
{
    load_icons();
}

FWUserOp::FWUserOp(const FWString& name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
                   char shortcutKey, uint16_t modifiers, FWUserOpCallback adjust, FWUserOpCallback action,
                   FWUserOpCallback altAction)
    : FWUserOp(name.GetCString(), id, flags, iconID, altIconID, shortcutKey, modifiers, adjust, action, altAction)
{
}

FWUserOp::~FWUserOp()
{
    release_icons();
    Remove();
}

// --- The tree ----------------------------------------------------------------------------------

void FWUserOp::InsertAfter(FWUserOp* peer)
{
    if (peer == nullptr || peer == this)
        return;
    Remove();
    mParent = peer->mParent;
    mPrevPeer = peer;
    mNextPeer = peer->mNextPeer;
    if (mNextPeer != nullptr)
        mNextPeer->mPrevPeer = this;
    peer->mNextPeer = this;
}

void FWUserOp::Remove()
{
    // Only menus take children, so a parent is always a menu.
    auto* parent = static_cast<FWOpMenu*>(mParent);
    if (parent != nullptr && parent->mFirstChild == this)
        parent->mFirstChild = mNextPeer;
    if (mPrevPeer != nullptr)
        mPrevPeer->mNextPeer = mNextPeer;
    if (mNextPeer != nullptr)
        mNextPeer->mPrevPeer = mPrevPeer;
    mParent = nullptr;
    mNextPeer = nullptr;
    mPrevPeer = nullptr;
}

FWUserOp* FWUserOp::NextNode(const FWUserOp* root, int* depth) const
{
    if (FWUserOp* child = FirstChild()) {
        if (depth != nullptr)
            ++*depth;
        return child;
    }
    // Climb until a node below root has a next peer; root's own peers lie outside its subtree.
    for (const FWUserOp* node = this; node != nullptr && node != root; node = node->mParent) {
        if (node->mNextPeer != nullptr)
            return node->mNextPeer;
        if (depth != nullptr)
            --*depth;
    }
    return nullptr;
}

FWUserOp* FWUserOp::FindUserOpByID(int32_t id, int* index)
{
    if (mID == id) {
        if (index != nullptr)
            *index = -1;
        return this;
    }
    int position = 0;
    for (FWUserOp* child = FirstChild(); child != nullptr; child = child->mNextPeer, ++position) {
        if (FWUserOp* found = child->FindUserOpByID(id, nullptr)) {
            if (index != nullptr)
                *index = position;
            return found;
        }
    }
    return nullptr;
}

// --- Commands ----------------------------------------------------------------------------------

void FWUserOp::DoAdjust()
{
    if (mAdjust != nullptr)
        mAdjust(this);
}

void FWUserOp::DoAction()
{
    if (mAction != nullptr)
        mAction(this);
}

void FWUserOp::DoAltAction()
{
    if (mAltAction != nullptr)
        mAltAction(this);
}

FWUserOp& FWUserOp::operator=(const FWUserOp& other)
{
    if (&other == this)
        return *this;
    // This node's own images go under its own flags, before the other node's flags replace them;
    // the shared images are then borrowed, whoever owns them.
    release_icons();
    SetName(other.mName);
    mID = other.mID;
    mFlags = other.mFlags;
    mShortcutKey = other.mShortcutKey;
    mModifiers = other.mModifiers;
    mHeldModifiers = other.mHeldModifiers;
    mAdjust = other.mAdjust;
    mAction = other.mAction;
    mAltAction = other.mAltAction;
    mRect = other.mRect;
    mRefCon = other.mRefCon;
    set_icon(other.mIconID, other.mIcon, other.mAltIconID, other.mAltIcon);
    Remove();
    return *this;
}

// --- Fields and icons --------------------------------------------------------------------------

void FWUserOp::SetName(const FWString& name)
{
    // Compared byte by byte: any change of the text is to be shown.
    if (name.GetCurrLength() == mName.GetCurrLength() &&
        std::memcmp(name.GetCString(), mName.GetCString(), mName.GetCurrLength()) == 0)
        return;
    mName = name;
    mFlags |= kUserOpNameChanged;
}

void FWUserOp::set_icon(int32_t iconID, DiskImage* image, int32_t altIconID, DiskImage* altImage)
{
    release_icons();
    mIconID = iconID;
    mIcon = image;
    mAltIconID = altIconID;
    mAltIcon = altImage;
    mFlags |= kUserOpBorrowedIcons;
}

void FWUserOp::load_icons()
{
    mIcon = loadIcon(mIconID);
    mAltIcon = loadIcon(mAltIconID);
}

void FWUserOp::release_icons()
{
    if (!TestFlag(kUserOpBorrowedIcons)) {
        DiskImage::Release(mIcon);
        DiskImage::Release(mAltIcon);
    }
    mIcon = nullptr;
    mAltIcon = nullptr;
}
