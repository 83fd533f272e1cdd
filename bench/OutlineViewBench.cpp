// A list box of 10,000 rows with a vertical scroll bar in a 400 x 600 window: a full draw, a
// scroll by one row and a scroll by one page (Page Down), each a frame with its redraw. Each
// figure is also given as a ratio ("x_floor") to a memset of the window's pixels, measured in
// the same run.
#include "BenchFloor.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "ListBox.h"
#include "Scroller.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 10000;
constexpr int16_t kWidth = 400;
constexpr int16_t kHeight = 600;

double floorSeconds()
{
    static double sFloor = [] {
        std::vector<uint32_t> pixels(size_t(kWidth) * size_t(kHeight));
        int round = 0;
        return benchfloor::SecondsPerCall([&] {
            std::memset(pixels.data(), ++round & 0xFF, pixels.size() * sizeof(uint32_t));
            benchmark::DoNotOptimize(pixels.data());
            benchmark::ClobberMemory();
        });
    }();
    return sFloor;
}

struct Scene {
    FWWindow window;
    ListBox* box = new ListBox;

    Scene()
    {
        setenv("FW_HOST_BACKEND", "headless", 0);
        FWSetColorScheme();
        window.Initialize(nullptr, FWRect(20, 60, 20 + kWidth, 60 + kHeight));
        window.Show();
        box->Init(&window, FWRect(0, 0, kWidth, kHeight));
        window.ViewMngr().GetViewTree()->AppendChild(box);
        for (int i = 0; i < kRows; ++i)
            box->AddLast(FWStr<31>(("Row number " + std::to_string(i)).c_str()), i, nullptr);
        box->AddVScroller();
        draw();
    }
    ~Scene() { window.SendMessage(Dependable::IsBeingDeleted); }
    void draw()
    {
        FWDrawContext context(&window);
        box->Draw(context);
    }
    // Scrolls by the change, back to the top from the end.
    void scrollBy(int32_t change)
    {
        Scroller* bar = box->VScroller();
        int32_t value = bar->ScrollVal() + change;
        if (value > bar->ScrollMax())
            value = 0;
        const int32_t before = bar->ScrollVal();
        bar->SetScrollVal(value);
        box->ScrollView(0, value - before, true);
    }
};

Scene& scene()
{
    static Scene* sScene = new Scene;
    return *sScene;
}

void BM_FullDraw(benchmark::State& state)
{
    Scene& s = scene();
    benchfloor::RatioTimer timer(floorSeconds());
    for (auto _ : state)
        s.draw();
    timer.Finish(state);
}
BENCHMARK(BM_FullDraw)->Unit(benchmark::kMicrosecond);

void BM_ScrollOneRow(benchmark::State& state)
{
    Scene& s = scene();
    const int32_t row = s.box->row_delta();
    benchfloor::RatioTimer timer(floorSeconds());
    for (auto _ : state)
        s.scrollBy(row);
    timer.Finish(state);
}
BENCHMARK(BM_ScrollOneRow)->Unit(benchmark::kMicrosecond);

void BM_ScrollOnePage(benchmark::State& state)
{
    Scene& s = scene();
    FWEvent key(kKeyDownEvent, &s.window, 0);
    key.mMessage = 12; // Page Down
    benchfloor::RatioTimer timer(floorSeconds());
    for (auto _ : state) {
        if (s.box->VScroller()->ScrollVal() >= s.box->VScroller()->ScrollMax())
            s.scrollBy(1 << 30); // back to the top
        s.box->KeyDownEvent(key);
    }
    timer.Finish(state);
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMicrosecond);

} // namespace
