#include "HostClock.h"
#include "HostTimers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> sLog;

void logProc(EventLoopTimerRef, void* userData)
{
    sLog.push_back(*static_cast<int*>(userData));
}

class HostTimersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sLog.clear();
        HostSetManualClock(5'000'000'000);
    }
    void TearDown() override { HostUseSystemClock(); }
};

} // namespace

TEST_F(HostTimersTest, DueTimersFireInOrderOfDueTime)
{
    int a = 1, b = 2;
    EventLoopTimerRef ta = nullptr, tb = nullptr;
    ASSERT_EQ(noErr, InstallEventLoopTimer(GetCurrentEventLoop(), 0.02, 0, NewEventLoopTimerUPP(logProc), &a, &ta));
    ASSERT_EQ(noErr, InstallEventLoopTimer(GetCurrentEventLoop(), 0.01, 0, NewEventLoopTimerUPP(logProc), &b, &tb));
    EXPECT_EQ(0, HostFireDueTimers());
    HostAdvanceManualClock(30'000'000);
    EXPECT_EQ(2, HostFireDueTimers());
    EXPECT_EQ((std::vector<int>{2, 1}), sLog);
    EXPECT_EQ(0, HostFireDueTimers()); // one-shot timers stay installed but silent

    EXPECT_EQ(noErr, SetEventLoopTimerNextFireTime(ta, 0));
    EXPECT_EQ(1, HostFireDueTimers());
    EXPECT_EQ(noErr, RemoveEventLoopTimer(ta));
    EXPECT_EQ(noErr, RemoveEventLoopTimer(tb));
    EXPECT_EQ(paramErr, RemoveEventLoopTimer(ta));
    EXPECT_EQ(paramErr, SetEventLoopTimerNextFireTime(tb, 1));
}

TEST_F(HostTimersTest, RepeatingTimerFiresOncePerCallEvenWhenLate)
{
    int a = 7;
    EventLoopTimerRef t = nullptr;
    ASSERT_EQ(noErr, InstallEventLoopTimer(GetCurrentEventLoop(), 0.01, 0.01, logProc, &a, &t));
    HostAdvanceManualClock(1'000'000'000); // a hundred intervals late
    EXPECT_EQ(1, HostFireDueTimers());
    EXPECT_EQ(0, HostFireDueTimers());
    HostAdvanceManualClock(10'000'000);
    EXPECT_EQ(1, HostFireDueTimers());
    RemoveEventLoopTimer(t);
}

TEST_F(HostTimersTest, BadArgumentsAreRefused)
{
    EventLoopTimerRef t = nullptr;
    EXPECT_EQ(paramErr, InstallEventLoopTimer(nullptr, 1, 0, logProc, nullptr, &t));
    EXPECT_EQ(paramErr, InstallEventLoopTimer(GetCurrentEventLoop(), 1, 0, nullptr, nullptr, &t));
    EXPECT_EQ(paramErr, RemoveEventLoopTimer(nullptr));
}
