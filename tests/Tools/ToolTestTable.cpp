#include "ToolTestTable.h"

#include "FWStr.h"
#include "FWTool.h"
#include "FWToolFolder.h"
#include "FWToolGrid.h"
#include "FWToolManager.h"
#include "FWToolManagerImp.h"
#include "FWToolWidget.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "FWFolderView.h"
#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "HostHeadless.h"
#include "HostResources.h"
#include "IdleDeleter.h"

#include <deque>

namespace {

template <int N>
void logCall(FWUserOp*)
{
    static const char* const kNames[] = {"Select", "Select alt", "Draw", "Erase", "Align", "Spread",
                                         "Red",    "Green",      "Small", "Large", "Grid",  "Item", "Blue"};
    ToolTestLog().push_back(kNames[N]);
}

FWOpData item(const char* name, uint32_t flags, int32_t icon, FWUserOpCallback action,
              FWUserOpCallback alt = nullptr)
{
    return FWOpData{name, 0, flags, icon, 0, nullptr, action, alt, 0, 0, nullptr, 0};
}

FWOpData folder(const char* name, const std::vector<FWOpData>& children)
{
    return FWOpData{name, 0, 0x80, 0, 0, nullptr, nullptr, nullptr, 0, 0, children.data(), int32_t(children.size())};
}

struct Tree {
    Tree()
    {
        modes = {item("Select", 2, 1000, logCall<0>, logCall<1>), item("Draw", 2, 1001, logCall<2>),
                 item("Erase", 2 | 16, 1003, logCall<3>, logCall<3>)};
        buttons = {item("Align", 1, 3000, logCall<4>), item("Spread", 1, 0, logCall<5>)};
        options = {item("Red", 2048, 1004, logCall<6>),        item("Green", 2048, 1005, logCall<7>),
                   item("Small", 2048 | 512, 1006, logCall<8>), item("Large", 2048 | 512, 1007, logCall<9>),
                   item("Grid", 0, 1008, logCall<10>),          item("Draw", 2, 1001, logCall<2>)};
        for (int i = 1; i <= 36; ++i)
            names.push_back("Item " + std::to_string(i));
        for (const std::string& name : names)
            items.push_back(item(name.c_str(), 2, 1009, logCall<11>));
        items.push_back(item("Align", 1, 3007, logCall<4>));
        inner = {item("Blue", 0, 1009, logCall<12>)};
        mixed = {folder("Inner", inner), item("Grid", 0, 1008, logCall<10>)};
        colours = {item("Red", 2048, 1004, logCall<6>), item("Green", 2048, 1005, logCall<7>)};
        menus = {folder("Colours", colours), folder("Mixed", mixed)};
        folders = {folder("Modes", modes), folder("Buttons", buttons), folder("Options", options),
                   folder("Items", items), folder("Menus", menus)};
        root = folder("Toolbar Root", folders);
    }
    std::vector<FWOpData> modes, buttons, options, items, inner, mixed, colours, menus, folders;
    std::deque<std::string> names;
    FWOpData root{};
};

} // namespace

const FWOpData& ToolTestRoot()
{
    static const Tree tree;
    return tree.root;
}

std::vector<std::string>& ToolTestLog()
{
    static std::vector<std::string> log;
    return log;
}

void FWToolTestAccess::Reset()
{
    FWToolManagerImp* manager = FWToolManagerImp::Instance();
    for (FWTool* tool : manager->mTools)
        delete tool;
    manager->mTools.clear();
    manager->mGroups.clear();
    FWToolManagerImp::sLastClickedTool = nullptr;
    FWToolManagerImp::sLastClickTicks = 0;
}

ToolFixture::ToolFixture()
{
    static bool opened = false;
    if (!opened) {
        SInt16 ref = 0;
        opened = HostOpenApplicationResourceFile(FW_APP_RSRC, &ref) == noErr;
    }
    FWToolTestAccess::Reset();
    ToolTestLog().clear();
}

ToolFixture::~ToolFixture()
{
    FlushDeletes();
    mApp.reset();
    FlushDeletes();
    FWToolTestAccess::Reset();
}

void ToolFixture::BuildTools()
{
    FWToolManager::Initialize(ToolTestRoot());
}

FWTool* ToolFixture::Tool(const char* name)
{
    return FWToolManagerImp::Instance()->FindToolByName(FWStr<63>(name));
}

FWToolWindow* ToolFixture::Window()
{
    return FWToolWindow::Instance();
}

FWToolFolder* ToolFixture::Folder(const char* name)
{
    for (FWToolFolder* folder : Window()->GetView()->FolderView()->Folders())
        if (folder->Name() == FWStr<63>(name))
            return folder;
    return nullptr;
}

FWToolWidget* ToolFixture::Widget(const char* folder, const char* tool)
{
    FWToolFolder* f = Folder(folder);
    return f != nullptr ? f->ToolGrid()->FindWidget(FWStr<63>(tool)) : nullptr;
}

void ToolFixture::Pump()
{
    HostInjectKeyDown(0, 'z');
    for (int guard = 0; guard < 100000; ++guard) {
        FWEvent event;
        FWEventManager::Instance()->GetSystemEvent(event, false);
        if (event.mType == kKeyDownEvent && event.EventCharacter() == 'z')
            break;
        FWEventDispatcher::Instance()->Dispatch(event);
    }
    FWEventDispatcher::UpdateWindow(Window());
}

Point ToolFixture::Global(int h, int v, FWWindow* window)
{
    FWPoint at{int16_t(h), int16_t(v)};
    (window != nullptr ? window : static_cast<FWWindow*>(Window()))->WindowToGlobal(&at);
    return Point{at.v, at.h};
}
