#include "ColorSlider.h"
#include "ControlTestWindow.h"
#include "FWViewMngr.h"
#include "LayoutEntries.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "ProgrammerMessageRecorder.h"
#include "SlicePainters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The bytes after a body's FWView level, which takes 53 bytes in a layout.
std::vector<uint8_t> afterViewLevel(const std::vector<uint8_t>& body, size_t versionBytes)
{
    const size_t skip = std::min(body.size(), versionBytes + 53);
    return std::vector<uint8_t>(body.begin() + long(skip), body.end());
}

uint32_t rgb(FWArgb32 c)
{
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

class CountingSlider : public Slider {
public:
    void DrawThumb(FWDrawContext&) const override { ++draws; }
    mutable int draws = 0;
};

TEST(SliderTest, LegalizeValueClampsSnapsFromZeroAndRounds)
{
    struct Case {
        float minimum, maximum;
        int32_t steps;
        float in, out;
    };
    const Case cases[] = {
        {0, 100, 11, 44, 40},    {0, 100, 11, 45, 50}, {0, 100, 11, 100, 100}, {0, 100, 11, -5, 0},
        {1, 10, 4, 10, 9},       {1, 10, 4, 1, 0},     // multiples of 3 from 0, not clamped again
        {0, 100, 0, 33.333f, 33.33f}, {0, 100, 1, 12.5f, 12.5f}, {5, 5, 3, 7, 5},
        {5, 100, 0, kNaN, 5},    {0, 100, 0, kInf, 100}, {0, 100, 0, -kInf, 0},
        {kNaN, 100, 0, kNaN, 0}, {-kInf, kInf, 3, 1, 0}, // not finite after snapping: the fallback
    };
    for (const Case& c : cases) {
        Slider slider;
        slider.SetSlider(c.minimum, c.maximum, c.minimum, c.steps);
        EXPECT_FLOAT_EQ(c.out, slider.LegalizeValue(c.in)) << c.minimum << ".." << c.maximum << " steps "
                                                             << c.steps << " value " << c.in;
    }
    // The rounding always ends, whatever it is given.
    EXPECT_TRUE(std::isnan(Slider::FactorizeValue(0.01, kNaN)));
    EXPECT_EQ(kInf, Slider::FactorizeValue(0.01, kInf));
    EXPECT_TRUE(std::isfinite(Slider::FactorizeValue(0.01, 3.4e38)));
}

TEST(SliderTest, SetSliderAlwaysRedrawsAndSetValueOnlyOnChange)
{
    ControlTestWindow w;
    auto* slider = new CountingSlider;
    slider->Init(&w.Window());
    slider->SetRect(FWRect(10, 10, 110, 30));
    w.Add(slider);
    slider->SetSlider(0, 100, 50, 0);
    slider->SetSlider(0, 100, 50, 0);
    EXPECT_EQ(2, slider->draws);
    slider->SetValue(50.001f);
    EXPECT_EQ(2, slider->draws);
    slider->SetValue(60);
    EXPECT_EQ(3, slider->draws);
    EXPECT_FLOAT_EQ(60, slider->GetValue());
    // A hidden slider keeps the value and draws nothing.
    slider->SetVisibility(false);
    slider->SetValue(70);
    EXPECT_EQ(3, slider->draws);
    EXPECT_FLOAT_EQ(70, slider->GetValue());
}

TEST(SliderTest, RecordsHoldTheirFieldsAndKeepStoredBytes)
{
    ControlTestWindow w;
    auto* plain = new Slider;
    plain->Init(&w.Window());
    w.Add(plain);
    auto* colour = new ColorSlider;
    colour->Init(&w.Window(), FWRect(0, 0, 110, 18), ColorSlider::kRed);
    colour->SetSlider(0, 1, 0, 0);
    w.Add(colour);

    const std::vector<uint8_t> slider = SavedBody(w.Window().ViewMngr(), "Slider");
    EXPECT_EQ(121u, slider.size());
    std::vector<uint8_t> expected(51, 0);
    expected.insert(expected.end(), {0, 0, 0, 0, 0x42, 0xC8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(expected, afterViewLevel(slider, 1));

    const std::vector<uint8_t> body = SavedBody(w.Window().ViewMngr(), "ColorSlider");
    EXPECT_EQ(143u, body.size());
    const std::vector<uint8_t> fields = afterViewLevel(body, 2);
    ASSERT_EQ(67u + 21u, fields.size());
    EXPECT_EQ(1, fields[0]);
    EXPECT_EQ((std::vector<uint8_t>{0, 1, 0, 5, 0, 11, 0, 105}), std::vector<uint8_t>(fields.begin() + 42, fields.begin() + 50));
    EXPECT_EQ((std::vector<uint8_t>{0x3F, 0x80, 0, 0}), std::vector<uint8_t>(fields.begin() + 55, fields.begin() + 59));
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 0, 0xFF, 0xFF, 0, 2, 0, 6, 0, 10, 0, 104, 0, 1, 0, 1, 0, 7, 0, 97}),
              std::vector<uint8_t>(fields.end() - 21, fields.end()));

    // A stored blue reference gives way to the type's own; a NaN value is kept as stored.
    std::vector<uint8_t> record = StoredRecord(*colour);
    const size_t colourAt = record.size() - 20;
    record[colourAt] = 0xFF;
    record[colourAt + 2] = 0;
    const size_t valueAt = record.size() - 21 - 8;
    record[valueAt] = 0x7F;
    record[valueAt + 1] = 0xC0;
    std::unique_ptr<FWView> read(ReadStoredRecord("ColorSlider", record));
    auto* loaded = dynamic_cast<ColorSlider*>(read.get());
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(FWArgb32(255, 255, 0, 0), loaded->GetRefColor());
    EXPECT_NE(nullptr, loaded->GetSlicePainter());
    const std::vector<uint8_t> again = StoredRecord(*loaded);
    EXPECT_EQ((std::vector<uint8_t>{0x7F, 0xC0, 0, 0}), std::vector<uint8_t>(again.begin() + long(valueAt), again.begin() + long(valueAt) + 4));

    // An unknown version keeps the defaults and still builds the ramp.
    ProgrammerMessageRecorder messages;
    record[0] = 2;
    record[1] = 2;
    read.reset(ReadStoredRecord("ColorSlider", record));
    EXPECT_EQ((std::vector<std::string>{"Unknown 'Slider' version", "Unknown 'ColorSlider' version"}), messages.Texts());
    loaded = dynamic_cast<ColorSlider*>(read.get());
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(ColorSlider::kGray, loaded->GetStyle());
    EXPECT_NE(nullptr, loaded->GetSlicePainter());
}

