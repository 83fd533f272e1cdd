#include "DiskImage.h"
#include "DiskImageAllocateFailureX.h"
#include "DiskImageDecoder.h"
#include "FWArgb32.h"
#include "HostTypes.h"

#include "ByteBuilder.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

using Pixels = DiskImageDecoder::Pixels;

Pixels decode(const char (&type)[5], const ByteBuilder& bytes, const std::vector<uint8_t>* mask = nullptr)
{
    return DiskImageDecoder::Decode(FOUR_CHAR_CODE(type), bytes.Data().data(), bytes.Size(), mask);
}

constexpr uint32_t kBlack = MakeColor32(255, 0, 0, 0);
constexpr uint32_t kWhite = MakeColor32(255, 255, 255, 255);

uint32_t fourCC(const char* s)
{
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8 |
           uint32_t(uint8_t(s[3]));
}

uint32_t rgb(const FWRgb32& c, int alpha = 255)
{
    return MakeColor32(uint32_t(alpha), c.r, c.g, c.b);
}

} // namespace

TEST(DiskImageDecoder, SystemPaletteIsCubeThenRampsThenBlack)
{
    const FWRgb32* t = DiskImageDecoder::Get8BitColorTable();
    auto eq = [](const FWRgb32& c, int r, int g, int b) { return c.r == r && c.g == g && c.b == b; };
    EXPECT_TRUE(eq(t[0], 255, 255, 255));
    EXPECT_TRUE(eq(t[1], 255, 255, 204));
    EXPECT_TRUE(eq(t[6], 255, 204, 255));
    EXPECT_TRUE(eq(t[36], 204, 255, 255));
    EXPECT_TRUE(eq(t[214], 0, 0, 51));
    EXPECT_TRUE(eq(t[215], 238, 0, 0));
    EXPECT_TRUE(eq(t[224], 17, 0, 0));
    EXPECT_TRUE(eq(t[225], 0, 238, 0));
    EXPECT_TRUE(eq(t[235], 0, 0, 238));
    EXPECT_TRUE(eq(t[245], 238, 238, 238));
    EXPECT_TRUE(eq(t[254], 17, 17, 17));
    EXPECT_TRUE(eq(t[255], 0, 0, 0));
}

TEST(DiskImageDecoder, SixteenColourPaletteStartsWhite)
{
    const FWRgb32* t = DiskImageDecoder::Get4BitColorTable();
    EXPECT_EQ(kWhite, rgb(t[0]));
    EXPECT_EQ(MakeColor32(255, 70, 0, 165), rgb(t[5]));
    EXPECT_EQ(MakeColor32(255, 192, 192, 192), rgb(t[12]));
    EXPECT_EQ(kBlack, rgb(t[15]));
}

// ---- 'argb'

TEST(DiskImageDecoder, ArgbRunsGiveExactWords)
{
    // 0x80: one literal pixel; 0x7F: one pixel shown 128 times; 0x81: two literal pixels.
    ByteBuilder b;
    b.Long(131).Long(1);
    b.Byte(0x80).Bytes({0x11, 0x22, 0x33, 0x44});
    b.Byte(0x7F).Bytes({0xFF, 0x01, 0x02, 0x03});
    b.Byte(0x81).Bytes({0x00, 0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60});
    const Pixels p = decode("argb", b);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(FWRect(0, 0, 131, 1), p.rect);
    EXPECT_EQ(0x11223344u, p.At(0, 0));
    for (int x = 1; x <= 128; ++x)
        ASSERT_EQ(0xFF010203u, p.At(x, 0)) << x;
    EXPECT_EQ(0x00102030u, p.At(129, 0));
    EXPECT_EQ(0x80405060u, p.At(130, 0));
}

