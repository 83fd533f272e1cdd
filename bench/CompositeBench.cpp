// Composites 20 overlapping windows (400 x 300 each, in a cascade across the 1280 x 800 screen)
// into the screen: the whole screen at once, every window drawn anew, one small change, and a
// window dragged by 7 pixels a frame (its exposure recomputed each time).
#include "HostScreen.h"
#include "HostWindows.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kWindows = 20;

struct Scene {
    std::vector<WindowRef> windows;
    Scene()
    {
        for (int i = 0; i < kWindows; ++i) {
            const int16_t left = int16_t(20 + i * 44);
            const int16_t top = int16_t(30 + i * 24);
            const Rect bounds{top, left, int16_t(top + 300), int16_t(left + 400)};
            WindowRef w = nullptr;
            CreateNewWindow(i % 5 == 4 ? kHostFloatingWindowClass : kHostDocumentWindowClass, 0, &bounds, &w);
            SetPortWindowPort(w);
            const RGBColor colour{uint16_t(i * 3000), uint16_t(0xFFFF - i * 3000), 0x8000};
            RGBForeColor(&colour);
            const Rect all{0, 0, 300, 400};
            PaintRect(&all);
            ShowWindow(w);
            windows.push_back(w);
        }
        HostComposeScreen();
    }
    ~Scene() { HostDisposeAllWindows(); }
};

void BM_CompositeWholeScreen(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        HostInvalScreen(HostScreenBounds());
        benchmark::DoNotOptimize(HostComposeScreen());
    }
    state.SetLabel("per frame: 1280 x 800, 20 windows");
}
BENCHMARK(BM_CompositeWholeScreen)->Unit(benchmark::kMicrosecond);

void BM_CompositeEveryWindowRedrawn(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        for (WindowRef w : scene.windows)
            QDFlushPortBuffer(GetWindowPort(w), nullptr);
        benchmark::DoNotOptimize(HostComposeScreen());
    }
}
BENCHMARK(BM_CompositeEveryWindowRedrawn)->Unit(benchmark::kMicrosecond);

void BM_CompositeOneSmallChange(benchmark::State& state)
{
    Scene scene;
    // A caret blinking in the front window.
    SetPortWindowPort(scene.windows[kWindows - 1]);
    const Rect caret{100, 100, 116, 101};
    for (auto _ : state) {
        InvertRect(&caret);
        benchmark::DoNotOptimize(HostComposeScreen());
    }
}
BENCHMARK(BM_CompositeOneSmallChange)->Unit(benchmark::kMicrosecond);

void BM_CompositeWindowDragged(benchmark::State& state)
{
    Scene scene;
    WindowRef moving = scene.windows[5];
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 100;
        MoveWindow(moving, int16_t(240 + step * 7), int16_t(150 + step * 3), false);
        benchmark::DoNotOptimize(HostComposeScreen());
    }
}
BENCHMARK(BM_CompositeWindowDragged)->Unit(benchmark::kMicrosecond);

} // namespace
