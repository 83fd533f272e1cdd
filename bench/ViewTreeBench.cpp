// Loading and saving a layout of 2,000 views: a root, 40 containers of 49 plain views each,
// and 59 more plain views; reported per view.
#include "FWGroupControl.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostMemory.h"
#include "SubClassFactory.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kViews = 2000;

class BenchGroup : public FWGroupControl {
public:
    const char* FactoryGetClassName() const override { return "BenchGroup"; }
};

SubClassFactory<FWView, BenchGroup> sGroupFactory("BenchGroup");

void buildLayout(FWWindow& window)
{
    window.SetSize(1000, 800);
    FWViewMngr& manager = window.ViewMngr();
    manager.Initialize(FWRect());
    FWView* root = manager.GetViewTree();
    int made = 1;
    for (int g = 0; g < 40; ++g) {
        auto* group = new BenchGroup;
        group->Init(&window);
        group->SetRect(FWRect(int16_t(g * 20), 0, int16_t(g * 20 + 19), 700));
        root->AppendChild(group);
        ++made;
        for (int i = 0; i < 49; ++i, ++made) {
            auto* view = new FWView;
            view->Init(&window);
            view->SetRect(FWRect(int16_t(g * 20), int16_t(i * 14), int16_t(g * 20 + 18), int16_t(i * 14 + 12)));
            view->EnableKeyFocus();
            group->AppendChild(view);
        }
    }
    for (; made < kViews; ++made) {
        auto* view = new FWView;
        view->Init(&window);
        view->SetRect(FWRect(int16_t(made % 900), 750, int16_t(made % 900 + 10), 760));
        root->AppendChild(view);
    }
}

std::vector<char> save(FWViewMngr& manager)
{
    Handle h = manager.SerializeViewTree();
    std::vector<char> bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return bytes;
}

void BM_SaveLayout(benchmark::State& state)
{
    FWWindow window;
    buildLayout(window);
    for (auto _ : state) {
        Handle h = window.ViewMngr().SerializeViewTree();
        benchmark::DoNotOptimize(h);
        DisposeHandle(h);
    }
    state.SetItemsProcessed(state.iterations() * kViews);
}
BENCHMARK(BM_SaveLayout)->Unit(benchmark::kMicrosecond);

void BM_LoadLayout(benchmark::State& state)
{
    FWWindow source;
    buildLayout(source);
    const std::vector<char> bytes = save(source.ViewMngr());
    FWWindow window;
    for (auto _ : state) {
        bool loaded = window.ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size()));
        benchmark::DoNotOptimize(loaded);
    }
    state.SetItemsProcessed(state.iterations() * kViews);
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_LoadLayout)->Unit(benchmark::kMicrosecond);

} // namespace
