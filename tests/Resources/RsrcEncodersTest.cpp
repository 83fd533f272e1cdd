#include "ArgbEncoder.h"
#include "CursorEncoder.h"
#include "DiskImageDecoder.h"
#include "MacRomanText.h"
#include "MenuEncoder.h"
#include "PackBits.h"
#include "PictEncoder.h"
#include "RsrcError.h"

#include "PixelFixtures.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kArgb = FOUR_CHAR_CODE("argb");
constexpr uint32_t kPict = FOUR_CHAR_CODE("PICT");

using Bytes = std::vector<uint8_t>;

uint16_t word16(const Bytes& b, size_t at)
{
    return uint16_t(b.at(at) << 8 | b.at(at + 1));
}

uint32_t word32(const Bytes& b, size_t at)
{
    return uint32_t(word16(b, at)) << 16 | word16(b, at + 2);
}

std::vector<uint32_t> decode(uint32_t type, const Bytes& bytes)
{
    DiskImageDecoder::Pixels pixels = DiskImageDecoder::Decode(type, bytes.data(), bytes.size(), nullptr);
    return pixels.words;
}

// Run coding: exact bytes for the boundaries of both kinds of run.
TEST(ArgbEncoder, RunsAreCodedAtTheirBoundaries)
{
    const uint32_t a = 0xFF102030;
    const uint32_t b = 0x80405060;
    struct Case {
        const char* what;
        int32_t width;
        std::vector<uint32_t> words;
        Bytes runs;
    };
    const std::vector<Case> cases = {
        {"a pair repeats", 3, {a, a, b}, {0x01, 0xFF, 0x10, 0x20, 0x30, 0x80, 0x80, 0x40, 0x50, 0x60}},
        {"singles stay literal", 2, {a, b}, {0x81, 0xFF, 0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60}},
        {"128 equal pixels are one run", 128, std::vector<uint32_t>(128, b), {0x7F, 0x80, 0x40, 0x50, 0x60}},
        {"129 equal pixels end with a single", 129, std::vector<uint32_t>(129, b),
         {0x7F, 0x80, 0x40, 0x50, 0x60, 0x80, 0x80, 0x40, 0x50, 0x60}},
    };
    for (const Case& c : cases) {
        Bytes bytes = ArgbEncoder::Encode(c.width, 1, c.words);
        Bytes expected = {0, 0, 0, uint8_t(c.width), 0, 0, 0, 1};
        expected.insert(expected.end(), c.runs.begin(), c.runs.end());
        EXPECT_EQ(expected, bytes) << c.what;
    }
}

TEST(ArgbEncoder, LiteralRunsHoldAtMost128Pixels)
{
    std::vector<uint32_t> words;
    for (uint32_t i = 0; i < 130; ++i)
        words.push_back(0xFF000000u | i);
    Bytes bytes = ArgbEncoder::Encode(130, 1, words);
    ASSERT_EQ(size_t(8 + 1 + 128 * 4 + 1 + 2 * 4), bytes.size());
    EXPECT_EQ(0xFF, bytes[8]);
    EXPECT_EQ(0x81, bytes[8 + 1 + 128 * 4]);
    EXPECT_EQ(words, decode(kArgb, bytes));
}

TEST(ArgbEncoder, RoundTripsThroughTheDecoderExactly)
{
    const struct {
        int32_t width, height;
        int colours;
    } sizes[] = {{1, 1, 1}, {1, 300, 2}, {300, 1, 3}, {17, 13, 2}, {64, 64, 5}, {200, 150, 40}};
    unsigned seed = 1;
    for (const auto& s : sizes) {
        std::vector<uint32_t> words = PatternWords(size_t(s.width) * size_t(s.height), seed++, s.colours, false);
        Bytes bytes = ArgbEncoder::Encode(PixelsOf(s.width, s.height, words));
        DiskImageDecoder::Pixels decoded = DiskImageDecoder::Decode(kArgb, bytes.data(), bytes.size(), nullptr);
        EXPECT_EQ(s.width, decoded.width);
        EXPECT_EQ(s.height, decoded.height);
        EXPECT_EQ(words, decoded.words) << s.width << " x " << s.height;
    }
}

TEST(ArgbEncoder, RefusesWhatItCannotStore)
{
    EXPECT_THROW(ArgbEncoder::Encode(HostPixelMap()), RsrcError);
    EXPECT_THROW(ArgbEncoder::Encode(2, 2, {1, 2, 3}), RsrcError);
    EXPECT_THROW(ArgbEncoder::Encode(0, 1, {}), RsrcError);
}

