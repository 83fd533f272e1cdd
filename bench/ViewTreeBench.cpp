// Loading, saving and destroying layouts of 2,000 and 20,000 views, reported per view and as a
// ratio to the floor of copying and checksumming the layout's bytes once. A layout of n views is a root,
// (n - 1) / 50 containers of 49 plain views each, and the rest as plain views of the root.
#include "BenchFloor.h"

#include "FWGroupControl.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostMemory.h"
#include "PreorderTraversal.h"
#include "SubClassFactory.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSmallest = 2000;

class BenchGroup : public FWGroupControl {
public:
    const char* FactoryGetClassName() const override { return "BenchGroup"; }
};

SubClassFactory<FWView, BenchGroup> sGroupFactory("BenchGroup");

int countViews(FWViewMngr& manager)
{
    int count = 0;
    PreorderTraversal<FWView> walk(manager.GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        ++count;
    return count;
}

void buildLayout(FWWindow& window, int views)
{
    window.SetSize(1000, 800);
    FWViewMngr& manager = window.ViewMngr();
    manager.Initialize(FWRect());
    FWView* root = manager.GetViewTree();
    const int groups = (views - 1) / 50;
    for (int g = 0; g < groups; ++g) {
        auto* group = new BenchGroup;
        group->Init(&window);
        const int16_t left = int16_t((g % 50) * 20);
        group->SetRect(FWRect(left, 0, int16_t(left + 19), 700));
        root->AppendChild(group);
        for (int i = 0; i < 49; ++i) {
            auto* view = new FWView;
            view->Init(&window);
            view->SetRect(FWRect(left, int16_t(i * 14), int16_t(left + 18), int16_t(i * 14 + 12)));
            view->EnableKeyFocus();
            group->AppendChild(view);
        }
    }
    for (int made = 1 + groups * 50; made < views; ++made) {
        auto* view = new FWView;
        view->Init(&window);
        view->SetRect(FWRect(int16_t(made % 900), 750, int16_t(made % 900 + 10), 760));
        root->AppendChild(view);
    }
    if (countViews(manager) != views)
        std::abort();
}

std::vector<char> save(FWViewMngr& manager)
{
    Handle h = manager.SerializeViewTree();
    std::vector<char> bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return bytes;
}

// The floor: one copy of the layout's bytes and a checksum of the copy.
double copyAndChecksumSeconds(const std::vector<char>& bytes)
{
    std::vector<char> copy(bytes.size());
    return benchfloor::SecondsPerCall([&] {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        uint64_t sum = 0;
        for (char c : copy)
            sum += uint8_t(c);
        benchmark::DoNotOptimize(sum);
    });
}

void finish(benchmark::State& state, benchfloor::RatioTimer& timer, const char* family)
{
    const int views = int(state.range(0));
    const double perView = timer.Finish(state) / views;
    benchfloor::ReportGrowth(state, family, perView, views == kSmallest);
    state.SetItemsProcessed(state.iterations() * views);
}

void BM_SaveLayout(benchmark::State& state)
{
    FWWindow window;
    buildLayout(window, int(state.range(0)));
    benchfloor::RatioTimer timer(copyAndChecksumSeconds(save(window.ViewMngr())));
    for (auto _ : state) {
        Handle h = window.ViewMngr().SerializeViewTree();
        benchmark::DoNotOptimize(h);
        DisposeHandle(h);
    }
    finish(state, timer, "save");
}
BENCHMARK(BM_SaveLayout)->Arg(kSmallest)->Arg(20000)->Unit(benchmark::kMicrosecond);

void BM_LoadLayout(benchmark::State& state)
{
    FWWindow source;
    buildLayout(source, int(state.range(0)));
    const std::vector<char> bytes = save(source.ViewMngr());
    FWWindow window;
    benchfloor::RatioTimer timer(copyAndChecksumSeconds(bytes));
    for (auto _ : state) {
        bool loaded = window.ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size()));
        benchmark::DoNotOptimize(loaded);
    }
    finish(state, timer, "load");
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_LoadLayout)->Arg(kSmallest)->Arg(20000)->Unit(benchmark::kMicrosecond);

void BM_LoadAndSaveLayout(benchmark::State& state)
{
    FWWindow source;
    buildLayout(source, int(state.range(0)));
    const std::vector<char> bytes = save(source.ViewMngr());
    FWWindow window;
    benchfloor::RatioTimer timer(copyAndChecksumSeconds(bytes));
    for (auto _ : state) {
        window.ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size()));
        Handle h = window.ViewMngr().SerializeViewTree();
        benchmark::DoNotOptimize(h);
        DisposeHandle(h);
    }
    finish(state, timer, "load and save");
}
BENCHMARK(BM_LoadAndSaveLayout)->Arg(kSmallest)->Arg(20000)->Unit(benchmark::kMicrosecond);

// Destroying a window holding a loaded layout: each iteration loads one (untimed) and times
// the window's deletion.
void BM_DestroyLayout(benchmark::State& state)
{
    const int views = int(state.range(0));
    FWWindow source;
    buildLayout(source, views);
    const std::vector<char> bytes = save(source.ViewMngr());
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* window = new FWWindow;
        if (!window->ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size())))
            std::abort();
        state.ResumeTiming();
        const double start = benchfloor::Now();
        delete window;
        seconds += benchfloor::Now() - start;
    }
    const double perView = seconds / double(state.iterations()) / views;
    benchfloor::ReportGrowth(state, "destroy", perView, views == kSmallest);
    state.counters["ns_per_view"] = perView * 1e9;
}
BENCHMARK(BM_DestroyLayout)->Arg(kSmallest)->Arg(20000)->Unit(benchmark::kMicrosecond);

// The first save in a fresh process, before the allocator has grown its heap: each iteration
// starts this program anew to build the layout and time only its first save.
double firstSaveInThisProcess(int views)
{
    FWWindow window;
    buildLayout(window, views);
    const double start = benchfloor::Now();
    Handle h = window.ViewMngr().SerializeViewTree();
    const double seconds = benchfloor::Now() - start;
    DisposeHandle(h);
    return seconds;
}

void BM_FirstSaveInFreshProcess(benchmark::State& state)
{
    const int views = int(state.range(0));
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        std::abort();
    self[length] = 0;
    const std::string command = std::string("'") + self + "' --first-save " + std::to_string(views);
    double total = 0;
    for (auto _ : state) {
        FILE* child = popen(command.c_str(), "r");
        double seconds = 0;
        if (child == nullptr || std::fscanf(child, "%lf", &seconds) != 1 || pclose(child) != 0)
            std::abort();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double perView = total / double(state.iterations()) / views;
    benchfloor::ReportGrowth(state, "first save", perView, views == kSmallest);
    state.SetItemsProcessed(state.iterations() * views);
}
BENCHMARK(BM_FirstSaveInFreshProcess)->Arg(kSmallest)->Arg(20000)->UseManualTime()->Iterations(8)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--first-save") == 0) {
        std::printf("%.9f\n", firstSaveInThisProcess(std::atoi(argv[2])));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
