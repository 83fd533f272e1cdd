// The registry of nibs and the references opened on them.
#include "HostNibs.h"

#include "HostMenus.h"

#include <algorithm>
#include <cstring>

#include <map>
#include <memory>

struct HostNib {
    std::string name;
};

namespace {

struct NibContents {
    std::map<std::string, HostNibWindowBuilder> windows;
    std::map<std::string, HostNibMenuBar> menuBars;
};

std::map<std::string, NibContents>& nibs()
{
    static auto* table = new std::map<std::string, NibContents>;
    return *table;
}

HostNibMenuBar& installedMenuBar()
{
    static auto* menuBar = new HostNibMenuBar;
    return *menuBar;
}

// Pascal text of at most 255 bytes.
void toPascal(const std::string& text, Str255 out)
{
    const size_t length = std::min<size_t>(text.size(), 255);
    out[0] = uint8_t(length);
    std::memcpy(out + 1, text.data(), length);
}

// The installed bar's menus, numbered from this id on; they replace the bar's menus.
constexpr MenuID kFirstNibMenuID = 128;
std::vector<MenuRef>& nibMenus()
{
    static auto* menus = new std::vector<MenuRef>;
    return *menus;
}

void disposeNibMenus()
{
    for (MenuRef menu : nibMenus())
        if (HostIsMenu(menu))
            DisposeMenu(menu);
    nibMenus().clear();
}

// Makes the bar show the nib's menus: each item with its text, shortcut and command.
void showMenuBar(const HostNibMenuBar& bar)
{
    disposeNibMenus();
    ClearMenuBar();
    MenuID id = kFirstNibMenuID;
    for (const HostNibMenu& nibMenu : bar) {
        Str255 title;
        toPascal(nibMenu.title, title);
        MenuRef menu = NewMenu(id++, title);
        if (menu == nullptr)
            continue;
        nibMenus().push_back(menu);
        MenuItemIndex index = 0;
        for (const HostNibMenuItem& item : nibMenu.items) {
            // Inserted blank (or as a separator line), then named, so that the text is taken as
            // it stands.
            Str255 text;
            toPascal(item.text == "-" ? "-" : " ", text);
            InsertMenuItem(menu, text, index++);
            toPascal(item.text, text);
            SetMenuItemText(menu, index, text);
            if (item.text == "-")
                DisableMenuItem(menu, index);
            if (item.commandID != 0)
                SetMenuItemCommandID(menu, index, item.commandID);
            if (item.commandKey != 0)
                SetItemCmd(menu, index, item.commandKey);
        }
        InsertMenu(menu, 0);
    }
    DrawMenuBar();
}

NibContents* contentsOf(IBNibRef nibRef)
{
    if (nibRef == nullptr)
        return nullptr;
    auto found = nibs().find(nibRef->name);
    return found != nibs().end() ? &found->second : nullptr;
}

} // namespace

OSStatus CreateNibReference(CFStringRef nibName, IBNibRef* outNibRef)
{
    if (outNibRef == nullptr)
        return paramErr;
    *outNibRef = nullptr;
    std::string name = HostCFStringToUtf8(nibName);
    if (nibs().count(name) == 0)
        return kIBCarbonRuntimeCantFindNibFile;
    *outNibRef = new HostNib{name};
    return noErr;
}

void DisposeNibReference(IBNibRef nibRef)
{
    delete nibRef;
}

OSStatus CreateWindowFromNib(IBNibRef nibRef, CFStringRef name, WindowRef* outWindow)
{
    if (outWindow == nullptr)
        return paramErr;
    *outWindow = nullptr;
    NibContents* contents = contentsOf(nibRef);
    if (contents == nullptr)
        return paramErr;
    auto found = contents->windows.find(HostCFStringToUtf8(name));
    if (found == contents->windows.end())
        return kIBCarbonRuntimeCantFindObject;
    OSStatus err = found->second(outWindow);
    if (err != noErr)
        *outWindow = nullptr;
    return err;
}

OSStatus SetMenuBarFromNib(IBNibRef nibRef, CFStringRef name)
{
    NibContents* contents = contentsOf(nibRef);
    if (contents == nullptr)
        return paramErr;
    auto found = contents->menuBars.find(HostCFStringToUtf8(name));
    if (found == contents->menuBars.end())
        return kIBCarbonRuntimeCantFindObject;
    installedMenuBar() = found->second;
    showMenuBar(installedMenuBar());
    return noErr;
}

void HostRegisterNibWindow(const std::string& nibName, const std::string& windowName, HostNibWindowBuilder builder)
{
    nibs()[nibName].windows[windowName] = std::move(builder);
}

void HostRegisterNibMenuBar(const std::string& nibName, const std::string& menuBarName, HostNibMenuBar menuBar)
{
    nibs()[nibName].menuBars[menuBarName] = std::move(menuBar);
}

const HostNibMenuBar& HostInstalledNibMenuBar()
{
    return installedMenuBar();
}

void HostResetNibs()
{
    nibs().clear();
    installedMenuBar().clear();
    disposeNibMenus();
}