TEST(DiskImageDecoder, ArgbStopsInTheMiddleOfARun)
{
    // 2 x 2 = 4 pixels: a run of 3, then a literal run of 4 of which only the first is used
    // and the rest is never read.
    ByteBuilder b;
    b.Long(2).Long(2);
    b.Byte(0x02).Bytes({0xFF, 1, 1, 1});
    b.Byte(0x83).Bytes({0xFF, 2, 2, 2});
    b.Fill(20, 0); // enough bytes for the size check, never read as pixels
    const Pixels p = decode("argb", b);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(MakeColor32(255, 1, 1, 1), p.At(0, 0));
    EXPECT_EQ(MakeColor32(255, 1, 1, 1), p.At(1, 0));
    EXPECT_EQ(MakeColor32(255, 1, 1, 1), p.At(0, 1));
    EXPECT_EQ(MakeColor32(255, 2, 2, 2), p.At(1, 1));
}

TEST(DiskImageDecoder, ArgbRefusesSizesOutsideTheRectangleRange)
{
    const int64_t sizes[][2] = {{0, 1}, {1, 0}, {-1, 5}, {32768, 1}, {1, 32768}, {0x10000, 1}, {0x7FFFFFFF, 1}};
    for (const auto& size : sizes) {
        ByteBuilder b;
        b.Long(size[0]).Long(size[1]).Fill(64, 0);
        EXPECT_THROW(decode("argb", b), DiskImageAllocateFailureX) << size[0] << " x " << size[1];
    }
}

TEST(DiskImageDecoder, ArgbShorterThanItsSizeThrows)
{
    ByteBuilder b;
    b.Long(1000).Long(1000).Byte(0x7F).Bytes({1, 2, 3, 4});
    EXPECT_THROW(decode("argb", b), DiskImageAllocateFailureX);
    ByteBuilder cut;
    cut.Long(3).Long(1).Byte(0x82).Bytes({1, 2, 3, 4, 5, 6, 7, 8}); // third pixel missing
    EXPECT_THROW(decode("argb", cut), DiskImageAllocateFailureX);
}

// ---- icon families

TEST(DiskImageDecoder, BlackAndWhiteIconsTakeAlphaFromTheirMask)
{
    struct Case {
        const char* type;
        int size;
        int rowBytes;
    };
    const Case cases[] = {{"ICN#", 32, 4}, {"ics#", 16, 2}, {"icm#", 12, 2}};
    for (const Case& c : cases) {
        ByteBuilder b;
        // Pixels: row y has its first pixel set; mask: every row fully set except row 1.
        for (int y = 0; y < c.size; ++y) {
            b.Byte(0x80);
            b.Fill(size_t(c.rowBytes - 1), 0);
        }
        for (int y = 0; y < c.size; ++y)
            b.Fill(size_t(c.rowBytes), y == 1 ? 0x00 : 0xFF);
        const Pixels p = DiskImageDecoder::Decode(fourCC(c.type),
                                                  b.Data().data(), b.Size(), nullptr);
        ASSERT_TRUE(p.Valid()) << c.type;
        EXPECT_EQ(FWRect(0, 0, int16_t(c.size), int16_t(c.size)), p.rect) << c.type;
        EXPECT_EQ(kBlack, p.At(0, 0)) << c.type;
        EXPECT_EQ(kWhite, p.At(1, 0)) << c.type;
        EXPECT_EQ(kWhite, p.At(c.size - 1, c.size - 1)) << c.type;
        EXPECT_EQ(MakeColor32(0, 0, 0, 0), p.At(0, 1)) << c.type;
        EXPECT_EQ(MakeColor32(0, 255, 255, 255), p.At(5, 1)) << c.type;
        // Without the mask half the data is short.
        EXPECT_THROW(DiskImageDecoder::Decode(fourCC(c.type),
                                              b.Data().data(), b.Size() / 2, nullptr),
                     DiskImageAllocateFailureX);
    }
}

