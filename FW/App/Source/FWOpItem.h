// A command node without children: a menu row or a tool.
#pragma once

#include "FWUserOp.h"

class FWOpItem : public FWUserOp {
public:
    explicit FWOpItem(const FWOpData& data);
    FWOpItem(const char* name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
             FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction, char shortcutKey,
             uint16_t modifiers);
    FWOpItem(const FWString& name, int32_t id, uint32_t flags, int32_t iconID, int32_t altIconID,
             FWUserOpCallback adjust, FWUserOpCallback action, FWUserOpCallback altAction, char shortcutKey,
             uint16_t modifiers);
    ~FWOpItem() override;

    // Copies the node's fields (FWUserOp::operator=) and clears kUserOpHasChildren.
    FWOpItem& operator=(const FWUserOp& other) override;
    FWOpItem& operator=(const FWOpItem& other) { return operator=(static_cast<const FWUserOp&>(other)); }
};
