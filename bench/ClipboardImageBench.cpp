// Imports 4096 x 4096 noise images from the clipboard into the application's clipboard, as a copy
// in another program brings them: a PNG and a TIFF in one Deflate strip. Each is reported as a
// ratio to the floor of its library's own decoding of the same bytes into a new buffer of the image
// (libpng's rows into a store, libtiff's strips), with the most heap the import held beyond the
// pixels it keeps.
#include "BenchFloor.h"

#include "FWClipboard.h"
#include "FWClipboardData.h"
#include "HeapCounter.h"
#include "HostPNG.h"
#include "HostPasteboard.h"
#include "ImageBuffer.h"
#include "TIFFMaker.h"

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int16_t kSide = 4096;
constexpr int64_t kPixelBytes = int64_t(kSide) * kSide * 4;

// libtiff's reading of a TIFF in memory, mapped as the clipboard's decoder maps it.
struct MemoryTIFF {
    const std::vector<uint8_t>* bytes;
    uint64_t offset = 0;
};

tmsize_t readTIFF(thandle_t handle, void* buffer, tmsize_t size)
{
    auto* file = static_cast<MemoryTIFF*>(handle);
    const uint64_t total = file->bytes->size();
    if (size <= 0 || file->offset >= total)
        return 0;
    const uint64_t count = std::min<uint64_t>(uint64_t(size), total - file->offset);
    std::memcpy(buffer, file->bytes->data() + file->offset, size_t(count));
    file->offset += count;
    return tmsize_t(count);
}

toff_t seekTIFF(thandle_t handle, toff_t offset, int whence)
{
    auto* file = static_cast<MemoryTIFF*>(handle);
    const uint64_t base = whence == SEEK_CUR ? file->offset : whence == SEEK_END ? file->bytes->size() : 0;
    return file->offset = base + offset;
}

toff_t sizeTIFF(thandle_t handle)
{
    return static_cast<MemoryTIFF*>(handle)->bytes->size();
}

int mapTIFF(thandle_t handle, void** base, toff_t* size)
{
    *base = const_cast<uint8_t*>(static_cast<MemoryTIFF*>(handle)->bytes->data());
    *size = sizeTIFF(handle);
    return 1;
}

// The TIFF's first directory decoded strip by strip into a new buffer of the whole image.
bool readTIFFImage(const std::vector<uint8_t>& bytes)
{
    MemoryTIFF file{&bytes};
    TIFF* tif = TIFFClientOpen(
        "floor", "r", &file, readTIFF, [](thandle_t, void*, tmsize_t) -> tmsize_t { return 0; }, seekTIFF,
        [](thandle_t) { return 0; }, sizeTIFF, mapTIFF, [](thandle_t, void*, toff_t) {});
    if (tif == nullptr)
        return false;
    const tmsize_t strip = TIFFStripSize(tif);
    std::unique_ptr<uint8_t[]> image(new uint8_t[size_t(strip) * TIFFNumberOfStrips(tif)]);
    bool read = true;
    for (uint32_t s = 0; s < TIFFNumberOfStrips(tif) && read; ++s)
        read = TIFFReadEncodedStrip(tif, s, image.get() + size_t(s) * size_t(strip), strip) >= 0;
    TIFFClose(tif);
    return read;
}

bool importImage(FWClipboard& clipboard)
{
    clipboard.ClearClipboard();
    clipboard.ImportPlatformClipboard();
    auto* item = static_cast<FWClipboardImage*>(clipboard.GetClipData(&typeid(FWClipboardImage)));
    const ImageBuffer* image = item != nullptr ? item->Decode() : nullptr;
    return image != nullptr && image->Valid() && image->GetRect().Width() == kSide;
}

template <class Floor>
void benchImport(benchmark::State& state, const char* flavor, const std::vector<uint8_t>& bytes, Floor&& floorOp)
{
    HostClipboardClear();
    HostClipboardAddItem({{flavor, bytes}});
    FWClipboard& clipboard = *FWClipboard::Instance();
    const double floor = benchfloor::SecondsPerCall(floorOp, 0.5);
    // One import alone for its heap: from an empty clipboard to the image kept.
    clipboard.ClearClipboard();
    const int64_t before = heapcounter::StartPeak();
    if (!importImage(clipboard)) {
        state.SkipWithError("the image was not imported");
        return;
    }
    const int64_t beyond = heapcounter::sPeak - before - kPixelBytes;
    benchfloor::RatioTimer timer(floor);
    for (auto _ : state)
        benchmark::DoNotOptimize(importImage(clipboard));
    timer.Finish(state);
    state.counters["peak_heap_MB_beyond_pixels"] = double(beyond) / double(1 << 20);
    clipboard.ClearClipboard();
    HostClipboardClear();
}

void BM_ClipboardPNGImport(benchmark::State& state)
{
    const std::vector<uint8_t> png = MakePatternPNG(kSide, kSide);
    benchImport(state, kUTTypePNG, png, [&] {
        HostPixelMap decoded;
        benchmark::DoNotOptimize(HostReadPNGFromMemory(png.data(), png.size(), decoded));
    });
}
BENCHMARK(BM_ClipboardPNGImport)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ClipboardOneStripDeflateTIFFImport(benchmark::State& state)
{
    const std::vector<uint8_t> tiff =
        MakePatternTIFF(kSide, kSide, COMPRESSION_ADOBE_DEFLATE, 0, false);
    benchImport(state, kUTTypeTIFF, tiff, [&] { benchmark::DoNotOptimize(readTIFFImage(tiff)); });
}
BENCHMARK(BM_ClipboardOneStripDeflateTIFFImport)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