TEST(DiskImageDecoder, ColourIconsIndexThePalettesAndUseTheOneBitMask)
{
    struct Case {
        const char* type;
        const char* maskType;
        int size;
        int bits;
        int rowBytes;
        int maskRowBytes;
    };
    const Case cases[] = {
        {"icl4", "ICN#", 32, 4, 16, 4}, {"icl8", "ICN#", 32, 8, 32, 4}, {"ics4", "ics#", 16, 4, 8, 2},
        {"ics8", "ics#", 16, 8, 16, 2}, {"icm4", "icm#", 12, 4, 6, 2},  {"icm8", "icm#", 12, 8, 12, 2},
    };
    for (const Case& c : cases) {
        const uint32_t type = fourCC(c.type);
        EXPECT_EQ(fourCC(c.maskType), DiskImageDecoder::IconMaskType(type));
        // Each row: pixel 0 has index 0, pixel 1 index 5, the rest index 15 (4 bits) / 255.
        ByteBuilder b;
        for (int y = 0; y < c.size; ++y) {
            if (c.bits == 4) {
                b.Byte(0x05);
                b.Fill(size_t(c.rowBytes - 1), 0xFF);
            } else {
                b.Byte(0).Byte(5);
                b.Fill(size_t(c.rowBytes - 2), 0xFF);
            }
        }
        const FWRgb32* table =
            c.bits == 4 ? DiskImageDecoder::Get4BitColorTable() : DiskImageDecoder::Get8BitColorTable();

        // Without the 1-bit icon: fully opaque.
        const Pixels opaque = DiskImageDecoder::Decode(type, b.Data().data(), b.Size(), nullptr);
        ASSERT_TRUE(opaque.Valid()) << c.type;
        EXPECT_EQ(c.size, opaque.width);
        EXPECT_EQ(rgb(table[0]), opaque.At(0, 0)) << c.type;
        EXPECT_EQ(rgb(table[5]), opaque.At(1, 3)) << c.type;
        EXPECT_EQ(kBlack, opaque.At(c.size - 1, c.size - 1)) << c.type;

        // With it: the mask is its second half; only the top-left pixel of each row shows.
        ByteBuilder mask;
        mask.Fill(size_t(c.size * c.maskRowBytes), 0xFF); // the 1-bit pixels, unused
        for (int y = 0; y < c.size; ++y)
            mask.Byte(0x80).Fill(size_t(c.maskRowBytes - 1), 0);
        const Pixels masked = DiskImageDecoder::Decode(type, b.Data().data(), b.Size(), &mask.Data());
        EXPECT_EQ(rgb(table[0]), masked.At(0, 2)) << c.type;
        EXPECT_EQ(rgb(table[5], 0), masked.At(1, 2)) << c.type;

        // A 1-bit icon without its mask half is damaged.
        const std::vector<uint8_t> shortMask(size_t(c.size * c.maskRowBytes), 0xFF);
        EXPECT_THROW(DiskImageDecoder::Decode(type, b.Data().data(), b.Size(), &shortMask), DiskImageAllocateFailureX);
    }
}

TEST(DiskImageDecoder, MaskRowsKeepTheirPartialLastByte)
{
    Pixels p;
    p.Allocate(FWRect(0, 0, 10, 2), kWhite);
    const uint8_t mask[] = {0x00, 0x40, 0xFF, 0x80};
    DiskImageDecoder::MakeAlphaFromIconMask(p, mask, sizeof mask, 2);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(x == 9 ? 255 : 0, GetAlpha32(p.At(x, 0))) << x;
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(x <= 8 ? 255 : 0, GetAlpha32(p.At(x, 1))) << x;
    // Bits beyond the mask bytes count as clear.
    DiskImageDecoder::MakeAlphaFromIconMask(p, mask, 2, 2);
    EXPECT_EQ(0, GetAlpha32(p.At(0, 1)));
}

// ---- 'cicn'

namespace {

// A cicn of the given size and pixel depth with mask row bytes 2 and icon row bytes 2.
ByteBuilder cicnHeader(int width, int height, int rowBytes, int pixelSize)
{
    ByteBuilder b;
    b.Long(0).Short(0x8000 | rowBytes).Rect(0, 0, height, width);
    b.Short(0).Short(0).Long(0).Long(0x00480000).Long(0x00480000).Short(0); // version .. pixel type
    b.Short(pixelSize);
    b.Short(1).Short(pixelSize).Long(0).Long(0).Long(0); // components, plane bytes, table, reserved
    b.Long(0);                                           // mask base address
    b.Short(2).Rect(0, 0, height, width).Long(0);        // mask bit map, icon base address
    b.Short(2).Rect(0, 0, height, width).Long(0);        // icon bit map, icon data handle
    return b;
}

} // namespace

