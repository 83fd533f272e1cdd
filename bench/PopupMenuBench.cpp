// Opening a pop-up menu of 1,000 items (it fills the screen's height and scrolls), with and
// without one scroll step from its bottom arrow zone, on the headless host with the clock
// stepped by hand. Each figure is also given as a ratio ("x_floor") to a memset over the menu
// window's pixels, measured in the same run.
#include "BenchFloor.h"
#include "FWAppColor.h"
#include "FWMonitor.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWPopupMenu.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostWindows.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kItems = 1000;
const FWPoint kPoint(200, 40);

FWOpMenu* bigMenu()
{
    auto* menu = new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (int i = 0; i < kItems; ++i) {
        const std::string name = "Menu item number " + std::to_string(i);
        menu->AppendChild(new FWOpItem(name.c_str(), i, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    }
    return menu;
}

FWRect menuWindowBounds()
{
    FWRect bounds = FWMonitor::FindClosestMonitorByPoint(kPoint)->UsableBounds();
    bounds.Inset(6, 6);
    return bounds;
}

// Seconds of one memset over a 200-pixel-wide window as tall as the menu's bounds.
double floorSeconds()
{
    static double sFloor = [] {
        std::vector<uint32_t> pixels(size_t(200) * size_t(menuWindowBounds().Height() + 2));
        int round = 0;
        return benchfloor::SecondsPerCall([&] {
            std::memset(pixels.data(), ++round & 0xFF, pixels.size() * sizeof(uint32_t));
            benchmark::DoNotOptimize(pixels.data());
            benchmark::ClobberMemory();
        });
    }();
    return sFloor;
}

void track(FWPopupMenu& popup, bool scroll)
{
    HostSetGlobalMouse(Point{kPoint.v, kPoint.h});
    HostSetMouseButton(true);
    HostInjectClockAdvance(600'000'000); // past the sticky click
    if (scroll) {
        const FWRect bounds = menuWindowBounds();
        const Point zone{int16_t(bounds.bottom - 3), int16_t(kPoint.h + 20)};
        HostInjectMouseMove(zone);
        HostInjectClockAdvance(300'000'000);
    }
    HostInjectMouseMove(Point{5, 5});
    HostInjectMouseUp(Point{5, 5});
    popup.Track(kPoint, 0, nullptr);
}

void run(benchmark::State& state, bool scroll)
{
    setenv("FW_HOST_BACKEND", "headless", 0);
    FWSetColorScheme();
    HostSetManualTicks(1000);
    FWPopupMenu popup(bigMenu(), true);
    benchfloor::RatioTimer timer(floorSeconds());
    for (auto _ : state)
        track(popup, scroll);
    timer.Finish(state);
    HostUseSystemClock();
}

void BM_OpenThousandItemMenu(benchmark::State& state)
{
    run(state, false);
}
BENCHMARK(BM_OpenThousandItemMenu)->Unit(benchmark::kMicrosecond);

void BM_OpenAndScrollOneStep(benchmark::State& state)
{
    run(state, true);
}
BENCHMARK(BM_OpenAndScrollOneStep)->Unit(benchmark::kMicrosecond);

} // namespace
