// The screen against the monitor configuration (kept apart: the monitor calls and the port calls
// name their device types differently, so one file cannot include both).
#include "HostMonitors.h"
#include "HostScreen.h"

#include <gtest/gtest.h>

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