TEST(DiskImageDecoder, CicnPlacesTableEntriesByValueAndKeepsMaskAlpha)
{
    ByteBuilder b = cicnHeader(3, 2, 4, 8);
    b.Bytes({0xC0, 0, 0xE0, 0});       // mask: row 0 pixels 0-1, row 1 pixels 0-2
    b.Fill(4, 0xFF);                   // 1-bit icon data, skipped
    b.Long(0).Short(0).Short(2 - 1);   // seed, flags, two entries
    b.Short(7).Short(0x12FF).Short(0x3400).Short(0x56AA);
    b.Short(300).Short(0xFFFF).Short(0).Short(0); // beyond the table: ignored
    b.Bytes({7, 0, 7, 0xEE});
    b.Bytes({0, 7, 7, 0xEE});
    const Pixels p = decode("cicn", b);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(FWRect(0, 0, 3, 2), p.rect);
    EXPECT_EQ(MakeColor32(255, 0x12, 0x34, 0x56), p.At(0, 0));
    EXPECT_EQ(MakeColor32(255, 0, 0, 0), p.At(1, 0)); // an index the table does not list
    EXPECT_EQ(MakeColor32(0, 0x12, 0x34, 0x56), p.At(2, 0));
    EXPECT_EQ(MakeColor32(255, 0x12, 0x34, 0x56), p.At(2, 1));
}

