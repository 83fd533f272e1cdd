// The program's entry to the tools: builds the tools and the tool window from a static tool
// tree, makes widgets for named tools and activates tools by name.
#pragma once

#include <vector>

class FWMenuToolWidget;
class FWOpMenu;
class FWString;
class FWToolWidget;
struct FWOpData;

class FWToolManager {
public:
    FWToolManager() = delete;

    // Builds the tools and the tool window's folders from the record tree. The folders of the
    // window are the root's children; their children are the tools (or submenus of tools).
    static void Initialize(const FWOpData& root);
    // One tool per name for every command of the tree that is not a menu.
    static void CreateToolSystem(FWOpMenu& menu);
    // A folder per child of the root, holding a widget per tool; all start contracted.
    static void CreateToolWindow(FWOpMenu& menu);

    // A new widget of the named tool (owned by the caller), or null when no tool has the name.
    static FWToolWidget* CreateNewWidgetForTool(const char* name);
    // A widget standing for several tools, chosen from a menu titled menuName; null for no tool.
    static FWMenuToolWidget* CreateNewMenuForTools(std::vector<const char*> names, const FWString& menuName);
    // Activates the named tool; a name no tool has is a programmer error.
    static void ActivateToolByName(const char* name);

private:
    static constexpr const char* kSourcePath = "FW/Tools/Tool_Data/FWToolManager";
};
