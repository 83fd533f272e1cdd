#include "FWTickCount.h"
#include "HostClock.h"

#include <gtest/gtest.h>

TEST(FWTickCount, FollowsTheManualClockInSixtieths)
{
    HostSetManualTicks(1000);
    EXPECT_EQ(1000u, FWTickCount());
    HostAdvanceTicks(60);
    EXPECT_EQ(1060u, FWTickCount());
    HostAdvanceManualClock(16666666); // just under one tick
    EXPECT_EQ(1060u, FWTickCount());
    HostAdvanceManualClock(1);
    EXPECT_EQ(1061u, FWTickCount());
    HostSetManualClock(3ull * 1000000000ull);
    EXPECT_EQ(180u, FWTickCount());
    EXPECT_DOUBLE_EQ(3.0, GetCurrentEventTime());
    HostUseSystemClock();
    EXPECT_GE(FWTickCount(), 180u); // the system clock goes on from the manual reading
}