// The application colours are in place before a window takes its background from them.
struct ColorScheme {
    ColorScheme() { FWSetColorScheme(); }
};

class ColorSliderTest : public ::testing::Test {
protected:
    ColorSlider* add(FWRect rect, ColorSlider::Type type)
    {
        auto* slider = new ColorSlider;
        slider->Init(&w.Window(), rect, type);
        slider->SetInterfaceTarget(&log);
        w.Add(slider);
        return slider;
    }
    ColorScheme scheme;
    ControlTestWindow w;
    InterfaceLog log;
};

TEST_F(ColorSliderTest, TheRampShowsTheChannelAroundTheReference)
{
    // 270 wide: a ramp image of 256 columns from h = 7.
    ColorSlider* red = add(FWRect(0, 10, 270, 28), ColorSlider::kRed);
    red->SetRefColor(FWArgb32(255, 0, 128, 64));
    ColorSlider* hue = add(FWRect(0, 40, 270, 58), ColorSlider::kHue);
    ColorSlider* none = add(FWRect(0, 70, 270, 88), ColorSlider::Type(13));
    w.Update();
    for (int x : {0, 1, 100, 254, 255})
        EXPECT_EQ(uint32_t(x) << 16 | 0x8040u, w.ScreenRgb(FWPoint(int16_t(7 + x), 15))) << x;

    const uint32_t hueLeft = w.ScreenRgb(FWPoint(7, 45));
    const uint32_t hueMiddle = w.ScreenRgb(FWPoint(int16_t(7 + 128), 45));
    EXPECT_EQ(0xFF0000u, hueLeft);
    EXPECT_EQ(0x00FCFFu, hueMiddle);
    hue->SetRefColor(FWArgb32(255, 10, 20, 30));
    EXPECT_EQ(hueLeft, w.ScreenRgb(FWPoint(7, 45)));
    EXPECT_EQ(hueMiddle, w.ScreenRgb(FWPoint(int16_t(7 + 128), 45)));

    EXPECT_EQ(nullptr, none->GetSlicePainter());
    none->SetRefColor(FWArgb32::Blue);
    EXPECT_EQ(FWArgb32::Blue, none->GetRefColor());
    EXPECT_EQ(nullptr, none->GetSlicePainter());
}

