// The static record of one command, from which command trees are built: applications write their
// menus and tools as arrays of these. A record with children (a pointer and a count of at least
// one) becomes a menu, any other an item.
#pragma once

#include <cstdint>

class FWUserOp;

// Adjust and action callbacks receive the node they belong to.
using FWUserOpCallback = void (*)(FWUserOp*);

// Twelve fields, in this order.
struct FWOpData {
    const char* mName;           // the command's text
    int32_t mID;
    uint32_t mFlags;             // kUserOp... bits (FWUserOp.h)
    int32_t mIconID;             // 0: none
    int32_t mAltIconID;          // 0: none
    FWUserOpCallback mAdjust;
    FWUserOpCallback mAction;
    FWUserOpCallback mAltAction;
    int32_t mShortcutKey;        // a character in the low byte; 0 none; -1 (0xFF) shown in the
                                 // menu script's font instead of having a shortcut
    uint32_t mModifiers;         // low 16 bits: 0x100 command, 0x200 shift, 0x800 option
    const FWOpData* mChildren;   // an array of child records, or null
    int32_t mChildCount;
};
