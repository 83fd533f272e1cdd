#include "ToolTestTable.h"

#include "FWOpMenu.h"
#include "FWToolFolder.h"
#include "FWToolManager.h"
#include "FWToolManagerImp.h"
#include "FWToolWidget.h"
#include "FWFolderView.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWTool.h"
#include "HostClock.h"
#include "HostModalLoop.h"
#include "ShownMessages.h"

#include <algorithm>

namespace {

class ToolModelTest : public ToolFixture {
protected:
    ToolModelTest() { HostResetModalLoops(); }
    ~ToolModelTest() override { HostResetModalLoops(); }

    std::vector<std::string> activeTools()
    {
        std::vector<std::string> names;
        for (FWTool* tool : FWToolManagerImp::Instance()->Tools())
            if (tool->Activated())
                names.push_back(tool->Name().GetCString());
        return names;
    }
};

// A widget of the tests that records what it hears and, once, detaches one widget from the tool
// and attaches another while it is being told.
class RecordingWidget : public FWToolWidget {
public:
    explicit RecordingWidget(const FWTool& tool) : FWToolWidget(tool) {}
    FWToolWidget* CreateCloneWidget() const override { return nullptr; }
    void ActivateTool() override {}
    void ToolStateChanged(const FWTool& tool) override
    {
        ++mHeard;
        if (mDetach != nullptr)
            FWToolManagerImp::Instance()->DetatchWidgetFromTool(*mDetach, tool);
        if (mAttach != nullptr)
            FWToolManagerImp::Instance()->AttatchWidgetToTool(*mAttach, tool);
        mDetach = mAttach = nullptr;
    }
    void Draw(FWDrawContext&) const override {}

