// The menu model: live menus, the bar's list and the hierarchical list, item calls, the
// 'MBAR' and 'MENU' readers and the shortcut match.
#include "HostMenus.h"

#include "HostMemory.h"
#include "HostResources.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

namespace {

constexpr uint16_t kShortcutModifiers = cmdKey | shiftKey | optionKey | controlKey;

// Shortcut bytes of 'MENU' items that are not characters.
constexpr uint8_t kHierarchicalKey = 0x1B; // the mark byte holds the submenu's id
constexpr uint8_t kFirstSpecialKey = 0x1C; // 0x1C..0x1F: script and icon-size codes

// A menu list handle made by GetNewMBar: a tag, a count, then the menus.
constexpr uint32_t kMenuListTag = FOUR_CHAR_CODE("mlst");
struct MenuListHeader {
    uint32_t tag;
    uint32_t count;
};

// Hierarchical menus reached from the bar are searched to this depth, so a menu that (directly
// or not) holds itself cannot loop.
constexpr int kMaxSubmenuDepth = 16;

struct MenuState {
    std::set<MenuRef> live;
    std::vector<MenuRef> bar;
    std::vector<MenuRef> hierarchical;
    MenuID hilited = 0;
};

MenuState& state()
{
    static auto* s = new MenuState;
    return *s;
}

HostMenuItem* itemOf(MenuRef menu, MenuItemIndex index)
{
    if (!HostIsMenu(menu))
        return nullptr;
    return menu->Item(index);
}

std::vector<MenuRef>::iterator findIn(std::vector<MenuRef>& list, MenuID id)
{
    return std::find_if(list.begin(), list.end(), [id](MenuRef m) { return m->ID() == id; });
}

void removeFromLists(MenuRef menu)
{
    MenuState& s = state();
    s.bar.erase(std::remove(s.bar.begin(), s.bar.end(), menu), s.bar.end());
    s.hierarchical.erase(std::remove(s.hierarchical.begin(), s.hierarchical.end(), menu), s.hierarchical.end());
    if (s.hilited == menu->ID() && GetMenuHandle(menu->ID()) == nullptr)
        s.hilited = 0;
}

// In a definition (AppendMenu, 'MENU'), a text that starts with '-' makes a separator line.
bool startsSeparator(const std::vector<uint8_t>& text)
{
    return !text.empty() && text[0] == '-';
}

// Parses one item definition of AppendMenu (metacharacters and text).
HostMenuItem parseItem(const uint8_t* p, size_t n)
{
    HostMenuItem item;
    for (size_t i = 0; i < n; ++i) {
        uint8_t c = p[i];
        bool hasNext = i + 1 < n;
        switch (c) {
        case '(':
            item.enabled = false;
            continue;
        case '^':
            if (hasNext)
                item.iconID = int16_t(p[++i] - '0');
            continue;
        case '!':
            if (hasNext)
                item.mark = p[++i];
            continue;
        case '/':
            if (hasNext)
                item.commandKey = p[++i];
            continue;
        case '<':
            if (hasNext) {
                switch (p[++i]) {
                case 'B': item.style |= 1; break;
                case 'I': item.style |= 2; break;
                case 'U': item.style |= 4; break;
                case 'O': item.style |= 8; break;
                case 'S': item.style |= 16; break;
                default: break;
                }
            }
            continue;
        default:
            item.text.push_back(c);
        }
    }
    item.separator = startsSeparator(item.text);
    return item;
}

void insertDefinitions(MenuRef menu, ConstStr255Param data, MenuItemIndex after)
{
    if (!HostIsMenu(menu) || data == nullptr)
        return;
    const uint8_t* p = data + 1;
    size_t length = data[0];
    size_t start = 0;
    MenuItemIndex at = std::min<MenuItemIndex>(after, menu->Count());
    for (size_t i = 0; i <= length; ++i) {
        if (i < length && p[i] != ';' && p[i] != '\r')
            continue;
        menu->Insert(at++, parseItem(p + start, i - start));
        start = i + 1;
    }
}

// Reads the big-endian fields of a resource with every read checked against its size.
class Reader {
public:
    Reader(const uint8_t* bytes, size_t size) : mBytes(bytes), mSize(size) {}
    bool U8(uint8_t& out)
    {
        if (mAt + 1 > mSize)
            return false;
        out = mBytes[mAt++];
        return true;
    }
    bool U16(uint16_t& out)
    {
        uint8_t a, b;
        if (!U8(a) || !U8(b))
            return false;
        out = uint16_t((a << 8) | b);
        return true;
    }
    bool U32(uint32_t& out)
    {
        uint16_t a, b;
        if (!U16(a) || !U16(b))
            return false;
        out = (uint32_t(a) << 16) | b;
        return true;
    }
    // A length-prefixed string into a Str255.
    bool PString(Str255 out)
    {
        uint8_t length;
        if (!U8(length) || mAt + length > mSize)
            return false;
        out[0] = length;
        std::memcpy(out + 1, mBytes + mAt, length);
        mAt += length;
        return true;
    }

private:
    const uint8_t* mBytes;
    size_t mSize;
    size_t mAt = 0;
};

// The 'MENU' layout: id, width, height, definition id, filler (16 bits each), enable flags
// (32 bits: bit 0 the menu, bit n item n), title; then items of text, icon number, shortcut
// key, mark and style bytes, ended by an empty text.
MenuRef parseMenu(const uint8_t* bytes, size_t size)
{
    Reader in(bytes, size);
    uint16_t id, width, height, definition, filler;
    uint32_t enableFlags;
    Str255 title;
    if (!in.U16(id) || !in.U16(width) || !in.U16(height) || !in.U16(definition) || !in.U16(filler) ||
        !in.U32(enableFlags) || !in.PString(title))
        return nullptr;
    auto menu = std::make_unique<HostMenu>(MenuID(id), title);
    menu->SetEnabled(enableFlags & 1);
    for (;;) {
        Str255 text;
        if (!in.PString(text))
            return nullptr;
        if (text[0] == 0)
            break;
        uint8_t icon, key, mark, style;
        if (!in.U8(icon) || !in.U8(key) || !in.U8(mark) || !in.U8(style))
            return nullptr;
        if (menu->Count() == 0xFFFF)
            return nullptr;
        HostMenuItem item;
        item.text.assign(text + 1, text + 1 + text[0]);
        item.separator = startsSeparator(item.text);
        unsigned number = menu->Count() + 1u;
        item.enabled = number > 31 || (enableFlags >> number) & 1;
        item.iconID = icon;
        item.style = style;
        if (key == kHierarchicalKey) {
            item.submenuID = mark;
        } else {
            item.mark = mark;
            if (key < kFirstSpecialKey || key > 0x1F)
                item.commandKey = key;
        }
        menu->Insert(menu->Count(), std::move(item));
    }
    MenuRef made = menu.release();
    state().live.insert(made);
    return made;
}

// Searches the menu's items, then the submenus of its enabled items, for the shortcut.
int32_t matchIn(MenuRef menu, uint8_t character, uint8_t keyCode, uint16_t held, int depth)
{
    if (menu == nullptr || !menu->Enabled() || depth > kMaxSubmenuDepth)
        return 0;
    const uint8_t wanted = uint8_t(std::toupper(character));
    for (MenuItemIndex i = 1; i <= menu->Count(); ++i) {
        const HostMenuItem& item = *menu->Item(i);
        if (!item.enabled || item.IsSeparator() || item.commandKey == 0)
            continue;
        uint16_t needed = (item.modifiers & kMenuNoCommandModifier) ? 0 : cmdKey;
        if (item.modifiers & kMenuShiftModifier)
            needed |= shiftKey;
        if (item.modifiers & kMenuOptionModifier)
            needed |= optionKey;
        if (item.modifiers & kMenuControlModifier)
            needed |= controlKey;
        if (needed != held)
            continue;
        bool same = item.commandKeyIsVirtual ? item.commandKey == keyCode
                                             : std::toupper(item.commandKey & 0xFF) == wanted;
        if (same)
            return (int32_t(menu->ID()) << 16) | i;
    }
    for (MenuItemIndex i = 1; i <= menu->Count(); ++i) {
        const HostMenuItem& item = *menu->Item(i);
        if (item.submenuID == 0 || !item.enabled)
            continue;
        if (int32_t found = matchIn(HostHierarchicalMenu(item.submenuID), character, keyCode, held, depth + 1))
            return found;
    }
    return 0;
}

// The index-th item with the command, in menu order.
bool findCommand(MenuRef menu, MenuCommand command, uint32_t& index, MenuRef* outMenu, MenuItemIndex* outIndex)
{
    for (MenuItemIndex i = 1; i <= menu->Count(); ++i) {
        if (menu->Item(i)->command != command || --index != 0)
            continue;
        if (outMenu)
            *outMenu = menu;
        if (outIndex)
            *outIndex = i;
        return true;
    }
    return false;
}

void setCommandEnabled(MenuRef menu, MenuCommand command, bool enabled)
{
    MenuRef found = nullptr;
    MenuItemIndex index = 0;
    if (GetIndMenuItemWithCommandID(menu, command, 1, &found, &index) == noErr)
        found->Item(index)->enabled = enabled;
}

} // namespace

