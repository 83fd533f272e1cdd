#include "HostClock.h"

#include <gtest/gtest.h>

TEST(HostClock, ManualTicksAreExactAndTimeNeverRunsBack)
{
    for (uint32_t t : {0u, 1u, 7u, 59u, 60u, 61u, 123457u, 0xFFFFFFF0u}) {
        HostSetManualTicks(t);
        EXPECT_EQ(t, TickCount());
    }
    HostSetManualTicks(100);
    uint32_t before = TickCount();
    HostUseSystemClock();
    EXPECT_FALSE(HostClockIsManual());
    EXPECT_GE(TickCount(), before);
    uint64_t a = HostClockNanoseconds();
    uint64_t b = HostClockNanoseconds();
    EXPECT_LE(a, b);
}
