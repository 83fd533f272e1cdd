// Menus of the host: menus with their items and item states, the menu bar's list of menus, the
// menu-bar and menu resources ('MBAR', 'MENU'), and the match of shortcut keys. The bar and its
// pull-down and hierarchical menus are drawn across the top of the virtual screen and tracked
// by HostMenuTracking; this file holds the model they show.
//
// Items are numbered from 1. Item text is Mac Roman. An item defined by a text that starts with
// '-' (AppendMenu, InsertMenuItem, 'MENU') is a separator line, never chosen; text set with
// SetMenuItemText is shown as it stands, so a row named from data is never a separator. Item 0 of
// the enable calls stands for the whole menu.
#pragma once

#include "HostEvents.h"
#include "HostPixels.h"
#include "HostTypes.h"

class HostPort;
using CGrafPtr = HostPort*;

#include <memory>
#include <vector>

using MenuID = int16_t;
using MenuItemIndex = uint16_t;
using MenuCommand = uint32_t;
using CharParameter = int16_t;

class HostMenu;
using MenuRef = HostMenu*;
using MenuHandle = HostMenu*;

// InsertMenu's beforeID that puts a menu among the hierarchical menus instead of the bar.
enum : MenuID { hierMenu = -1 };

// Marks: the check mark, or none. Any other byte is shown as the character it is.
enum : uint8_t {
    noMark = 0,
    checkMark = 0x12,
};

// Modifiers of an item's shortcut (SetMenuItemModifiers): the keys held with it. Without
// kMenuNoCommandModifier the command key is held too.
enum : uint8_t {
    kMenuNoModifiers = 0,
    kMenuShiftModifier = 1,
    kMenuOptionModifier = 2,
    kMenuControlModifier = 4,
    kMenuNoCommandModifier = 8,
};

// One item of a menu.
struct HostMenuItem {
    std::vector<uint8_t> text;
    bool enabled = true;
    uint8_t mark = noMark;
    uint8_t style = 0;              // kHostFace... bits
    uint16_t commandKey = 0;        // shortcut character (or virtual key code), 0 for none
    bool commandKeyIsVirtual = false;
    uint8_t modifiers = kMenuNoModifiers;
    int16_t iconID = 0;             // 0 for none
    std::shared_ptr<HostPixelMap> icon; // the icon's 32-bit image, when one was given
    int16_t fontID = 0;             // 0: the menu font
    MenuID submenuID = 0;           // the hierarchical menu attached, 0 for none
    MenuCommand command = 0;
    bool separator = false;         // defined as a separator line

    bool IsSeparator() const { return separator; }
};

class HostMenu {
public:
    HostMenu(MenuID id, ConstStr255Param title);

    MenuID ID() const { return mID; }
    const std::vector<uint8_t>& Title() const { return mTitle; }
    bool Enabled() const { return mEnabled; }
    void SetEnabled(bool enabled) { mEnabled = enabled; }

    uint16_t Count() const { return uint16_t(mItems.size()); }
    // Item 1..Count(), or null.
    HostMenuItem* Item(MenuItemIndex index);
    const HostMenuItem* Item(MenuItemIndex index) const;
    const std::vector<HostMenuItem>& Items() const { return mItems; }

    // Inserts the item so that it becomes item after + 1 (after past the end appends).
    void Insert(MenuItemIndex after, HostMenuItem item);
    void Remove(MenuItemIndex index);

private:
    MenuID mID;
    std::vector<uint8_t> mTitle;
    bool mEnabled = true;
    std::vector<HostMenuItem> mItems;
};

// --- Menus -----------------------------------------------------------------------------------

// A new empty menu; it lives until DisposeMenu (or HostResetMenus).
MenuRef NewMenu(MenuID menuID, ConstStr255Param title);
// Takes the menu out of the bar or the hierarchical list when it is still there, then frees it.
// Null and menus already disposed are ignored.
void DisposeMenu(MenuRef menu);
MenuID GetMenuID(MenuRef menu);

// A menu read from the 'MENU' resource of that id: its id, title, enable flags and items (text,
// icon number, shortcut key or submenu, mark and style). Null when the resource is missing
// (ResError tells why) or damaged: shorter than its fields say.
MenuRef GetMenu(int16_t resourceID);

// --- The menu bar ------------------------------------------------------------------------------

// Puts the menu into the bar before the menu beforeID (at the end when beforeID is 0 or not in
// the bar), or among the hierarchical menus for hierMenu. Nothing when a menu of the same id
// is already in that list.
void InsertMenu(MenuRef menu, MenuID beforeID);
// Takes the menu of that id out of the bar or the hierarchical list; it is not freed.
void DeleteMenu(MenuID menuID);
// Empties the bar and the hierarchical list; the menus are not freed.
void ClearMenuBar();
// The menu of that id in the bar or the hierarchical list, else null.
MenuHandle GetMenuHandle(MenuID menuID);

