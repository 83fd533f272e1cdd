#include "FWAppColor.h"
#include "FWArgb32.h"
#include "FWArgbColor.h"
#include "FWKeyCodes.h"
#include "FWApplicationRegion.h"
#include "FWRgb32.h"

#include <gtest/gtest.h>

TEST(FWArgb32, KeepsLowBytesInAlphaRedGreenBlueOrder)
{
    FWArgb32 c(0x1FF, 1, 2, 0x303);
    EXPECT_EQ(0xFF, c.a);
    EXPECT_EQ(1, c.r);
    EXPECT_EQ(2, c.g);
    EXPECT_EQ(3, c.b);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&c);
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(3, bytes[3]);
    uint32_t word = MakeColor32(0x80, 0x12, 0x34, 0x56);
    EXPECT_EQ(0x80123456u, word);
    EXPECT_EQ(0x80, GetAlpha32(word));
    EXPECT_EQ(0x12, GetRed32(word));
    EXPECT_EQ(0x34, GetGreen32(word));
    EXPECT_EQ(0x56, GetBlue32(word));
}

TEST(FWArgb32, LerpMovesColourChannelsTowardTheTarget)
{
    FWArgb32 c(10, 0, 200, 100);
    c.LerpTo(FWArgb32(255, 255, 0, 100), 1, 2);
    EXPECT_EQ(FWArgb32(10, 127, 100, 100), c); // alpha unchanged; truncated toward zero
    FWArgb32 d(255, 0, 0, 0);
    d.LerpTo(FWArgb32::White, 1, 3);
    EXPECT_EQ(85, d.r);
    FWArgb32 e(255, 255, 255, 255);
    e.LerpTo(FWArgb32(0, 0, 0, 0), 1, 3);
    EXPECT_EQ(170, e.g);

    EXPECT_TRUE(FWArgb32(0, 10, 20, 30).NearEquals(FWArgb32(255, 13, 17, 30), 3));
    EXPECT_FALSE(FWArgb32(0, 10, 20, 30).NearEquals(FWArgb32(0, 14, 20, 30), 3));
}

TEST(FWColor, ConversionsTruncate)
{
    FWArgbColor f;
    f = FWArgb32(255, 0, 51, 255);
    EXPECT_FLOAT_EQ(1.0f, f.a);
    EXPECT_FLOAT_EQ(0.2f, f.g);
    FWArgb32 back(FWArgbColor(1.0f, 0.999f, 0.5f, 0.0f));
    EXPECT_EQ(FWArgb32(255, 254, 127, 0), back);

    FWRgb32 rgb(1, 2, 3);
    FWArgb32 opaque = rgb;
    EXPECT_EQ(FWArgb32(255, 1, 2, 3), opaque);
    rgb = FWArgbColor(0.0f, 0.5f, 0.999f, 1.0f);
    EXPECT_EQ(127, rgb.r);
    EXPECT_EQ(254, rgb.g);
    EXPECT_EQ(255, rgb.b);
    rgb = FWArgbColor(0.0f, 1.5f, -0.1f, 1e30f); // not clamped, and never undefined
    EXPECT_EQ(uint8_t(382), rgb.r);
    EXPECT_EQ(uint8_t(-25), rgb.g);
    EXPECT_EQ(0, rgb.b);
}

TEST(FWColor, NamedGreysRunInOppositeSenses)
{
    EXPECT_EQ(FWArgb32(255, 32, 32, 32), FWArgb32::Gray87);
    EXPECT_EQ(FWArgb32(255, 160, 160, 160), FWArgb32::Gray37);
    EXPECT_EQ(FWArgb32(255, 255, 0, 255), FWArgb32::Magenta);
    EXPECT_EQ(FWArgb32(255, 0, 0, 255), FWArgb32::Blue);
    EXPECT_FLOAT_EQ(0.87f, FWArgbColor::Gray87.r);
    EXPECT_FLOAT_EQ(0.0f, FWArgbColor::Black.a);
    EXPECT_FLOAT_EQ(1.0f, FWArgbColor::SoftRed.a);
    EXPECT_FLOAT_EQ(0.899f, FWArgbColor::SoftRed.b);
}

TEST(FWAppColor, SchemeFillsTheTable)
{
    EXPECT_EQ(FWArgb32(0, 0, 0, 0), FWGetAppColor(0)); // before the scheme is set
    FWSetColorScheme();
    EXPECT_EQ(FWArgb32(255, 204, 204, 204), FWGetAppColor(0));
    EXPECT_EQ(FWArgb32(255, 255, 255, 255), FWGetAppColor(1));
    EXPECT_EQ(FWArgb32(255, 144, 144, 144), FWGetAppColor(10));
    EXPECT_EQ(FWArgb32(255, 255, 255, 102), FWGetAppColor(11));
    EXPECT_EQ(FWArgb32(255, 0, 0, 0), FWGetAppColor(12));
    EXPECT_EQ(FWArgb32(255, 238, 238, 238), FWGetAppColor(14));
    EXPECT_EQ(FWArgb32(255, 17, 17, 17), FWGetAppColor(27));
    EXPECT_EQ(FWArgb32(), FWGetAppColor(28));
    EXPECT_EQ(FWArgb32(), FWGetAppColor(-1));
}

TEST(FWKeyCodes, ArrowsAndNavigation)
{
    for (int c = 0; c < 128; ++c) {
        bool arrow = c >= 28 && c <= 31;
        bool navigation = arrow || c == 1 || c == 4 || c == 11 || c == 12;
        EXPECT_EQ(arrow, FWIsArrowChar(char(c))) << c;
        EXPECT_EQ(navigation, FWIsNavigationChar(char(c))) << c;
    }
    EXPECT_FALSE(FWIsNavigationChar(char(0x9C)));
    EXPECT_EQ(0, FWGetApplicationRegion());
}
