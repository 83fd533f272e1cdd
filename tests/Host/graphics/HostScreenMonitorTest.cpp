// The screen against the monitor configuration (kept apart: the monitor calls and the port calls
// name their device types differently, so one file cannot include both).
#include "HostMonitors.h"
#include "HostBackend.h"
#include "HostScreen.h"
#include "ChildProcess.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

TEST(HostScreenMonitor, TheScreenFollowsTheConfiguredMonitor)
{
    HostConfigureScreen(640, 480);
    const Rect bounds = HostScreenBounds();
    EXPECT_EQ(480, bounds.bottom);
    EXPECT_EQ(640, bounds.right);
    EXPECT_EQ(640, HostScreenPixels().Width());
    EXPECT_EQ(640, HostMenuBarBounds().right);
    EXPECT_EQ(kHostMenuBarHeight, HostMenuBarBounds().bottom);
    EXPECT_EQ(kHostDesktopColor, HostScreenPixel(Point{479, 639}));
    Rect usable;
    ASSERT_EQ(noErr, GetAvailableWindowPositioningBounds(GetDeviceList(), &usable));
    EXPECT_EQ(HostMenuBarBounds().bottom, usable.top);

    // A screen lower than the menu bar is all menu bar.
    HostConfigureScreen(300, 10);
    EXPECT_EQ(10, HostMenuBarBounds().bottom);
    EXPECT_EQ(0xFFFFFFFFu, HostScreenPixel(Point{0, 0}));

    HostConfigureScreen(kHostDefaultScreenWidth, kHostDefaultScreenHeight);
    EXPECT_EQ(kHostDefaultScreenWidth, HostScreenPixels().Width());
}

TEST(HostScreenMonitor, TheScreenFitsASmallerDisplayUnlessItsSizeWasChosen)
{
    if (!XvfbServer::Installed())
        GTEST_SKIP() << "Xvfb is not installed: the SDL back end is not tried";
    if (std::getenv("FW_HOST_SCREEN") != nullptr)
        GTEST_SKIP() << "FW_HOST_SCREEN chooses the screen's size";
    XvfbServer server(1024, 600);
    ASSERT_TRUE(server.Running()) << "Xvfb did not start";
    ASSERT_TRUE(HostSelectBackend("headless"));
    HostResetScreenConfiguration();
    EXPECT_EQ(1280, HostScreenBounds().right);
    setenv("DISPLAY", server.Display().c_str(), 1);
    std::string error;
    ASSERT_TRUE(HostSelectBackend("sdl", &error)) << error;
    const Rect fitted = HostScreenBounds();
    HostSelectBackend("headless");
    EXPECT_EQ(1024, fitted.right - fitted.left);
    EXPECT_EQ(600, fitted.bottom - fitted.top);

    // Under a window manager the frame lies within the display too: Openbox's own theme gives
    // a window a title bar of 20 rows and a border of one pixel around.
    if (ChildProcess::OnPath("openbox")) {
        ChildProcess manager({"openbox", "--startup", "echo managing"}, {"DISPLAY=" + server.Display()});
        ASSERT_NE("", manager.WaitForLine("managing", std::chrono::seconds(30))) << manager.Output();
        ASSERT_TRUE(HostSelectBackend("sdl", &error)) << error;
        // Where the window lies once the manager placed it, however long that takes on a busy
        // machine; the limit only ends a manager that never places it.
        const std::vector<int> expected{1, 20, 1022, 579};
        std::vector<int> placed;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (placed != expected && std::chrono::steady_clock::now() < limit) {
            HostCurrentBackend().Wait(100000000);
            HostCurrentBackend().Poll();
            int32_t x = 0, y = 0;
            HostCurrentBackend().DisplayOrigin(&x, &y);
            const Rect framed = HostScreenBounds();
            placed = {x, y, framed.right, framed.bottom};
        }
        HostSelectBackend("headless");
        EXPECT_EQ(expected, placed);
    }

    // A chosen size stays whatever the display.
    HostConfigureScreen(1400, 1000);
    ASSERT_TRUE(HostSelectBackend("sdl", &error)) << error;
    EXPECT_EQ(1400, HostScreenBounds().right);
    HostSelectBackend("headless");
    HostResetScreenConfiguration();
}
