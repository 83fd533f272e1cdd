// Replays kept fuzz inputs through a fuzz target without libFuzzer, so that every input
// that once failed runs as an ordinary regression test. With -heap_limit_mb=N an input fails the
// replay when the memory held while it runs grows by N MB or more over what was held before it:
// counted through the sanitizers' allocation hooks where they exist, else by the peak resident size.
#include <sys/resource.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                              void (*)(const volatile void*)) __attribute__((weak));
size_t __sanitizer_get_allocated_size(const volatile void*) __attribute__((weak));
}

namespace {

std::atomic<int64_t> sHeld{0};
std::atomic<int64_t> sPeak{0};
bool sHooked = false;
int64_t sLimit = 0; // bytes; 0 for none
int sFailures = 0;

void onMalloc(const volatile void*, size_t size)
{
    const int64_t held = sHeld += int64_t(size);
    int64_t peak = sPeak.load();
    while (held > peak && !sPeak.compare_exchange_weak(peak, held)) {
    }
}

void onFree(const volatile void* pointer)
{
    sHeld -= int64_t(__sanitizer_get_allocated_size(pointer));
}

int64_t peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return int64_t(usage.ru_maxrss) * 1024;
}

void replay(const char* name, const std::vector<uint8_t>& bytes)
{
    sPeak = sHeld.load();
    const int64_t before = sHooked ? sHeld.load() : peakResidentBytes();
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    const int64_t grown = (sHooked ? sPeak.load() : peakResidentBytes()) - before;
    if (sLimit > 0 && grown >= sLimit) {
        std::fprintf(stderr, "%s: held %lld MB more while it ran, the limit is %lld MB\n", name,
                     (long long)(grown >> 20), (long long)(sLimit >> 20));
        ++sFailures;
    }
}

void replayFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    replay(path.string().c_str(), bytes);
}

} // namespace

int main(int argc, char** argv)
{
    constexpr const char kLimitFlag[] = "-heap_limit_mb=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kLimitFlag, sizeof kLimitFlag - 1) == 0)
            sLimit = std::atoll(argv[i] + sizeof kLimitFlag - 1) << 20;
    if (sLimit > 0 && __sanitizer_install_malloc_and_free_hooks != nullptr && __sanitizer_get_allocated_size != nullptr)
        sHooked = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
    int count = 0;
    // Always run the empty input and a few fixed shapes, so a target with no kept inputs is still exercised.
    const std::vector<std::vector<uint8_t>> builtIn = {
        {}, {0}, {0xFF}, std::vector<uint8_t>(64, 0), std::vector<uint8_t>(64, 0xFF)};
    for (const auto& input : builtIn) {
        replay("a built-in input", input);
        ++count;
    }
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    replayFile(entry.path());
                    ++count;
                }
            }
        } else if (std::filesystem::is_regular_file(arg)) {
            replayFile(arg);
            ++count;
        }
    }
    std::printf("replayed %d inputs\n", count);
    return sFailures == 0 ? 0 : 1;
}
