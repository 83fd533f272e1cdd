// The tool window with every folder open: a full redraw against a memset of its pixels (the
// floor, measured in the same run), and a one-pixel scroll step against the full redraw; the
// ratios are the "x_floor" counters.
#include "FWApp.h"
#include "FWDrawContext.h"
#include "FWEventDispatcher.h"
#include "FWFolderView.h"
#include "FWOpData.h"
#include "FWToolManager.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "HostResources.h"

#include "BenchFloor.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class BenchApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
};

// Three folders of modal and button tools, about as many as the editor has.
const FWOpData& toolTree()
{
    static std::vector<std::string> names;
    static std::vector<FWOpData> folders[3];
    static std::vector<FWOpData> roots;
    static FWOpData root{};
    if (!roots.empty())
        return root;
    const int counts[3] = {2, 8, 18};
    const int icons[3] = {1000, 3000, 1004};
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < counts[f]; ++i)
            names.push_back("Tool " + std::to_string(f) + "." + std::to_string(i));
    size_t n = 0;
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < counts[f]; ++i)
            folders[f].push_back(FWOpData{names[n++].c_str(), 0, f == 1 ? 1u : 2u, icons[f] + i % 8, 0, nullptr,
                                          nullptr, nullptr, 0, 0, nullptr, 0});
    static const char* const kFolderNames[3] = {"Manipulation", "Alignment", "Interface Items"};
    for (int f = 0; f < 3; ++f)
        roots.push_back(FWOpData{kFolderNames[f], 0, 0x80, 0, 0, nullptr, nullptr, nullptr, 0, 0, folders[f].data(),
                                 int32_t(folders[f].size())});
    root = FWOpData{"Toolbar Root", 0, 0x80, 0, 0, nullptr, nullptr, nullptr, 0, 0, roots.data(), 3};
    return root;
}

struct ToolWindowScene {
    ToolWindowScene()
    {
        static bool opened = false;
        if (!opened) {
            SInt16 ref = 0;
            opened = HostOpenApplicationResourceFile(FW_APP_RSRC, &ref) == noErr;
        }
        FWToolManager::Initialize(toolTree());
        window = FWToolWindow::Instance();
        window->Show();
        window->GetView()->FolderView()->ContractAllFolders(false);
        window->GetView()->RecalcScroller();
        FWEventDispatcher::UpdateWindow(window);
    }
    BenchApp app;
    FWToolWindow* window = nullptr;
};

ToolWindowScene& scene()
{
    static ToolWindowScene s;
    return s;
}

// The floor of the full redraw: a memset of as many pixels as the window has.
double memsetSeconds()
{
    const FWRect size = scene().window->Size();
    static std::vector<uint32_t> pixels(size_t(size.Width()) * size.Height());
    return benchfloor::SecondsPerCall([&] {
        std::memset(pixels.data(), 0xCC, pixels.size() * sizeof(uint32_t));
        benchmark::ClobberMemory();
    });
}

void redraw()
{
    FWToolWindow* window = scene().window;
    FWDrawContext context(window);
    window->ViewMngr().Draw(context);
    benchmark::ClobberMemory();
}

void BM_FullRedraw(benchmark::State& state)
{
    benchfloor::RatioTimer timer(memsetSeconds());
    for (auto _ : state)
        redraw();
    timer.Finish(state);
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

// Against the full redraw, measured just before.
void BM_ScrollOnePixel(benchmark::State& state)
{
    FWToolWindowView* view = scene().window->GetView();
    int direction = 1;
    int at = 0;
    benchfloor::RatioTimer timer(benchfloor::SecondsPerCall(redraw));
    for (auto _ : state) {
        // Back and forth within the range, one pixel a step.
        if (at + direction > 40 || at + direction < 0)
            direction = -direction;
        at += direction;
        view->ScrollBy(direction);
        benchmark::ClobberMemory();
    }
    timer.Finish(state);
}
BENCHMARK(BM_ScrollOnePixel)->Unit(benchmark::kMicrosecond);

} // namespace
