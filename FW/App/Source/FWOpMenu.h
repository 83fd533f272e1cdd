// A command node with children: a menu of the menu bar, a submenu, or a folder of tools. It owns
// its children; deleting it deletes them, the last first.
#pragma once

#include "FWUserOp.h"

class FWOpMenu : public FWUserOp {
public:
    // From a record, kUserOpHasChildren forced on. The record's children (pointer and a count of
    // at least 1) are appended and, unless the flags hold kUserOpNoIcons, check_for_icons runs.
    explicit FWOpMenu(const FWOpData& data);
    // The same from values, with no shortcut and no modifiers.
    FWOpMenu(const char* name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
             FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction,
             const FWOpData* children, uint32_t count);
    FWOpMenu(const FWString& name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
             FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction,
             const FWOpData* children, uint32_t count);
    ~FWOpMenu() override;

    // Children
    FWUserOp* FirstChild() const override { return mFirstChild; }
    int32_t CountChildren() const override;
    // The child at a 0-based index, or null.
    FWUserOp* MenuItem(int index) const;
    // Deletes the child at a 0-based index; nothing when there is none.
    void RemoveItem(int index);
    // Links the node after the last child; nothing for null.
    void AppendChild(FWUserOp* child);
    // Appends a menu for each record with children (pointer and a count above 0), else an item.
    void AppendArray(const FWOpData* records, uint32_t count);

    // States of the first node with the id in preorder from the first child, the walk going on
    // past this menu through the rest of the tree.
    void EnableItemByID(int32_t id, bool enable);
    void CheckItemByID(int32_t id, bool check);

    // Copies the node's fields (FWUserOp::operator=); the menu is left without children.
    FWOpMenu& operator=(const FWUserOp& other) override;
    FWOpMenu& operator=(const FWOpMenu& other) { return operator=(static_cast<const FWUserOp&>(other)); }

    // Sets kUserOpNoIcons when none of the children has an icon image.
    void check_for_icons();

private:
    friend class FWUserOp; // a child leaving its parent moves the first-child link

    void appendRecordChildren(const FWOpData* children, int64_t count);
    void deleteChildren();
    FWUserOp* findFromFirstChild(int32_t id) const;

    FWUserOp* mFirstChild = nullptr;
};