TEST(PackBits, PacksRunsAndLiterals)
{
    const struct {
        Bytes in;
        Bytes out;
    } cases[] = {
        {{7}, {0x00, 7}},
        {{7, 7}, {0xFF, 7}},
        {{7, 7, 7, 1, 2}, {0xFE, 7, 0x01, 1, 2}},
        {{1, 2, 2, 3}, {0x03, 1, 2, 2, 3}},
        {Bytes(128, 9), {0x81, 9}},
        {Bytes(130, 9), {0x81, 9, 0xFF, 9}},
    };
    for (const auto& c : cases) {
        Bytes out;
        PackBits::Pack(c.in.data(), c.in.size(), out);
        EXPECT_EQ(c.out, out);
    }
}

TEST(PackBits, UnpacksToWhatWasPacked)
{
    std::mt19937 random(7);
    for (size_t length : {1, 2, 3, 127, 128, 129, 500, 4096}) {
        Bytes in(length);
        for (size_t i = 0; i < length; ++i)
            in[i] = uint8_t(random() % 3 == 0 ? random() : (i > 0 ? in[i - 1] : 0));
        Bytes packed;
        PackBits::Pack(in.data(), in.size(), packed);
        EXPECT_LE(packed.size(), length + (length + 127) / 128);
        Bytes out(length);
        EXPECT_EQ(length, DiskImageDecoder::UnpackBits(packed.data(), packed.size(), out.data(), out.size(), 1));
        EXPECT_EQ(in, out) << length;
    }
}

TEST(PictEncoder, WritesAVersion2PictureWithOneDirectBitsCopy)
{
    std::vector<uint32_t> words = PatternWords(20 * 10, 3, 4, true);
    Bytes pict = PictEncoder::Encode(PixelsOf(20, 10, words));

    EXPECT_EQ(pict.size() & 0xFFFF, word16(pict, 0));
    EXPECT_EQ(0u, pict.size() % 2);
    const Bytes frameAndVersion = {0, 0, 0, 0, 0, 10, 0, 20, 0x00, 0x11, 0x02, 0xFF, 0x0C, 0x00, 0xFF, 0xFE};
    EXPECT_EQ(frameAndVersion, Bytes(pict.begin() + 2, pict.begin() + 18));
    EXPECT_EQ(0x0001, word16(pict, 40)); // clip region: size 10 and the frame
    EXPECT_EQ(10, word16(pict, 42));
    EXPECT_EQ(0x009A, word16(pict, 52));

    const size_t map = PictEncoder::kPixMapOffset;
    EXPECT_EQ(0x8000 | 80, word16(pict, map));      // row bytes of 20 pixels, pixel-map flag
    EXPECT_EQ(4, word16(pict, map + 12));           // pack type: component planes
    EXPECT_EQ(16, word16(pict, map + 26));          // direct pixels
    EXPECT_EQ(32, word16(pict, map + 28));          // pixel size
    EXPECT_EQ(3, word16(pict, map + 30));           // opaque: red, green, blue
    EXPECT_EQ(0u, word16(pict, map + 62));          // copy mode after both rectangles
    EXPECT_EQ(0x00FF, word16(pict, pict.size() - 2));

    EXPECT_EQ(words, decode(kPict, pict));
}

TEST(PictEncoder, KeepsAlphaInAFourthComponent)
{
    std::vector<uint32_t> words = PatternWords(9 * 9, 4, 6, false);
    Bytes pict = PictEncoder::Encode(PixelsOf(9, 9, words));
    EXPECT_EQ(4, word16(pict, PictEncoder::kPixMapOffset + 30));
    EXPECT_EQ(words, decode(kPict, pict));
}

TEST(PictEncoder, RoundTripsRowsOfEveryForm)
{
    // Width 1 stores raw rows; 62 pixels (248 row bytes) count packed rows in a byte, 63 in a
    // word; a wide image packs long runs.
    const struct {
        int32_t width, height;
        bool opaque;
    } sizes[] = {{1, 1, true}, {1, 7, false}, {2, 3, false}, {62, 5, true}, {63, 5, false}, {700, 4, false}};
    unsigned seed = 20;
    for (const auto& s : sizes) {
        std::vector<uint32_t> words = PatternWords(size_t(s.width) * size_t(s.height), seed++, 3, s.opaque);
        Bytes pict = PictEncoder::Encode(PixelsOf(s.width, s.height, words));
        DiskImageDecoder::Pixels decoded = DiskImageDecoder::Decode(kPict, pict.data(), pict.size(), nullptr);
        EXPECT_EQ(s.width, decoded.width);
        EXPECT_EQ(words, decoded.words) << s.width << " x " << s.height;
    }
    Bytes narrow = PictEncoder::Encode(PixelsOf(1, 1, {0xFF112233}));
    EXPECT_EQ(1, word16(narrow, PictEncoder::kPixMapOffset + 12)); // raw rows
    EXPECT_EQ(0xFF112233u, word32(narrow, PictEncoder::kRowsOffset));
}

