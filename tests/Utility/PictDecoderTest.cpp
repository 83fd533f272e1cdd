#include "DiskImageAllocateFailureX.h"
#include "DiskImageDecoder.h"
#include "FWArgb32.h"
#include "HostTypes.h"

#include "ByteBuilder.h"
#include "ProgrammerMessageRecorder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using Pixels = DiskImageDecoder::Pixels;

constexpr uint32_t kBlack = MakeColor32(255, 0, 0, 0);
constexpr uint32_t kWhite = MakeColor32(255, 255, 255, 255);
constexpr uint32_t kUndrawn = 0;

// Size, frame, the version opcode with version 2, and the 24-byte header opcode.
ByteBuilder pictStart(int top, int left, int bottom, int right)
{
    ByteBuilder b;
    b.Short(0).Rect(top, left, bottom, right).Short(0x0011).Short(0x02FF);
    b.Short(0x0C00).Fill(24, 0);
    return b;
}

Pixels finish(ByteBuilder& b)
{
    b.AlignEven().Short(0x00FF);
    return DiskImageDecoder::Decode(FOUR_CHAR_CODE("PICT"), b.Data().data(), b.Size(), nullptr);
}

// A pixel map without its base address.
void pixMap(ByteBuilder& b, int rowBytes, int top, int left, int bottom, int right, int packType, int pixelSize,
            int components)
{
    b.Short(0x8000 | rowBytes).Rect(top, left, bottom, right);
    b.Short(0).Short(packType).Long(0).Long(0x00480000).Long(0x00480000).Short(pixelSize > 8 ? 16 : 0);
    b.Short(pixelSize).Short(components).Short(pixelSize > 8 ? 8 : pixelSize).Long(0).Long(0).Long(0);
}

void colorTable(ByteBuilder& b, const std::vector<uint32_t>& colors)
{
    b.Long(0).Short(0).Short(int(colors.size()) - 1);
    for (size_t i = 0; i < colors.size(); ++i)
        b.Short(int(i)).Short(GetRed32(colors[i]) * 257).Short(GetGreen32(colors[i]) * 257).Short(GetBlue32(colors[i]) * 257);
}

// Source and destination rectangles and the transfer mode.
void rects(ByteBuilder& b, int top, int left, int bottom, int right, int mode = 0)
{
    b.Rect(top, left, bottom, right).Rect(top, left, bottom, right).Short(mode);
}

// PackBits as literal runs only.
std::vector<uint8_t> packLiterals(const std::vector<uint8_t>& row, size_t unit = 1)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < row.size();) {
        const size_t units = std::min<size_t>(128, (row.size() - i) / unit);
        out.push_back(uint8_t(units - 1));
        out.insert(out.end(), row.begin() + long(i), row.begin() + long(i + units * unit));
        i += units * unit;
    }
    return out;
}

void packedRow(ByteBuilder& b, int rowBytes, const std::vector<uint8_t>& packed)
{
    if (rowBytes > 250)
        b.Short(int(packed.size()));
    else
        b.Byte(int(packed.size()));
    b.Bytes(packed);
}

} // namespace

TEST(PictDecoder, OnlyVersionTwoPicturesDecode)
{
    ByteBuilder v1;
    v1.Short(0).Rect(0, 0, 4, 4).Short(0x1101).Short(0xFF00);
    EXPECT_FALSE(DiskImageDecoder::Decode(FOUR_CHAR_CODE("PICT"), v1.Data().data(), v1.Size(), nullptr).Valid());

    ByteBuilder empty = pictStart(0, 0, 4, 4);
    const Pixels p = finish(empty);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(FWRect(0, 0, 4, 4), p.rect);
    EXPECT_EQ(kUndrawn, p.At(3, 3));

    // The same bytes under the preview type.
    EXPECT_TRUE(DiskImageDecoder::Decode(FOUR_CHAR_CODE("QZPV"), empty.Data().data(), empty.Size(), nullptr).Valid());

    ByteBuilder cut = pictStart(0, 0, 4, 4);
    cut.Short(0x0001);
    EXPECT_THROW(DiskImageDecoder::Decode(FOUR_CHAR_CODE("PICT"), cut.Data().data(), cut.Size(), nullptr),
                 DiskImageAllocateFailureX);
}

