// A layout of the value and page controls saved, loaded into another window and used there:
// pages switch on clicks, a colour slider follows a drag, and saving gives the same bytes again.
#include "BranchItem.h"
#include "ColorSlider.h"
#include "ControlTestWindow.h"
#include "Divider.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWViewMngr.h"
#include "LayoutEntries.h"
#include "ProgrammerMessageRecorder.h"
#include "TabControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// A tab control of three pages (a hue slider, a divider, a red slider), a plain slider, colour
// sliders of all 13 types in two columns and two dividers, saved.
std::vector<uint8_t> savedLayout()
{
    FWSetColorScheme();
    ControlTestWindow w;
    FWWindow& window = w.Window();
    auto* tabs = new TabControl;
    const FWStr<31> labels[3] = {FWStr<31>("Hue"), FWStr<31>("Line"), FWStr<31>("Red")};
    tabs->Init(&window, FWRect(5, 5, 200, 90), 3, labels);
    w.Add(tabs);
    auto* hue = new ColorSlider;
    hue->Init(&window, FWRect(15, 40, 125, 58), ColorSlider::kHue);
    tabs->FindBranch(0)->AppendChild(hue);
    auto* line = new Divider;
    line->Init(&window, FWRect(15, 50, 185, 52));
    tabs->FindBranch(1)->AppendChild(line);
    auto* red = new ColorSlider;
    red->Init(&window, FWRect(15, 60, 125, 78), ColorSlider::kRed);
    tabs->FindBranch(2)->AppendChild(red);

    auto* plain = new Slider;
    plain->Init(&window);
    plain->SetRect(FWRect(210, 5, 290, 20));
    plain->SetSlider(0, 10, 4, 11);
    w.Add(plain);
    for (int type = 0; type <= 12; ++type) {
        auto* slider = new ColorSlider;
        const int16_t left = int16_t(type < 7 ? 5 : 150);
        const int16_t top = int16_t(95 + 15 * (type % 7));
        slider->Init(&window, FWRect(left, top, int16_t(left + 140), int16_t(top + 15)), ColorSlider::Type(type));
        slider->SetSlider(0, 1, 0.5f, 0);
        w.Add(slider);
    }
    auto* across = new Divider;
    across->Init(&window, FWRect(210, 30, 290, 40));
    w.Add(across);
    auto* down = new Divider;
    down->Init(&window, FWRect(295, 5, 297, 90));
    w.Add(down);
    return SavedLayout(window.ViewMngr());
}

bool load(ControlTestWindow& w, const std::vector<uint8_t>& layout)
{
    FWViewMngr& manager = w.Window().ViewMngr();
    if (!manager.InitializeFromData(reinterpret_cast<const char*>(layout.data()), uint32_t(layout.size())))
        return false;
    manager.WindowBecameVisible();
    w.Update();
    return true;
}

std::vector<std::string> classNames(const std::vector<uint8_t>& layout)
{
    std::vector<std::string> names;
    for (const LayoutEntry& entry : LayoutEntries(layout))
        names.push_back(entry.className);
    return names;
}

TEST(SliderTabLayoutTest, ALoadedLayoutSwitchesPagesFollowsDragsAndSavesTheSameBytes)
{
    const std::vector<uint8_t> layout = savedLayout();
    ASSERT_FALSE(layout.empty());
    ControlTestWindow w;
    FWWindow& window = w.Window();
    ASSERT_TRUE(load(w, layout));
    EXPECT_EQ(layout, SavedLayout(window.ViewMngr()));
    EXPECT_EQ(size_t(1 + 1 + 3 + 3 + 1 + 13 + 2), classNames(layout).size());

    // The hue page shows; the red page's ramp does not.
    const FWPoint hueLeft(22, 48);
    const FWPoint redRight(117, 68);
    EXPECT_EQ(0xFF0000u, w.ScreenRgb(hueLeft));
    EXPECT_NE(0xFF0000u, w.ScreenRgb(redRight));

    // A click on the third tab, routed as the window routes it, brings the red page forward.
    auto* tabs = dynamic_cast<TabControl*>(window.ViewMngr().GetViewTree()->FirstChild());
    ASSERT_NE(nullptr, tabs);
    const FWRect third = tabs->GetTab(2).mRect;
    FWEvent click = w.Click(FWPoint(int16_t(third.left + 4), int16_t(third.top + 8)));
    FWView* handler = window.ViewMngr().GetEventHandler(click);
    ASSERT_EQ(tabs, handler);
    EXPECT_TRUE(handler->MouseDownEvent(click));
    EXPECT_EQ(2, tabs->GetActiveTab());
    EXPECT_EQ(0xFF0000u, w.ScreenRgb(redRight));
    EXPECT_NE(0xFF0000u, w.ScreenRgb(hueLeft));

    // A drag on the red slider's track moves its thumb to the point of release.
    FWEvent drag = w.Click(FWPoint(30, 65), {FWPoint(60, 65), FWPoint(75, 65)});
    auto* red = dynamic_cast<ColorSlider*>(window.ViewMngr().GetEventHandler(drag));
    ASSERT_NE(nullptr, red);
    EXPECT_EQ(ColorSlider::kRed, red->GetStyle());
    EXPECT_TRUE(red->MouseDownEvent(drag));
    EXPECT_FLOAT_EQ(55, red->GetValue()); // track 20..120, range 0..100

    const std::vector<uint8_t> once = SavedLayout(window.ViewMngr());
    EXPECT_EQ(once, SavedLayout(window.ViewMngr()));
    EXPECT_NE(layout, once);
}

TEST(SliderTabLayoutTest, RecordsOfAnUnknownVersionAreReportedAndTheRestLoads)
{
    std::vector<uint8_t> layout = savedLayout();
    // One notice for the layout, naming each class once, in the order met.
    std::string expected;
    for (const LayoutEntry& entry : LayoutEntries(layout)) {
        const std::string& name = entry.className;
        if (name == "Slider" || name == "Divider" || name == "TabControl" || name == "ColorSlider") {
            layout[entry.bodyAt] = 2;
            const std::string line = "Unknown '" + name + "' version";
            if (expected.find(line) == std::string::npos)
                expected += (expected.empty() ? "" : "\r") + line;
        }
    }
    ProgrammerMessageRecorder messages;
    ControlTestWindow w;
    ASSERT_TRUE(load(w, layout));
    EXPECT_EQ(std::vector<std::string>{expected}, messages.Texts());
    EXPECT_EQ(classNames(layout), classNames(SavedLayout(w.Window().ViewMngr())));
}

} // namespace