    int mHeard = 0;
    RecordingWidget* mDetach = nullptr;
    RecordingWidget* mAttach = nullptr;
};

TEST_F(ToolModelTest, BuildsOneToolPerNameAndWarnsOnlyWhenADuplicateHasAnotherIcon)
{
    BuildTools();
    // 3 modes, 2 buttons, 5 options, 36 items and "Blue": "Draw", "Align", "Red", "Green" and
    // "Grid" come more than once.
    EXPECT_EQ(47u, FWToolManagerImp::Instance()->Tools().size());
    EXPECT_EQ(std::vector<std::string>{"Skipping duplicate tool name Align"}, ShownMessageTexts());
    // The first record of a name decides the tool.
    EXPECT_NE(nullptr, dynamic_cast<FWButtonTool*>(Tool("Align")));
    EXPECT_NE(nullptr, dynamic_cast<FWModalTool*>(Tool("Draw")));
    EXPECT_NE(nullptr, dynamic_cast<FWCheckTool*>(Tool("Grid")));
    EXPECT_EQ(2u, Tool("Red")->ExclusiveGroup());
    EXPECT_EQ(3u, Tool("Small")->ExclusiveGroup());
    EXPECT_TRUE(Tool("Erase")->Disabled());
    EXPECT_EQ(nullptr, Tool("Spread")->Icon());
    ASSERT_NE(nullptr, Tool("Select")->Icon());

    const auto& folders = Window()->GetView()->FolderView()->Folders();
    ASSERT_EQ(5u, folders.size());
    for (FWToolFolder* folder : folders)
        EXPECT_TRUE(folder->Contracted()) << folder->Name().GetCString();
    // The duplicate "Draw" still gets its own widget in its folder.
    EXPECT_NE(nullptr, Widget("Options", "Draw"));
    EXPECT_EQ(2u, Tool("Draw")->Widgets().size());

    FWToolManager::ActivateToolByName("No such tool");
    EXPECT_EQ(std::vector<std::string>{"ActivateToolByName: no tool with that name exists!"},
              mProgrammerMessages.Texts());
}

TEST_F(ToolModelTest, ActivationExcludesOnlyWithinEachGroup)
{
    BuildTools();
    const struct {
        const char* name;
        std::vector<std::string> log;    // actions run by this activation
        std::vector<std::string> active; // activated tools afterwards, in creation order
    } steps[] = {
        {"Select", {"Select"}, {"Select"}},
        {"Draw", {"Draw"}, {"Draw"}},
        {"Draw", {}, {"Draw"}},
        {"Red", {"Red"}, {"Draw", "Red"}},
        {"Small", {"Small"}, {"Draw", "Red", "Small"}},
        {"Green", {"Green"}, {"Draw", "Green", "Small"}},
        {"Large", {"Large"}, {"Draw", "Green", "Large"}},
        {"Large", {}, {"Draw", "Green", "Large"}},
        {"Align", {"Align"}, {"Draw", "Green", "Large"}},
        {"Align", {"Align"}, {"Draw", "Green", "Large"}},
        {"Grid", {"Grid"}, {"Draw", "Green", "Large", "Grid"}},
        {"Grid", {"Grid"}, {"Draw", "Green", "Large"}},
    };
    for (const auto& step : steps) {
        ToolTestLog().clear();
        FWToolManager::ActivateToolByName(step.name);
        EXPECT_EQ(step.log, ToolTestLog()) << step.name;
        EXPECT_EQ(step.active, activeTools()) << step.name;
    }
    EXPECT_TRUE(mProgrammerMessages.Texts().empty());
}

TEST_F(ToolModelTest, DoubleClickRunsTheAlternateActionAfterTheAction)
{
    BuildTools();
    FWToolManagerImp* manager = FWToolManagerImp::Instance();
    // The clock stands still, so two clicks are within the double-click time.
    manager->ToolWasClicked(*Tool("Select"));
    manager->ToolWasClicked(*Tool("Select"));
    EXPECT_EQ((std::vector<std::string>{"Select", "Select alt"}), ToolTestLog());

    // A click after the double-click time is a single click on the active tool: nothing runs.
    ToolTestLog().clear();
    HostAdvanceTicks(FWDoubleTime());
    manager->ToolWasClicked(*Tool("Select"));
    EXPECT_TRUE(ToolTestLog().empty());

    // Without an alternate action nothing more runs; a button tool runs on every click.
    manager->ToolWasClicked(*Tool("Draw"));
    manager->ToolWasClicked(*Tool("Draw"));
    manager->ToolWasClicked(*Tool("Align"));
    manager->ToolWasClicked(*Tool("Align"));
    EXPECT_EQ((std::vector<std::string>{"Draw", "Align", "Align"}), ToolTestLog());
    EXPECT_FALSE(Tool("Align")->Activated());
}

TEST_F(ToolModelTest, WidgetsChangingDuringARefreshAreWalkedSafely)
{
    FWOpMenu menu(ToolTestRoot());
    FWToolManager::CreateToolSystem(menu);
    FWTool& grid = *Tool("Grid");
    FWToolManagerImp* manager = FWToolManagerImp::Instance();
    RecordingWidget first(grid), second(grid), newcomer(grid);
    manager->AttatchWidgetToTool(first, grid);
    manager->AttatchWidgetToTool(second, grid);
    first.mDetach = &second;
    first.mAttach = &newcomer;

    manager->ActivateTool(grid);
    // The detached widget is not told; the one attached meanwhile hears the next change.
    EXPECT_EQ(1, first.mHeard);
    EXPECT_EQ(0, second.mHeard);
    EXPECT_EQ(0, newcomer.mHeard);
    manager->ActivateTool(grid);
    EXPECT_EQ(1, newcomer.mHeard);
    EXPECT_EQ((std::vector<FWToolWidget*>{&first, &newcomer}), grid.Widgets());
    manager->DetatchWidgetFromTool(first, grid);
    manager->DetatchWidgetFromTool(newcomer, grid);
    manager->DetatchWidgetFromTool(newcomer, grid); // not there: nothing
    EXPECT_TRUE(grid.Widgets().empty());
}

} // namespace