TEST(PictDecoder, IndexedPixelsThroughTheirColourTable)
{
    const std::vector<uint32_t> colors = {MakeColor32(255, 10, 20, 30), MakeColor32(255, 40, 50, 60),
                                          MakeColor32(255, 70, 80, 90), MakeColor32(255, 100, 110, 120)};
    struct Case {
        int pixelSize;
        int width;
        int rowBytes;
        std::vector<uint8_t> row; // indices 0, 1, 2, 3, 3, 2, 1, 0, ...
    };
    const Case cases[] = {
        {8, 4, 4, {0, 1, 2, 3}},                         // raw: row bytes below 8
        {8, 10, 10, {0, 1, 2, 3, 3, 2, 1, 0, 1, 1}},     // PackBits, 1-byte counts
        {4, 16, 8, {0x01, 0x23, 0x32, 0x10, 0x01, 0x23, 0x32, 0x10}},
        {2, 32, 8, {0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4, 0x1B, 0xE4}},
    };
    for (const Case& c : cases) {
        ByteBuilder b = pictStart(0, 0, 2, int16_t(c.width));
        b.Short(0x0098);
        pixMap(b, c.rowBytes, 0, 0, 2, c.width, 0, c.pixelSize, 1);
        colorTable(b, colors);
        rects(b, 0, 0, 2, c.width);
        for (int y = 0; y < 2; ++y) {
            if (c.rowBytes < 8)
                b.Bytes(c.row);
            else
                packedRow(b, c.rowBytes, packLiterals(c.row));
        }
        const Pixels p = finish(b);
        ASSERT_TRUE(p.Valid()) << c.pixelSize;
        const uint32_t expected[] = {colors[0], colors[1], colors[2], colors[3], colors[3], colors[2], colors[1], colors[0]};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < std::min(c.width, 8); ++x)
                ASSERT_EQ(expected[x], p.At(x, y)) << c.pixelSize << " at " << x << "," << y;
    }
}

TEST(PictDecoder, WideRowsUseTwoByteCountsAndRepeatRuns)
{
    ByteBuilder b = pictStart(0, 0, 3, 300);
    b.Short(0x0098);
    pixMap(b, 300, 0, 0, 3, 300, 0, 8, 1);
    colorTable(b, {kWhite, MakeColor32(255, 1, 2, 3)});
    rects(b, 0, 0, 3, 300);
    // 128 x index 1, 128 x index 0, 44 literal indices alternating.
    std::vector<uint8_t> packed = {0x81, 1, 0x81, 0, 43};
    for (int i = 0; i < 44; ++i)
        packed.push_back(uint8_t(i & 1));
    for (int y = 0; y < 3; ++y)
        packedRow(b, 300, packed);
    const Pixels p = finish(b);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(MakeColor32(255, 1, 2, 3), p.At(0, 2));
    EXPECT_EQ(MakeColor32(255, 1, 2, 3), p.At(127, 2));
    EXPECT_EQ(kWhite, p.At(128, 2));
    EXPECT_EQ(kWhite, p.At(256, 0));
    EXPECT_EQ(MakeColor32(255, 1, 2, 3), p.At(299, 1));
}

TEST(PictDecoder, BitMapsAreRawUnderBitsRectAndPackedUnderPackBitsRect)
{
    // 0x0090, row bytes 2: raw. No colour table yet: 1 black, 0 white.
    ByteBuilder raw = pictStart(0, 0, 2, 16);
    raw.Short(0x0090).Short(2).Rect(0, 0, 2, 16);
    rects(raw, 0, 0, 2, 16);
    raw.Bytes({0x80, 0x01, 0xFF, 0x00});
    Pixels p = finish(raw);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(kBlack, p.At(0, 0));
    EXPECT_EQ(kWhite, p.At(1, 0));
    EXPECT_EQ(kBlack, p.At(15, 0));
    EXPECT_EQ(kBlack, p.At(7, 1));
    EXPECT_EQ(kWhite, p.At(8, 1));

    // 0x0098, row bytes 8: PackBits.
    ByteBuilder packed = pictStart(0, 0, 1, 64);
    packed.Short(0x0098).Short(8).Rect(0, 0, 1, 64);
    rects(packed, 0, 0, 1, 64);
    packedRow(packed, 8, {0xF9, 0xF0, 0x00, 0x0F}); // F0 x 8 bytes, then literal 0F: one byte too many
    p = finish(packed);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(kBlack, p.At(56, 0));
    EXPECT_EQ(kWhite, p.At(60, 0));
}

