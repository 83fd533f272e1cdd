// Dragging a 500-view selection in a layout of 2,000 views in an edit window: one step of the
// drag (the outline erased and drawn again, per frame) and the drop (the move, re-homing every
// view and redrawing the window). Both are reported as ratios ("x_floor") to a memset of the
// 1280 x 800 screen measured in the same run.
#include "BenchFloor.h"

#include "EditWindow.h"
#include "FWDrawContext.h"
#include "FWGroupControl.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostHeadless.h"
#include "StaticText.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kViews = 2000;
constexpr int kSelected = 500;

double screenFloor()
{
    static const double sFloor = [] {
        std::vector<uint32_t> pixels(1280 * 800);
        int i = 0;
        return benchfloor::SecondsPerCall([&] {
            std::memset(pixels.data(), ++i & 0xFF, pixels.size() * sizeof(uint32_t));
            benchmark::DoNotOptimize(pixels.data());
        });
    }();
    return sFloor;
}

// 40 groups of 24 labels each, the rest labels on the root; every fourth view selected.
struct Layout {
    EditWindow* window;
    Layout()
    {
        if (setenv("FW_HOST_BACKEND", "headless", 0) != 0)
            std::abort();
        window = new EditWindow(nullptr, FWRect(10, 40, 1210, 780));
        window->Show();
        FWView* root = window->ViewMngr().GetViewTree();
        int made = 1;
        const FWStr<31> text("Label");
        for (int g = 0; g < 40 && made < kViews; ++g, ++made) {
            auto* group = new FWGroupControl;
            group->Init(window);
            const int16_t left = int16_t(10 + (g % 10) * 115), top = int16_t(10 + (g / 10) * 150);
            group->SetRect(FWRect(left, top, int16_t(left + 110), int16_t(top + 145)));
            root->AppendChild(group);
            for (int i = 0; i < 24 && made + 1 < kViews; ++i, ++made)
                group->AppendChild(label(FWRect(int16_t(left + 4 + (i % 2) * 52), int16_t(top + 4 + (i / 2) * 11),
                                                 int16_t(left + 54 + (i % 2) * 52), int16_t(top + 14 + (i / 2) * 11)),
                                           text));
        }
        for (int i = 0; made < kViews; ++i, ++made)
            root->AppendChild(label(FWRect(int16_t(10 + (i % 20) * 58), int16_t(620 + (i / 20) * 4),
                                           int16_t(60 + (i % 20) * 58), int16_t(630 + (i / 20) * 4)),
                                    text));
        FWDrawContext context(window);
        int n = 0;
        for (FWView* v = root->FirstChild(); v != nullptr; v = v->NextPeer()) {
            for (FWView* c = v->FirstChild(); c != nullptr; c = c->NextPeer())
                if (++n % 4 == 0 && window->ViewMngr().GetSelectedTotal() < kSelected)
                    window->ViewMngr().SelectView(context, c);
            if (v->FirstChild() == nullptr && ++n % 4 == 0 && window->ViewMngr().GetSelectedTotal() < kSelected)
                window->ViewMngr().SelectView(context, v);
        }
        window->ViewMngr().Draw(context);
    }
    ~Layout() { delete window; }

    StaticText* label(const FWRect& rect, const FWStr<31>& text)
    {
        auto* view = new StaticText;
        view->Init(window, rect, &text, StaticText::kBoldWrapped);
        return view;
    }
    Point global(FWPoint p) const
    {
        window->WindowToGlobal(&p);
        return Point{p.v, p.h};
    }
};

// Steps of one drag that ends where it began, so the layout never changes: each step erases
// the outline and draws it one pixel further.
void BM_DragStepOf500Selected(benchmark::State& state)
{
    Layout layout;
    FWRect bounds;
    layout.window->GetSelectionBounds(&bounds);
    const FWPoint start(int16_t(bounds.left + 1), int16_t(bounds.top + 1));
    const double floor = screenFloor();
    constexpr int kSteps = 2000;
    benchfloor::RatioTimer timer(floor * kSteps);
    for (auto _ : state) {
        HostInjectMouseDown(layout.global(start));
        for (int i = 1; i <= kSteps; ++i)
            HostInjectMouseMove(layout.global(FWPoint(int16_t(start.h + (i % 2)), start.v)));
        HostInjectMouseUp(layout.global(start));
        HostTakeInjectedInput();
        FWDrawContext context(layout.window);
        layout.window->DragItemSet(context, start, false, false, false);
    }
    timer.Finish(state);
    state.SetLabel("per frame, x_floor against one screen memset");
}
BENCHMARK(BM_DragStepOf500Selected)->Unit(benchmark::kMicrosecond)->Iterations(5);

// The drop: 500 views moved, every view re-homed, the window redrawn.
void BM_DropOf500Selected(benchmark::State& state)
{
    Layout layout;
    const double floor = screenFloor();
    benchfloor::RatioTimer timer(floor);
    int16_t step = 3;
    for (auto _ : state) {
        FWDrawContext context(layout.window);
        layout.window->TranslateSelection(context, FWPoint(step, 0));
        step = int16_t(-step);
    }
    timer.Finish(state);
    state.SetLabel("per drop, x_floor against one screen memset");
}
BENCHMARK(BM_DropOf500Selected)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// For comparison: the redraw of the whole window alone, which every drop ends with.
void BM_RedrawOnly(benchmark::State& state)
{
    Layout layout;
    const double floor = screenFloor();
    benchfloor::RatioTimer timer(floor);
    for (auto _ : state) {
        FWDrawContext context(layout.window);
        layout.window->ViewMngr().Draw(context);
    }
    timer.Finish(state);
    state.SetLabel("per redraw, x_floor against one screen memset");
}
BENCHMARK(BM_RedrawOnly)->Unit(benchmark::kMillisecond);

} // namespace
