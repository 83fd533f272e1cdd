// The registry of nibs and the references opened on them.
#include "HostNibs.h"

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
}
