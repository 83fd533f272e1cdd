#include "FWDrawContext.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"
#include "HostScreen.h"
#include "SlicePainters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

uint32_t pixelAt(const ImageBuffer& image, int x, int y)
{
    return reinterpret_cast<const uint32_t*>(image.BaseAddr() + y * image.RowBytes())[x];
}

// The first and the last column of a row painter over a 256-wide ramp.
uint32_t paint(CSlicePainter& painter, int x)
{
    uint32_t pixel = 0xDEADBEEF;
    painter.ComputeColor(int16_t(x), 3, 255, 9, pixel);
    return pixel;
}

// Counts the calls and paints the position into the pixel.
class CountingPainter : public CSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t, int16_t, uint32_t& pixel) override
    {
        ++calls;
        pixel = MakeColor32(0, 0, uint32_t(y), uint32_t(x));
    }
    int calls = 0;
};

TEST(SlicePaintersTest, RowPaintersRampTheirChannelOverTheReference)
{
    // (100, 150, 200) is cmyk (127, 63, 0, 55), hsv (149, 127, 200) and hwb (149, 100, 55).
    const FWArgb32 reference(255, 100, 150, 200);
    CRedRowPainter red;
    CGreenRowPainter green;
    CBlueRowPainter blue;
    CGrayRowPainter gray;
    CHueRowPainter hue;
    CSaturationRowPainter saturation;
    CValueRowPainter value;
    CCyanRowPainter cyan;
    CBlackRowPainter black;
    CWhitenessRowPainter whiteness;
    CBlacknessRowPainter blackness;
    struct Case {
        CRGBSlicePainter* painter;
        uint32_t left, right;
    };
    const Case cases[] = {
        {&red, 0xFF0096C8, 0xFFFF96C8},
        {&green, 0xFF6400C8, 0xFF64FFC8},
        {&blue, 0xFF649600, 0xFF6496FF},
        {&gray, 0x00000000, 0x00FFFFFF},
        {&hue, 0x00FF0000, 0x00FF0000},
        {&saturation, 0x00C8C8C8, 0x000062C8}, // s 255: sector 3, f 129, p 0, q 98
        {&value, 0x00000000, 0x0080BEFF},
        {&cyan, 0x00C897C8, 0x000097C8}, // k 55 keeps 55 off every channel
        {&black, 0x0080C0FF, 0x00000000},
        {&whiteness, 0x000062C8, 0x00C8C8C8}, // w 255 > v 200: grey
        {&blackness, 0x0064B0FF, 0x00000000}, // w 100 > v 0: black
    };
    for (const auto& c : cases) {
        c.painter->SetReferenceRGB(reference);
        EXPECT_EQ(paint(*c.painter, 0), c.left) << (&c - cases);
        EXPECT_EQ(paint(*c.painter, 255), c.right) << (&c - cases);
    }
    // Setting the model value sets the reference pixel to its RGB with alpha 0, which the RGB
    // channel painters would carry; the model painters use the model value itself.
    saturation.SetReferenceHSV(FWHsv32(0, 0, 128));
    EXPECT_EQ(paint(saturation, 255), 0x00800000u);
}

TEST(SlicePaintersTest, TheIssueExamplesPaintExactly)
{
    CRedRowPainter red;
    red.SetReferenceRGB(FWArgb32(255, 10, 20, 30));
    EXPECT_EQ(paint(red, 0), 0xFF00141Eu);
    EXPECT_EQ(paint(red, 255), 0xFFFF141Eu);

    CSaturationRowPainter saturation;
    saturation.SetReferenceRGB(FWArgb32::Red);
    EXPECT_EQ(paint(saturation, 0), 0x00FFFFFFu);
    EXPECT_EQ(paint(saturation, 255), 0x00FF0000u);

    CGrayRowPainter gray;
    const FWRect wide(0, 0, 256, 2);
    HorizontalColorSlice ramp(&wide, &gray);
    ASSERT_TRUE(ramp.ComputeSliceImage());
    for (int x = 0; x < 256; ++x)
        ASSERT_EQ(pixelAt(ramp, x, 1), MakeColor32(0, x, x, x)) << x;

    // 100 x 80: limit 69; white on top, black at the limit, the grey ramp below it.
    CHueLightnessGrayPainter plane;
    const FWRect mixer(0, 0, 100, 80);
    ColorSlice slice(&mixer, &plane);
    ASSERT_TRUE(slice.ComputeSliceImage());
    for (int x = 0; x < 100; ++x) {
        EXPECT_EQ(pixelAt(slice, x, 0), 0x00FFFFFFu) << x;
        EXPECT_EQ(pixelAt(slice, x, 69), 0x00000000u) << x;
        const uint32_t n = uint32_t(x * 255 / 99);
        for (int y = 70; y < 80; ++y)
            ASSERT_EQ(pixelAt(slice, x, y), MakeColor32(0, n, n, n)) << x << "," << y;
    }
    // Half-way down the pure hue sits: column 0 is red.
    EXPECT_EQ(pixelAt(slice, 0, 34) & 0xFF0000u, 0xFF0000u);
}

