// The platform half of the menu bar: platform menus built from the command tree, their states
// kept in step with it, and menu choices and shortcuts turned back into commands.
#include "FWMenuMgr.h"

#include "DiskImage.h"
#include "FWApp.h"
#include "FWApplicationRegion.h"
#include "FWDynamicString.h"
#include "FWProgrammerMessage.h"
#include "FWUserOp.h"
#include "FWWindow.h"
#include "HostAppleEvents.h"
#include "HostClock.h"
#include "HostCoreFoundation.h"
#include "HostEvents.h"
#include "HostGestalt.h"
#include "HostMemory.h"
#include "HostMenus.h"
#include "HostPorts.h"
#include "HostScript.h"
#include "HostText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kSourcePath = "FW/PAL/Mac/Mac_FWMenuMgr";

constexpr MenuCommand kPreferencesCommand = FOUR_CHAR_CODE("pref");
constexpr MenuCommand kQuitCommand = FOUR_CHAR_CODE("quit");
constexpr uint32_t kGestaltMenuLayout = FOUR_CHAR_CODE("menu");
constexpr SInt32 kAquaMenuLayoutBit = 1 << 1;
constexpr int16_t kFirstMenuID = 131;
constexpr int16_t kLastMenuID = 235;
constexpr int16_t kEditMenuID = 130;
constexpr size_t kMaxTitleLength = 63;

// One built platform menu and the node it shows.
struct MacMenu {
    int16_t mID;
    MenuRef mMenu;
    FWUserOp* mOp;
    bool operator==(const MacMenu& other) const { return mID == other.mID; }
};

// A help-menu entry: nothing fills the table, so no help item exists.
struct HelpMenuEntry {
    FWDynamicString mText;
    void (*mFunction)(int32_t);
};

FWUserOp* sRootMenu = nullptr;
std::vector<MacMenu> sMacMenus;
std::vector<int16_t> sMBarMenuIDs;
int32_t sMBarCount = 0;
int16_t sMenuIDCounter = kFirstMenuID;
const int16_t sMBAR_ID = 128;
const int16_t sAppleMENU_ID = 128;
bool sMacMenusInited = false;
std::vector<MenuRef> sMBarMenus; // installed from the menu-bar resource
FWUserOp* sPreferencesOp = nullptr;
FWUserOp* sQuitOp = nullptr;
int16_t sPrefsMenuID = 0;
int32_t sPrefsMenuItem = 0;
int32_t sPrefsMenuItemOffset = 0;
bool gMenuScriptFont = true;
int16_t gMenuScriptFontID = 0;
int16_t gMenuScriptFontSize = 0;
int16_t sHelpMenuID = 0;
std::map<int32_t, HelpMenuEntry> sHelpMenuData;
bool sPreferencesHandlerInstalled = false;

bool aquaMenuLayout()
{
    SInt32 answer = 0;
    return Gestalt(kGestaltMenuLayout, &answer) == noErr && (answer & kAquaMenuLayoutBit) != 0;
}

bool isNamed(const FWUserOp* op, const char* name)
{
    return op != nullptr && std::strcmp(op->Name().GetCString(), name) == 0;
}

bool isSeparator(const FWUserOp* op)
{
    return op != nullptr && op->TestFlag(kUserOpSeparator);
}

void toPascal(const std::string& text, Str255 out)
{
    size_t n = std::min<size_t>(text.size(), 255);
    out[0] = uint8_t(n);
    std::memcpy(out + 1, text.data(), n);
}

// Names are UTF-8, as file names are, and shown as file names are everywhere (a name from an
// older system that is not UTF-8 shows each byte as Latin-1).
void setItemTextFromName(MenuRef menu, MenuItemIndex item, const FWUserOp* op)
{
    Str255 pascal;
    toPascal(HostFileNameToMacRoman(op->Name().GetCString()), pascal);
    SetMenuItemText(menu, item, pascal);
}

// The node's icon image shown in the item, when it has one.
void setItemIconImage(MenuRef menu, MenuItemIndex item, const FWUserOp* op)
{
    const DiskImage* icon = op->Icon();
    if (icon == nullptr || !icon->Valid())
        return;
    if (const HostPixelMap* pixels = GetGWorldPixMap(icon->GetPDB()))
        HostSetMenuItemIconImage(menu, item, pixels);
}