TEST(PictDecoder, DirectPixelsInEveryPacking)
{
    const uint32_t a = MakeColor32(0x80, 0x11, 0x22, 0x33);
    const uint32_t c = MakeColor32(0xFF, 0x44, 0x55, 0x66);
    auto start = [](int rowBytes, int packType, int pixelSize, int components) {
        ByteBuilder b = pictStart(0, 0, 1, 2);
        b.Short(0x009A).Long(0x000000FF);
        pixMap(b, rowBytes, 0, 0, 1, 2, packType, pixelSize, components);
        rects(b, 0, 0, 1, 2);
        return b;
    };

    // Pack type 1: raw alpha, red, green, blue.
    ByteBuilder b1 = start(8, 1, 32, 4);
    b1.Bytes({0x80, 0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66});
    Pixels p = finish(b1);
    EXPECT_EQ(a, p.At(0, 0));
    EXPECT_EQ(c, p.At(1, 0));

    // Pack type 2: red, green, blue triples; row bytes x 3 / 4 of them; opaque.
    ByteBuilder b2 = start(8, 2, 32, 3);
    b2.Bytes({0x11, 0x22, 0x33, 0x44, 0x55, 0x66});
    p = finish(b2);
    EXPECT_EQ(MakeColor32(255, 0x11, 0x22, 0x33), p.At(0, 0));
    EXPECT_EQ(c, p.At(1, 0));

    // Pack type 4 (and pack type 0 for 32 bits), three planes: opaque.
    for (int packType : {0, 4}) {
        ByteBuilder b4 = start(8, packType, 32, 3);
        packedRow(b4, 8, {0x05, 0x11, 0x44, 0x22, 0x55, 0x33, 0x66});
        p = finish(b4);
        EXPECT_EQ(MakeColor32(255, 0x11, 0x22, 0x33), p.At(0, 0)) << packType;
        EXPECT_EQ(c, p.At(1, 0)) << packType;
    }
    // Four planes: alpha first.
    ByteBuilder b4a = start(8, 4, 32, 4);
    packedRow(b4a, 8, {0x07, 0x80, 0xFF, 0x11, 0x44, 0x22, 0x55, 0x33, 0x66});
    p = finish(b4a);
    EXPECT_EQ(a, p.At(0, 0));
    EXPECT_EQ(c, p.At(1, 0));

    // 16 bits: raw below 8 row bytes; PackBits of 16-bit units above.
    const int v = (31 << 10) | (16 << 5) | 1;
    ByteBuilder b16 = start(4, 0, 16, 3);
    b16.Short(v).Short(0);
    p = finish(b16);
    EXPECT_EQ(MakeColor32(255, 255, 132, 8), p.At(0, 0));
    EXPECT_EQ(kBlack, p.At(1, 0));

    ByteBuilder b16p = pictStart(0, 0, 1, 6);
    b16p.Short(0x009A).Long(0xFF);
    pixMap(b16p, 12, 0, 0, 1, 6, 0, 16, 3);
    rects(b16p, 0, 0, 1, 6);
    packedRow(b16p, 12, {0xFB, uint8_t(v >> 8), uint8_t(v)}); // one value, six times
    p = finish(b16p);
    EXPECT_EQ(MakeColor32(255, 255, 132, 8), p.At(5, 0));
}

