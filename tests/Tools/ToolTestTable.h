// The tests' own tool tree, with actions that log their calls, and a fixture that starts each
// test from an empty tool registry with an application, the program's resources and a clean
// desktop.
#pragma once

#include "FWApp.h"
#include "FWOpData.h"
#include "HostTypes.h"

#include "HostDesktopScope.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class FWTool;
class FWToolFolder;
class FWToolWidget;
class FWToolWindow;
class FWWindow;

// Folders: "Modes" (modal: "Select" with an alternate action, "Draw", disabled "Erase" with one),
// "Buttons" ("Align" and the iconless "Spread"), "Options" (radio "Red" and "Green", radio with
// flag 512 "Small" and "Large", check "Grid", and "Draw" again with the same icon), "Items" (36
// modal tools "Item 1".. and "Align" again with another icon), "Menus" (submenus: "Colours" of
// "Red" and "Green"; "Mixed" of a submenu "Inner" holding the check tool "Blue", then "Grid").
const FWOpData& ToolTestRoot();
// Every action and alternate action called so far, by tool name ("Select", "Select alt").
std::vector<std::string>& ToolTestLog();

// Gives the registry back as new: the tools, their groups and the double-click record.
class FWToolTestAccess {
public:
    static void Reset();
};

class ToolTestApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
};

class ToolFixture : public ::testing::Test {
protected:
    ToolFixture();
    ~ToolFixture() override;

    // Builds the tools and the tool window from the test tree.
    void BuildTools();
    FWTool* Tool(const char* name);
    FWToolWindow* Window();
    FWToolFolder* Folder(const char* name);
    // The folder's widget showing the tool.
    FWToolWidget* Widget(const char* folder, const char* tool);

    // Runs the main loop's steps until everything injected so far has been handled, then
    // redraws what the tool window invalidated.
    void Pump();
    // A point of the window's content in global coordinates (the tool window's by default).
    Point Global(int h, int v, FWWindow* window = nullptr);

    HostDesktopScope mDesktop;
    ProgrammerMessageRecorder mProgrammerMessages;
    std::unique_ptr<ToolTestApp> mApp = std::make_unique<ToolTestApp>();
};
