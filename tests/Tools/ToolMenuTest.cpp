#include "ToolTestTable.h"

#include "FWEventDispatcher.h"
#include "FWFolderView.h"
#include "FWMenuToolWidget.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWTool.h"
#include "FWToolFolder.h"
#include "FWToolGrid.h"
#include "FWToolManager.h"
#include "FWToolMenu.h"
#include "FWToolPalette.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "HostClock.h"
#include "HostHeadless.h"

#include <memory>
#include <string>
#include <vector>

namespace {

class ToolMenuTest : public ToolFixture {
protected:
    ToolMenuTest()
    {
        BuildTools();
        Window()->Show();
        Folder("Menus")->SetContracted(false);
        Window()->GetView()->FolderView()->RepositionFolders(nullptr);
        FWEventDispatcher::UpdateWindow(Window());
    }

    FWMenuToolWidget* menuWidget(int index)
    {
        FWView* child = Folder("Menus")->ToolGrid()->FirstChild();
        for (int i = 0; i < index; ++i)
            child = child->NextPeer();
        return dynamic_cast<FWMenuToolWidget*>(child);
    }
    std::vector<std::string> toolNames(const FWMenuToolWidget& widget)
    {
        std::vector<std::string> names;
        for (const FWTool* tool : widget.Tools())
            names.push_back(tool->Name().GetCString());
        return names;
    }
    // Presses the widget and holds it for the menu's 16 ticks (each poll of the button is one
    // tick), then moves to the points and releases at the last one.
    void holdThenMove(FWToolWidget& widget, const std::vector<Point>& moves)
    {
        const FWRect r = widget.GetRect();
        const Point at = Global(r.left + 10, r.top + 10);
        HostAdvanceTicks(2 * FWDoubleTime());
        HostInjectMouseDown(at);
        for (int i = 0; i < 20; ++i)
            HostInjectMouseMove(at);
        for (const Point& p : moves)
            HostInjectMouseMove(p);
        HostInjectMouseUp(moves.empty() ? at : moves.back());
        Pump();
    }
    // The menu opens right of the widget: its grid cells are 44 square from (1, 1).
    Point inMenu(FWToolWidget& widget, int h, int v)
    {
        const FWRect r = widget.GetRect();
        const Point corner = Global(r.right, r.top);
        return Point{int16_t(corner.v + v), int16_t(corner.h + h)};
    }
};

TEST_F(ToolMenuTest, SubmenusBecomeWidgetsStandingForTheirTools)
{
    ASSERT_EQ(2, Folder("Menus")->ToolGrid()->ChildTotal());
    FWMenuToolWidget* colours = menuWidget(0);
    FWMenuToolWidget* mixed = menuWidget(1);
    ASSERT_NE(nullptr, colours);
    ASSERT_NE(nullptr, mixed);
    EXPECT_EQ((std::vector<std::string>{"Red", "Green"}), toolNames(*colours));
    EXPECT_EQ(FWStr<63>("Colours"), colours->MenuName());
    EXPECT_EQ(FWStr<63>("Red"), colours->ToolName());
    // A nested submenu names no tool: the widget starts at the first name that does.
    EXPECT_EQ(std::vector<std::string>{"Grid"}, toolNames(*mixed));
    EXPECT_EQ(nullptr, FWToolManager::CreateNewMenuForTools({"Inner", "Nothing"}, FWStr<63>("None")));
}

TEST_F(ToolMenuTest, AQuickClickWorksTheShownToolWithoutAMenu)
{
    FWMenuToolWidget* colours = menuWidget(0);
    const FWRect r = colours->GetRect();
    HostInjectClick(Global(r.left + 10, r.top + 10));
    Pump();
    EXPECT_EQ(std::vector<std::string>{"Red"}, ToolTestLog());
    EXPECT_TRUE(Tool("Red")->Activated());
    EXPECT_FALSE(colours->IsPressed());
}

TEST_F(ToolMenuTest, AHeldClickOffersTheToolsAndTheChoiceIsShownAndWorked)
{
    FWMenuToolWidget* colours = menuWidget(0);
    holdThenMove(*colours, {inMenu(*colours, 60, 20), inMenu(*colours, 61, 20)});
    EXPECT_EQ(std::vector<std::string>{"Green"}, ToolTestLog());
    EXPECT_EQ(FWStr<63>("Green"), colours->ToolName());
    EXPECT_TRUE(Tool("Green")->Activated());

    // Released back over the widget without a choice: the shown tool is worked.
    ToolTestLog().clear();
    Tool("Green")->SetActivated(false);
    const FWRect r = colours->GetRect();
    holdThenMove(*colours, {inMenu(*colours, 20, 20), Global(r.left + 12, r.top + 12)});
    EXPECT_EQ(FWStr<63>("Green"), colours->ToolName());
    EXPECT_EQ(std::vector<std::string>{"Green"}, ToolTestLog());
}

TEST_F(ToolMenuTest, PullingTheMenuAwayTearsItOffAndChoosesNothing)
{
    FWMenuToolWidget* colours = menuWidget(0);
    holdThenMove(*colours, {inMenu(*colours, 20, 20), inMenu(*colours, 300, 200), inMenu(*colours, 301, 200)});
    EXPECT_TRUE(ToolTestLog().empty());
    FWToolPalette* torn = nullptr;
    FWList<FWWindow>& windows = mApp->GetWindowList();
    FWWindow* window = windows.First();
    for (int i = 0; i < windows.Size() && window != nullptr; ++i, window = windows.Next())
        if (auto* palette = dynamic_cast<FWToolPalette*>(window))
            torn = palette;
    ASSERT_NE(nullptr, torn);
    EXPECT_EQ(FWStr<63>("Colours"), torn->Name());
    EXPECT_EQ(2, torn->GetToolGrid()->ChildTotal());
    EXPECT_FALSE(torn->UserCreated());
}

TEST_F(ToolMenuTest, TheMenuOpensBesideTheWidgetWithinTheUsableBounds)
{
    std::unique_ptr<FWToolMenu> menu(menuWidget(0)->CreateNewMenu());
    const FWRect size = menu->Size();
    ASSERT_EQ(FWRect(0, 0, 90, 46), size); // two 44-pixel cells and a 1-pixel frame
    FWRect usable;
    FWGetAppRect(&usable);
    const struct {
        FWRect widget;
        FWPoint expected; // the menu's top-left
    } cases[] = {
        {FWRect(100, 200, 144, 244), FWPoint(144, 200)},
        {FWRect(int16_t(usable.right - 60), 200, int16_t(usable.right - 16), 244),
         FWPoint(int16_t(usable.right - 60 - 90), 200)},
        {FWRect(100, int16_t(usable.bottom - 20), 144, int16_t(usable.bottom + 24)),
         FWPoint(144, int16_t(usable.bottom - 6 - 46))},
        {FWRect(100, int16_t(usable.top - 30), 144, int16_t(usable.top + 14)), FWPoint(144, int16_t(usable.top + 6))},
    };
    for (const auto& c : cases) {
        menu->FitOnScreen(FWPoint(c.widget.left, c.widget.top), c.widget);
        const FWRect frame = menu->GlobalFrame();
        EXPECT_EQ(c.expected, FWPoint(frame.left, frame.top)) << c.widget.left << "," << c.widget.top;
    }
    menu->SendMessage(Dependable::IsBeingDeleted);
}

TEST_F(ToolMenuTest, ActivatingAToolElsewhereSwitchesTheWidgetAndClonesShowTheFirst)
{
    FWMenuToolWidget* colours = menuWidget(0);
    FWToolManager::ActivateToolByName("Green");
    EXPECT_EQ(FWStr<63>("Green"), colours->ToolName());
    EXPECT_TRUE(colours->ToolIsActivated());
    std::unique_ptr<FWToolWidget> clone(colours->CreateCloneWidget());
    auto* copy = dynamic_cast<FWMenuToolWidget*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(FWStr<63>("Red"), copy->ToolName());
    EXPECT_EQ((std::vector<std::string>{"Red", "Green"}), toolNames(*copy));
    FWToolManager::ActivateToolByName("Red");
    EXPECT_EQ(FWStr<63>("Red"), colours->ToolName());
}

} // namespace