TEST(PictDecoder, OnlyCopyModesDrawAndSkippedPixelsKeepTheStreamInStep)
{
    ByteBuilder b = pictStart(0, 0, 1, 2);
    b.Short(0x009A).Long(0xFF);
    pixMap(b, 8, 0, 0, 1, 2, 1, 32, 4);
    rects(b, 0, 0, 1, 2, 36); // transparent: not drawn
    b.Fill(8, 0xFF);
    b.Short(0x009A).Long(0xFF);
    pixMap(b, 4, 0, 0, 1, 1, 1, 32, 4);
    rects(b, 0, 1, 1, 2, 64); // dither copy: drawn
    b.Fill(4, 0x7F);
    const Pixels p = finish(b);
    EXPECT_EQ(kUndrawn, p.At(0, 0));
    EXPECT_EQ(0x7F7F7F7Fu, p.At(1, 0));
}

TEST(PictDecoder, SkipsTheDataOfEveryOtherOpcode)
{
    ByteBuilder b = pictStart(0, 0, 1, 1);
    b.Short(0x0001).Short(10).Rect(0, 0, 1, 1);             // clip region
    b.Short(0x0004).Byte(1).AlignEven();                     // text face, padded
    b.Short(0x001A).Short(1).Short(2).Short(3);              // foreground colour
    b.Short(0x0028).Short(5).Short(5).Byte(3).Bytes({'a', 'b', 'c'}).AlignEven();
    b.Short(0x002B).Byte(1).Byte(1).Byte(2).Bytes({'x', 'y'}).AlignEven();
    b.Short(0x002C).Short(5).Short(3).Byte(2).Bytes({'f', 'n'}).AlignEven();
    b.Short(0x0012).Short(2).Fill(8, 0).Fill(6, 0);          // RGB pixel pattern
    b.Short(0x0030).Rect(0, 0, 1, 1).Short(0x0038);          // frame rect, frame same rect
    b.Short(0x0060).Rect(0, 0, 1, 1).Short(0).Short(90);     // arc
    b.Short(0x0070).Short(10).Rect(0, 0, 1, 1);              // polygon
    b.Short(0x0080).Short(12).Rect(0, 0, 1, 1).Short(0);     // region
    b.Short(0x00A0).Short(7);                                // short comment
    b.Short(0x00A1).Short(100).Short(3).Bytes({1, 2, 3}).AlignEven();
    b.Short(0x00A5).Short(2).Short(0);                       // reserved, length word
    b.Short(0x00B5);                                         // reserved, no data
    b.Short(0x00D3).Long(3).Bytes({1, 2, 3}).AlignEven();    // reserved, 32-bit length
    b.Short(0x0200).Long(0);                                 // reserved, 2 x high byte
    b.Short(0x8050);                                         // reserved, no data
    b.Short(0x8201).Long(2).Short(0);                        // reserved, 32-bit length
    // A pixel region opcode: skipped whole with its mask region.
    b.Short(0x0099);
    pixMap(b, 2, 0, 0, 1, 1, 0, 8, 1);
    colorTable(b, {kBlack});
    b.Rect(0, 0, 1, 1).Rect(0, 0, 1, 1).Short(0).Short(10).Rect(0, 0, 1, 1);
    b.Bytes({0, 0});
    b.Short(0x009B).Long(0xFF);
    pixMap(b, 4, 0, 0, 1, 1, 1, 32, 4);
    b.Rect(0, 0, 1, 1).Rect(0, 0, 1, 1).Short(0).Short(10).Rect(0, 0, 1, 1);
    b.Fill(4, 0);
    // Then the pixels that are drawn.
    b.Short(0x009A).Long(0xFF);
    pixMap(b, 4, 0, 0, 1, 1, 1, 32, 4);
    rects(b, 0, 0, 1, 1);
    b.Bytes({0xFF, 9, 8, 7});
    const Pixels p = finish(b);
    EXPECT_EQ(MakeColor32(255, 9, 8, 7), p.At(0, 0));
}