TEST_F(ColorSliderTest, TheThumbTipSitsAtTheValueAndADragReportsEachChange)
{
    // 100 wide: track 5..95, image 6..94; at the maximum the tip is 87 right of the image's left.
    ColorSlider* slider = add(FWRect(0, 10, 100, 28), ColorSlider::kGray);
    slider->SetSlider(0, 1, 1, 0);
    w.Update();
    const int bottom = slider->GetImageRect().bottom;
    const int left = slider->GetImageRect().left;
    EXPECT_EQ(0x000000u, w.ScreenRgb(FWPoint(int16_t(left + 87), int16_t(bottom))));
    EXPECT_EQ(rgb(FWGetAppColor(1)), w.ScreenRgb(FWPoint(int16_t(left + 86), int16_t(bottom))));
    EXPECT_EQ(rgb(FWGetAppColor(1)), w.ScreenRgb(FWPoint(int16_t(left + 88), int16_t(bottom))));

    // Back to the minimum, then a drag away and back: the same pixels as before it.
    slider->SetSlider(0, 1, 0, 0);
    w.Update();
    std::vector<uint32_t> before;
    for (int v = 10; v < 28; ++v)
        for (int h = 0; h < 100; ++h)
            before.push_back(w.ScreenRgb(FWPoint(int16_t(h), int16_t(v))));
    FWEvent press = w.Click(FWPoint(5, 20), {FWPoint(40, 20), FWPoint(70, 20), FWPoint(5, 20)});
    EXPECT_TRUE(slider->MouseDownEvent(press));
    EXPECT_EQ((std::vector<std::string>{"action 0", "action 1", "action 1", "action 1", "action 2", "event"}),
              log.mEntries);
    EXPECT_FLOAT_EQ(0, slider->GetValue());
    std::vector<uint32_t> after;
    for (int v = 10; v < 28; ++v)
        for (int h = 0; h < 100; ++h)
            after.push_back(w.ScreenRgb(FWPoint(int16_t(h), int16_t(v))));
    EXPECT_EQ(before, after);

    log.mEntries.clear();
    FWEvent outside = w.Click(FWPoint(150, 20));
    EXPECT_FALSE(slider->MouseDownEvent(outside));
    EXPECT_TRUE(log.mEntries.empty());
}

TEST_F(ColorSliderTest, APressOnANewValueReportsTrackingOnceTheMouseMoves)
{
    // Steps of 0.5 over a 90-pixel track from h = 5: h 50 and 51 both give 0.5.
    ColorSlider* slider = add(FWRect(0, 10, 100, 28), ColorSlider::kGray);
    slider->SetSlider(0, 1, 0, 3);
    FWEvent press = w.Click(FWPoint(50, 20), {FWPoint(51, 20)});
    EXPECT_TRUE(slider->MouseDownEvent(press));
    EXPECT_EQ((std::vector<std::string>{"action 0", "action 1", "action 2", "event"}), log.mEntries);
    EXPECT_FLOAT_EQ(0.5f, slider->GetValue());
}

TEST_F(ColorSliderTest, AHiddenSliderDrawsNeitherItsRampNorItsThumb)
{
    ColorSlider* slider = add(FWRect(0, 10, 270, 28), ColorSlider::kRed);
    slider->SetSlider(0, 1, 0, 0);
    w.Update();
    // A point of the ramp, and where the thumb's tip goes at the maximum.
    const FWPoint points[] = {FWPoint(107, 15), FWPoint(263, int16_t(slider->GetImageRect().bottom))};
    std::vector<uint32_t> before;
    for (FWPoint p : points)
        before.push_back(w.ScreenRgb(p));
    slider->SetVisibility(false);
    slider->SetRefColor(FWArgb32(255, 0, 200, 0));
    slider->SetValue(1);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(before[i], w.ScreenRgb(points[i])) << i;
    // Shown again, the ramp is painted around the reference set while it was hidden.
    slider->SetVisibility(true);
    slider->Inval();
    w.Update();
    EXPECT_EQ(0x64C800u, w.ScreenRgb(points[0]));
}

// Sliders too narrow for a track of their own neither divide by zero nor take NaN.
TEST_F(ColorSliderTest, NarrowSlidersGiveFiniteValues)
{
    for (int width : {10, 12, 15}) {
        ColorSlider* slider = add(FWRect(150, 100, int16_t(150 + width), 118), ColorSlider::kHue);
        slider->SetSlider(2, 8, 5, 0);
        w.Update();
        FWEvent press = w.Click(FWPoint(int16_t(150 + width / 2), 105), {FWPoint(200, 105)});
        EXPECT_TRUE(slider->MouseDownEvent(press)) << width;
        EXPECT_TRUE(std::isfinite(slider->GetValue())) << width;
        EXPECT_GE(slider->GetValue(), 2) << width;
        EXPECT_LE(slider->GetValue(), 8) << width;
    }
}

} // namespace
