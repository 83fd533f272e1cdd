// Opening resource files of 1,000 to 30,000 resources of 100 bytes and reading every one, beside
// the floor of opening the same file and reading its bytes into memory: opens in a loop, and the
// first open in a fresh process against the first read() in another. Named files give every
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
#include <sys/stat.h>
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
        setSpec();
        mOwned = true;
    }
    // The file another run of this program made at path.
    BenchFile(const std::string& path, int count) : mCount(count), mPath(path)
    {
        mFolder = path.substr(0, path.rfind('/'));
        struct stat info {};
        if (stat(path.c_str(), &info) != 0)
            std::abort();
        mSize = size_t(info.st_size);
        setSpec();
    }
    ~BenchFile()
    {
        if (!mOwned)
            return;
        unlink(mPath.c_str());
        rmdir(mFolder.c_str());
    }
    int Count() const { return mCount; }
    const FSSpec& Spec() const { return mSpec; }
    const std::string& Path() const { return mPath; }
    size_t Size() const { return mSize; }

private:
    void setSpec()
    {
        std::memset(&mSpec, 0, sizeof mSpec);
        std::strcpy(mSpec.parentPath, mFolder.c_str());
        mSpec.name[0] = uint8_t(std::strlen("bench.rsrc"));
        std::memcpy(mSpec.name + 1, "bench.rsrc", mSpec.name[0]);
    }

    bool mOwned = false;
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

// Opens in a loop: nothing is kept warm between them but what the program itself keeps.
void OpenAndReadEveryResourceByIndex(benchmark::State& state)
{
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

// The first open of the program, and the first read() of the same bytes, each in a fresh process
// (this program started anew with --first-open or --first-read), so that neither finds memory
// its allocator got from the kernel before.
double firstInFreshProcess(const char* what, const BenchFile& file)
{
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        std::abort();
    self[length] = 0;
    const std::string command = std::string("'") + self + "' " + what + " '" + file.Path() + "' " +
                                std::to_string(file.Count());
    FILE* child = popen(command.c_str(), "r");
    double seconds = 0;
    if (child == nullptr || std::fscanf(child, "%lf", &seconds) != 1 || pclose(child) != 0)
        std::abort();
    return seconds;
}

void FirstOpenInFreshProcess(benchmark::State& state)
{
    const BenchFile& file = benchFile(int(state.range(0)), false);
    double open = 0;
    double read = 0;
    for (auto _ : state) {
        const double seconds = firstInFreshProcess("--first-open", file);
        open += seconds;
        read += firstInFreshProcess("--first-read", file);
        state.SetIterationTime(seconds);
    }
    state.counters["x_floor"] = open / read;
    state.SetItemsProcessed(state.iterations() * file.Count());
}

// What a fresh process measures of its first open or read of the file at path.
int runFirstInThisProcess(const char* what, const char* path, int count)
{
    const BenchFile file(path, count);
    const double start = benchfloor::Now();
    if (std::strcmp(what, "--first-open") == 0)
        openAndReadEveryResourceByIndex(file);
    else
        readTheFilesBytes(file);
    std::printf("%.9f\n", benchfloor::Now() - start);
    return 0;
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
BENCHMARK(FirstOpenInFreshProcess)->Arg(10000)->UseManualTime()->Iterations(8)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (argc == 4 && std::strncmp(argv[1], "--first-", 8) == 0)
        return runFirstInThisProcess(argv[1], argv[2], std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
