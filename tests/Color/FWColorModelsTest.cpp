#include "FWColorModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>

namespace {

using Rgb = std::array<int, 3>;

Rgb hsvToRgb(int h, int s, int v)
{
    uint8_t r = 0, g = 0, b = 0;
    HSVToRGB(uint8_t(h), uint8_t(s), uint8_t(v), r, g, b);
    return {r, g, b};
}

// Textbook HSV in double precision: hue in degrees 0..360, saturation and value 0..1.
void exactHSV(double r, double g, double b, double& h, double& s, double& v)
{
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    v = max;
    s = max > 0 ? (max - min) / max : 0;
    h = 0;
    if (max == min)
        return;
    if (max == r)
        h = 60 * std::fmod((g - b) / (max - min) + 6, 6);
    else if (max == g)
        h = 60 * ((b - r) / (max - min) + 2);
    else
        h = 60 * ((r - g) / (max - min) + 4);
}

int circularDistance(int a, int b, int period)
{
    const int d = std::abs(a - b) % period;
    return std::min(d, period - d);
}

TEST(FWColorModelsTest, ByteFormsGiveTheIntegerRulesResults)
{
    EXPECT_EQ(GetLuminance(255, 255, 255), 255);
    EXPECT_EQ(GetLuminance(255, 0, 0), 76);
    EXPECT_EQ(GetLuminance(0, 255, 0), 149);
    EXPECT_EQ(GetLuminance(0, 0, 255), 28);

    struct HsvCase {
        Rgb rgb;
        Rgb hsv;
    };
    const HsvCase toHsv[] = {
        {{0, 0, 0}, {0, 0, 0}},       {{128, 128, 128}, {0, 0, 128}}, {{255, 0, 0}, {0, 255, 255}},
        {{0, 255, 0}, {85, 255, 255}}, {{0, 0, 255}, {170, 255, 255}},
        {{255, 0, 128}, {235, 255, 255}}, // -21 wraps
        {{255, 255, 0}, {42, 255, 255}},
    };
    for (const auto& c : toHsv) {
        uint8_t h, s, v;
        RGBToHSV(uint8_t(c.rgb[0]), uint8_t(c.rgb[1]), uint8_t(c.rgb[2]), h, s, v);
        EXPECT_EQ((Rgb{h, s, v}), c.hsv) << c.rgb[0] << "," << c.rgb[1] << "," << c.rgb[2];
    }
    EXPECT_EQ(hsvToRgb(255, 255, 255), (Rgb{255, 0, 0}));
    EXPECT_EQ(hsvToRgb(85, 255, 255), (Rgb{0, 255, 0}));
    EXPECT_EQ(hsvToRgb(42, 255, 255), (Rgb{255, 252, 0}));

    uint8_t r, g, b;
    HWBToRGB(17, 200, 100, r, g, b);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{155, 155, 155}));

    struct CmykCase {
        Rgb rgb;
        std::array<int, 4> cmyk;
        Rgb back;
    };
    const CmykCase cmyk[] = {
        {{0, 0, 0}, {0, 0, 0, 255}, {0, 0, 0}},
        {{255, 255, 255}, {0, 0, 0, 0}, {255, 255, 255}},
        {{100, 150, 200}, {127, 63, 0, 55}, {101, 151, 200}},
    };
    for (const auto& c : cmyk) {
        uint8_t cc, m, y, k;
        RGBToCMYK(uint8_t(c.rgb[0]), uint8_t(c.rgb[1]), uint8_t(c.rgb[2]), cc, m, y, k);
        EXPECT_EQ((std::array<int, 4>{cc, m, y, k}), c.cmyk);
        CMYKToRGB(cc, m, y, k, r, g, b);
        EXPECT_EQ((Rgb{r, g, b}), c.back);
    }

    HLToRGB(0, 128, r, g, b);
    EXPECT_EQ((Rgb{r, g, b}), (Rgb{255, 1, 1}));
    for (int hue : {0, 40, 128, 200, 255}) {
        HLToRGB(uint8_t(hue), 255, r, g, b);
        EXPECT_EQ((Rgb{r, g, b}), (Rgb{255, 255, 255})) << hue;
        HLToRGB(uint8_t(hue), 0, r, g, b);
        EXPECT_EQ((Rgb{r, g, b}), (Rgb{0, 0, 0})) << hue;
    }
    // The pure hues at the sector starts.
    const std::pair<int, Rgb> pure[] = {{0, {255, 0, 0}},   {85, {0, 255, 0}},   {170, {0, 0, 255}},
                                        {255, {255, 0, 0}}, {43, {252, 255, 0}}, {128, {0, 252, 255}}};
    for (const auto& [hue, rgb] : pure) {
        HToRGB(uint8_t(hue), r, g, b);
        EXPECT_EQ((Rgb{r, g, b}), rgb) << hue;
    }
}

