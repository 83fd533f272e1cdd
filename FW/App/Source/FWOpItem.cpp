#include "FWOpItem.h"

FWOpItem::FWOpItem(const FWOpData& data)
    : FWUserOp(data.mName, data.mID, data.mFlags, data.mIconID, data.mAltIconID, char(data.mShortcutKey),
               uint16_t(data.mModifiers), data.mAdjust, data.mAction, data.mAltAction)
{
}

FWOpItem::FWOpItem(const char* name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
                   FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction, char shortcutKey,
                   uint16_t modifiers)
    : FWUserOp(name, id, flags, iconID, altIconID, shortcutKey, modifiers, adjust, action, altAction)
{
}

FWOpItem::FWOpItem(const FWString& name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
                   FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction, char shortcutKey,
                   uint16_t modifiers)
    : FWUserOp(name, id, flags, iconID, altIconID, shortcutKey, modifiers, adjust, action, altAction)
{
}

FWOpItem::~FWOpItem() = default;

FWOpItem& FWOpItem::operator=(const FWUserOp& other)
{
    FWUserOp::operator=(other);
    ClearFlag(kUserOpHasChildren);
    return *this;
}
