// Hover: when the mouse rests on a view for 60 ticks the view hears of it; the probe then shows a
// tip beside the mouse, and the tip goes when the mouse moves on or a key is pressed.
#include "RunFixture.h"

#include "FWPopupInfo.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostScreen.h"

TEST_F(RunFixture, ARestingMouseShowsTheProbesTipAndMovingOnOrAKeyHidesIt)
{
    ASSERT_TRUE(MakeRunLayoutFile(mLayoutPath));
    Point rest{0, 0};
    uint32_t restedAt = 0;
    uint32_t pausedAfter = 0;
    FWRect tip;
    uint32_t tipPixel = 0;

    RunScript script;
    script
        .Then("the document's window",
              [] { return RunApp::DocumentWindow() != nullptr && RunApp::DocumentWindow()->Visible(); },
              [&] {
                  rest = ProbeCentre();
                  restedAt = TickCount();
                  HostInjectMouseMove(rest);
              })
        .Then("the pause", [] { return FWPopupInfo::Window() != nullptr; },
              [&] {
                  pausedAfter = TickCount() - restedAt;
                  tip = FWPopupInfo::Window()->GlobalFrame();
                  HostComposeScreen();
                  tipPixel = HostScreenPixel(Point{int16_t(tip.top + 1), int16_t(tip.left + 1)}) & 0xFFFFFF;
                  // Moving on within the window, off the probe.
                  HostInjectMouseMove(Point{int16_t(rest.v + 45), int16_t(rest.h + 120)});
              })
        .Then("the tip to go", [] { return FWPopupInfo::Window() == nullptr; },
              [&] { HostInjectMouseMove(rest); })
        // Back on the probe the tip comes again; a key press takes it away.
        .Then("the second pause", [] { return FWPopupInfo::Window() != nullptr; },
              [] { HostInjectKey(7, 'x'); })
        .Then("the tip to go on the key", [] { return FWPopupInfo::Window() == nullptr; },
              [] { HostInjectQuit(); });
    Run({mLayoutPath}, script);

    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(2, std::count(RunLog().begin(), RunLog().end(), "probe paused")) << LogText();
    EXPECT_TRUE(LogHasInOrder({"probe paused", "probe paused", "application key x"})) << LogText();
    EXPECT_GE(pausedAfter, 60u);
    // Just below the mouse, pale yellow.
    EXPECT_EQ(rest.h, tip.left);
    EXPECT_EQ(rest.v + 16, tip.top);
    EXPECT_EQ(12, tip.Height());
    EXPECT_EQ(0xFFFF77u, tipPixel);
}
