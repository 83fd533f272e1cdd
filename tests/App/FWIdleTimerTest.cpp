#include "FWIdleTimer.h"
#include "FWIdleTimerManager.h"
#include "HostClock.h"
#include "HostTimers.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CountingTimer : public FWIdleTimer {
public:
    void TimerAction() override { ++mFired; }
    int mFired = 0;
};

class IdleTimerTest : public ::testing::Test {
protected:
    void SetUp() override { HostSetManualClock(1'000'000'000); }
    void TearDown() override { HostUseSystemClock(); }
    static void advanceMs(int ms)
    {
        HostAdvanceManualClock(uint64_t(ms) * 1'000'000);
        HostFireDueTimers();
    }
};

} // namespace

TEST_F(IdleTimerTest, IdsAreTakenInOrderAndLiveTimersAreKnown)
{
    auto a = std::make_unique<CountingTimer>();
    auto b = std::make_unique<CountingTimer>();
    EXPECT_EQ(a->GetTimerID() + 1, b->GetTimerID());
    FWIdleTimer* raw = b.get();
    EXPECT_TRUE(FWIdleTimer::IsValidTimer(raw));
    b.reset();
    EXPECT_FALSE(FWIdleTimer::IsValidTimer(raw));
}

TEST_F(IdleTimerTest, RepeatingTimerFiresEachIntervalUntilStopped)
{
    CountingTimer t;
    FWIdleTimerManager::Start(&t, 10);
    advanceMs(9);
    EXPECT_EQ(0, t.mFired);
    advanceMs(1);
    EXPECT_EQ(1, t.mFired);
    advanceMs(10);
    advanceMs(10);
    EXPECT_EQ(3, t.mFired);
    FWIdleTimerManager::Stop(&t);
    advanceMs(50);
    EXPECT_EQ(3, t.mFired);
    FWIdleTimerManager::Stop(&t); // stopping a stopped timer does nothing
}

TEST_F(IdleTimerTest, RestartReplacesTheRunningTimer)
{
    const int before = HostInstalledTimerCount();
    CountingTimer t;
    FWIdleTimerManager::Start(&t, 10);
    advanceMs(5);
    FWIdleTimerManager::Start(&t, 10);
    EXPECT_EQ(before + 1, HostInstalledTimerCount());
    advanceMs(5);
    EXPECT_EQ(0, t.mFired); // the first installation is gone
    advanceMs(5);
    EXPECT_EQ(1, t.mFired);
    advanceMs(10);
    EXPECT_EQ(2, t.mFired); // once per interval, not twice
    FWIdleTimerManager::Stop(&t);
}

TEST_F(IdleTimerTest, OneShotFiresOnce)
{
    CountingTimer t;
    FWIdleTimerManager::StartOneShot(&t, 20);
    advanceMs(20);
    advanceMs(20);
    advanceMs(100);
    EXPECT_EQ(1, t.mFired);
    FWIdleTimerManager::StartOneShot(&t, 20); // may be started again
    advanceMs(20);
    EXPECT_EQ(2, t.mFired);
    FWIdleTimerManager::Stop(&t);
}

TEST_F(IdleTimerTest, DeletingARunningTimerStopsIt)
{
    const int before = HostInstalledTimerCount();
    auto t = std::make_unique<CountingTimer>();
    FWIdleTimerManager::Start(t.get(), 10);
    EXPECT_EQ(before + 1, HostInstalledTimerCount());
    t.reset();
    EXPECT_EQ(before, HostInstalledTimerCount());
    // A new timer may reuse the address; it must not be fired by the old installation.
    auto other = std::make_unique<CountingTimer>();
    advanceMs(30);
    EXPECT_EQ(0, other->mFired);
}

namespace {

// Stops itself from inside its action, and deletes a partner timer.
class SelfStoppingTimer : public FWIdleTimer {
public:
    void TimerAction() override
    {
        ++mFired;
        FWIdleTimerManager::Stop(this);
        mPartner.reset();
    }
    int mFired = 0;
    std::unique_ptr<CountingTimer> mPartner;
};

} // namespace

TEST_F(IdleTimerTest, ActionMayStopItselfAndDeleteAnotherDueTimer)
{
    SelfStoppingTimer s;
    s.mPartner = std::make_unique<CountingTimer>();
    FWIdleTimerManager::Start(&s, 10);
    FWIdleTimerManager::Start(s.mPartner.get(), 10); // due at the same time, installed after
    advanceMs(10);
    EXPECT_EQ(1, s.mFired);
    EXPECT_EQ(nullptr, s.mPartner);
    advanceMs(20);
    EXPECT_EQ(1, s.mFired);
}
