// Replays kept fuzz inputs through a fuzz target without libFuzzer, so that every input
// that once failed runs as an ordinary regression test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void replayFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

int main(int argc, char** argv)
{
    int count = 0;
    // Always run the empty input and a few fixed shapes, so a target with no kept inputs is still exercised.
    const std::vector<std::vector<uint8_t>> builtIn = {
        {}, {0}, {0xFF}, std::vector<uint8_t>(64, 0), std::vector<uint8_t>(64, 0xFF)};
    for (const auto& input : builtIn) {
        LLVMFuzzerTestOneInput(input.data(), input.size());
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
    return 0;
}