TEST(SlicePaintersTest, SlicesTooSmallToDivideByStillPaint)
{
    // One pixel wide: the ramp is 0 (no division by zero).
    CRedRowPainter red;
    red.SetReferenceRGB(FWArgb32(255, 10, 20, 30));
    const FWRect thin(5, 5, 6, 9);
    HorizontalColorSlice one(&thin, &red);
    ASSERT_TRUE(one.ComputeSliceImage());
    EXPECT_EQ(pixelAt(one, 0, 3), 0xFF00141Eu);

    // Two rows high: limit 0; row 0 white at every hue, row 1 the grey ramp.
    CHueLightnessGrayPainter plane;
    const FWRect flat(0, 0, 3, 2);
    ColorSlice low(&flat, &plane);
    ASSERT_TRUE(low.ComputeSliceImage());
    const uint32_t expected[2][3] = {{0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF}, {0x00000000, 0x007F7F7F, 0x00FFFFFF}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(pixelAt(low, x, y), expected[y][x]) << x << "," << y;
}

TEST(SlicePaintersTest, SlicesAskThePainterAsOftenAsTheirShapeNeeds)
{
    CountingPainter counter;
    const FWRect rect(10, 20, 17, 25); // 7 x 5
    HorizontalColorSlice horizontal(&rect, &counter);
    ASSERT_TRUE(horizontal.ComputeSliceImage());
    EXPECT_EQ(counter.calls, 7);
    EXPECT_EQ(pixelAt(horizontal, 6, 4), 6u);

    counter.calls = 0;
    ColorSlice full(&rect, &counter);
    ASSERT_TRUE(full.ComputeSliceImage());
    EXPECT_EQ(counter.calls, 35);

    // ComputeColor agrees with the painted pixel inside and is 0 outside.
    for (ColorSlice* slice : {static_cast<ColorSlice*>(&horizontal), &full}) {
        uint32_t pixel = 1;
        slice->ComputeColor(6, 4, pixel);
        EXPECT_EQ(pixel, pixelAt(*slice, 6, 4));
        for (auto [x, y] : {std::pair{7, 0}, {0, 5}, {-1, 0}}) {
            pixel = 1;
            slice->ComputeColor(int16_t(x), int16_t(y), pixel);
            EXPECT_EQ(pixel, 0u) << x << "," << y;
        }
    }

    // Without a painter nothing is painted and nothing computed.
    full.SetThePainter(nullptr);
    reinterpret_cast<uint32_t*>(full.BaseAddr())[0] = 0x12345678;
    EXPECT_FALSE(full.ComputeSliceImage());
    EXPECT_EQ(pixelAt(full, 0, 0), 0x12345678u);
    uint32_t pixel = 1;
    full.ComputeColor(0, 0, pixel);
    EXPECT_EQ(pixel, 0u);
}

// Model painters leave alpha 0 in the slice; drawn into a window the ramp still shows.
TEST(SlicePaintersTest, AHueRampDrawnIntoAWindowShowsItsColours)
{
    HostDesktopScope desktop;
    FWWindow window(5);
    ASSERT_TRUE(window.Initialize(nullptr, FWRect(100, 100, 400, 200)));
    window.Show();
    CHueRowPainter hue;
    const FWRect rect(0, 0, 256, 10);
    HorizontalColorSlice ramp(&rect, &hue);
    ASSERT_TRUE(ramp.ComputeSliceImage());
    {
        FWDrawContext context(&window);
        const FWRect at(20, 30, 276, 40);
        context.DrawImage(&ramp, &at, false);
    }
    HostComposeScreen();
    for (int x = 0; x < 256; x += 5) {
        FWPoint where(int16_t(20 + x), 35);
        window.WindowToGlobal(&where);
        ASSERT_EQ(HostDesktopScope::Rgb(HostScreenPixel(Point{where.v, where.h})),
                  HostDesktopScope::Rgb(pixelAt(ramp, x, 5)))
            << x;
    }
}

} // namespace