TEST(PictEncoder, RefusesWhatItCannotStore)
{
    EXPECT_THROW(PictEncoder::Encode(HostPixelMap()), RsrcError);
    HostPixelMap wide;
    wide.Allocate(Rect{0, 0, 1, int16_t(PictEncoder::kMaxWidth + 1)}, 32);
    EXPECT_THROW(PictEncoder::Encode(wide), RsrcError);
}

// A cursor of black (X) and white (o) pixels and one colour (r); '.' is transparent.
HostPixelMap cursorImage(const std::vector<std::string>& rows)
{
    std::vector<uint32_t> words;
    for (const std::string& row : rows)
        for (char c : row)
            words.push_back(c == 'X' ? 0xFF000000u : c == 'o' ? 0xFFFFFFFFu : c == 'r' ? 0xFFCC0000u : 0u);
    return PixelsOf(16, 16, words);
}

const std::vector<std::string> kCursorRows = {
    "XXXXXXXXXXXXXXXX", "XoooooooooooooX.", "Xor.............", "................",
    "................", "................", "................", "................",
    "................", "................", "................", "................",
    "................", "................", "................", "...............X",
};

TEST(CursorEncoder, WritesThePublishedColourCursorLayout)
{
    Bytes crsr = CursorEncoder::Encode(cursorImage(kCursorRows), Point{3, 5});

    EXPECT_EQ(0x8001, word16(crsr, 0));
    EXPECT_EQ(96u, word32(crsr, 2));
    EXPECT_EQ(146u, word32(crsr, 6));
    EXPECT_EQ(Bytes(10, 0), Bytes(crsr.begin() + 10, crsr.begin() + 20));
    // 1-bit image: dark pixels (the red one too); mask: every opaque pixel.
    EXPECT_EQ(0xFFFF, word16(crsr, 20));
    EXPECT_EQ(0x8002, word16(crsr, 22));
    EXPECT_EQ(0xA000, word16(crsr, 24));
    EXPECT_EQ(0x0001, word16(crsr, 50));
    EXPECT_EQ(0xFFFF, word16(crsr, 52));
    EXPECT_EQ(0xFFFE, word16(crsr, 54));
    EXPECT_EQ(0xE000, word16(crsr, 56));
    EXPECT_EQ(0x0001, word16(crsr, 82));
    EXPECT_EQ(3, word16(crsr, 84)); // hot spot v, h
    EXPECT_EQ(5, word16(crsr, 86));

    // Pixel map: three colours (white, black, red) take 2 bits a pixel.
    EXPECT_EQ(0x8004, word16(crsr, 100));
    EXPECT_EQ(16, word16(crsr, 106)); // bounds bottom
    EXPECT_EQ(16, word16(crsr, 108)); // bounds right
    EXPECT_EQ(2, word16(crsr, 128));  // pixel size
    EXPECT_EQ(1, word16(crsr, 130));  // components
    const uint32_t table = word32(crsr, 138);
    EXPECT_EQ(146u + 16 * 4, table);

    // Row 2 is black, white, red, then transparent (index 0): 01 00 10 00 ...
    EXPECT_EQ(0x48, crsr[146 + 2 * 4]);
    EXPECT_EQ(0x00, crsr[146 + 2 * 4 + 1]);

    EXPECT_EQ(2, word16(crsr, table + 6)); // three entries
    const Bytes entries = {0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0xCC, 0xCC, 0, 0, 0, 0};
    EXPECT_EQ(entries, Bytes(crsr.begin() + table + 8, crsr.end()));
}

TEST(CursorEncoder, ChoosesThePixelSizeByTheColours)
{
    for (int colours : {3, 4, 15, 16, 200}) {
        std::vector<uint32_t> words(256, 0);
        for (int i = 0; i < colours; ++i)
            words[size_t(i)] = 0xFF000000u | uint32_t(i + 1);
        Bytes crsr = CursorEncoder::Encode(PixelsOf(16, 16, words), Point{0, 0});
        const int pixelSize = colours + 1 <= 4 ? 2 : colours + 1 <= 16 ? 4 : 8;
        EXPECT_EQ(pixelSize, word16(crsr, 128)) << colours;
        EXPECT_EQ(146u + 16 * 2 * pixelSize, word32(crsr, 138));
        EXPECT_EQ(146u + 16 * 2 * pixelSize + 8 + 8 * (colours + 1), crsr.size());
    }
}

