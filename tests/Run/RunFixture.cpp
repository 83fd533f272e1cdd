#include "RunFixture.h"

#include "FWApp.h"
#include "HostClock.h"
#include "HostEvents.h"
#include "HostMenus.h"

#include <algorithm>

RunFixture::RunFixture()
{
    HostUseSystemClock();
    RunLog().clear();
    mLayoutPath = mFolder.File("layout.rsrc");
}

RunFixture::~RunFixture()
{
    HostResetMenus();
}

void RunFixture::Run(const std::vector<std::string>& arguments, RunScript& script)
{
    std::vector<const char*> argv{"runapp"};
    for (const std::string& a : arguments)
        argv.push_back(a.c_str());
    ASSERT_TRUE(FWApp::Init());
    auto* app = new RunApp;
    HostPostLaunchEvents(int(argv.size()), argv.data());
    script.Start();
    FWApp::Execute(app);
    script.StopIdling();
    FWApp::Uninit();
    EXPECT_FALSE(FWApp::Exists());
    EXPECT_EQ("", script.TimedOut()) << "the run stopped waiting; it saw:\n" << LogText();
}

Point RunFixture::ProbeCentre()
{
    RunWindow* window = RunApp::DocumentWindow();
    FWPoint centre(90, 60);
    if (window != nullptr)
        window->WindowToGlobal(&centre);
    return Point{centre.v, centre.h};
}

Rect RunFixture::MenuItemRect(const std::string& title, int item, Point* titlePoint)
{
    for (const HostMenuTitleLayout& layout : HostLayOutMenuBar()) {
        if (std::string(layout.menu->Title().begin(), layout.menu->Title().end()) != title)
            continue;
        *titlePoint = Point{5, int16_t(layout.left + 4)};
        const HostMenuPanelLayout panel = HostLayOutPullDown(layout.menu, layout.left);
        if (item >= 1 && size_t(item) <= panel.items.size())
            return panel.items[size_t(item - 1)];
    }
    *titlePoint = Point{0, 0};
    return Rect{0, 0, 0, 0};
}

bool RunFixture::LogHasInOrder(const std::vector<std::string>& lines)
{
    auto at = RunLog().begin();
    for (const std::string& line : lines) {
        at = std::find(at, RunLog().end(), line);
        if (at == RunLog().end())
            return false;
        ++at;
    }
    return true;
}

bool RunFixture::LogHas(const std::string& line)
{
    return std::find(RunLog().begin(), RunLog().end(), line) != RunLog().end();
}

std::string RunFixture::LogText()
{
    std::string text;
    for (const std::string& line : RunLog())
        text += "  " + line + "\n";
    return text;
}
