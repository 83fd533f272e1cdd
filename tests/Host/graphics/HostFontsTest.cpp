// Text: measuring, drawing, truncation and line breaking through the port calls, and the Mac
// Roman tables.
#include "HostMacRoman.h"
#include "HostTestWorld.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Ink {
    int left = INT32_MAX;
    int right = INT32_MIN; // one past the last inked column
    int top = INT32_MAX;
    int bottom = INT32_MIN;
    bool Any() const { return left < right; }
};

// The extent of everything that is not white.
Ink inkOf(const HostTestWorld& world)
{
    Ink ink;
    const HostPixelMap& p = world.Pixels();
    for (int32_t y = 0; y < p.Height(); ++y) {
        for (int32_t x = 0; x < p.Width(); ++x) {
            if (p.Get(x, y) == kTestWhite)
                continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x + 1);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    }
    return ink;
}

void setFont(int16_t font, int16_t size, int face)
{
    TextFont(font);
    TextSize(size);
    TextFace(int16_t(face));
}

} // namespace

TEST(HostFonts, DejaVuFontsAreFoundAndMetricsFitTheSize)
{
    ASSERT_TRUE(HostFonts::Instance().Available());
    HostTestWorld world(Rect{0, 0, 10, 10});
    for (int16_t size : {9, 12, 24}) {
        setFont(3, size, 0);
        FontInfo info;
        GetFontInfo(&info);
        EXPECT_GT(info.ascent, size * 2 / 3) << size;
        EXPECT_GT(info.descent, 0) << size;
        EXPECT_LE(info.ascent + info.descent, size * 3 / 2 + 1) << size;
        EXPECT_GE(info.leading, 0);
        EXPECT_GT(info.widMax, size / 2);
    }
    // Size 0 is 12 points; measuring needs no window, only a current world.
    const unsigned char hello[] = {5, 'H', 'e', 'l', 'l', 'o'};
    setFont(3, 0, 0);
    int16_t w0 = StringWidth(hello);
    EXPECT_GT(w0, 0);
    setFont(3, 12, 0);
    EXPECT_EQ(w0, StringWidth(hello));
}

TEST(HostFonts, WidthsAddUpByteByByte)
{
    HostTestWorld world(Rect{0, 0, 10, 10});
    const char* text = "The quick brown fox, 3.5 l\x8A" "ngen!";
    for (int face : {0, +kHostFaceBold, +kHostFaceItalic, +kHostFaceOutline, +kHostFaceShadow, +kHostFaceCondense}) {
        setFont(3, 10, face);
        int16_t whole = TextWidth(text, 0, int16_t(std::strlen(text)));
        int sum = 0;
        for (size_t i = 0; i < std::strlen(text); ++i)
            sum += TextWidth(text, int16_t(i), 1);
        EXPECT_EQ(whole, sum) << "face " << face;
        EXPECT_GT(whole, 0);
    }
    setFont(3, 10, 0);
    int16_t plain = TextWidth("Hello", 0, 5);
    setFont(3, 10, kHostFaceBold);
    EXPECT_GT(TextWidth("Hello", 0, 5), plain);
    setFont(3, 10, kHostFaceCondense);
    EXPECT_LT(TextWidth("Hello", 0, 5), plain);
    // Control bytes take no room.
    EXPECT_EQ(0, TextWidth("\t\r\n\x7F", 0, 4));
    EXPECT_EQ(0, TextWidth("abc", 0, 0));
    EXPECT_EQ(0, TextWidth(nullptr, 0, 3));
}