// Every byte colour (a stride keeps it quick under the sanitizers) against the textbook formula.
TEST(FWColorModelsTest, ByteRoundTripsStayNearTheExactModels)
{
    const int stride = 7;
    for (int word = 0; word < (1 << 24); word += stride) {
        const int r = word >> 16, g = (word >> 8) & 0xFF, b = word & 0xFF;
        const int max = std::max({r, g, b});
        uint8_t h, s, v, rr, gg, bb;
        RGBToHSV(uint8_t(r), uint8_t(g), uint8_t(b), h, s, v);
        double eh, es, ev;
        exactHSV(r, g, b, eh, es, ev);
        ASSERT_EQ(v, max);
        ASSERT_LE(std::abs(s - int(std::floor(255 * es))), 1) << r << "," << g << "," << b;
        if (s != 0) {
            ASSERT_LE(circularDistance(h, int(std::lround(eh * 255 / 360)), 256), 2) << r << "," << g << "," << b;
        }
        HSVToRGB(h, s, v, rr, gg, bb);
        ASSERT_LE(std::max({std::abs(rr - r), std::abs(gg - g), std::abs(bb - b)}), 12) << r << "," << g << "," << b;

        uint8_t w, k;
        RGBToHWB(uint8_t(r), uint8_t(g), uint8_t(b), h, w, k);
        ASSERT_EQ(w, std::min({r, g, b}));
        ASSERT_EQ(k, 255 - max);
        HWBToRGB(h, w, k, rr, gg, bb);
        ASSERT_LE(std::max({std::abs(rr - r), std::abs(gg - g), std::abs(bb - b)}), 12) << r << "," << g << "," << b;

        uint8_t c, m, y;
        RGBToCMYK(uint8_t(r), uint8_t(g), uint8_t(b), c, m, y, k);
        CMYKToRGB(c, m, y, k, rr, gg, bb);
        ASSERT_LE(std::max({std::abs(rr - r), std::abs(gg - g), std::abs(bb - b)}), 1) << r << "," << g << "," << b;
    }
}

TEST(FWColorModelsTest, FloatRoundTripsStayWithinFloatPrecision)
{
    std::mt19937 random(20261209);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int i = 0; i < 1000000; ++i) {
        float rgb[3] = {unit(random), unit(random), unit(random)};
        // One colour in eight has a tie at some channel pair; some ties sit at the maximum.
        if (i % 8 == 0)
            rgb[(i / 8) % 3] = rgb[(i / 8 + 1) % 3];
        const float r = rgb[0], g = rgb[1], b = rgb[2];
        float h, s, v, rr = -1, gg = -1, bb = -1;
        RGBToHSV(r, g, b, h, s, v);
        HSVToRGB(h, s, v, rr, gg, bb);
        ASSERT_NEAR(rr, r, 2e-6) << i;
        ASSERT_NEAR(gg, g, 2e-6) << i;
        ASSERT_NEAR(bb, b, 2e-6) << i;
        double eh, es, ev;
        exactHSV(r, g, b, eh, es, ev);
        if (std::max({r, g, b}) - std::min({r, g, b}) >= 0.001f) {
            const double dh = std::fabs(h - eh);
            ASSERT_LE(std::min(dh, 360 - dh), 1e-4) << i;
        }

        float c, m, y, k;
        RGBToCMYK(r, g, b, c, m, y, k);
        CMYKToRGB(c, m, y, k, rr, gg, bb);
        ASSERT_NEAR(rr, r, 2e-6) << i;
        ASSERT_NEAR(gg, g, 2e-6) << i;
        ASSERT_NEAR(bb, b, 2e-6) << i;
    }
}

TEST(FWColorModelsTest, FloatHueWrapsAndAnUnusableHueAssignsNothing)
{
    const auto rgbOf = [](float hue) {
        std::array<float, 3> rgb{-1, -1, -1};
        HSVToRGB(hue, 0.75f, 0.5f, rgb[0], rgb[1], rgb[2]);
        return rgb;
    };
    EXPECT_EQ(rgbOf(360), rgbOf(0));
    EXPECT_EQ(rgbOf(720.5f), rgbOf(0.5f));
    const std::array<float, 3> untouched{-1, -1, -1};
    for (float hue : {-10.0f, -1e30f, std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(rgbOf(hue), untouched) << hue;
}

} // namespace