// A menu list read from the 'MBAR' resource of that id (a count, then that many 'MENU' ids),
// each menu read with GetMenu. The list is a handle for SetMenuBar; the bar is not changed.
// Null when the resource or one of its menus is missing or damaged.
Handle GetNewMBar(int16_t menuBarID);
// Makes the bar hold the menus of a list from GetNewMBar, in order; the hierarchical list is
// emptied. A null handle or one that is not such a list changes nothing.
void SetMenuBar(Handle menuList);

// Redraws the bar (it is shown on the screen as it is after this call).
void DrawMenuBar();
// Highlights the title of the menu in the bar; 0 removes the highlight.
void HiliteMenu(MenuID menuID);

// Tracks a press that began at startPt (global): the menu whose title is under the mouse is
// pulled down, items under the mouse are highlighted and their hierarchical menus opened, until
// the button is released. Released over an enabled item: (menu id << 16) + item, the title of
// the bar's menu left highlighted. A release on a title keeps the menu open until the next
// click. Anything else (Escape or Command-period too): 0, with no title highlighted. Input comes
// from the event queue (mouse presses and releases; keys typed while a menu is open are taken)
// and the mouse position; open menus show as pop-up windows. On the headless back end tracking
// ends, with nothing chosen, when no injected input is left.
int32_t MenuSelect(Point startPt);

// --- Items ---------------------------------------------------------------------------------------

// Appends the items of a definition: items separated by ';' or a carriage return; in each, '('
// disables it, '^' and a digit give an icon number, '!' and a character a mark, '<' and one of
// B I U O S a style, '/' and a character a shortcut; the remaining bytes are its text, and a text
// that starts with '-' makes the item a separator line.
void AppendMenu(MenuRef menu, ConstStr255Param data);
// The same, inserted after item afterItem (0 inserts at the top).
void InsertMenuItem(MenuRef menu, ConstStr255Param itemString, MenuItemIndex afterItem);
void DeleteMenuItem(MenuRef menu, MenuItemIndex item);
uint16_t CountMenuItems(MenuRef menu);

// The text as it stands: no metacharacters, and the item stays a separator or not as it was.
void SetMenuItemText(MenuRef menu, MenuItemIndex item, ConstStr255Param text);
void GetMenuItemText(MenuRef menu, MenuItemIndex item, Str255 text);

// Item 0 enables or disables the whole menu.
void EnableMenuItem(MenuRef menu, MenuItemIndex item);
void DisableMenuItem(MenuRef menu, MenuItemIndex item);
Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item);

void CheckMenuItem(MenuRef menu, MenuItemIndex item, Boolean checked);
void SetItemMark(MenuRef menu, MenuItemIndex item, CharParameter mark);
void GetItemMark(MenuRef menu, MenuItemIndex item, CharParameter* mark);

// Shortcuts: SetItemCmd gives a character (0 removes it); SetMenuItemCommandKey a character or,
// with virtualKey, a virtual key code.
void SetItemCmd(MenuRef menu, MenuItemIndex item, CharParameter key);
OSErr SetMenuItemCommandKey(MenuRef menu, MenuItemIndex item, Boolean virtualKey, uint16_t key);
OSErr SetMenuItemModifiers(MenuRef menu, MenuItemIndex item, uint8_t modifiers);
OSErr SetMenuItemFontID(MenuRef menu, MenuItemIndex item, int16_t fontID);
// Attaches the hierarchical menu of that id to the item (0 detaches).
OSErr SetMenuItemHierarchicalID(MenuRef menu, MenuItemIndex item, MenuID hierID);
// Gives the item an icon number (0 none). What is drawn is the image given with
// HostSetMenuItemIconImage; a number without an image draws nothing.
void SetItemIcon(MenuRef menu, MenuItemIndex item, int16_t iconID);

// Commands: a four-character code per item, so an item can be found and enabled by what it does.
OSErr SetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand command);
// The index-th item (from 1) with the command, in the menu or (for a null menu) in the bar and
// the hierarchical menus. -50 (paramErr) when there is none.
OSStatus GetIndMenuItemWithCommandID(MenuRef menu, MenuCommand command, uint32_t index, MenuRef* outMenu,
                                     MenuItemIndex* outIndex);
// The first item with the command (searched as above) is enabled or disabled.
void EnableMenuCommand(MenuRef menu, MenuCommand command);
void DisableMenuCommand(MenuRef menu, MenuCommand command);

// --- Shortcuts -----------------------------------------------------------------------------------