TEST(HostFonts, InkStaysWithinTheMeasuredWidth)
{
    const char* samples[] = {"Hamburgefonstiv", "Wj", "fyi", "OK", "\x81\x8E\xA7\xC9"};
    for (int16_t font : {0, 2, 3, 4}) {
        for (int16_t size : {9, 12, 18}) {
            for (int face : {0, +kHostFaceBold, +kHostFaceItalic, +kHostFaceUnderline, +kHostFaceOutline,
                             +kHostFaceShadow, +kHostFaceCondense, kHostFaceBold | kHostFaceItalic}) {
                for (const char* sample : samples) {
                    HostTestWorld world(Rect{0, 0, 60, 300});
                    world.Fill(kTestWhite);
                    setFont(font, size, face);
                    int16_t n = int16_t(std::strlen(sample));
                    int16_t width = TextWidth(sample, 0, n);
                    MoveTo(20, 40);
                    DrawText(sample, 0, n);
                    Point pen;
                    GetPen(&pen);
                    EXPECT_EQ(20 + width, pen.h);
                    Ink ink = inkOf(world);
                    ASSERT_TRUE(ink.Any());
                    SCOPED_TRACE(std::string(sample) + " font " + std::to_string(font) + " size " +
                                 std::to_string(size) + " face " + std::to_string(face));
                    EXPECT_GE(ink.left, 20);
                    EXPECT_LE(ink.right, 20 + width);
                    FontInfo info;
                    GetFontInfo(&info);
                    EXPECT_GE(ink.top, 40 - info.ascent - 1);
                    EXPECT_LE(ink.bottom, 40 + info.descent + 1);
                }
            }
        }
    }
}

TEST(HostFonts, TextModesDrawInkOnTheirOwnTerms)
{
    HostTestWorld world(Rect{0, 0, 30, 120});
    world.Fill(HostArgb(255, 0, 0, 200));
    std::vector<uint32_t> before = world.Snapshot();
    setFont(3, 14, kHostFaceBold);
    TextMode(kModeXor);
    MoveTo(5, 20);
    DrawText("Xor twice", 0, 9);
    EXPECT_NE(before, world.Snapshot());
    MoveTo(5, 20);
    DrawText("Xor twice", 0, 9);
    EXPECT_EQ(before, world.Snapshot());

    // Copy mode first fills the text's box with the back colour.
    RGBBackColor(&kRGBWhite);
    RGBForeColor(&kRGBBlack);
    TextMode(kModeCopy);
    MoveTo(5, 20);
    DrawText("  ", 0, 2);
    FontInfo info;
    GetFontInfo(&info);
    EXPECT_EQ(kTestWhite, world.At(5, 20 - info.ascent));
    EXPECT_EQ(kTestWhite, world.At(5, 20 + info.descent - 1));
    EXPECT_EQ(before[0], world.At(5, 20 + info.descent));
}

TEST(HostFonts, ShallowWorldsHoldText)
{
    for (int16_t depth : {1, 8}) {
        HostTestWorld world(Rect{0, 0, 20, 60}, depth);
        RGBBackColor(&kRGBWhite);
        Rect all{0, 0, 20, 60};
        EraseRect(&all);
        setFont(3, 12, kHostFaceBold);
        MoveTo(2, 14);
        DrawText("Ink", 0, 3);
        int dark = 0;
        for (uint32_t p : world.Snapshot())
            dark += HostGreyLevel(p) < 64 ? 1 : 0;
        EXPECT_GT(dark, 20) << "depth " << depth;
    }
}

TEST(HostFonts, TruncationWithAnEllipsisFitsTheWidth)
{
    HostTestWorld world(Rect{0, 0, 10, 10});
    setFont(3, 9, 0);
    const std::string text = "Interface Items and more words";
    int16_t full = TextWidth(text.data(), 0, int16_t(text.size()));
    int16_t ellipsis = TextWidth("\xC9", 0, 1);
    for (int16_t width : {int16_t(full + 5), full, int16_t(full - 1), int16_t(60), int16_t(ellipsis + 1), ellipsis,
                          int16_t(ellipsis - 1), int16_t(0), int16_t(-4)}) {
        std::string buffer = text;
        int16_t length = int16_t(buffer.size());
        int16_t result = TruncText(width, buffer.data(), &length);
        SCOPED_TRACE(width);
        if (width >= full) {
            EXPECT_EQ(0, result);
            EXPECT_EQ(int16_t(text.size()), length);
            continue;
        }
        EXPECT_EQ(1, result);
        EXPECT_LE(TextWidth(buffer.data(), 0, length), std::max<int16_t>(width, 0));
        if (width < ellipsis) {
            EXPECT_EQ(0, length);
            continue;
        }
        ASSERT_GT(length, 0);
        EXPECT_EQ('\xC9', buffer[size_t(length - 1)]);
        EXPECT_EQ(text.substr(0, size_t(length - 1)), buffer.substr(0, size_t(length - 1)));
        // One more character would not have fitted.
        int16_t more = TextWidth(text.data(), 0, length) + ellipsis;
        EXPECT_GT(more, width);
    }
    int16_t length = 3;
    EXPECT_EQ(paramErr, TruncText(10, nullptr, &length));
}

