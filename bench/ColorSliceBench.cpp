// Painting colour slices: the mixer's 256 x 256 hue-lightness plane (one painter call a pixel)
// and a slider ramp of the same size (one call a column), against a memset of the same 256 KB as
// the floor; read each slice's time as a ratio to the floor's.
#include "SlicePainters.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

const FWRect kRect(0, 0, 256, 256);
constexpr size_t kBytes = 256 * 256 * 4;

void BM_FloorMemset(benchmark::State& state)
{
    std::vector<unsigned char> bytes(kBytes);
    int value = 0;
    for (auto _ : state) {
        std::memset(bytes.data(), ++value, kBytes);
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}
BENCHMARK(BM_FloorMemset)->Unit(benchmark::kMicrosecond);

void BM_HueLightnessPlane(benchmark::State& state)
{
    CHueLightnessGrayPainter painter;
    ColorSlice slice(&kRect, &painter);
    for (auto _ : state) {
        slice.ComputeSliceImage();
        benchmark::DoNotOptimize(slice.BaseAddr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}
BENCHMARK(BM_HueLightnessPlane)->Unit(benchmark::kMicrosecond);

void BM_HueRowRamp(benchmark::State& state)
{
    CHueRowPainter painter;
    HorizontalColorSlice slice(&kRect, &painter);
    for (auto _ : state) {
        slice.ComputeSliceImage();
        benchmark::DoNotOptimize(slice.BaseAddr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}
BENCHMARK(BM_HueRowRamp)->Unit(benchmark::kMicrosecond);

} // namespace