void buildMenuScriptFont()
{
    if (!gMenuScriptFont)
        return;
    gMenuScriptFont = false;
    if (FWGetApplicationRegion() == 0)
        return;
    gMenuScriptFontID = int16_t(GetScriptVariable(smSystemScript, smScriptMenuFond));
    gMenuScriptFontSize = int16_t(GetScriptVariable(smSystemScript, smScriptMenuFondSize));
}

OSErr handlePreferencesEvent(const AppleEvent*, AppleEvent*, SRefCon)
{
    if (sPreferencesOp != nullptr) {
        sPreferencesOp->SetModifiers(0);
        sPreferencesOp->DoAction();
    }
    return noErr;
}

MenuRef buildMenu(FWUserOp* node, int depth, int16_t* builtID);

// Appends the platform items of the node's children; the nodes named "Preferences..." and
// "Quit" go to the application menu on the Aqua layout and get no item here.
void buildItems(MenuRef menu, FWUserOp* node, int depth)
{
    const bool aqua = aquaMenuLayout();
    for (FWUserOp* child = node->FirstChild(); child != nullptr; child = child->NextPeer()) {
        if (aqua && isNamed(child, "Preferences...")) {
            sPreferencesOp = child;
            const FWUserOp* next = child->NextPeer();
            sPrefsMenuItemOffset = 1;
            if (isSeparator(child->PrevPeer()) && (next == nullptr || isSeparator(next))) {
                DeleteMenuItem(menu, CountMenuItems(menu));
                sPrefsMenuItemOffset = 2;
            }
            sPrefsMenuID = GetMenuID(menu);
            sPrefsMenuItem = CountMenuItems(menu);
            const char key = child->ShortcutKey();
            if (key != 0 && key != char(-1)) {
                MenuRef appMenu = nullptr;
                MenuItemIndex index = 0;
                if (GetIndMenuItemWithCommandID(nullptr, kPreferencesCommand, 1, &appMenu, &index) == noErr)
                    SetMenuItemCommandKey(appMenu, index, false, uint8_t(key));
            }
            continue;
        }
        if (aqua && isNamed(child, "Quit")) {
            sQuitOp = child;
            if (isSeparator(child->PrevPeer()))
                DeleteMenuItem(menu, CountMenuItems(menu));
            continue;
        }

        // Appended blank (or as a separator line) and then named, so that a name is shown as it
        // stands: its first character never makes a row a separator, nor do metacharacters.
        static const unsigned char kPlaceholder[] = {1, ' '};
        static const unsigned char kSeparatorLine[] = {1, '-'};
        AppendMenu(menu, isSeparator(child) ? kSeparatorLine : kPlaceholder);
        const MenuItemIndex item = CountMenuItems(menu);
        setItemTextFromName(menu, item, child);
        if (child->TestFlag(kUserOpDisabled))
            DisableMenuItem(menu, item);
        SetItemIcon(menu, item, int16_t(child->IconID()));
        setItemIconImage(menu, item, child);

        const char key = child->ShortcutKey();
        if (key != 0 && key != char(-1)) {
            SetMenuItemCommandKey(menu, item, false, uint8_t(key));
            uint8_t modifiers = kMenuNoModifiers;
            if (!(child->ShortcutMods() & kFWCommandKey))
                modifiers |= kMenuNoCommandModifier;
            if (child->ShortcutMods() & kFWOptionKey)
                modifiers |= kMenuOptionModifier;
            if (child->ShortcutMods() & kFWShiftKey)
                modifiers |= kMenuShiftModifier;
            SetMenuItemModifiers(menu, item, modifiers);
        } else if (key == char(-1)) {
            buildMenuScriptFont();
            SetMenuItemFontID(menu, item, gMenuScriptFontID);
        }

        if (child->TestFlag(kUserOpHasChildren)) {
            int16_t subID = 0;
            if (buildMenu(child, depth, &subID) != nullptr)
                SetMenuItemHierarchicalID(menu, item, subID);
        }
    }
}

