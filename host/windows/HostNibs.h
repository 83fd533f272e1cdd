// Interface descriptions by name ("nibs"): a program registers, in code, the windows and menu
// bars each of its nibs holds; the platform calls then open a nib by name and make its windows
// and menu bar. A window is described by a function that builds it (hidden), so any window the
// host can make can live in a nib.
#pragma once

#include "HostCommands.h"

#include <functional>
#include <string>
#include <vector>

struct HostNib;
using IBNibRef = HostNib*;

enum : OSStatus {
    kIBCarbonRuntimeCantFindNibFile = -10960,
    kIBCarbonRuntimeObjectNotOfRequestedType = -10961,
    kIBCarbonRuntimeCantFindObject = -10962,
};

// Opens the nib registered under the name; kIBCarbonRuntimeCantFindNibFile when none is.
OSStatus CreateNibReference(CFStringRef nibName, IBNibRef* outNibRef);
void DisposeNibReference(IBNibRef nibRef);
// Builds the nib's window of that name, hidden; kIBCarbonRuntimeCantFindObject when the nib has
// none, or the builder's error.
OSStatus CreateWindowFromNib(IBNibRef nibRef, CFStringRef name, WindowRef* outWindow);
// Makes the nib's menu bar of that name the program's menu bar.
OSStatus SetMenuBarFromNib(IBNibRef nibRef, CFStringRef name);

// --- Host interface: what nibs hold ---------------------------------------------------------

using HostNibWindowBuilder = std::function<OSStatus(WindowRef* outWindow)>;

struct HostNibMenuItem {
    std::string text;   // Mac Roman; "-" is a separator
    uint32_t commandID; // sent as a command when the item is chosen
    char commandKey;    // 0 for none
};
struct HostNibMenu {
    std::string title;
    std::vector<HostNibMenuItem> items;
};
using HostNibMenuBar = std::vector<HostNibMenu>;

// Registers (or replaces) a window or a menu bar of a nib.
void HostRegisterNibWindow(const std::string& nibName, const std::string& windowName, HostNibWindowBuilder builder);
void HostRegisterNibMenuBar(const std::string& nibName, const std::string& menuBarName, HostNibMenuBar menuBar);
// The menu bar installed last by SetMenuBarFromNib (empty when none): the menus the host's menu
// bar shows.
const HostNibMenuBar& HostInstalledNibMenuBar();
// Test interface: forget every registered nib and the installed menu bar.
void HostResetNibs();
