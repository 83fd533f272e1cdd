// Replays kept fuzz inputs through a fuzz target without libFuzzer, so that every input
// that once failed runs as an ordinary regression test. With -heap_limit_mb=N an input fails when
// the heap held while it runs grows by N MB or more (counted through the sanitizers' allocation
// hooks; a build without them does not count). A target may also make inputs at run time, too
// large to keep, through FuzzReplayMadeInputs.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*)) __attribute__((weak));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void*) __attribute__((weak));
// Defined by a target with inputs of its own: it calls replay with each (the bytes are its own).
extern "C" void FuzzReplayMadeInputs(void (*replay)(const uint8_t* data, size_t size, const char* name))
    __attribute__((weak));

static std::atomic<int64_t> sHeld{0}, sPeak{0};
static int64_t sLimit = 0;
static int sFailures = 0;

static void replay(const uint8_t* data, size_t size, const std::string& name)
{
    const int64_t before = sPeak = sHeld.load();
    LLVMFuzzerTestOneInput(data, size);
    if (sLimit > 0 && sPeak - before >= sLimit) {
        std::fprintf(stderr, "%s held %lld MB more while it ran\n", name.c_str(), (long long)((sPeak - before) >> 20));
        ++sFailures;
    }
}

static void replayFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    replay(bytes.data(), bytes.size(), path.string());
}

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "-heap_limit_mb=", 15) == 0)
            sLimit = std::atoll(argv[i] + 15) << 20;
    if (sLimit > 0 && __sanitizer_install_malloc_and_free_hooks && __sanitizer_get_allocated_size)
        __sanitizer_install_malloc_and_free_hooks(
            [](const volatile void*, size_t size) { sPeak = std::max(sPeak.load(), sHeld += int64_t(size)); },
            [](const volatile void* p) { sHeld -= int64_t(__sanitizer_get_allocated_size(p)); });
    int count = 0;
    // Always run the empty input and a few fixed shapes, so a target with no kept inputs is still exercised.
    const std::vector<std::vector<uint8_t>> builtIn = {
        {}, {0}, {0xFF}, std::vector<uint8_t>(64, 0), std::vector<uint8_t>(64, 0xFF)};
    for (const auto& input : builtIn) {
        replay(input.data(), input.size(), "a built-in input");
        ++count;
    }
    if (FuzzReplayMadeInputs)
        FuzzReplayMadeInputs([](const uint8_t* data, size_t size, const char* name) { replay(data, size, name); });
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
