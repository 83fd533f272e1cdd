#include "HostPixels.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(HostPixels, AllocationRefusesBadDepthsAndRectanglesAndBoundsSize)
{
    HostPixelMap map;
    EXPECT_EQ(paramErr, map.Allocate(Rect{0, 0, 10, 10}, 16));
    EXPECT_EQ(paramErr, map.Allocate(Rect{0, 0, 0, 10}, 32));
    EXPECT_EQ(paramErr, map.Allocate(Rect{10, 10, 0, 0}, 32));
    EXPECT_EQ(paramErr, map.Allocate(Rect{0, 0, 10, -5}, 8));
    // 65535 x 65535 pixels is far beyond the cap: refused before any allocation.
    EXPECT_EQ(memFullErr, map.Allocate(Rect{-32768, -32768, 32767, 32767}, 1));
    EXPECT_FALSE(map.Valid());
    EXPECT_EQ(0, map.Get(0, 0));
    map.Set(0, 0, 0xFFFFFFFF); // no store: nothing happens
}

TEST(HostPixels, RowsArePaddedToWordsAndStoresStartZeroed)
{
    struct Case {
        int16_t depth;
        int16_t width;
        int32_t rowBytes;
    };
    for (Case c : {Case{1, 10, 4}, Case{1, 33, 8}, Case{8, 5, 8}, Case{8, 8, 8}, Case{32, 3, 12}}) {
        HostPixelMap map;
        ASSERT_EQ(noErr, map.Allocate(Rect{0, 0, 2, c.width}, c.depth));
        EXPECT_EQ(c.rowBytes, map.RowBytes()) << "depth " << c.depth << " width " << c.width;
        EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(map.BaseAddr()) % 64) << "stores start on a cache line";
        for (int32_t i = 0; i < map.RowBytes() * 2; ++i)
            EXPECT_EQ(0, map.BaseAddr()[i]);
    }
}

TEST(HostPixels, GreyTableRunsFromWhiteAtZeroToBlackAt255)
{
    EXPECT_EQ(HostArgb(255, 255, 255, 255), HostArgbOfGreyIndex(0));
    EXPECT_EQ(HostArgb(255, 0, 0, 0), HostArgbOfGreyIndex(255));
    HostPixelMap map;
    ASSERT_EQ(noErr, map.Allocate(Rect{0, 0, 1, 4}, 8));
    map.Set(0, 0, HostArgb(255, 255, 255, 255));
    map.Set(1, 0, HostArgb(255, 0, 0, 0));
    map.Set(2, 0, HostArgb(255, 128, 128, 128));
    map.Set(3, 0, HostArgb(255, 255, 0, 0)); // pure red is a dark grey
    EXPECT_EQ(0, map.BaseAddr()[0]);
    EXPECT_EQ(255, map.BaseAddr()[1]);
    EXPECT_EQ(127, map.BaseAddr()[2]);
    EXPECT_EQ(255 - 76, map.BaseAddr()[3]);
    // Every grey survives a trip through the table.
    for (int index = 0; index < 256; ++index)
        EXPECT_EQ(index, HostGreyIndexOfLevel(HostGreyLevel(HostArgbOfGreyIndex(uint8_t(index)))));
}

TEST(HostPixels, OneBitPixelsRunFromTheMostSignificantBitAndSetMeansBlack)
{
    HostPixelMap map;
    ASSERT_EQ(noErr, map.Allocate(Rect{0, 0, 1, 10}, 1));
    map.Set(0, 0, HostArgb(255, 0, 0, 0));
    map.Set(9, 0, HostArgb(255, 20, 20, 20));
    map.Set(5, 0, HostArgb(255, 200, 200, 200));
    EXPECT_EQ(0x80, map.BaseAddr()[0]);
    EXPECT_EQ(0x40, map.BaseAddr()[1]);
    EXPECT_TRUE(map.IsMaskSet(9, 0));
    EXPECT_FALSE(map.IsMaskSet(5, 0));
    EXPECT_EQ(HostArgb(255, 0, 0, 0), map.Get(0, 0));
    EXPECT_EQ(HostArgb(255, 255, 255, 255), map.Get(1, 0));
}

TEST(HostPixels, BoundsOriginOffsetsLocalCoordinatesAndOutsideIsIgnored)
{
    HostPixelMap map;
    ASSERT_EQ(noErr, map.Allocate(Rect{10, 20, 12, 23}, 32));
    EXPECT_EQ(3, map.Width());
    EXPECT_EQ(2, map.Height());
    map.SetAt(20, 10, 0x11223344);
    EXPECT_EQ(0x11223344u, map.Get(0, 0));
    EXPECT_EQ(0x11223344u, map.GetAt(20, 10));
    map.SetAt(19, 10, 0xFFFFFFFF);
    map.SetAt(23, 11, 0xFFFFFFFF);
    map.Set(-1, 0, 0xFFFFFFFF);
    map.Set(0, 2, 0xFFFFFFFF);
    EXPECT_EQ(0u, map.GetAt(19, 10));
    EXPECT_EQ(0u, map.Get(0, 2));
}

TEST(HostPixels, ColoursConvertBetweenSixteenAndEightBitChannels)
{
    EXPECT_EQ(HostArgb(255, 0x12, 0xAB, 0xFF), HostArgbOf(RGBColor{0x1234, 0xABCD, 0xFFFF}));
    RGBColor back = HostRGBOf(HostArgb(7, 0x12, 0x80, 0xFF));
    EXPECT_EQ(0x1212, back.red);
    EXPECT_EQ(0x8080, back.green);
    EXPECT_EQ(0xFFFF, back.blue);
}
