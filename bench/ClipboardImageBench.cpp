// Imports a 4096 x 4096 PNG from the clipboard into the application's clipboard, as a copy in
// another program brings it, reported as a ratio to the floor of decoding the same PNG alone into
// a store; also reports the most heap the import held beyond the pixels it keeps.
#include "BenchFloor.h"

#include "FWClipboard.h"
#include "FWClipboardData.h"
#include "HostPNG.h"
#include "HostPasteboard.h"
#include "ImageBuffer.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// The heap held, counted at every allocation: through the sanitizers' hooks in their builds, else
// by standing in for the C library's allocator, which libpng, libtiff and operator new all call.
namespace {
int64_t sHeld = 0;
int64_t sPeak = 0;
void noteAllocated(int64_t bytes)
{
    sHeld += bytes;
    sPeak = std::max(sPeak, sHeld);
}
} // namespace

#if defined(__SANITIZE_ADDRESS__)
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void*);
namespace {
const int sHooks = __sanitizer_install_malloc_and_free_hooks(
    [](const volatile void*, size_t size) { noteAllocated(int64_t(size)); },
    [](const volatile void* p) { sHeld -= int64_t(__sanitizer_get_allocated_size(p)); });
} // namespace
#else
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);

static void* counted(void* p)
{
    if (p != nullptr)
        noteAllocated(int64_t(malloc_usable_size(p)));
    return p;
}
void* malloc(size_t size) { return counted(__libc_malloc(size)); }
void* calloc(size_t count, size_t size) { return counted(__libc_calloc(count, size)); }
void* memalign(size_t alignment, size_t size) { return counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size)
{
    *out = memalign(alignment, size);
    return *out != nullptr || size == 0 ? 0 : 12; // ENOMEM
}
void free(void* p)
{
    if (p != nullptr)
        sHeld -= int64_t(malloc_usable_size(p));
    __libc_free(p);
}
void* realloc(void* p, size_t size)
{
    const int64_t before = p != nullptr ? int64_t(malloc_usable_size(p)) : 0;
    void* moved = __libc_realloc(p, size);
    if (moved != nullptr || size == 0) {
        sHeld -= before;
        counted(moved);
    }
    return moved;
}
}
#endif

namespace {

constexpr int16_t kSide = 4096;
constexpr int64_t kPixelBytes = int64_t(kSide) * kSide * 4;

// An opaque 4096 x 4096 image with some detail in every row, as a PNG.
std::vector<uint8_t> largePNG()
{
    HostPixelMap pixels;
    if (pixels.Allocate(Rect{0, 0, kSide, kSide}, 32) != noErr)
        return {};
    for (int32_t y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(pixels.Row(y));
        for (int32_t x = 0; x < kSide; ++x)
            row[x] = 0xFF000000u | uint32_t((x & 0xFF) << 16) | uint32_t((y & 0xFF) << 8) | uint32_t((x ^ y) & 0xFF);
    }
    const std::string path = "/tmp/fw-clipboard-bench-" + std::to_string(getpid()) + ".png";
    std::vector<uint8_t> bytes;
    if (HostWritePNG(pixels, path.c_str()) == noErr) {
        if (FILE* file = std::fopen(path.c_str(), "rb")) {
            for (int c; (c = std::fgetc(file)) != EOF;)
                bytes.push_back(uint8_t(c));
            std::fclose(file);
        }
    }
    std::remove(path.c_str());
    return bytes;
}

bool importImage(FWClipboard& clipboard)
{
    clipboard.ClearClipboard();
    clipboard.ImportPlatformClipboard();
    const auto* item = static_cast<const FWClipboardImage*>(clipboard.GetClipData(&typeid(FWClipboardImage)));
    return item != nullptr && item->Image()->Valid() && item->Image()->GetRect().Width() == kSide;
}

void BM_ClipboardPNGImport(benchmark::State& state)
{
    const std::vector<uint8_t> png = largePNG();
    HostClipboardClear();
    HostClipboardAddItem({{kUTTypePNG, png}});
    FWClipboard& clipboard = *FWClipboard::Instance();
    const double floor = benchfloor::SecondsPerCall(
        [&] {
            HostPixelMap decoded;
            benchmark::DoNotOptimize(HostReadPNGFromMemory(png.data(), png.size(), decoded));
        },
        0.5);
    // One import alone for its heap: from an empty clipboard to the image kept.
    clipboard.ClearClipboard();
    const int64_t before = sPeak = sHeld;
    if (!importImage(clipboard)) {
        state.SkipWithError("the image was not imported");
        return;
    }
    const int64_t beyond = sPeak - before - kPixelBytes;
    benchfloor::RatioTimer timer(floor);
    for (auto _ : state)
        benchmark::DoNotOptimize(importImage(clipboard));
    timer.Finish(state);
    state.counters["peak_heap_MB_beyond_pixels"] = double(beyond) / double(1 << 20);
    clipboard.ClearClipboard();
    HostClipboardClear();
}
BENCHMARK(BM_ClipboardPNGImport)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
