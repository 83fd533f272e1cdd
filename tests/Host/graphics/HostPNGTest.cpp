#include "HostPNG.h"
#include "HostTestWorld.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class HostPNGTest : public testing::Test {
protected:
    void SetUp() override
    {
        mFolder = std::filesystem::temp_directory_path() / ("host-png-" + std::to_string(getpid()));
        std::filesystem::create_directories(mFolder);
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }
    std::string Path(const char* name) const { return (mFolder / name).string(); }

    std::filesystem::path mFolder;
};

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST_F(HostPNGTest, PortsRoundTripThroughPNGFiles)
{
    HostTestWorld world(Rect{5, 10, 35, 50});
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 40; ++x)
            world.Pixels().Set(x, y, HostArgb(uint8_t(255 - x), uint8_t(x * 6), uint8_t(y * 8), uint8_t(x ^ y)));
    }
    std::string path = Path("port.png");
    ASSERT_EQ(noErr, WritePortPNG(world.World(), path.c_str()));
    HostPixelMap back;
    ASSERT_EQ(noErr, HostReadPNG(path.c_str(), back));
    EXPECT_EQ(40, back.Width());
    EXPECT_EQ(30, back.Height());
    EXPECT_EQ(0, back.Bounds().left);
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 40; ++x)
            ASSERT_EQ(world.Pixels().Get(x, y), back.Get(x, y)) << x << "," << y;
    }
    // Writing again replaces the file and leaves no temporary beside it.
    ASSERT_EQ(noErr, WritePortPNG(world.World(), path.c_str()));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(mFolder), std::filesystem::directory_iterator()));
}

TEST_F(HostPNGTest, ShallowStoresAreWrittenAsTheColoursTheyHold)
{
    for (int16_t depth : {1, 8}) {
        HostTestWorld world(Rect{0, 0, 2, 3}, depth);
        world.Pixels().Set(0, 0, kTestBlack);
        world.Pixels().Set(1, 1, HostArgb(255, 100, 100, 100));
        std::string path = Path("shallow.png");
        ASSERT_EQ(noErr, WritePortPNG(world.World(), path.c_str()));
        HostPixelMap back;
        ASSERT_EQ(noErr, HostReadPNG(path.c_str(), back));
        for (int32_t y = 0; y < 2; ++y) {
            for (int32_t x = 0; x < 3; ++x)
                EXPECT_EQ(world.Pixels().Get(x, y), back.Get(x, y)) << "depth " << depth;
        }
    }
}

TEST_F(HostPNGTest, DamagedOrMissingFilesGiveErrorsAndNoStore)
{
    HostPixelMap back;
    EXPECT_EQ(fnfErr, HostReadPNG(Path("missing.png").c_str(), back));
    EXPECT_EQ(paramErr, HostReadPNG(nullptr, back));

    HostTestWorld world(Rect{0, 0, 20, 20});
    world.Fill(HostArgb(255, 1, 2, 3));
    std::string path = Path("good.png");
    ASSERT_EQ(noErr, WritePortPNG(world.World(), path.c_str()));
    std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_GT(bytes.size(), 40u);

    // Cut short, and with a damaged data chunk.
    EXPECT_EQ(paramErr, HostReadPNGFromMemory(bytes.data(), bytes.size() / 2, back));
    EXPECT_FALSE(back.Valid());
    std::vector<uint8_t> damaged = bytes;
    for (size_t i = 40; i < damaged.size() - 12; ++i)
        damaged[i] ^= 0x5A;
    EXPECT_EQ(paramErr, HostReadPNGFromMemory(damaged.data(), damaged.size(), back));
    EXPECT_FALSE(back.Valid());

    // A header that claims 5000 x 5000 pixels over a few bytes of data is refused (its checksum
    // is made valid, so that the size is what stops it).
    std::vector<uint8_t> huge = bytes;
    const uint8_t size[8] = {0, 0, 0x13, 0x88, 0, 0, 0x13, 0x88};
    std::copy(size, size + 8, huge.begin() + 16);
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 12; i < 29; ++i) {
        crc ^= huge[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc ^= 0xFFFFFFFF;
    for (int k = 0; k < 4; ++k)
        huge[size_t(29 + k)] = uint8_t(crc >> (24 - 8 * k));
    EXPECT_EQ(paramErr, HostReadPNGFromMemory(huge.data(), huge.size(), back));
    EXPECT_EQ(paramErr, HostReadPNGFromMemory(nullptr, 10, back));
    EXPECT_EQ(paramErr, HostReadPNGFromMemory(bytes.data(), 0, back));

    // Writing into a folder that does not exist fails and makes nothing.
    EXPECT_EQ(fnfErr, WritePortPNG(world.World(), Path("no/such/folder.png").c_str()));
    EXPECT_EQ(paramErr, WritePortPNG(nullptr, path.c_str()));
    EXPECT_EQ(paramErr, HostWritePNG(HostPixelMap(), path.c_str()));
}

// 5 x 3 images of every colour type and bit depth, each of which must decode.
TEST(HostPNGKinds, EveryColourTypeAndDepthDecodes)
{
    const std::filesystem::path corpus = std::filesystem::path(FW_TEST_DATA) / "png-kinds";
    std::set<std::pair<int, int>> seeded;
    std::map<std::string, HostPixelMap> decoded;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("seed-", 0) != 0)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(bytes.size(), 26u) << name;
        seeded.insert({bytes[25], bytes[24]}); // colour type, bit depth (IHDR)
        HostPixelMap& pixels = decoded[name];
        ASSERT_EQ(noErr, HostReadPNGFromMemory(bytes.data(), bytes.size(), pixels)) << name;
        EXPECT_EQ(5, pixels.Width()) << name;
        EXPECT_EQ(3, pixels.Height()) << name;
    }
    const std::set<std::pair<int, int>> every{{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                                              {3, 2}, {3, 4}, {3, 8},  {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    EXPECT_EQ(every, seeded);
    // Pixel (1, 0): RGB samples 44, 63, 82; palette index 1 is (53, 97, 151).
    EXPECT_EQ(0x2C3F52u, decoded["seed-rgb-8"].Get(1, 0) & 0xFFFFFFu);
    EXPECT_EQ(0x356197u, decoded["seed-palette-8"].Get(1, 0) & 0xFFFFFFu);
}
