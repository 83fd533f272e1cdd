// Opening resource files of 1,000 to 30,000 resources of 100 bytes and reading every one, beside
// the floor of opening the same file and reading its bytes into memory. Named files give every
// resource a name; names share a 64 KiB list, so named files stop at 10,000 resources.
#include "BenchFloor.h"

#include "HostFiles.h"
#include "HostMemory.h"
#include "HostResourceFile.h"
#include "HostResources.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr ResType kType = FOUR_CHAR_CODE("BNCH");
constexpr uint32_t kDataSize = 100;

// A file of count resources (ids 0 .. count - 1), in a scratch folder for the run.
class BenchFile {
public:
    BenchFile(int count, bool named) : mCount(count)
    {
        char folder[] = "/tmp/resbench.XXXXXX";
        mFolder = mkdtemp(folder);
        mPath = mFolder + "/bench.rsrc";
        std::vector<std::vector<uint8_t>> names(static_cast<size_t>(count));
        std::vector<uint8_t> data(kDataSize, 0x5A);
        std::vector<HostResourceToWrite> resources;
        for (int i = 0; i < count; ++i) {
            const uint8_t* name = nullptr;
            if (named) {
                std::string text("r");
                text += std::to_string(i);
                names[size_t(i)].push_back(uint8_t(text.size()));
                names[size_t(i)].insert(names[size_t(i)].end(), text.begin(), text.end());
                name = names[size_t(i)].data();
            }
            resources.push_back({kType, ResID(i), 0, name, data.data(), kDataSize});
        }
        std::vector<uint8_t> bytes;
        std::vector<HostResourceRecord> written;
        if (HostResourceFile::Build(resources, 0, nullptr, bytes, written) != noErr)
            std::abort();
        FILE* out = std::fopen(mPath.c_str(), "wb");
        if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0)
            std::abort();
        mSize = bytes.size();
        std::memset(&mSpec, 0, sizeof mSpec);
        std::strcpy(mSpec.parentPath, mFolder.c_str());
        mSpec.name[0] = uint8_t(std::strlen("bench.rsrc"));
        std::memcpy(mSpec.name + 1, "bench.rsrc", mSpec.name[0]);
    }
    ~BenchFile()
    {
        unlink(mPath.c_str());
        rmdir(mFolder.c_str());
    }
    int Count() const { return mCount; }
    const FSSpec& Spec() const { return mSpec; }
    const std::string& Path() const { return mPath; }
    size_t Size() const { return mSize; }

private:
    int mCount;
    std::string mFolder;
    std::string mPath;
    size_t mSize = 0;
    FSSpec mSpec;
};

const BenchFile& benchFile(int count, bool named)
{
    static std::map<std::pair<int, bool>, std::unique_ptr<BenchFile>> files;
    auto& file = files[{count, named}];
    if (!file)
        file = std::make_unique<BenchFile>(count, named);
    return *file;
}

// The floor: opening the file and reading its bytes into a new buffer.
void readTheFilesBytes(const BenchFile& file)
{
    int fd = open(file.Path().c_str(), O_RDONLY | O_CLOEXEC);
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[file.Size()]);
    if (fd < 0 || read(fd, bytes.get(), file.Size()) != ssize_t(file.Size()))
        std::abort();
    close(fd);
    benchmark::DoNotOptimize(bytes.get());
}

double floorSeconds(const BenchFile& file)
{
    return benchfloor::SecondsPerCall([&] { readTheFilesBytes(file); });
}

void openAndReadEveryResourceByIndex(const BenchFile& file)
{
    SInt16 ref = FSpOpenResFile(&file.Spec(), fsRdPerm);
    SInt16 count = Count1Resources(kType);
    if (ref <= 0 || count != file.Count())
        std::abort();
    Size total = 0;
    for (SInt16 i = 1; i <= count; ++i)
        total += GetHandleSize(Get1IndResource(kType, i));
    CloseResFile(ref);
    benchmark::DoNotOptimize(total);
}

// Every size is measured in a settled heap: the first open of a large file moves the allocator's
// thresholds for giving memory back, which would otherwise charge page faults to whichever
// benchmark runs first.
void settleTheHeap()
{
    static const bool settled = [] {
        openAndReadEveryResourceByIndex(benchFile(30000, false));
        return true;
    }();
    benchmark::DoNotOptimize(settled);
}

void OpenAndReadEveryResourceByIndex(benchmark::State& state)
{
    settleTheHeap();
    const BenchFile& file = benchFile(int(state.range(0)), state.range(1) != 0);
    benchfloor::RatioTimer timer(floorSeconds(file));
    for (auto _ : state)
        openAndReadEveryResourceByIndex(file);
    const double perResource = timer.Finish(state) / file.Count();
    benchfloor::ReportGrowth(state, state.range(1) != 0 ? "named" : "unnamed", perResource, file.Count() == 1000);
    state.SetItemsProcessed(state.iterations() * file.Count());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size()));
}

void OpenAndReadEveryResourceByIdWithItsName(benchmark::State& state)
{
    settleTheHeap();
    const BenchFile& file = benchFile(int(state.range(0)), true);
    benchfloor::RatioTimer timer(floorSeconds(file));
    for (auto _ : state) {
        SInt16 ref = FSpOpenResFile(&file.Spec(), fsRdPerm);
        Size total = 0;
        Str255 name;
        for (int id = 0; id < file.Count(); ++id) {
            Handle h = Get1Resource(kType, ResID(id));
            GetResInfo(h, nullptr, nullptr, name);
            total += GetHandleSize(h) + name[0];
        }
        CloseResFile(ref);
        benchmark::DoNotOptimize(total);
    }
    timer.Finish(state);
    state.SetItemsProcessed(state.iterations() * file.Count());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size()));
}

void ReadTheFilesBytesOnly(benchmark::State& state)
{
    const BenchFile& file = benchFile(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state)
        readTheFilesBytes(file);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size()));
}

} // namespace

// Arguments: resource count, named (1) or not (0).
BENCHMARK(OpenAndReadEveryResourceByIndex)
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({30000, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenAndReadEveryResourceByIdWithItsName)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadTheFilesBytesOnly)->Args({10000, 1})->Unit(benchmark::kMicrosecond);
