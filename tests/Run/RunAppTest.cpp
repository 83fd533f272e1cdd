// The run application end to end on the headless back end: it opens the file named on its
// command line, shows the layout, takes clicks, keys, menu choices and shortcuts through the
// dispatcher and the handler chain, and quits.
#include "RunFixture.h"

#include "HostModalLoop.h"

#include "FWApp.h"
#include "FWEventDispatcher.h"
#include "HostHeadless.h"
#include "HostScreen.h"

#include <algorithm>

namespace {

constexpr uint8_t kKeyA = 0, kKeyP = 35, kKeyQ = 12;

uint32_t rgb(const FWArgb32& c)
{
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

// The document's window is open and its probe drawn on the screen.
bool probeOnScreen()
{
    RunWindow* window = RunApp::DocumentWindow();
    if (window == nullptr || !window->Visible())
        return false;
    HostComposeScreen();
    return (HostScreenPixel(RunFixture::ProbeCentre()) & 0xFFFFFF) == rgb(RunProbe::kColor);
}

} // namespace

class RunAppTest : public RunFixture {};

TEST_F(RunAppTest, OpensTheNamedFileShowsItsLayoutAndRoutesInputThroughTheChain)
{
    ASSERT_TRUE(MakeRunLayoutFile(mLayoutPath));
    Point menuTitle{0, 0};
    Rect markItem{0, 0, 0, 0};

    RunScript script;
    script
        .Then("the probe on the screen", probeOnScreen,
              [&] {
                  markItem = MenuItemRect("Tools", 1, &menuTitle);
                  const Point probe = ProbeCentre();
                  HostInjectClick(probe);
                  HostInjectKey(kKeyA, 'a');
                  HostInjectKey(kKeyP, 'p', cmdKey);
                  // A menu choice: press on the title, drag to the item, release there.
                  const Point onItem{int16_t(markItem.top + 3), int16_t(markItem.left + 6)};
                  HostInjectMouseDown(menuTitle);
                  HostInjectMouseMove(onItem);
                  HostInjectMouseUp(onItem);
              })
        .Then("the menu choice", [] { return LogHas("command Mark"); },
              [] { HostInjectKey(kKeyQ, 'q', cmdKey); });
    Run({mLayoutPath}, script);

    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(LogHas("open application")) << "a named file opens it instead";
    // A click goes from the view under it up to the application.
    EXPECT_TRUE(LogHasInOrder({"opened layout.rsrc", "probe mouse down", "window mouse down", "document mouse down",
                               "application mouse down"}))
        << LogText();
    // A plain key passes the window and the document to the application, which declines it.
    EXPECT_TRUE(LogHasInOrder({"application mouse down", "window key a", "document key a", "application key a"}))
        << LogText();
    // A shortcut reaches its command through the application; then the menu; then Quit.
    EXPECT_TRUE(LogHasInOrder({"application key a", "application key cmd-p", "command Ping", "command Mark",
                               "application key cmd-q"}))
        << LogText();
    EXPECT_EQ(1, std::count(RunLog().begin(), RunLog().end(), "command Ping"));
}

TEST_F(RunAppTest, WithoutAFileItOpensTheApplicationAndQuitsWhenTheDisplayCloses)
{
    RunScript script;
    script.Then("the first action", [] { return LogHas("open application"); }, [] { HostInjectQuit(); });
    Run({}, script);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(std::vector<std::string>{"open application"}, RunLog());
}

TEST_F(RunAppTest, SuspendAndResumeReachTheApplication)
{
    RunScript script;
    script
        .Then("the first action", [] { return LogHas("open application"); },
              [] {
                  HostInjectSuspend();
                  HostInjectResume();
              })
        .Then("the resume", [] { return LogHas("resume"); },
              [] {
                  EXPECT_TRUE(FWApp::AppInForeground());
                  HostInjectQuit();
              });
    Run({}, script);
    EXPECT_TRUE(LogHasInOrder({"open application", "suspend", "resume"})) << LogText();
}

TEST_F(RunAppTest, AFileThatIsNoLayoutLeavesTheApplicationRunning)
{
    TempFolder::WriteFile(mLayoutPath, "not a resource file");
    HostResetModalLoops();
    RunScript script;
    script.Then("the failed open", [] { return FWApp::Instance()->GetDocumentList().Size() == 0; },
                [] { HostInjectKey(kKeyQ, 'q', cmdKey); });
    Run({mLayoutPath}, script);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(LogHas("opened layout.rsrc"));
    EXPECT_TRUE(LogHas("application key cmd-q")) << LogText();
    // The failure was told, naming what could not be done.
    std::string shown;
    for (const HostModalShown& message : HostModalShownLog())
        for (const std::string& text : message.texts)
            shown += text + "\n";
    EXPECT_NE(std::string::npos, shown.find("open the document")) << shown;
}
