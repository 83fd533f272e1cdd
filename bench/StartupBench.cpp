// Start-up of a framework application on the headless back end: from FWApp::Init to the first
// turn of idle time in the main loop (the menu bar built, the start-up Apple event handled).
// The shut-down that follows is not timed.
#include "FWApp.h"
#include "FWEventDispatcher.h"
#include "FWIdleProcess.h"
#include "FWMenuMgr.h"
#include "FWOpMenu.h"
#include "HostAppleEvents.h"
#include "HostBackend.h"
#include "HostEvents.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

void quit(FWUserOp*) {}

const FWOpData kFile[] = {
    {"Open", 1, 0, 0, 0, nullptr, quit, nullptr, 'O', 0x100, nullptr, 0},
    {"Quit", 2, 0, 0, 0, nullptr, quit, nullptr, 'Q', 0x100, nullptr, 0},
};
const FWOpData kMenus[] = {{"File", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kFile, 2}};
const FWOpData kRoot = {"Root", 0, kUserOpHasChildren, 0, 0, nullptr, nullptr, nullptr, 0, 0, kMenus, 1};

class BenchApp : public FWApp {
public:
    void InitMenus() override { FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(kRoot)); }
    void GetPreferencesDirectory(FileReference&) const override {}
};

// Notes when idle time first comes and ends the loop.
class FirstIdle : public FWIdleProcess {
public:
    void UseIdleTime() override
    {
        if (mReached)
            return;
        mReached = true;
        mWhen = Clock::now();
        FWEventDispatcher::Instance()->Quit();
    }
    bool mReached = false;
    Clock::time_point mWhen;
};

void BM_StartupToFirstIdle(benchmark::State& state)
{
    HostSelectBackend("headless");
    for (auto _ : state) {
        FirstIdle idle;
        const Clock::time_point start = Clock::now();
        FWApp::Init();
        auto* app = new BenchApp;
        HostPostAppleEvent(kAEOpenApplication);
        idle.StartIdling();
        FWApp::Execute(app);
        idle.StopIdling();
        FWApp::Uninit();
        if (!idle.mReached) {
            state.SkipWithError("the loop ended before any idle time");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(idle.mWhen - start).count());
    }
}
BENCHMARK(BM_StartupToFirstIdle)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
