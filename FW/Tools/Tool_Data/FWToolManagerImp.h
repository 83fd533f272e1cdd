// The one registry of tools and of their exclusive groups: it makes tools from the tool tree,
// decides what a click or an activation by name does, and keeps the widgets of each tool up to
// date. Made on first use and kept for the life of the program; nothing of it is saved.
#pragma once

#include "FWTool.h"

#include <cstdint>
#include <vector>

class FWString;
class FWToolWidget;

class FWToolManagerImp {
public:
    // A group of tools of which at most one is active.
    struct ExclusiveGroup {
        uint32_t mID = 0;
        FWTool* mActiveTool = nullptr;
        bool operator==(const ExclusiveGroup& other) const { return mID == other.mID; }
    };

    static FWToolManagerImp* Instance();

    // Appends the tool (owned from then on) and, for a grouped tool, a group entry.
    void AddTool(FWTool& tool);
    // The first tool in creation order with that name, or null.
    FWTool* FindToolByName(const FWString& name) const;
    const std::vector<FWTool*>& Tools() const { return mTools; }

    // Activation within the tool's group: the group's active tool is deactivated first.
    void ActivateTool(FWTool& tool);
    void DeactivateTool(FWTool& tool);
    // A widget of the tool was clicked: activate it, and run the alternate action on a
    // double click.
    void ToolWasClicked(const FWTool& tool);
    bool CheckDoubleClick(FWTool& tool);
    // Tells every widget attached to the tool that its state changed.
    void RefreshAllWidgets(FWTool& tool);

    void AttatchWidgetToTool(FWToolWidget& widget, const FWTool& tool);
    void DetatchWidgetFromTool(FWToolWidget& widget, const FWTool& tool);
    // The first group entry with the tool's id; null for ungrouped tools.
    ExclusiveGroup* GetExclusiveGroupForTool(const FWTool& tool);
    FWToolWidget* CreateNewWidgetForTool(const FWTool& tool);

private:
    friend class FWToolTestAccess; // tests start each case from an empty registry

    FWToolManagerImp() = default;

    static constexpr const char* kSourcePath = "FW/Tools/Tool_Data/FWToolManagerImp";

    std::vector<FWTool*> mTools;
    std::vector<ExclusiveGroup> mGroups;

    static FWToolManagerImp* sInstance;
    // The double-click test: the last tool clicked and when.
    static const FWTool* sLastClickedTool;
    static uint32_t sLastClickTicks;
};