// --- HostMenu ------------------------------------------------------------------------------------

HostMenu::HostMenu(MenuID id, ConstStr255Param title) : mID(id)
{
    if (title != nullptr)
        mTitle.assign(title + 1, title + 1 + title[0]);
}

HostMenuItem* HostMenu::Item(MenuItemIndex index)
{
    return index >= 1 && index <= mItems.size() ? &mItems[index - 1] : nullptr;
}

const HostMenuItem* HostMenu::Item(MenuItemIndex index) const
{
    return index >= 1 && index <= mItems.size() ? &mItems[index - 1] : nullptr;
}

void HostMenu::Insert(MenuItemIndex after, HostMenuItem item)
{
    size_t at = std::min<size_t>(after, mItems.size());
    mItems.insert(mItems.begin() + std::ptrdiff_t(at), std::move(item));
}

void HostMenu::Remove(MenuItemIndex index)
{
    if (index >= 1 && index <= mItems.size())
        mItems.erase(mItems.begin() + (index - 1));
}

// --- Menus ---------------------------------------------------------------------------------------

MenuRef NewMenu(MenuID menuID, ConstStr255Param title)
{
    MenuRef menu = new HostMenu(menuID, title);
    state().live.insert(menu);
    return menu;
}

void DisposeMenu(MenuRef menu)
{
    if (!HostIsMenu(menu))
        return;
    removeFromLists(menu);
    state().live.erase(menu);
    delete menu;
}

