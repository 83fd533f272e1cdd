#include "AlertRecorder.h"
#include "HostAlerts.h"
#include "HostEnvironment.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(HostAlerts, AlertsGoToTheInstalledPresenterAndBackToTheDefault)
{
    {
        AlertRecorder outer;
        StopAlert(200);
        {
            AlertRecorder inner;
            Alert(7);
            EXPECT_EQ(std::vector<SInt16>{7}, inner.Ids());
            EXPECT_EQ(HostAlertKind::kPlain, inner.Alerts()[0].kind);
        }
        StopAlert(201);
        EXPECT_EQ((std::vector<SInt16>{200, 201}), outer.Ids());
        EXPECT_EQ(HostAlertKind::kStop, outer.Alerts()[1].kind);
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(1, StopAlert(200));
    EXPECT_EQ("Stop alert 200\n", testing::internal::GetCapturedStderr());
}

TEST(HostAlerts, RecorderCanStopTheCallerAfterRecording)
{
    AlertRecorder alerts(true);
    EXPECT_THROW(StopAlert(201), AlertRecorder::AlertShown);
    EXPECT_EQ(std::vector<SInt16>{201}, alerts.Ids());
}

TEST(HostEnvironment, HiddenPortsKeepWhatTheyWereMadeWithUntilDisposed)
{
    const Rect bounds{0, 0, 100, 400};
    HostPortToken first = HostNewHiddenPort(bounds, 1045);
    HostPortToken second = HostNewHiddenPort(bounds, 5);
    EXPECT_NE(0u, first);
    EXPECT_NE(first, second);

    HostHiddenPortInfo info{};
    ASSERT_TRUE(HostGetHiddenPortInfo(first, info));
    EXPECT_EQ(400, info.bounds.right);
    EXPECT_EQ(100, info.bounds.bottom);
    EXPECT_EQ(1045, info.procID);

    HostDisposeHiddenPort(first);
    EXPECT_FALSE(HostGetHiddenPortInfo(first, info));
    EXPECT_TRUE(HostGetHiddenPortInfo(second, info));
    HostDisposeHiddenPort(second);
    EXPECT_FALSE(HostGetHiddenPortInfo(0, info));
}
