// Redraws a full 1280 x 800 window-sized port with 200 controls' worth of drawing: bevelled
// frames, fills, round and oval shapes and labels, as a dialog's update does; reported as a
// ratio to the floor of one memset of the port's pixels.
#include "BenchFloor.h"

#include "HostPorts.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int16_t kWidth = 1280;
constexpr int16_t kHeight = 800;
constexpr int kControls = 200;

struct Scene {
    GWorldPtr world = nullptr;
    Scene()
    {
        Rect bounds{0, 0, kHeight, kWidth};
        NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0);
        SetGWorld(world, nullptr);
    }
    ~Scene() { DisposeGWorld(world); }
};

void drawControl(int index)
{
    static const RGBColor kBack{0xCCCC, 0xCCCC, 0xCCCC};
    static const RGBColor kLight{0xFFFF, 0xFFFF, 0xFFFF};
    static const RGBColor kDark{0x7777, 0x7777, 0x7777};
    static const RGBColor kBlack{0, 0, 0};
    static const RGBColor kField{0xFFFF, 0xFFFF, 0xF0F0};
    // Ten columns of 20 rows of 120 x 32 cells.
    int16_t left = int16_t(8 + (index % 10) * 126);
    int16_t top = int16_t(8 + (index / 10) * 39);
    Rect cell{top, left, int16_t(top + 32), int16_t(left + 120)};

    RGBForeColor(&kBack);
    PaintRect(&cell);
    // Sunken bevel, then a black frame inside it.
    RGBForeColor(&kDark);
    MoveTo(cell.left, int16_t(cell.bottom - 2));
    LineTo(cell.left, cell.top);
    LineTo(int16_t(cell.right - 2), cell.top);
    RGBForeColor(&kLight);
    MoveTo(int16_t(cell.left + 1), int16_t(cell.bottom - 1));
    LineTo(int16_t(cell.right - 1), int16_t(cell.bottom - 1));
    LineTo(int16_t(cell.right - 1), int16_t(cell.top + 1));
    Rect inner{int16_t(cell.top + 1), int16_t(cell.left + 1), int16_t(cell.bottom - 1), int16_t(cell.right - 1)};
    RGBForeColor(&kBlack);
    FrameRect(&inner);

    switch (index % 4) {
    case 0: { // button
        Rect button{int16_t(top + 5), int16_t(left + 6), int16_t(top + 27), int16_t(left + 114)};
        RGBForeColor(&kLight);
        PaintRoundRect(&button, 8, 8);
        RGBForeColor(&kBlack);
        FrameRoundRect(&button, 8, 8);
        break;
    }
    case 1: { // check box
        Rect box{int16_t(top + 10), int16_t(left + 6), int16_t(top + 22), int16_t(left + 18)};
        RGBForeColor(&kField);
        PaintRect(&box);
        RGBForeColor(&kBlack);
        FrameRect(&box);
        MoveTo(int16_t(box.left + 2), int16_t(box.top + 2));
        LineTo(int16_t(box.right - 3), int16_t(box.bottom - 3));
        break;
    }
    case 2: { // radio button
        Rect dot{int16_t(top + 10), int16_t(left + 6), int16_t(top + 22), int16_t(left + 18)};
        RGBForeColor(&kField);
        PaintOval(&dot);
        RGBForeColor(&kBlack);
        FrameOval(&dot);
        break;
    }
    default: { // edit field
        Rect field{int16_t(top + 5), int16_t(left + 4), int16_t(top + 27), int16_t(left + 116)};
        RGBBackColor(&kField);
        EraseRect(&field);
        RGBBackColor(&kBack);
        break;
    }
    }

    // The label, cut with an ellipsis when it is too wide.
    char label[64];
    int length = std::snprintf(label, sizeof label, "Control number %d label text", index);
    int16_t n = int16_t(length);
    TruncText(90, label, &n);
    RGBForeColor(&kBlack);
    MoveTo(int16_t(left + 22), int16_t(top + 20));
    DrawText(label, 0, n);
}

void BM_RedrawFullPort(benchmark::State& state)
{
    Scene scene;
    Rect all{0, 0, kHeight, kWidth};
    RGBColor back{0xCCCC, 0xCCCC, 0xCCCC};
    TextFont(3);
    TextSize(9);
    std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
    benchfloor::RatioTimer timer(benchfloor::SecondsPerCall([&] {
        std::memset(pixels.data(), 0xCC, pixels.size() * sizeof pixels[0]);
        benchmark::ClobberMemory();
    }));
    for (auto _ : state) {
        RGBBackColor(&back);
        EraseRect(&all);
        for (int i = 0; i < kControls; ++i)
            drawControl(i);
        benchmark::ClobberMemory();
    }
    timer.Finish(state);
    state.SetItemsProcessed(state.iterations() * kControls);
}
BENCHMARK(BM_RedrawFullPort)->Unit(benchmark::kMillisecond);

void BM_CopyFullPort(benchmark::State& state)
{
    Scene scene;
    GWorldPtr target;
    Rect all{0, 0, kHeight, kWidth};
    NewGWorld(&target, 32, &all, nullptr, nullptr, 0);
    for (auto _ : state) {
        CopyBits(GetPortBitMapForCopyBits(scene.world), GetPortBitMapForCopyBits(target), &all, &all, kModeCopy,
                 nullptr);
        benchmark::ClobberMemory();
    }
    DisposeGWorld(target);
}
BENCHMARK(BM_CopyFullPort)->Unit(benchmark::kMillisecond);

} // namespace
