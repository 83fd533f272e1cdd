// A command tree (FWOpMenu) shown as a self-drawn cascading pop-up menu. Track opens it at a
// point and follows the mouse in a nested event loop until the user chooses an item or gives
// up: a click released at once leaves the menu open (sticky), submenus open after a pause over
// their item, and a menu taller than the screen scrolls from its arrow zones.
#pragma once

#include "FWPoint.h"

#include <cstdint>

class FWOpMenu;
class FWUserOp;

class FWPopupMenu {
public:
    // Wraps the menu; when owns is set the menu is deleted with the pop-up.
    FWPopupMenu(FWOpMenu* menu, bool owns);
    virtual ~FWPopupMenu();
    FWPopupMenu(const FWPopupMenu&) = delete;
    FWPopupMenu& operator=(const FWPopupMenu&) = delete;

    FWOpMenu* Root() const { return mMenu; }
    bool OwnsMenu() const { return mOwns; }

    // Shows the menu with the item of currentIndex under the global point (-1: none) and
    // tracks the mouse. Answers the chosen item's index within its own menu level, or -1 when
    // nothing was chosen; chosen (when not null) receives the chosen op or null.
    int32_t Track(const FWPoint& globalPoint, int32_t currentIndex, FWUserOp** chosen);

private:
    FWOpMenu* mMenu;
    bool mOwns;
    // 0: the current item's top-left at the point; 1: centred on it; 2: ending at it.
    int mAlignment = 0;
};
