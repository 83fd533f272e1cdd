#include "FWOpMenu.h"

#include "DiskImage.h"
#include "FWOpItem.h"

#include <vector>

namespace {

bool hasChildren(const FWOpData& record)
{
    return record.mChildren != nullptr && record.mChildCount > 0;
}

} // namespace

FWOpMenu::FWOpMenu(const FWOpData& data)
    : FWUserOp(data.mName, data.mID, data.mFlags | kUserOpHasChildren, data.mIconID, data.mAltIconID,
               char(data.mShortcutKey), uint16_t(data.mModifiers), data.mAdjust, data.mAction, data.mAltAction)
{
    appendRecordChildren(data.mChildren, data.mChildCount);
}

FWOpMenu::FWOpMenu(const char* name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
                   FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction,
                   const FWOpData* children, uint32_t count)
    : FWUserOp(name, id, flags | kUserOpHasChildren, iconID, altIconID, 0, 0, adjust, action, altAction)
{
    appendRecordChildren(children, count);
}

FWOpMenu::FWOpMenu(const FWString& name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
                   FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction,
                   const FWOpData* children, uint32_t count)
    : FWOpMenu(name.GetCString(), id, flags, iconID, altIconID, adjust, action, altAction, children, count)
{
}

FWOpMenu::~FWOpMenu()
{
    deleteChildren();
}

void FWOpMenu::appendRecordChildren(const FWOpData* children, int64_t count)
{
    if (children == nullptr || count < 1)
        return;
    AppendArray(children, uint32_t(count));
    if (!TestFlag(kUserOpNoIcons))
        check_for_icons();
}

void FWOpMenu::deleteChildren()
{
    std::vector<FWUserOp*> children;
    for (FWUserOp* child = mFirstChild; child != nullptr; child = child->NextPeer())
        children.push_back(child);
    // Each child unlinks itself as it goes.
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        delete *it;
}

// --- Children ----------------------------------------------------------------------------------

int32_t FWOpMenu::CountChildren() const
{
    int32_t count = 0;
    for (FWUserOp* child = mFirstChild; child != nullptr; child = child->NextPeer())
        ++count;
    return count;
}

FWUserOp* FWOpMenu::MenuItem(int index) const
{
    if (index < 0)
        return nullptr;
    FWUserOp* child = mFirstChild;
    for (; child != nullptr && index > 0; --index)
        child = child->NextPeer();
    return child;
}

void FWOpMenu::RemoveItem(int index)
{
    delete MenuItem(index);
}

void FWOpMenu::AppendChild(FWUserOp* child)
{
    if (child == nullptr || child == this)
        return;
    child->Remove();
    if (mFirstChild == nullptr) {
        mFirstChild = child;
        child->mParent = this;
        return;
    }
    FWUserOp* last = mFirstChild;
    while (last->NextPeer() != nullptr)
        last = last->NextPeer();
    child->InsertAfter(last);
}

void FWOpMenu::AppendArray(const FWOpData* records, uint32_t count)
{
    if (records == nullptr)
        return;
    for (uint32_t i = 0; i < count; ++i) {
        const FWOpData& record = records[i];
        if (hasChildren(record))
            AppendChild(new FWOpMenu(record));
        else
            AppendChild(new FWOpItem(record));
    }
}

// --- States by id ------------------------------------------------------------------------------

FWUserOp* FWOpMenu::findFromFirstChild(int32_t id) const
{
    for (FWUserOp* node = mFirstChild; node != nullptr; node = node->NextNode(nullptr, nullptr))
        if (node->Id() == id)
            return node;
    return nullptr;
}

void FWOpMenu::EnableItemByID(int32_t id, bool enable)
{
    if (FWUserOp* node = findFromFirstChild(id)) {
        if (enable)
            node->ClearFlag(kUserOpDisabled);
        else
            node->SetFlag(kUserOpDisabled);
    }
}

void FWOpMenu::CheckItemByID(int32_t id, bool check)
{
    if (FWUserOp* node = findFromFirstChild(id)) {
        if (check)
            node->SetFlag(kUserOpChecked);
        else
            node->ClearFlag(kUserOpChecked);
    }
}

// --- Copies and icons --------------------------------------------------------------------------

FWOpMenu& FWOpMenu::operator=(const FWUserOp& other)
{
    if (&other == this)
        return *this;
    deleteChildren();
    FWUserOp::operator=(other);
    SetFlag(kUserOpHasChildren);
    return *this;
}

void FWOpMenu::check_for_icons()
{
    for (FWUserOp* child = mFirstChild; child != nullptr; child = child->NextPeer())
        if (child->Icon() != nullptr)
            return;
    SetFlag(kUserOpNoIcons);
}
