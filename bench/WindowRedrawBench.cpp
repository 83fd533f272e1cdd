// The full redraw of a 1280 x 800 window holding 2,000 mixed views (80 engraved group boxes, each
// holding push buttons, check boxes, labels and edit texts), reported as a ratio ("x_floor") to a
// memset of the window's pixels measured in the same run; and destroying windows of 2,000 and
// 20,000 views, reported per view against the smallest ("x_per_item_vs_smallest").
#include "BenchFloor.h"

#include "BranchItem.h"
#include "CheckBox.h"
#include "EditText.h"
#include "FWDrawContext.h"
#include "FWStr.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "Group.h"
#include "PushButton.h"
#include "StaticText.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kGroups = 80;
constexpr int kPerGroup = 24; // 80 groups and their 1,920 controls make 2,000 views

FWView* control(FWWindow& window, int kind, const FWRect& r)
{
    FWStr<31> label("Control label");
    switch (kind % 4) {
    case 0: {
        auto* button = new PushButton;
        button->Init(&window, r, &label, 0);
        return button;
    }
    case 1: {
        auto* box = new CheckBox;
        box->Init(&window, FWPoint(r.left, r.top), &label);
        return box;
    }
    case 2: {
        auto* text = new StaticText;
        text->Init(&window, r, &label, StaticText::kSingleLine);
        return text;
    }
    default: {
        auto* edit = new EditText;
        edit->Init(&window, r, &label);
        return edit;
    }
    }
}

// Groups in 10 columns of 8, each with its controls in 2 columns of 12 rows.
void buildMixedLayout(FWWindow& window, int groups);

FWWindow* newMixedWindow(int groups)
{
    auto* window = new FWWindow;
    window->Initialize(nullptr, FWRect(0, 0, kWidth, kHeight));
    buildMixedLayout(*window, groups);
    window->Show();
    return window;
}

void buildMixedLayout(FWWindow& window, int groups)
{
    FWView* root = window.ViewMngr().GetViewTree();
    FWStr<31> title("Group");
    for (int g = 0; g < groups; ++g) {
        const int16_t left = int16_t(4 + (g % 10) * 127), top = int16_t(4 + ((g / 10) % 8) * 96);
        auto* group = new Group;
        root->AppendChild(group);
        group->Init(&window, FWRect(left, top, int16_t(left + 124), int16_t(top + 94)), &title, Group::kTopLeft,
                    Group::kEngraved);
        group->SetBranchTotal(1);
        FWView* page = group->FindBranch(0);
        for (int i = 0; i < kPerGroup; ++i) {
            const int16_t x = int16_t(left + 4 + (i % 2) * 60), y = int16_t(top + 14 + (i / 2) * 6);
            page->AppendChild(control(window, i + g, FWRect(x, y, int16_t(x + 58), int16_t(y + 12))));
        }
    }
}

int countViews(FWView* root)
{
    int count = 1;
    for (FWView* child = root->FirstChild(); child != nullptr; child = child->NextPeer())
        count += countViews(child);
    return count;
}

double windowFloor()
{
    std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
    int i = 0;
    return benchfloor::SecondsPerCall([&] {
        std::memset(pixels.data(), ++i & 0xFF, pixels.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(pixels.data());
    });
}

void BM_RedrawMixedWindow(benchmark::State& state)
{
    FWWindow* window = newMixedWindow(kGroups);
    state.counters["views"] = countViews(window->ViewMngr().GetViewTree());
    benchfloor::RatioTimer timer(windowFloor());
    for (auto _ : state) {
        FWDrawContext context(window);
        window->ViewMngr().Draw(context);
    }
    timer.Finish(state);
    delete window;
    state.SetLabel("per redraw, x_floor against a memset of the window's pixels");
}
BENCHMARK(BM_RedrawMixedWindow)->Unit(benchmark::kMillisecond);

// Each iteration builds a window of about n views (untimed) and times deleting it.
void BM_DestroyWindow(benchmark::State& state)
{
    const int groups = int(state.range(0)) / (kPerGroup + 1);
    double seconds = 0;
    int views = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FWWindow* window = newMixedWindow(groups);
        views = countViews(window->ViewMngr().GetViewTree());
        state.ResumeTiming();
        const double start = benchfloor::Now();
        delete window;
        seconds += benchfloor::Now() - start;
    }
    const double perView = seconds / double(state.iterations()) / views;
    benchfloor::ReportGrowth(state, "destroy", perView, state.range(0) == 2000);
    state.counters["views"] = views;
    state.counters["ns_per_view"] = perView * 1e9;
}
BENCHMARK(BM_DestroyWindow)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