MenuID GetMenuID(MenuRef menu)
{
    return HostIsMenu(menu) ? menu->ID() : 0;
}

MenuRef GetMenu(int16_t resourceID)
{
    Handle h = GetResource(FOUR_CHAR_CODE("MENU"), resourceID);
    if (h == nullptr)
        return nullptr;
    return parseMenu(reinterpret_cast<const uint8_t*>(*h), size_t(GetHandleSize(h)));
}

// --- The menu bar ------------------------------------------------------------------------------

void InsertMenu(MenuRef menu, MenuID beforeID)
{
    if (!HostIsMenu(menu))
        return;
    MenuState& s = state();
    std::vector<MenuRef>& list = beforeID == hierMenu ? s.hierarchical : s.bar;
    if (findIn(list, menu->ID()) != list.end())
        return;
    auto before = beforeID == 0 || beforeID == hierMenu ? list.end() : findIn(list, beforeID);
    list.insert(before, menu);
}

void DeleteMenu(MenuID menuID)
{
    if (MenuRef menu = GetMenuHandle(menuID))
        removeFromLists(menu);
}

void ClearMenuBar()
{
    MenuState& s = state();
    s.bar.clear();
    s.hierarchical.clear();
    s.hilited = 0;
}

MenuHandle GetMenuHandle(MenuID menuID)
{
    MenuState& s = state();
    auto it = findIn(s.bar, menuID);
    if (it != s.bar.end())
        return *it;
    return HostHierarchicalMenu(menuID);
}

Handle GetNewMBar(int16_t menuBarID)
{
    Handle bar = GetResource(FOUR_CHAR_CODE("MBAR"), menuBarID);
    if (bar == nullptr)
        return nullptr;
    Reader in(reinterpret_cast<const uint8_t*>(*bar), size_t(GetHandleSize(bar)));
    uint16_t count;
    if (!in.U16(count))
        return nullptr;
    std::vector<uint16_t> ids(count);
    for (uint16_t& id : ids)
        if (!in.U16(id))
            return nullptr;
    std::vector<MenuRef> menus;
    for (uint16_t id : ids) {
        MenuRef menu = GetMenu(int16_t(id));
        if (menu == nullptr) {
            for (MenuRef made : menus)
                DisposeMenu(made);
            return nullptr;
        }
        menus.push_back(menu);
    }
    Handle list = NewHandle(Size(sizeof(MenuListHeader) + menus.size() * sizeof(MenuRef)));
    if (list == nullptr) {
        for (MenuRef made : menus)
            DisposeMenu(made);
        return nullptr;
    }
    MenuListHeader header{kMenuListTag, uint32_t(menus.size())};
    std::memcpy(*list, &header, sizeof header);
    if (!menus.empty())
        std::memcpy(*list + sizeof header, menus.data(), menus.size() * sizeof(MenuRef));
    return list;
}

