#include "HostPNG.h"
#include "HostTestWorld.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
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

// A 3 x 2 PNG written by libpng, both rows the given raw row; the palette has four entries
// (10,20,30), (200,100,50), (1,2,3), (250,240,230); transparency is a palette's alphas or the
// transparent grey or red, green, blue.
std::vector<uint8_t> pngOf(int type, int depth, bool interlaced, std::vector<uint8_t> row,
                           const std::vector<uint16_t>& transparency)
{
    std::vector<uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &file, [](png_structp p, png_bytep data, size_t n) {
        auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        out->insert(out->end(), data, data + n);
    }, nullptr);
    png_set_IHDR(png, info, 3, 2, depth, type, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const png_color palette[4] = {{10, 20, 30}, {200, 100, 50}, {1, 2, 3}, {250, 240, 230}};
    std::vector<png_byte> alphas(transparency.begin(), transparency.end());
    std::vector<png_uint_16> t = transparency;
    t.resize(3);
    png_color_16 colour{0, t[0], t[1], t[2], t[0]};
    const bool indexed = type == PNG_COLOR_TYPE_PALETTE;
    if (indexed)
        png_set_PLTE(png, info, palette, std::min(4, 1 << depth));
    if (!transparency.empty())
        png_set_tRNS(png, info, indexed ? alphas.data() : nullptr, int(alphas.size()), indexed ? nullptr : &colour);
    png_write_info(png, info);
    png_bytep rows[2] = {row.data(), row.data()};
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
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

    // Every kind shows its stored samples as ARGB: sub-byte grey scaled to 0-255, 16-bit samples
    // by their high byte (0x80FF is 0x80, not 0x81), tRNS as alpha, interlaced as not.
    const int grey = 0, rgb = 2, palette = 3, greyAlpha = 4, rgba = 6;
    const struct {
        int type, depth;
        bool interlaced;
        std::vector<uint8_t> row;
        std::vector<uint16_t> transparency;
        std::array<uint32_t, 3> expected;
    } kinds[] = {
        {grey, 1, false, {0xA0}, {0}, {0xFFFFFFFF, 0x00000000, 0xFFFFFFFF}},
        {grey, 2, true, {0x1C}, {}, {0xFF000000, 0xFF555555, 0xFFFFFFFF}},
        {grey, 4, false, {0x07, 0xF0}, {}, {0xFF000000, 0xFF777777, 0xFFFFFFFF}},
        {grey, 8, false, {0x10, 0x80, 0xF0}, {0x80}, {0xFF101010, 0x00808080, 0xFFF0F0F0}},
        {grey, 16, true, {8, 8, 0x80, 0xFF, 0xC8, 0}, {0x80FF}, {0xFF080808, 0x00808080, 0xFFC8C8C8}},
        {greyAlpha, 8, false, {0x40, 0x80, 0xC0, 0xFF, 0, 0}, {}, {0x80404040, 0xFFC0C0C0, 0}},
        {greyAlpha, 16, false, {0x40, 1, 0x80, 0xFF, 0xC0, 0, 0xFF, 0xFF, 0, 0, 0, 0}, {}, {0x80404040, 0xFFC0C0C0, 0}},
        {rgb, 8, true, {8, 8, 200, 1, 2, 3, 255, 254, 253}, {1, 2, 3}, {0xFF0808C8, 0x00010203, 0xFFFFFEFD}},
        {rgb, 16, false, {8, 8, 8, 8, 200, 200, 1, 0xFF, 2, 0xFF, 3, 0xFF, 255, 0, 254, 0, 253, 0}, {},
         {0xFF0808C8, 0xFF010203, 0xFFFFFEFD}},
        {rgba, 8, true, {10, 20, 30, 40, 1, 2, 3, 255, 255, 255, 255, 0}, {}, {0x280A141E, 0xFF010203, 0x00FFFFFF}},
        {rgba, 16, false, {10, 0xFF, 20, 0xFF, 30, 0xFF, 40, 1, 1, 0, 2, 0, 3, 0, 255, 255, 9, 9, 9, 9, 9, 9, 0, 0}, {},
         {0x280A141E, 0xFF010203, 0x00090909}},
        {palette, 1, false, {0xA0}, {}, {0xFFC86432, 0xFF0A141E, 0xFFC86432}},
        {palette, 2, true, {0x1C}, {0, 0x80}, {0x000A141E, 0x80C86432, 0xFFFAF0E6}},
        {palette, 4, false, {0x01, 0x20}, {}, {0xFF0A141E, 0xFFC86432, 0xFF010203}},
        {palette, 8, false, {2, 1, 0}, {0x40}, {0xFF010203, 0xFFC86432, 0x400A141E}},
    };
    for (const auto& kind : kinds) {
        const std::vector<uint8_t> bytes = pngOf(kind.type, kind.depth, kind.interlaced, kind.row, kind.transparency);
        HostPixelMap pixels;
        ASSERT_EQ(noErr, HostReadPNGFromMemory(bytes.data(), bytes.size(), pixels)) << kind.type << "/" << kind.depth;
        for (int32_t i = 0; i < 6; ++i)
            EXPECT_EQ(kind.expected[size_t(i % 3)], pixels.Get(i % 3, i / 3)) << kind.type << "/" << kind.depth << " #" << i;
    }
}