TEST(CursorEncoder, RefusesWhatACursorCannotShow)
{
    EXPECT_THROW(CursorEncoder::Encode(PixelsOf(8, 8, std::vector<uint32_t>(64, 0)), Point{0, 0}), RsrcError);
    EXPECT_THROW(CursorEncoder::Encode(cursorImage(kCursorRows), Point{16, 0}), RsrcError);
    EXPECT_THROW(CursorEncoder::Encode(cursorImage(kCursorRows), Point{0, -1}), RsrcError);
    std::vector<uint32_t> halfClear(256, 0);
    halfClear[5] = 0x80FFFFFF;
    EXPECT_THROW(CursorEncoder::Encode(PixelsOf(16, 16, halfClear), Point{0, 0}), RsrcError);
    std::vector<uint32_t> manyColours(256);
    for (uint32_t i = 0; i < 256; ++i)
        manyColours[i] = 0xFF000000u | (i + 1);
    EXPECT_THROW(CursorEncoder::Encode(PixelsOf(16, 16, manyColours), Point{0, 0}), RsrcError);
}

TEST(MenuEncoder, WritesThePublishedMenuBarAndMenuLayouts)
{
    EXPECT_EQ(Bytes({0, 2, 0, 128, 0, 129}), MenuEncoder::EncodeMenuBar({128, 129}));

    MenuEncoder::Menu menu;
    menu.id = 128;
    menu.title = "Qf";
    menu.items = {"About Qf...", "-", "Go"};
    Bytes expected = {0, 128, 0, 0, 0, 0, 0, 0, 0, 0,
                      0, 0, 0, 0x0B, // enabled: the menu, items 1 and 3
                      2, 'Q', 'f',
                      11, 'A', 'b', 'o', 'u', 't', ' ', 'Q', 'f', '.', '.', '.', 0, 0, 0, 0,
                      2, '(', '-', 0, 0, 0, 0,
                      2, 'G', 'o', 0, 0, 0, 0,
                      0};
    EXPECT_EQ(expected, MenuEncoder::EncodeMenu(menu));
}

TEST(MenuEncoder, ReadsItsSources)
{
    EXPECT_EQ(std::vector<int16_t>({128, 130, -2}), MenuEncoder::ParseMenuBar("# bar\r128 130\r-2"));
    EXPECT_THROW(MenuEncoder::ParseMenuBar("128 x"), RsrcError);
    EXPECT_THROW(MenuEncoder::ParseMenuBar("40000"), RsrcError);
    EXPECT_THROW(MenuEncoder::ParseMenuBar("# nothing"), RsrcError);

    MenuEncoder::Menu menu = MenuEncoder::ParseMenu(128, "Title\r\rOne\r# not an item\r-");
    EXPECT_EQ("Title", menu.title);
    EXPECT_EQ(std::vector<std::string>({"One", "-"}), menu.items);
    EXPECT_THROW(MenuEncoder::ParseMenu(128, ""), RsrcError);

    std::string many = "Title";
    for (int i = 0; i < 32; ++i)
        many += "\rItem";
    EXPECT_THROW(MenuEncoder::ParseMenu(128, many), RsrcError);
    MenuEncoder::Menu longTitle;
    longTitle.title = std::string(256, 'x');
    EXPECT_THROW(MenuEncoder::EncodeMenu(longTitle), RsrcError);
}

TEST(MacRomanText, ConvertsUTF8AndLineBreaks)
{
    EXPECT_EQ("caf\x8E\rnext", MacRomanText::FromUTF8("caf\xC3\xA9\nnext"));
    EXPECT_EQ("\xC9", MacRomanText::FromUTF8("\xE2\x80\xA6")); // the ellipsis
    EXPECT_THROW(MacRomanText::FromUTF8("\xC3"), RsrcError);             // cut short
    EXPECT_THROW(MacRomanText::FromUTF8("\xC0\xAF"), RsrcError);         // overlong
    EXPECT_THROW(MacRomanText::FromUTF8("\xED\xA0\x80"), RsrcError);     // a surrogate
    EXPECT_THROW(MacRomanText::FromUTF8("\xE4\xB8\x80"), RsrcError);     // not in Mac Roman
    EXPECT_EQ(std::string("\x03" "abc"), MacRomanText::Pascal("abc"));
    EXPECT_EQ(256u, MacRomanText::Pascal(std::string(255, 'a')).size());
    EXPECT_THROW(MacRomanText::Pascal(std::string(256, 'a')), RsrcError);
}

} // namespace
