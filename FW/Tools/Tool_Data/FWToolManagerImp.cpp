#include "FWToolManagerImp.h"

#include "FWPlatformUtils.h"
#include "FWProgrammerMessage.h"
#include "FWTickCount.h"
#include "FWToolWidget.h"

#include <algorithm>

FWToolManagerImp* FWToolManagerImp::sInstance = nullptr;
const FWTool* FWToolManagerImp::sLastClickedTool = nullptr;
uint32_t FWToolManagerImp::sLastClickTicks = 0;

FWToolManagerImp* FWToolManagerImp::Instance()
{
    if (sInstance == nullptr)
        sInstance = new FWToolManagerImp;
    return sInstance;
}

void FWToolManagerImp::AddTool(FWTool& tool)
{
    mTools.push_back(&tool);
    // Every grouped tool adds an entry; only the first entry of an id is ever used.
    if (tool.ExclusiveGroup() != 0)
        mGroups.push_back(ExclusiveGroup{tool.ExclusiveGroup(), nullptr});
}

FWTool* FWToolManagerImp::FindToolByName(const FWString& name) const
{
    for (FWTool* tool : mTools)
        if (tool->Name() == name)
            return tool;
    return nullptr;
}

void FWToolManagerImp::ActivateTool(FWTool& tool)
{
    ExclusiveGroup* group = GetExclusiveGroupForTool(tool);
    if (group == nullptr || group->mActiveTool == nullptr || group->mActiveTool == &tool) {
        if (group != nullptr)
            group->mActiveTool = &tool;
        if (tool.CanActivate() && tool.Activate())
            RefreshAllWidgets(tool);
        return;
    }
    FWTool& previous = *group->mActiveTool;
    if (!previous.CanDeactivate(tool.Name()) || !tool.CanActivate())
        return;
    DeactivateTool(previous);
    group->mActiveTool = &tool;
    if (tool.Activate())
        RefreshAllWidgets(tool);
}

void FWToolManagerImp::DeactivateTool(FWTool& tool)
{
    ExclusiveGroup* group = GetExclusiveGroupForTool(tool);
    if (group != nullptr && group->mActiveTool == &tool)
        group->mActiveTool = nullptr;
    if (tool.Deactivate())
        RefreshAllWidgets(tool);
}

void FWToolManagerImp::ToolWasClicked(const FWTool& tool)
{
    // The tools belong to this registry, which may change them.
    FWTool& own = const_cast<FWTool&>(tool);
    ActivateTool(own);
    if (CheckDoubleClick(own))
        own.DoAltAction();
}

bool FWToolManagerImp::CheckDoubleClick(FWTool& tool)
{
    const uint32_t now = FWTickCount();
    const bool doubleClick = now - sLastClickTicks < FWDoubleTime() && sLastClickedTool == &tool && tool.HasAltProc();
    sLastClickedTool = &tool;
    sLastClickTicks = now;
    return doubleClick;
}

void FWToolManagerImp::RefreshAllWidgets(FWTool& tool)
{
    // A widget told of the change may attach widgets to the tool (a menu widget switching to
    // it), so the walk goes over a copy and skips widgets detached meanwhile.
    const std::vector<FWToolWidget*> widgets = tool.mWidgets;
    for (FWToolWidget* widget : widgets) {
        const auto& now = tool.mWidgets;
        if (std::find(now.begin(), now.end(), widget) != now.end())
            widget->ToolStateChanged(tool);
    }
}

void FWToolManagerImp::AttatchWidgetToTool(FWToolWidget& widget, const FWTool& tool)
{
    tool.mWidgets.push_back(&widget);
}

void FWToolManagerImp::DetatchWidgetFromTool(FWToolWidget& widget, const FWTool& tool)
{
    auto& widgets = tool.mWidgets;
    auto found = std::find(widgets.begin(), widgets.end(), &widget);
    if (found != widgets.end())
        widgets.erase(found);
}

FWToolManagerImp::ExclusiveGroup* FWToolManagerImp::GetExclusiveGroupForTool(const FWTool& tool)
{
    if (tool.ExclusiveGroup() == 0)
        return nullptr;
    for (ExclusiveGroup& group : mGroups)
        if (group.mID == tool.ExclusiveGroup())
            return &group;
    fw_programmer_message("Didn't insert this group in FWToolManager::AddTool()", kSourcePath, __LINE__);
    return nullptr;
}

FWToolWidget* FWToolManagerImp::CreateNewWidgetForTool(const FWTool& tool)
{
    return tool.CreateNewWidget();
}