void SetMenuBar(Handle menuList)
{
    if (!HostIsHandle(menuList) || size_t(GetHandleSize(menuList)) < sizeof(MenuListHeader))
        return;
    MenuListHeader header;
    std::memcpy(&header, *menuList, sizeof header);
    if (header.tag != kMenuListTag ||
        size_t(GetHandleSize(menuList)) != sizeof header + size_t(header.count) * sizeof(MenuRef))
        return;
    std::vector<MenuRef> menus(header.count);
    if (!menus.empty())
        std::memcpy(menus.data(), *menuList + sizeof header, menus.size() * sizeof(MenuRef));
    ClearMenuBar();
    for (MenuRef menu : menus)
        InsertMenu(menu, 0);
}

void HiliteMenu(MenuID menuID)
{
    state().hilited = menuID;
    DrawMenuBar();
}

// --- Items ---------------------------------------------------------------------------------------

void AppendMenu(MenuRef menu, ConstStr255Param data)
{
    if (HostIsMenu(menu))
        insertDefinitions(menu, data, menu->Count());
}

void InsertMenuItem(MenuRef menu, ConstStr255Param itemString, MenuItemIndex afterItem)
{
    insertDefinitions(menu, itemString, afterItem);
}

void DeleteMenuItem(MenuRef menu, MenuItemIndex item)
{
    if (HostIsMenu(menu))
        menu->Remove(item);
}

uint16_t CountMenuItems(MenuRef menu)
{
    return HostIsMenu(menu) ? menu->Count() : 0;
}

void SetMenuItemText(MenuRef menu, MenuItemIndex item, ConstStr255Param text)
{
    if (HostMenuItem* it = itemOf(menu, item); it != nullptr && text != nullptr)
        it->text.assign(text + 1, text + 1 + text[0]);
}

void GetMenuItemText(MenuRef menu, MenuItemIndex item, Str255 text)
{
    if (text == nullptr)
        return;
    text[0] = 0;
    if (const HostMenuItem* it = itemOf(menu, item)) {
        size_t n = std::min<size_t>(it->text.size(), 255);
        text[0] = uint8_t(n);
        std::memcpy(text + 1, it->text.data(), n);
    }
}

void EnableMenuItem(MenuRef menu, MenuItemIndex item)
{
    if (item == 0 && HostIsMenu(menu))
        menu->SetEnabled(true);
    else if (HostMenuItem* it = itemOf(menu, item))
        it->enabled = true;
}

void DisableMenuItem(MenuRef menu, MenuItemIndex item)
{
    if (item == 0 && HostIsMenu(menu))
        menu->SetEnabled(false);
    else if (HostMenuItem* it = itemOf(menu, item))
        it->enabled = false;
}

Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item)
{
    if (!HostIsMenu(menu))
        return false;
    if (item == 0)
        return menu->Enabled();
    const HostMenuItem* it = menu->Item(item);
    return it != nullptr && it->enabled;
}

void CheckMenuItem(MenuRef menu, MenuItemIndex item, Boolean checked)
{
    if (HostMenuItem* it = itemOf(menu, item))
        it->mark = checked ? checkMark : noMark;
}

void SetItemMark(MenuRef menu, MenuItemIndex item, CharParameter mark)
{
    if (HostMenuItem* it = itemOf(menu, item))
        it->mark = uint8_t(mark);
}

void GetItemMark(MenuRef menu, MenuItemIndex item, CharParameter* mark)
{
    if (mark == nullptr)
        return;
    const HostMenuItem* it = itemOf(menu, item);
    *mark = it != nullptr ? CharParameter(it->mark) : CharParameter(noMark);
}

void SetItemCmd(MenuRef menu, MenuItemIndex item, CharParameter key)
{
    if (HostMenuItem* it = itemOf(menu, item)) {
        it->commandKey = uint8_t(key);
        it->commandKeyIsVirtual = false;
    }
}

OSErr SetMenuItemCommandKey(MenuRef menu, MenuItemIndex item, Boolean virtualKey, uint16_t key)
{
    HostMenuItem* it = itemOf(menu, item);
    if (it == nullptr)
        return paramErr;
    it->commandKey = virtualKey ? key : uint16_t(key & 0xFF);
    it->commandKeyIsVirtual = virtualKey;
    return noErr;
}

