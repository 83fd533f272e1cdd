#include "FWToolManager.h"

#include "DiskImage.h"
#include "FWMenuToolWidget.h"
#include "FWOpMenu.h"
#include "FWProgrammerMessage.h"
#include "FWStr.h"
#include "FWToolFolder.h"
#include "FWToolManagerImp.h"
#include "FWToolWidget.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "FWUserMsg.h"

namespace {

constexpr uint32_t kToolButton = 1;
constexpr uint32_t kToolModal = 2;
constexpr uint32_t kToolRadio = 2048;

FWTool* makeTool(const FWUserOp& op)
{
    if (op.Flags() & kToolModal)
        return new FWModalTool(op);
    if (op.Flags() & kToolRadio)
        return new FWRadioTool(op);
    if (op.Flags() & kToolButton)
        return new FWButtonTool(op);
    return new FWCheckTool(op);
}

} // namespace

void FWToolManager::Initialize(const FWOpData& root)
{
    FWOpMenu menu(root);
    CreateToolSystem(menu);
    CreateToolWindow(menu);
}

void FWToolManager::CreateToolSystem(FWOpMenu& menu)
{
    FWToolManagerImp* manager = FWToolManagerImp::Instance();
    for (FWUserOp* op = &menu; op != nullptr; op = op->NextNode(nullptr, nullptr)) {
        if (op->Flags() & kUserOpHasChildren)
            continue;
        FWTool* existing = manager->FindToolByName(op->Name());
        if (existing == nullptr) {
            manager->AddTool(*makeTool(*op));
            continue;
        }
        if (existing->Icon() != nullptr && existing->Icon()->RsrcID() != op->IconID())
            FWUserMsg::Display("Skipping duplicate tool name %s", op->Name().GetCString());
    }
}

void FWToolManager::CreateToolWindow(FWOpMenu& menu)
{
    FWToolWindow* window = FWToolWindow::Instance();
    for (FWUserOp* folderOp = menu.FirstChild(); folderOp != nullptr; folderOp = folderOp->NextPeer()) {
        auto* folder = new FWToolFolder(window, FWRect(0, 0, 110, 50), folderOp->Name());
        for (FWUserOp* op = folderOp->FirstChild(); op != nullptr; op = op->NextPeer()) {
            FWToolWidget* widget = nullptr;
            if (op->Flags() & kUserOpHasChildren) {
                std::vector<const char*> names;
                for (FWUserOp* item = op->FirstChild(); item != nullptr; item = item->NextPeer())
                    names.push_back(item->Name().GetCString());
                widget = CreateNewMenuForTools(names, op->Name());
            } else {
                widget = CreateNewWidgetForTool(op->Name().GetCString());
            }
            // A submenu naming no tool gives no widget: nothing is added for it.
            if (widget == nullptr)
                continue;
            widget->Init(window);
            folder->AddToolWidget(*widget);
        }
        window->AddFolder(*folder);
    }
    window->GetView()->ContractAllFolders();
}

FWToolWidget* FWToolManager::CreateNewWidgetForTool(const char* name)
{
    FWToolManagerImp* manager = FWToolManagerImp::Instance();
    const FWTool* tool = name != nullptr ? manager->FindToolByName(FWStr<63>(name)) : nullptr;
    return tool != nullptr ? manager->CreateNewWidgetForTool(*tool) : nullptr;
}

FWMenuToolWidget* FWToolManager::CreateNewMenuForTools(std::vector<const char*> names, const FWString& menuName)
{
    FWToolManagerImp* manager = FWToolManagerImp::Instance();
    FWMenuToolWidget* widget = nullptr;
    for (const char* name : names) {
        const FWTool* tool = name != nullptr ? manager->FindToolByName(FWStr<63>(name)) : nullptr;
        // Names of no tool (a nested submenu) are skipped, also in first place.
        if (tool == nullptr)
            continue;
        if (widget == nullptr)
            widget = new FWMenuToolWidget(*tool);
        else
            widget->AddTool(*tool);
    }
    if (widget != nullptr)
        widget->SetName(menuName);
    return widget;
}

void FWToolManager::ActivateToolByName(const char* name)
{
    FWToolManagerImp* manager = FWToolManagerImp::Instance();
    FWTool* tool = name != nullptr ? manager->FindToolByName(FWStr<63>(name)) : nullptr;
    if (tool == nullptr) {
        fw_programmer_message("ActivateToolByName: no tool with that name exists!", kSourcePath, __LINE__);
        return;
    }
    manager->ActivateTool(*tool);
}
