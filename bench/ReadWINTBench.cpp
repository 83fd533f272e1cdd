// Reading the layout list of a resource file of 1,000 'WINT' layouts into a document, beside the
// time of only reading the same file's bytes into memory (the floor of the same run).
#include "CQF_Document.h"
#include "FWApp.h"
#include "HostBackend.h"
#include "HostResourceFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLayouts = 1000;
constexpr uint32_t kLayoutSize = 600;

class BenchApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
};

// A file of 1,000 named layouts of 600 bytes each, in a scratch folder for the run.
class BenchFile {
public:
    BenchFile()
    {
        char folder[] = "/tmp/wintbench.XXXXXX";
        mFolder = mkdtemp(folder);
        mPath = mFolder + "/layouts.rsrc";
        std::vector<std::vector<uint8_t>> names(kLayouts);
        std::vector<uint8_t> data(kLayoutSize, 0x5A);
        std::vector<HostResourceToWrite> resources;
        for (int i = 0; i < kLayouts; ++i) {
            const std::string name = "Layout " + std::to_string(i);
            names[size_t(i)].push_back(uint8_t(name.size()));
            names[size_t(i)].insert(names[size_t(i)].end(), name.begin(), name.end());
            resources.push_back({FOUR_CHAR_CODE("WINT"), ResID(128 + i), 0, names[size_t(i)].data(), data.data(),
                                 kLayoutSize});
        }
        std::vector<uint8_t> bytes;
        std::vector<HostResourceRecord> written;
        if (HostResourceFile::Build(resources, 0, nullptr, bytes, written) != noErr)
            std::abort();
        FILE* out = std::fopen(mPath.c_str(), "wb");
        if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0)
            std::abort();
        mSize = bytes.size();
    }
    ~BenchFile()
    {
        unlink(mPath.c_str());
        rmdir(mFolder.c_str());
    }
    const std::string& Path() const { return mPath; }
    size_t Size() const { return mSize; }

private:
    std::string mFolder;
    std::string mPath;
    size_t mSize = 0;
};

const BenchFile& benchFile()
{
    static BenchFile file;
    return file;
}

void BM_ReadWINTOf1000Layouts(benchmark::State& state)
{
    HostSelectBackend("headless");
    FWApp::Init();
    auto* app = new BenchApp;
    const BenchFile& file = benchFile();
    for (auto _ : state) {
        CQF_Document document;
        document.SetAssociatedFile(FileReference(file.Path().c_str()));
        if (!document.ReadWINT() || document.ResMap().size() != size_t(kLayouts))
            std::abort();
        benchmark::DoNotOptimize(document.ResMap().size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size()));
    (void)app;
    FWApp::Uninit();
}

void BM_ReadTheFilesBytesOnly(benchmark::State& state)
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

BENCHMARK(BM_ReadWINTOf1000Layouts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadTheFilesBytesOnly)->Unit(benchmark::kMicrosecond);
