#include "FWMonitor.h"
#include "HostMonitors.h"

#include <gtest/gtest.h>

namespace {

HostDeviceConfig screen(int16_t left, int16_t top, int16_t right, int16_t bottom, bool main = false)
{
    HostDeviceConfig config;
    config.bounds = Rect{top, left, bottom, right};
    config.usableBounds = Rect{int16_t(top + (main ? 20 : 0)), left, bottom, right};
    config.isMain = main;
    return config;
}

class FWMonitorTest : public ::testing::Test {
protected:
    ~FWMonitorTest() override
    {
        HostConfigureScreen(kHostDefaultScreenWidth, kHostDefaultScreenHeight);
        FWMonitor::GetMonitors();
    }
};

} // namespace

TEST_F(FWMonitorTest, DefaultScreenLeavesOutTheMenuBar)
{
    HostConfigureScreen(kHostDefaultScreenWidth, kHostDefaultScreenHeight);
    FWMonitor* m = FWMonitor::GetMonitors();
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(nullptr, m->NextMonitor());
    EXPECT_EQ(FWRect(0, 0, 1280, 800), m->Bounds());
    EXPECT_EQ(FWRect(0, 20, 1280, 800), m->UsableBounds());
    EXPECT_EQ(32, m->Depth());
    EXPECT_TRUE(m->IsMainMonitor());
    EXPECT_EQ(m, FWMonitor::GetMainMonitor());

    HostConfigureScreen(640, 480);
    EXPECT_EQ(m, FWMonitor::GetMonitors()); // the record is reused
    EXPECT_EQ(FWRect(0, 20, 640, 480), m->UsableBounds());
}

TEST_F(FWMonitorTest, OnlyActiveScreensCountAndSurplusRecordsGo)
{
    HostDeviceConfig inactive = screen(2000, 0, 2100, 100);
    inactive.isActive = false;
    HostDeviceConfig printer = screen(3000, 0, 3100, 100);
    printer.isScreen = false;
    HostConfigureDevices({screen(0, 0, 100, 100), inactive, printer, screen(100, 0, 200, 100, true)});
    FWMonitor* first = FWMonitor::GetMonitors();
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, first->NextMonitor());
    EXPECT_EQ(nullptr, first->NextMonitor()->NextMonitor());
    EXPECT_EQ(first->NextMonitor(), FWMonitor::GetMainMonitor());

    HostConfigureDevices({screen(0, 0, 100, 100)});
    EXPECT_EQ(first, FWMonitor::GetMonitors());
    EXPECT_EQ(nullptr, first->NextMonitor());
    EXPECT_EQ(nullptr, FWMonitor::GetMainMonitor());

    HostConfigureDevices({});
    EXPECT_EQ(nullptr, FWMonitor::GetMonitors());
    EXPECT_EQ(nullptr, FWMonitor::FindMonitorByArea(FWRect(0, 0, 10, 10)));
    EXPECT_EQ(nullptr, FWMonitor::FindClosestMonitorByPoint(FWPoint(5, 5)));
    FWRect space(1, 1, 1, 1);
    FWMonitor::GetMonitorSpaceBounds(space);
    EXPECT_EQ(FWRect(), space);
}

TEST_F(FWMonitorTest, AreaSearchPrefersLargestOverlapThenTheEarliest)
{
    HostConfigureDevices({screen(0, 0, 100, 100, true), screen(100, 0, 200, 100)});
    FWMonitor* left = FWMonitor::GetMonitors();
    FWMonitor* right = left->NextMonitor();
    EXPECT_EQ(right, FWMonitor::FindMonitorByArea(FWRect(90, 30, 150, 60)));
    EXPECT_EQ(left, FWMonitor::FindMonitorByArea(FWRect(50, 30, 150, 60))); // a tie
    EXPECT_EQ(left, FWMonitor::FindMonitorByArea(FWRect(500, 500, 600, 600))); // off every screen

    FWRect space;
    FWMonitor::GetMonitorSpaceBounds(space);
    EXPECT_EQ(FWRect(0, 0, 200, 100), space);
}

TEST_F(FWMonitorTest, ClosestByPointPrefersScreensAboveOrBelow)
{
    HostConfigureDevices({screen(0, 0, 100, 100, true), screen(100, 0, 200, 100)});
    FWMonitor* left = FWMonitor::GetMonitors();
    FWMonitor* right = left->NextMonitor();
    EXPECT_EQ(right, FWMonitor::FindClosestMonitorByPoint(FWPoint(150, 50)));
    // Far below the left screen, nearer the right one's corner: the vertical candidate wins.
    EXPECT_EQ(left, FWMonitor::FindClosestMonitorByPoint(FWPoint(99, 5000)));
    // Right of both: the horizontal distance is measured from each left edge.
    EXPECT_EQ(right, FWMonitor::FindClosestMonitorByPoint(FWPoint(300, 50)));
    // On the shared edge: neither holds it strictly; the right screen's columns hold h = 100 but
    // the point is neither above nor below it, so only the left one is a (horizontal) candidate.
    EXPECT_EQ(left, FWMonitor::FindClosestMonitorByPoint(FWPoint(100, 50)));
}

TEST_F(FWMonitorTest, ClosestByPointWithoutCandidateIsTheMainScreen)
{
    // On the left edge, within the screen's rows: not inside and no candidate.
    HostConfigureDevices({screen(0, 0, 100, 100, true)});
    EXPECT_EQ(FWMonitor::GetMainMonitor(), FWMonitor::FindClosestMonitorByPoint(FWPoint(0, 50)));
    HostConfigureDevices({screen(0, 0, 100, 100)});
    EXPECT_EQ(nullptr, FWMonitor::FindClosestMonitorByPoint(FWPoint(0, 50)));
    EXPECT_NE(nullptr, FWMonitor::FindClosestMonitorByPoint(FWPoint(50, 500)));
}