OSErr SetMenuItemModifiers(MenuRef menu, MenuItemIndex item, uint8_t modifiers)
{
    HostMenuItem* it = itemOf(menu, item);
    if (it == nullptr)
        return paramErr;
    it->modifiers = modifiers;
    return noErr;
}

OSErr SetMenuItemFontID(MenuRef menu, MenuItemIndex item, int16_t fontID)
{
    HostMenuItem* it = itemOf(menu, item);
    if (it == nullptr)
        return paramErr;
    it->fontID = fontID;
    return noErr;
}

OSErr SetMenuItemHierarchicalID(MenuRef menu, MenuItemIndex item, MenuID hierID)
{
    HostMenuItem* it = itemOf(menu, item);
    if (it == nullptr)
        return paramErr;
    it->submenuID = hierID;
    return noErr;
}

void SetItemIcon(MenuRef menu, MenuItemIndex item, int16_t iconID)
{
    if (HostMenuItem* it = itemOf(menu, item))
        it->iconID = iconID;
}

OSErr SetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand command)
{
    HostMenuItem* it = itemOf(menu, item);
    if (it == nullptr)
        return paramErr;
    it->command = command;
    return noErr;
}

OSStatus GetIndMenuItemWithCommandID(MenuRef menu, MenuCommand command, uint32_t index, MenuRef* outMenu,
                                     MenuItemIndex* outIndex)
{
    if (index == 0)
        return paramErr;
    if (menu != nullptr)
        return HostIsMenu(menu) && findCommand(menu, command, index, outMenu, outIndex) ? noErr : paramErr;
    MenuState& s = state();
    for (const std::vector<MenuRef>* list : {&s.bar, &s.hierarchical})
        for (MenuRef m : *list)
            if (findCommand(m, command, index, outMenu, outIndex))
                return noErr;
    return paramErr;
}

void EnableMenuCommand(MenuRef menu, MenuCommand command)
{
    setCommandEnabled(menu, command, true);
}

void DisableMenuCommand(MenuRef menu, MenuCommand command)
{
    setCommandEnabled(menu, command, false);
}

// --- Shortcuts -----------------------------------------------------------------------------------

int32_t HostMenuMatchKey(uint8_t character, uint8_t keyCode, uint16_t modifiers)
{
    if (character == 0 && keyCode == 0)
        return 0;
    const uint16_t held = modifiers & kShortcutModifiers;
    for (MenuRef menu : std::vector<MenuRef>(state().bar)) {
        if (int32_t found = matchIn(menu, character, keyCode, held, 0)) {
            // The title shown highlighted is the bar's menu that holds the choice.
            HiliteMenu(menu->ID());
            return found;
        }
    }
    return 0;
}

int32_t MenuKey(CharParameter character)
{
    return HostMenuMatchKey(uint8_t(character), 0, cmdKey);
}

uint32_t MenuEvent(const EventRecord* event)
{
    if (event == nullptr || (event->what != keyDown && event->what != autoKey))
        return 0;
    return uint32_t(HostMenuMatchKey(uint8_t(event->message & charCodeMask),
                                     uint8_t((event->message & keyCodeMask) >> 8), event->modifiers));
}

// --- Host side -------------------------------------------------------------------------------------

const std::vector<MenuRef>& HostMenuBarMenus()
{
    return state().bar;
}

MenuID HostHilitedMenu()
{
    return state().hilited;
}

MenuRef HostHierarchicalMenu(MenuID menuID)
{
    MenuState& s = state();
    auto it = findIn(s.hierarchical, menuID);
    return it != s.hierarchical.end() ? *it : nullptr;
}

bool HostIsMenu(MenuRef menu)
{
    return menu != nullptr && state().live.count(menu) != 0;
}

void HostSetMenuItemIconImage(MenuRef menu, MenuItemIndex item, const HostPixelMap* image)
{
    HostMenuItem* it = itemOf(menu, item);
    if (it == nullptr)
        return;
    it->icon.reset();
    if (image == nullptr || !image->Valid())
        return;
    auto copy = std::make_shared<HostPixelMap>();
    Rect bounds{0, 0, int16_t(image->Height()), int16_t(image->Width())};
    if (copy->Allocate(bounds, 32) != noErr)
        return;
    for (int32_t y = 0; y < image->Height(); ++y)
        for (int32_t x = 0; x < image->Width(); ++x)
            copy->Set(x, y, image->Get(x, y));
    it->icon = std::move(copy);
}

void HostResetMenus()
{
    MenuState& s = state();
    ClearMenuBar();
    for (MenuRef menu : s.live)
        delete menu;
    s.live.clear();
}