TEST(HostFonts, LinesBreakAtSpacesAndFitTheWidth)
{
    HostTestWorld world(Rect{0, 0, 10, 10});
    setFont(3, 9, 0);
    const std::string text = "Word wrapped text keeps whole words where it can: supercalifragilistic\rnext";
    const size_t longWord = text.find("super");
    const size_t longWordEnd = text.find('\r');
    const int32_t width = 50;
    std::vector<std::string> lines;
    int32_t start = 0;
    while (start < int32_t(text.size())) {
        int32_t end = StyledLineBreak(text.data(), int32_t(text.size()), start, width);
        ASSERT_GT(end, start);
        std::string line = text.substr(size_t(start), size_t(end - start));
        int32_t visible = VisibleLength(line.data(), int32_t(line.size()));
        lines.push_back(line.substr(0, size_t(visible)));
        SCOPED_TRACE(line);
        if (visible > 1) { // a word wider than the line is cut, one character at least
            EXPECT_LE(TextWidth(line.data(), 0, int16_t(visible)), width);
        }
        bool insideLongWord = size_t(end) > longWord && size_t(end) < longWordEnd;
        if (!insideLongWord && size_t(end) < text.size()) {
            char last = text[size_t(end - 1)];
            EXPECT_TRUE(last == ' ' || last == '\r'); // broken after a space or at the line end
        }
        start = end;
    }
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ("Word", lines[0].substr(0, 4));
    EXPECT_EQ("next", lines.back());
    // A zero width still moves on by one character.
    EXPECT_EQ(1, StyledLineBreak("abc", 3, 0, 0));
    EXPECT_EQ(3, StyledLineBreak("abc", 3, 5, 100));
    EXPECT_EQ(2, VisibleLength("ab \t\r", 5));
}

TEST(HostFonts, MacRomanMapsToUnicodeAndBack)
{
    EXPECT_EQ(U'A', HostMacRomanToUnicode('A'));
    EXPECT_EQ(U'\u00C4', HostMacRomanToUnicode(0x80));
    EXPECT_EQ(U'\u2026', HostMacRomanToUnicode(0xC9));
    EXPECT_EQ(U'\u00A0', HostMacRomanToUnicode(0xCA));
    EXPECT_EQ(U'\u20AC', HostMacRomanToUnicode(0xDB));
    EXPECT_EQ(U'\u2019', HostMacRomanToUnicode(0xD5));
    EXPECT_EQ(U'\u02C7', HostMacRomanToUnicode(0xFF));
    for (int byte = 0; byte < 256; ++byte) {
        uint8_t back = 0;
        ASSERT_TRUE(HostUnicodeToMacRoman(HostMacRomanToUnicode(uint8_t(byte)), &back)) << byte;
        EXPECT_EQ(byte, back);
    }
    uint8_t byte = 0;
    EXPECT_FALSE(HostUnicodeToMacRoman(U'\u4E2D', &byte));
    EXPECT_FALSE(HostUnicodeToMacRoman(U'\U0001F600', &byte));
    EXPECT_FALSE(HostUnicodeToMacRoman(U'\u00A4', &byte));
    EXPECT_FALSE(HostUnicodeToMacRoman(U'a', nullptr));
}