// Builds the node's platform menu with its items; a top-level menu (depth 1) without items is
// not shown. Returns the menu, or null.
MenuRef buildMenu(FWUserOp* node, int depth, int16_t* builtID)
{
    if (sMenuIDCounter > kLastMenuID)
        fw_programmer_message("Too many menus created.", kSourcePath, 354);

    Str255 title;
    std::string name(node->Name().GetCString());
    toPascal(name.substr(0, kMaxTitleLength), title);
    static const unsigned char kEdit[] = {4, 'E', 'd', 'i', 't'};
    const int16_t id = EqualString(title, kEdit, false, false) ? kEditMenuID : sMenuIDCounter++;

    MenuRef menu = NewMenu(id, title);
    if (menu == nullptr) {
        fw_programmer_message("", kSourcePath, 362);
        return nullptr;
    }
    buildItems(menu, node, depth + 1);

    const bool topLevel = depth < 2;
    if (topLevel && CountMenuItems(menu) == 0) {
        DisposeMenu(menu);
        return nullptr;
    }
    InsertMenu(menu, topLevel ? 0 : hierMenu);
    sMacMenus.push_back(MacMenu{id, menu, node});
    if (topLevel) {
        sMBarMenuIDs.push_back(id);
        sMBarCount = int32_t(sMBarMenuIDs.size());
        if (node->TestFlag(kUserOpHilited))
            HiliteMenu(id);
    }
    if (builtID != nullptr)
        *builtID = id;
    return menu;
}

// Installs the menu bar resource once, with the about item named after the application.
void installMenuBar()
{
    if (sMacMenusInited)
        return;
    sMacMenusInited = true;
    if (Handle list = GetNewMBar(sMBAR_ID)) {
        SetMenuBar(list);
        DisposeHandle(list);
        sMBarMenus = HostMenuBarMenus();
    }
    MenuRef appMenu = GetMenuHandle(sAppleMENU_ID);
    if (appMenu == nullptr)
        return;
    FWDynamicString shortName;
    FWApp::Instance()->GetAppShortName(shortName);
    char text[256];
    std::snprintf(text, sizeof text, "About %s...", shortName.GetCString());
    Str255 about;
    toPascal(text, about);
    SetMenuItemText(appMenu, 1, about);
}

// Enables or disables a node's platform item, or its application-menu command.
struct ItemTarget {
    MenuRef mMenu = nullptr;
    MenuItemIndex mItem = 0;
    MenuCommand mCommand = 0; // set: the node's item is the application menu's command

    void Enable(bool enable) const
    {
        if (mCommand != 0)
            enable ? EnableMenuCommand(nullptr, mCommand) : DisableMenuCommand(nullptr, mCommand);
        else
            enable ? EnableMenuItem(mMenu, mItem) : DisableMenuItem(mMenu, mItem);
    }
};

void adjustNode(FWUserOp* op, const ItemTarget& target, unsigned short modifiers, bool modal, bool allowed)
{
    if (!allowed) {
        target.Enable(false);
    } else if (op->Adjust() != nullptr) {
        op->SetModifiers(modifiers);
        op->DoAdjust();
        bool enable = !op->TestFlag(kUserOpDisabled);
        if (modal && !op->TestFlag(kUserOpModalEnabled))
            enable = false;
        target.Enable(enable);
        if (op->TestFlag(kUserOpNameChanged)) {
            if (target.mCommand == 0)
                setItemTextFromName(target.mMenu, target.mItem, op);
            op->ClearFlag(kUserOpNameChanged);
        }
    } else if (!op->TestFlag(kUserOpSeparator)) {
        target.Enable(!op->TestFlag(kUserOpDisabled));
    }
    if (op->TestFlag(kUserOpCheckable) && target.mCommand == 0)
        CheckMenuItem(target.mMenu, target.mItem, op->TestFlag(kUserOpChecked));
}

} // namespace

void FWMenuMgr::RebuildMenus()
{
    SetGDevice(GetMainDevice());
    if (!sPreferencesHandlerInstalled) {
        sPreferencesHandlerInstalled = true;
        AEInstallEventHandler(kCoreEventClass, FOUR_CHAR_CODE("pref"), handlePreferencesEvent, nullptr, false);
    }
    delete_platform_menus();
    installMenuBar();

    sRootMenu = mRoot;
    sMBarMenuIDs.clear();
    sMBarCount = 0;
    sMenuIDCounter = kFirstMenuID;
    sPreferencesOp = nullptr;
    sQuitOp = nullptr;
    sPrefsMenuID = 0;
    sPrefsMenuItem = 0;
    sPrefsMenuItemOffset = 0;
    if (mRoot != nullptr)
        for (FWUserOp* menu = mRoot->FirstChild(); menu != nullptr; menu = menu->NextPeer())
            buildMenu(menu, 1, nullptr);
    DrawMenuBar();
}

