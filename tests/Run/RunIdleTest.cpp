// Idle processes get their turns in rotation from the main loop while it waits for input, also
// when some of them are slow enough that one pass cannot serve them all within its budget.
#include "RunFixture.h"

#include "FWIdleProcess.h"
#include "HostClock.h"
#include "HostHeadless.h"

#include <string>
#include <unistd.h>

namespace {

std::string gTurns;

// Notes its letter on each turn; a slow one holds the loop for some ticks.
class Turn : public FWIdleProcess {
public:
    Turn(char letter, uint32_t ticks) : mLetter(letter), mTicks(ticks) {}
    void UseIdleTime() override
    {
        gTurns += mLetter;
        if (mTicks == 0)
            return;
        // Busy on purpose: the turn holds the loop for its ticks of real time.
        const uint32_t start = TickCount();
        while (TickCount() - start < mTicks)
            usleep(2000);
    }

private:
    char mLetter;
    uint32_t mTicks;
};

} // namespace

TEST_F(RunFixture, IdleProcessesTakeTurnsInRotationWhileTheLoopWaits)
{
    gTurns.clear();
    // Two slow turns overrun the budget of one pass: the next pass goes on from where it stopped.
    Turn a('a', 0), slow1('S', 16), slow2('T', 16), b('b', 0);
    RunScript script;
    script.Then("the first action", [] { return LogHas("open application"); },
                [&] {
                    gTurns.clear();
                    for (Turn* t : {&a, &slow1, &slow2, &b})
                        t->StartIdling();
                })
        .Then("three rounds", [] { return gTurns.size() >= 12; }, [] { HostInjectQuit(); });
    Run({}, script);

    for (Turn* t : {&a, &slow1, &slow2, &b})
        t->StopIdling();
    EXPECT_TRUE(script.Finished());
    // Each process once per round, always in the same order, none left out.
    ASSERT_GE(gTurns.size(), 12u);
    const std::string order = "aSTb";
    const size_t first = order.find(gTurns[0]);
    ASSERT_NE(std::string::npos, first);
    for (size_t i = 0; i < gTurns.size(); ++i)
        ASSERT_EQ(order[(first + i) % 4], gTurns[i]) << gTurns;
}
