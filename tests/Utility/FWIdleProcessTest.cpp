#include "FWIdleProcess.h"
#include "HostClock.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

std::string sLog;

class Idler : public FWIdleProcess {
public:
    explicit Idler(char name) : mName(name) {}
    void UseIdleTime() override
    {
        sLog += mName;
        if (mHook)
            mHook();
    }
    char mName;
    std::function<void()> mHook;
};

class IdleProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sLog.clear();
        HostSetManualTicks(1000);
    }
    void TearDown() override { HostUseSystemClock(); }
};

} // namespace

TEST_F(IdleProcessTest, EmptyRotationDoesNothing)
{
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("", sLog);
    Idler a('a');
    EXPECT_FALSE(a.IsIdling());
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("", sLog);
}

TEST_F(IdleProcessTest, EachIdlerGetsOneTurnPerPass)
{
    Idler a('a'), b('b'), c('c');
    a.StartIdling();
    a.StartIdling(); // twice is once
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("a", sLog);
    b.StartIdling();
    c.StartIdling();
    FWIdleProcess::DispatchIdleTime();
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("aabcabc", sLog);
    c.StopIdling();
    c.StopIdling();
    EXPECT_FALSE(c.IsIdling());
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("aabcabcab", sLog);
}

TEST_F(IdleProcessTest, PassCutByTheBudgetResumesWhereItStopped)
{
    Idler a('a'), b('b'), c('c');
    a.mHook = [] { HostAdvanceTicks(FWIdleProcess::gIdleTimeOut); };
    a.StartIdling();
    b.StartIdling();
    c.StartIdling();
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("a", sLog);
    FWIdleProcess::DispatchIdleTime(); // b, c, then around to a, which spends the budget
    EXPECT_EQ("abca", sLog);
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("abcabca", sLog);
}

TEST_F(IdleProcessTest, StoppingTheIdlerAtTheCursorMovesTheRotationOn)
{
    Idler a('a'), b('b'), c('c');
    a.mHook = [] { HostAdvanceTicks(FWIdleProcess::gIdleTimeOut); };
    a.StartIdling();
    b.StartIdling();
    c.StartIdling();
    FWIdleProcess::DispatchIdleTime(); // a; the cursor is now at b
    b.StopIdling();
    a.mHook = nullptr;
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("aca", sLog);
}

TEST_F(IdleProcessTest, RemovalDuringAPassSkipsNobody)
{
    Idler a('a'), b('b'), c('c'), d('d');
    // b leaves during its own turn; c must still be served in the same pass.
    b.mHook = [&] { b.StopIdling(); };
    for (Idler* i : {&a, &b, &c, &d})
        i->StartIdling();
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("abcd", sLog);
    sLog.clear();
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("acd", sLog);
}

TEST_F(IdleProcessTest, RemovingThePassStartDuringThePassEndsItCleanly)
{
    // The pass starts at a; b deletes a (the start) and d starts idling; the pass serves each
    // process once and ends.
    auto a = std::make_unique<Idler>('a');
    Idler b('b'), c('c'), d('d');
    b.mHook = [&] {
        a.reset();
        d.StartIdling();
    };
    a->StartIdling();
    b.StartIdling();
    c.StartIdling();
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("abcd", sLog);
    b.mHook = nullptr;
    sLog.clear();
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("bcd", sLog);
}

TEST_F(IdleProcessTest, RestartingDuringAPassServesOnce)
{
    Idler a('a'), b('b');
    a.mHook = [&] {
        a.StopIdling();
        a.StartIdling(); // now last in the rotation
    };
    a.StartIdling();
    b.StartIdling();
    FWIdleProcess::DispatchIdleTime();
    EXPECT_EQ("ab", sLog);
}