TEST(DiskImageDecoder, CicnDirectPixelsWidenAndSkipThePadByte)
{
    ProgrammerMessageRecorder recorder;
    for (int pixelSize : {16, 32}) {
        ByteBuilder b = cicnHeader(2, 1, pixelSize == 16 ? 6 : 8, pixelSize); // rows have a spare tail
        b.Bytes({0xC0, 0});
        b.Fill(2, 0);
        b.Long(0).Short(0).Short(-1); // no entries
        if (pixelSize == 16)
            b.Short((31 << 10) | (1 << 5) | 16).Short(0).Short(0x7FFF);
        else
            b.Bytes({0x99, 10, 20, 30, 0x99, 40, 50, 60}).Fill(0, 0);
        const Pixels p = decode("cicn", b);
        ASSERT_TRUE(p.Valid());
        if (pixelSize == 16) {
            EXPECT_EQ(MakeColor32(255, 255, 8, 132), p.At(0, 0));
        } else {
            EXPECT_EQ(MakeColor32(255, 10, 20, 30), p.At(0, 0));
            EXPECT_EQ(MakeColor32(255, 40, 50, 60), p.At(1, 0));
        }
    }
    // A table stored for a direct pixel size is stored data, read past without a message.
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST(DiskImageDecoder, CicnWithRowsTooShortOrDataCutThrows)
{
    ByteBuilder narrow = cicnHeader(20, 1, 2, 8); // 20 pixels of 8 bits in 2 bytes
    narrow.Fill(2, 0xFF).Fill(2, 0).Long(0).Short(0).Short(-1).Fill(2, 0);
    EXPECT_THROW(decode("cicn", narrow), DiskImageAllocateFailureX);

    ByteBuilder cut = cicnHeader(2, 2, 2, 8);
    cut.Fill(4, 0xFF); // mask, then nothing
    EXPECT_THROW(decode("cicn", cut), DiskImageAllocateFailureX);
}

// ---- 'ppat'

TEST(DiskImageDecoder, FullColourPatternReadsItsTableInOrder)
{
    ByteBuilder b;
    b.Short(1).Long(28).Long(0).Fill(18, 0); // type, pixel map offset, pixel data offset (patched)
    // pixel map at 28
    b.Long(0).Short(0x8000 | 1).Rect(0, 0, 2, 4);
    b.Fill(18, 0).Short(2).Fill(8, 0).Long(0); // pixel size 2; table offset patched
    const size_t table = b.Size();
    b.Long(0).Short(0).Short(2); // three entries, values ignored
    b.Short(9).Short(0xFF00).Short(0).Short(0);
    b.Short(9).Short(0).Short(0xFF00).Short(0);
    b.Short(9).Short(0).Short(0).Short(0xFF00);
    const size_t data = b.Size();
    b.Byte(0x1B).Byte(0xE4); // 0 1 2 3 / 3 2 1 0
    b.PatchShort(28 + 4 + 2 + 8 + 18 + 2 + 8 + 2, int(table));
    b.PatchShort(2 + 4 + 2, int(data));
    const Pixels p = decode("ppat", b);
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(FWRect(0, 0, 4, 2), p.rect);
    EXPECT_EQ(MakeColor32(255, 255, 0, 0), p.At(0, 0));
    EXPECT_EQ(MakeColor32(255, 0, 255, 0), p.At(1, 0));
    EXPECT_EQ(MakeColor32(255, 0, 0, 255), p.At(2, 0));
    EXPECT_EQ(kBlack, p.At(3, 0)); // index 3 is not listed
    EXPECT_EQ(kBlack, p.At(0, 1));
    EXPECT_EQ(MakeColor32(255, 255, 0, 0), p.At(3, 1));

    ByteBuilder badOffset = b;
    badOffset.PatchShort(2 + 4 + 2, 0x7FFF);
    EXPECT_THROW(decode("ppat", badOffset), DiskImageAllocateFailureX);
}

TEST(DiskImageDecoder, RgbAndOldPatternsAreEightByEight)
{
    ByteBuilder rgbPattern;
    rgbPattern.Short(2).Fill(14, 0).Short(0x10FF).Short(0x2000).Short(0x30AA);
    const Pixels colour = decode("ppat", rgbPattern);
    ASSERT_TRUE(colour.Valid());
    EXPECT_EQ(FWRect(0, 0, 8, 8), colour.rect);
    EXPECT_EQ(MakeColor32(255, 0x10, 0x20, 0x30), colour.At(7, 7));

    ByteBuilder old;
    old.Short(0).Fill(14, 0).Bytes({0x80, 0x01, 0, 0, 0, 0, 0, 0xFF});
    const Pixels bits = decode("ppat", old);
    ASSERT_TRUE(bits.Valid());
    EXPECT_EQ(kBlack, bits.At(0, 0));
    EXPECT_EQ(kWhite, bits.At(1, 0));
    EXPECT_EQ(kBlack, bits.At(7, 1));
    EXPECT_EQ(kBlack, bits.At(3, 7));
    EXPECT_EQ(kWhite, bits.At(3, 6));

    ByteBuilder unknown;
    unknown.Short(3).Fill(40, 0);
    EXPECT_FALSE(decode("ppat", unknown).Valid());
}

TEST(DiskImageDecoder, UnknownTypesDecodeNothing)
{
    ByteBuilder b;
    b.Fill(64, 0);
    EXPECT_FALSE(decode("TEXT", b).Valid());
    EXPECT_FALSE(DiskImageDecoder::DecodesType(FOUR_CHAR_CODE("TEXT")));
    EXPECT_TRUE(DiskImageDecoder::DecodesType(FOUR_CHAR_CODE("QZPV")));
}

TEST(DiskImageDecoder, PackBitsRunsStayInsideBothBuffers)
{
    // Literal of 3, repeat of 4.
    const uint8_t packed[] = {0x02, 1, 2, 3, 0xFD, 9};
    uint8_t out[16] = {};
    EXPECT_EQ(7u, DiskImageDecoder::UnpackBits(packed, sizeof packed, out, sizeof out, 1));
    const uint8_t expected[] = {1, 2, 3, 9, 9, 9, 9};
    EXPECT_EQ(0, memcmp(expected, out, sizeof expected));

    // The output ends in the middle of a run: cut (the sanitizer sees any write past it).
    uint8_t small[5] = {};
    EXPECT_EQ(5u, DiskImageDecoder::UnpackBits(packed, sizeof packed, small, sizeof small, 1));

    // A literal run promising more bytes than the input holds stops at its end.
    const uint8_t truncated[] = {0x7F, 1, 2};
    EXPECT_EQ(2u, DiskImageDecoder::UnpackBits(truncated, sizeof truncated, out, sizeof out, 1));

    // 16-bit units: a repeat of two 2-byte values.
    const uint8_t wide[] = {0xFF, 0x12, 0x34, 0x00, 0xAB, 0xCD};
    EXPECT_EQ(6u, DiskImageDecoder::UnpackBits(wide, sizeof wide, out, sizeof out, 2));
    const uint8_t wideExpected[] = {0x12, 0x34, 0x12, 0x34, 0xAB, 0xCD};
    EXPECT_EQ(0, memcmp(wideExpected, out, sizeof wideExpected));
}

TEST(DiskImageDecoder, TheNamedReadersDecodeTheirTypesAndTheFirstIconReaderBuildsTheTables)
{
    // As before any reader ran.
    DiskImage::gIconCTsValid = false;
    std::fill(std::begin(DiskImage::g8BitColorTable), std::end(DiskImage::g8BitColorTable), FWRgb32());
    std::fill(std::begin(DiskImage::g4BitColorTable), std::end(DiskImage::g4BitColorTable), FWRgb32());
    // 1-bit icons: the top-left pixel set, the whole mask set.
    using Reader = Pixels (*)(const uint8_t*, size_t);
    const struct {
        Reader read;
        int size;
        int rowBytes;
    } oneBit[] = {{DiskImageDecoder::ReadICN, 32, 4}, {DiskImageDecoder::Readics, 16, 2}, {DiskImageDecoder::Readicm, 12, 2}};
    for (const auto& c : oneBit) {
        std::vector<uint8_t> bytes(size_t(2 * c.size * c.rowBytes), 0);
        bytes[0] = 0x80;
        std::fill(bytes.begin() + c.size * c.rowBytes, bytes.end(), 0xFF);
        const Pixels pixels = c.read(bytes.data(), bytes.size());
        ASSERT_EQ(c.size, pixels.width);
        EXPECT_EQ(kBlack, pixels.At(0, 0));
        EXPECT_EQ(kWhite, pixels.At(1, 0));
    }
    EXPECT_TRUE(DiskImage::gIconCTsValid);
    EXPECT_EQ(DiskImage::g4BitColorTable, DiskImageDecoder::Get4BitColorTable());
    EXPECT_EQ(DiskImage::g8BitColorTable, DiskImageDecoder::Get8BitColorTable());

    // Colour icons: index 1 everywhere (16-colour (252, 243, 5); 256-colour (255, 255, 204)).
    using MaskedReader = Pixels (*)(const uint8_t*, size_t, const std::vector<uint8_t>*);
    const struct {
        MaskedReader read;
        int size;
        size_t bytes;
        uint8_t fill;
        uint32_t colour;
    } colour[] = {
        {DiskImageDecoder::Readicl4, 32, 512, 0x11, MakeColor32(255, 252, 243, 5)},
        {DiskImageDecoder::Readicl8, 32, 1024, 0x01, MakeColor32(255, 255, 255, 204)},
        {DiskImageDecoder::Readics4, 16, 128, 0x11, MakeColor32(255, 252, 243, 5)},
        {DiskImageDecoder::Readics8, 16, 256, 0x01, MakeColor32(255, 255, 255, 204)},
        {DiskImageDecoder::Readicm4, 12, 72, 0x11, MakeColor32(255, 252, 243, 5)},
        {DiskImageDecoder::Readicm8, 12, 144, 0x01, MakeColor32(255, 255, 255, 204)},
    };
    for (const auto& c : colour) {
        const std::vector<uint8_t> bytes(c.bytes, c.fill);
        const Pixels pixels = c.read(bytes.data(), bytes.size(), nullptr);
        ASSERT_EQ(c.size, pixels.width);
        EXPECT_EQ(c.colour, pixels.At(c.size - 1, c.size - 1));
    }

    // 'argb': one pixel shown twice.
    ByteBuilder argb;
    argb.Long(2).Long(1).Bytes({1, 0x80, 10, 20, 30});
    const Pixels packed = DiskImageDecoder::Read32Bit(argb.Data().data(), argb.Size());
    ASSERT_EQ(2, packed.width);
    EXPECT_EQ(MakeColor32(0x80, 10, 20, 30), packed.At(1, 0));
    for (Reader read : {DiskImageDecoder::Readcicn, DiskImageDecoder::Readppat, DiskImageDecoder::ReadPICT})
        EXPECT_THROW(read(argb.Data().data(), 3), DiskImageAllocateFailureX);
}