TEST(PictDecoder, PixelsLandByPictureCoordinatesInsideTheFrameOnly)
{
    // Frame (10, 20)-(13, 24): a 4 x 3 image. A 6 x 4 pixel map drawn at (9, 22) covers part of it.
    ByteBuilder b = pictStart(10, 20, 13, 24);
    b.Short(0x009A).Long(0xFF);
    pixMap(b, 24, 0, 0, 4, 6, 1, 32, 4);
    b.Rect(0, 0, 4, 6).Rect(9, 22, 12, 28).Short(0); // destination only 3 rows high
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            b.Bytes({0xFF, y, x, 0});
    const Pixels p = finish(b);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(FWRect(20, 10, 24, 13), p.rect);
    EXPECT_EQ(kUndrawn, p.At(0, 0));
    EXPECT_EQ(kUndrawn, p.At(1, 2));
    EXPECT_EQ(MakeColor32(255, 1, 0, 0), p.At(2, 0)); // row 1 of the data at picture v 10
    EXPECT_EQ(MakeColor32(255, 1, 1, 0), p.At(3, 0));
    EXPECT_EQ(MakeColor32(255, 2, 1, 0), p.At(3, 1));
    EXPECT_EQ(kUndrawn, p.At(3, 2)); // data row 3 is below the destination
}

TEST(PictDecoder, RowsWiderThanTheFrameStayBounded)
{
    // A 600-pixel row into a 10-pixel frame, with runs that try to pass the row's end.
    ByteBuilder b = pictStart(0, 0, 2, 10);
    b.Short(0x0098);
    pixMap(b, 600, 0, 0, 2, 600, 0, 8, 1);
    colorTable(b, {kWhite, kBlack});
    rects(b, 0, 0, 2, 600);
    std::vector<uint8_t> packed;
    for (int i = 0; i < 6; ++i)
        packed.insert(packed.end(), {0x81, 1}); // 6 x 128 = 768 bytes into a 600-byte row
    packedRow(b, 600, packed);
    packedRow(b, 600, packed);
    Pixels p = finish(b);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(kBlack, p.At(9, 1));

    // Pack type 4 rows take 3 x width bytes, more than row bytes promise: still bounded.
    ByteBuilder planes = pictStart(0, 0, 1, 4);
    planes.Short(0x009A).Long(0xFF);
    pixMap(planes, 8, 0, 0, 1, 400, 4, 32, 3);
    rects(planes, 0, 0, 1, 400);
    std::vector<uint8_t> run;
    for (int i = 0; i < 12; ++i)
        run.insert(run.end(), {0x81, uint8_t(i)}); // 1536 bytes for a 1200-byte row
    packedRow(planes, 8, run);
    p = finish(planes);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(MakeColor32(255, 0, 3, 6), p.At(0, 0));
}

TEST(PictDecoder, DamagedPixelMapsThrow)
{
    ProgrammerMessageRecorder recorder;
    auto withPixMap = [](int rowBytes, int packType, int pixelSize, std::vector<uint8_t> data) {
        ByteBuilder b = pictStart(0, 0, 1, 8);
        b.Short(0x009A).Long(0xFF);
        pixMap(b, rowBytes, 0, 0, 1, 8, packType, pixelSize, 3);
        rects(b, 0, 0, 1, 8);
        b.Bytes(data);
        return b;
    };
    ByteBuilder unknownPacking = withPixMap(32, 7, 32, std::vector<uint8_t>(32, 0));
    EXPECT_THROW(finish(unknownPacking), DiskImageAllocateFailureX);
    ByteBuilder oddSize = withPixMap(32, 1, 24, std::vector<uint8_t>(32, 0));
    EXPECT_THROW(finish(oddSize), DiskImageAllocateFailureX);
    ByteBuilder narrowRows = withPixMap(16, 1, 32, std::vector<uint8_t>(16, 0));
    EXPECT_THROW(finish(narrowRows), DiskImageAllocateFailureX);
    ByteBuilder shortRow = withPixMap(32, 4, 32, {0x01, 0, 0}); // 2 of 24 plane bytes
    EXPECT_THROW(finish(shortRow), DiskImageAllocateFailureX);

    ByteBuilder region = pictStart(0, 0, 1, 1);
    region.Short(0x0001).Short(1);
    EXPECT_THROW(finish(region), DiskImageAllocateFailureX);

    ByteBuilder hugeFrame;
    hugeFrame.Short(0).Rect(-32000, -32000, 32000, 32000).Short(0x0011).Short(0x02FF).Short(0x00FF);
    EXPECT_THROW(DiskImageDecoder::Decode(FOUR_CHAR_CODE("PICT"), hugeFrame.Data().data(), hugeFrame.Size(), nullptr),
                 DiskImageAllocateFailureX);

    // A colour table for a pixel size without one is read past, then the odd size throws.
    ByteBuilder tableFor3 = pictStart(0, 0, 1, 8);
    tableFor3.Short(0x0098);
    pixMap(tableFor3, 8, 0, 0, 1, 8, 0, 3, 1);
    colorTable(tableFor3, {kWhite});
    rects(tableFor3, 0, 0, 1, 8);
    packedRow(tableFor3, 8, {0x02, 0, 0, 0});
    EXPECT_THROW(finish(tableFor3), DiskImageAllocateFailureX);
    EXPECT_TRUE(recorder.Messages().empty());
}