void FWMenuMgr::delete_platform_menus()
{
    for (auto it = sMacMenus.rbegin(); it != sMacMenus.rend(); ++it) {
        DeleteMenu(it->mID);
        DisposeMenu(it->mMenu);
    }
    sMacMenus.clear();
}

void FWMenuMgr::remove_menu_bar()
{
    for (MenuRef menu : sMBarMenus) {
        if (!HostIsMenu(menu))
            continue;
        DeleteMenu(GetMenuID(menu));
        DisposeMenu(menu);
    }
    sMBarMenus.clear();
    sMacMenusInited = false;
}

void FWMenuMgr::adjust_menus(unsigned short modifiers)
{
    bool modal = false;
    bool allowed = true;
    if (FWWindow* front = FWApp::Instance()->GetFrontWindow()) {
        modal = front->GetStyle() == 1;
        allowed = front->MenusAllowed();
    }
    if (MenuRef appMenu = GetMenuHandle(sAppleMENU_ID))
        allowed ? EnableMenuItem(appMenu, 1) : DisableMenuItem(appMenu, 1);

    const bool aqua = aquaMenuLayout();
    for (const MacMenu& built : sMacMenus) {
        MenuItemIndex item = 1;
        for (FWUserOp* op = built.mOp->FirstChild(); op != nullptr; op = op->NextPeer()) {
            if (aqua && (op == sPreferencesOp || op == sQuitOp)) {
                ItemTarget command{nullptr, 0, op == sPreferencesOp ? kPreferencesCommand : kQuitCommand};
                adjustNode(op, command, modifiers, modal, allowed);
                continue;
            }
            // The separator left out with "Preferences..." or "Quit" has no item either.
            if (aqua && isSeparator(op) &&
                ((op->NextPeer() == sPreferencesOp && sPreferencesOp != nullptr && sPrefsMenuItemOffset == 2 &&
                  built.mID == sPrefsMenuID) ||
                 (op->NextPeer() == sQuitOp && sQuitOp != nullptr)))
                continue;
            adjustNode(op, ItemTarget{built.mMenu, item, 0}, modifiers, modal, allowed);
            ++item;
        }
    }
    DrawMenuBar();
}

void FWMenuMgr::DoMouseDownInMenuBar(const FWEvent& event)
{
    SetGDevice(GetMainDevice());
    adjust_menus(event.mModifiers);
    const int32_t choice = MenuSelect(Point{event.mGlobalWhere.v, event.mGlobalWhere.h});
    do_menu_choice(choice, event.mModifiers);
    HiliteMenu(0);
}

bool FWMenuMgr::DoMenuShortcutKey(int32_t character, unsigned short modifiers)
{
    SetGDevice(GetMainDevice());
    adjust_menus(modifiers);
    EventRecord key;
    key.what = keyDown;
    key.message = uint32_t(character);
    key.when = TickCount();
    key.modifiers = modifiers;
    const int32_t choice = int32_t(MenuEvent(&key));
    const bool matched = (choice >> 16) != 0;
    if (matched)
        do_menu_choice(choice, modifiers);
    HiliteMenu(0);
    return matched;
}

void FWMenuMgr::do_menu_choice(int32_t choice, unsigned short modifiers)
{
    const int16_t menuID = int16_t(choice >> 16);
    int32_t item = choice & 0xFFFF;
    if (menuID == sAppleMENU_ID) {
        if (item == 1)
            FWApp::Instance()->DoAboutApp();
        return;
    }
    if (menuID == sHelpMenuID) {
        auto entry = sHelpMenuData.find(item);
        if (entry != sHelpMenuData.end() && entry->second.mFunction != nullptr)
            entry->second.mFunction(0);
        return;
    }
    // Items after the left-out "Preferences..." stand one or two nodes further on.
    if (menuID == sPrefsMenuID && item > sPrefsMenuItem)
        item += sPrefsMenuItemOffset;
    auto built = std::find(sMacMenus.begin(), sMacMenus.end(), MacMenu{menuID, nullptr, nullptr});
    if (built == sMacMenus.end() || item < 1)
        return;
    FWUserOp* op = built->mOp->FirstChild();
    for (int32_t i = 1; op != nullptr && i < item; ++i)
        op = op->NextPeer();
    if (op == nullptr)
        return;
    maybe_toggle_check_mark(op);
    op->SetModifiers(modifiers);
    op->DoAction();
}
