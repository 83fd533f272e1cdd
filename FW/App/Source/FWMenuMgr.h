// The menu bar: shows a command tree as the platform's menu bar. The root's children are the
// bar's menus. Before every menu choice and shortcut the tree's adjust callbacks set each
// command's state; a choice or a shortcut runs the chosen command's action. The platform half
// (Mac_FWMenuMgr) builds and tracks the platform menus.
#pragma once

#include "FWEvent.h"

#include <cstdint>

struct FWOpData;
class FWString;
class FWUserOp;

class FWMenuMgr {
public:
    // The singleton, made on first use and destroyed at program exit if still alive.
    static FWMenuMgr* Instance();
    static void Destroy();
    // Removes the platform menus, the menu-bar resource's included, and deletes the tree.
    virtual ~FWMenuMgr();
    FWMenuMgr(const FWMenuMgr&) = delete;
    FWMenuMgr& operator=(const FWMenuMgr&) = delete;

    // The tree
    FWUserOp* GetRootMenu() const { return mRoot; }
    // Deletes the old tree, installs the new one and rebuilds the bar; nothing when it is the root.
    void SetRootMenu(FWUserOp* root);
    // A new item from the record, after the last child of the first top-level menu of that name
    // (the first child when the menu is empty); the bar is rebuilt. Null, with nothing made, when
    // there is no such menu.
    FWUserOp* AppendItemToMenu(const FWString& menuName, const FWOpData& data);
    // Unlinks and deletes the first node with the id below the root (never the root itself) and
    // rebuilds the bar; false when there is none.
    bool RemoveItemWithID(int32_t id);

    // The platform menus
    void RebuildMenus();
    // Runs the adjust callbacks and sets the menus' enabled and checked states.
    void adjust_menus(unsigned short modifiers);
    // A press in the menu bar: tracks it and runs the chosen command.
    void DoMouseDownInMenuBar(const FWEvent& event);
    // A key with its modifiers (the key's message word, the character in its low byte): true when
    // it was a menu's shortcut, whose command then ran.
    bool DoMenuShortcutKey(int32_t character, unsigned short modifiers);
    // A checkable command that is not disabled toggles its checked state.
    void maybe_toggle_check_mark(FWUserOp* op);
    void delete_platform_menus();

private:
    FWMenuMgr();
    // Takes the menu-bar resource's menus out of the bar again.
    void remove_menu_bar();
    void do_menu_choice(int32_t choice, unsigned short modifiers);

    FWUserOp* mRoot;
};