// ---- pictures written by an independent tool

namespace {

struct Ppm {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// A test image of at most 256 colours: diagonal bands and a flat block.
Ppm makeTestImage(int width, int height)
{
    Ppm image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int band = ((x / 5 + y) % 12);
            const bool flat = x >= width * 3 / 4;
            image.rgb.push_back(uint8_t(flat ? 200 : band * 20));
            image.rgb.push_back(uint8_t(flat ? 100 : 255 - band * 17));
            image.rgb.push_back(uint8_t(flat ? 50 : (band * 53) & 0xFF));
        }
    }
    return image;
}

std::vector<uint8_t> readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Ppm readPpm(const std::filesystem::path& path)
{
    const std::vector<uint8_t> bytes = readFile(path);
    Ppm image;
    int maxValue = 0;
    int consumed = 0;
    const std::string text(bytes.begin(), bytes.begin() + long(std::min<size_t>(bytes.size(), 64)));
    if (std::sscanf(text.c_str(), "P6 %d %d %d%n", &image.width, &image.height, &maxValue, &consumed) != 3)
        return image;
    image.rgb.assign(bytes.begin() + consumed + 1, bytes.end());
    return image;
}

void writePpm(const std::filesystem::path& path, const Ppm& image)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
}

// Decodes a picture file (with its 512-byte file header) and compares it with the image.
void expectSamePixels(const std::vector<uint8_t>& file, const Ppm& image)
{
    ASSERT_GT(file.size(), 512u);
    const Pixels p = DiskImageDecoder::Decode(FOUR_CHAR_CODE("PICT"), file.data() + 512, file.size() - 512, nullptr);
    ASSERT_TRUE(p.Valid());
    ASSERT_EQ(image.width, p.width);
    ASSERT_EQ(image.height, p.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* c = &image.rgb[size_t(3 * (y * image.width + x))];
            ASSERT_EQ(MakeColor32(255, c[0], c[1], c[2]), p.At(x, y)) << "at " << x << "," << y;
        }
    }
}

} // namespace

TEST(PictDecoder, KeptNetpbmPictureDecodesToItsSourceImage)
{
    const std::filesystem::path data(FW_TEST_DATA);
    const Ppm image = readPpm(data / "netpbm-40x7.ppm");
    ASSERT_EQ(40, image.width);
    expectSamePixels(readFile(data / "netpbm-40x7.pict"), image);
}

TEST(PictDecoder, PicturesFromPpmtopictDecodeToTheirSourceImage)
{
    if (std::system("command -v ppmtopict >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ppmtopict is not installed";
    const TempFolder folder;
    const std::filesystem::path& dir = folder.Path();
    // Narrow rows use 1-byte counts, rows over 250 bytes 2-byte counts.
    for (const auto& size : {std::pair{40, 7}, std::pair{300, 5}}) {
        const Ppm image = makeTestImage(size.first, size.second);
        const std::filesystem::path ppm = dir / "in.ppm";
        const std::filesystem::path pict = dir / "out.pict";
        writePpm(ppm, image);
        const std::string command = "ppmtopict '" + ppm.string() + "' > '" + pict.string() + "' 2>/dev/null";
        ASSERT_EQ(0, std::system(command.c_str()));
        expectSamePixels(readFile(pict), image);
    }
}
