// Opening a resource file of 10,000 resources and reading every one of them, beside the time of
// only reading the same file's bytes into memory.
#include "HostFiles.h"
#include "HostMemory.h"
#include "HostResourceFile.h"
#include "HostResources.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr ResType kType = FOUR_CHAR_CODE("BNCH");
constexpr int kResources = 10000;
constexpr uint32_t kDataSize = 100;

// A named file of 10,000 resources of 100 bytes each, in a scratch folder for the run.
class BenchFile {
public:
    BenchFile()
    {
        char folder[] = "/tmp/resbench.XXXXXX";
        mFolder = mkdtemp(folder);
        mPath = mFolder + "/bench.rsrc";
        std::vector<std::vector<uint8_t>> names(kResources);
        std::vector<uint8_t> data(kDataSize, 0x5A);
        std::vector<HostResourceToWrite> resources;
        for (int i = 0; i < kResources; ++i) {
            std::string name("r");
            name += std::to_string(i);
            names[size_t(i)].push_back(uint8_t(name.size()));
            names[size_t(i)].insert(names[size_t(i)].end(), name.begin(), name.end());
            resources.push_back({kType, ResID(i), 0, names[size_t(i)].data(), data.data(), kDataSize});
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
    const FSSpec& Spec() const { return mSpec; }
    const std::string& Path() const { return mPath; }
    size_t Size() const { return mSize; }

private:
    std::string mFolder;
    std::string mPath;
    size_t mSize = 0;
    FSSpec mSpec;
};

const BenchFile& benchFile()
{
    static BenchFile file;
    return file;
}

void OpenAndReadEveryResourceByIndex(benchmark::State& state)
{
    const BenchFile& file = benchFile();
    for (auto _ : state) {
        SInt16 ref = FSpOpenResFile(&file.Spec(), fsRdPerm);
        SInt16 count = Count1Resources(kType);
        if (ref <= 0 || count != kResources)
            std::abort();
        Size total = 0;
        for (SInt16 i = 1; i <= count; ++i)
            total += GetHandleSize(Get1IndResource(kType, i));
        CloseResFile(ref);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size()));
}

void OpenAndReadEveryResourceByIdWithItsName(benchmark::State& state)
{
    const BenchFile& file = benchFile();
    for (auto _ : state) {
        SInt16 ref = FSpOpenResFile(&file.Spec(), fsRdPerm);
        Size total = 0;
        Str255 name;
        for (int id = 0; id < kResources; ++id) {
            Handle h = Get1Resource(kType, ResID(id));
            GetResInfo(h, nullptr, nullptr, name);
            total += GetHandleSize(h) + name[0];
        }
        CloseResFile(ref);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size()));
}

void ReadTheFilesBytesOnly(benchmark::State& state)
{
    const BenchFile& file = benchFile();
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        int fd = open(file.Path().c_str(), O_RDONLY | O_CLOEXEC);
        bytes.assign(file.Size(), 0);
        if (fd < 0 || read(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            std::abort();
        close(fd);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size()));
}

} // namespace

BENCHMARK(OpenAndReadEveryResourceByIndex)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenAndReadEveryResourceByIdWithItsName)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadTheFilesBytesOnly)->Unit(benchmark::kMicrosecond);