// The menu choice of a shortcut: (menu id << 16) + item of the first enabled item, in an enabled
// menu of the bar or a hierarchical menu reached from one, whose shortcut is the character
// (letters in either case) and whose modifiers are exactly those held (command 0x100, shift
// 0x200, option 0x800, control 0x1000). The menu's title is highlighted. 0 when none matches.
int32_t HostMenuMatchKey(uint8_t character, uint8_t keyCode, uint16_t modifiers);
// The same for a character typed with the command key alone.
int32_t MenuKey(CharParameter character);
// The same for a key-down or auto-key event (character and key code from its message, its
// modifiers); 0 for any other event.
uint32_t MenuEvent(const EventRecord* event);

// --- Host side -------------------------------------------------------------------------------------

// The menus of the bar in order, and the highlighted title (0 for none).
const std::vector<MenuRef>& HostMenuBarMenus();
MenuID HostHilitedMenu();
// A hierarchical menu by id (the bar's menus are not among them), else null.
MenuRef HostHierarchicalMenu(MenuID menuID);
// Whether the menu is live (made and not disposed).
bool HostIsMenu(MenuRef menu);
// Gives the item the image drawn as its icon (copied; 32 bits, its alpha honoured); null removes it.
void HostSetMenuItemIconImage(MenuRef menu, MenuItemIndex item, const HostPixelMap* image);
// Frees every menu and empties the bar (for the end of a run and for tests).
void HostResetMenus();

// --- Layout and drawing ------------------------------------------------------------------------
// In global coordinates. The bar is the strip of kHostMenuBarHeight rows across the top of the
// main screen; an open menu is a panel below its title (a pull-down) or beside the item that
// holds it (a hierarchical menu), kept on the screen.

struct HostMenuTitleLayout {
    MenuRef menu;
    int16_t left;
    int16_t right;
};
// The titles of the bar's menus from the left, each with its highlight box.
std::vector<HostMenuTitleLayout> HostLayOutMenuBar();

struct HostMenuPanelLayout {
    MenuRef menu = nullptr;
    Rect frame{0, 0, 0, 0};   // the whole panel, border included
    std::vector<Rect> items;  // item 1 first; empty rectangles for items that do not fit
};
// A pull-down whose top-left corner is at (left, the bar's bottom).
HostMenuPanelLayout HostLayOutPullDown(MenuRef menu, int16_t left);
// A hierarchical menu opened from an item of a panel: to the right of the panel with its first
// item level with the item, or to the left when there is no room on the right.
HostMenuPanelLayout HostLayOutSubmenu(MenuRef menu, const HostMenuPanelLayout& parent, MenuItemIndex item);

// Draws the bar into a port whose local coordinates are global ones (the screen's menu-bar strip).
void HostDrawMenuBar(CGrafPtr port);
// Draws a panel into a port whose local (0, 0) lies at the global point origin, with one item
// highlighted (0 for none; separators and disabled items never are).
void HostDrawMenuPanel(CGrafPtr port, Point origin, const HostMenuPanelLayout& panel, MenuItemIndex hilited);
// The text shown right of an item for its shortcut ("Ctrl+Shift+Alt+S"; the command key is Ctrl
// on this host, option Alt and control Super); empty for none.
std::vector<uint8_t> HostMenuShortcutLabel(const HostMenuItem& item);

// --- Tracking --------------------------------------------------------------------------------------

// Cancel: Escape or Command-period typed while the menus are open.
struct HostMenuInput {
    enum class Kind : uint8_t { Move, Down, Up, Cancel };
    Kind kind;
    Point where; // global
};

// The state machine of MenuSelect: fed mouse input, it knows the open title and menus, the
// highlighted items, and when and with what tracking ends.
class HostMenuTracker {
public:
    struct Panel {
        HostMenuPanelLayout layout;
        MenuItemIndex hilited = 0;
    };

    // The press that began tracking.
    explicit HostMenuTracker(Point start);
    void Feed(const HostMenuInput& input);
    // Ends tracking where it stands (no more input): nothing is chosen.
    void Abandon();

    bool Done() const { return mDone; }
    int32_t Result() const { return mResult; }
    MenuRef OpenTitle() const { return mTitle; }
    const std::vector<Panel>& Panels() const { return mPanels; }

private:
    struct Hit;
    Hit hitTest(Point where) const;
    void moveTo(Point where);
    void openTitle(MenuRef menu, int16_t left);
    void closeAbove(size_t panel);
    void finish(int32_t result);

    std::vector<Panel> mPanels;
    MenuRef mTitle = nullptr;
    bool mSticky = false;
    bool mDone = false;
    int32_t mResult = 0;
};

// Where MenuSelect takes its input: the next mouse event, false when none will come.
using HostMenuInputSource = bool (*)(HostMenuInput* input);
// Null restores the host's own source.
void HostSetMenuInputSource(HostMenuInputSource source);
