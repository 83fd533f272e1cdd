#include "FWApp.h"
#include "FWEventDispatcher.h"
#include "FWMonitor.h"
#include "FWPopupInfo.h"
#include "FWStr.h"
#include "FWWindow.h"
#include "HostInput.h"
#include "HostScreen.h"

#include "HostDesktopScope.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TipApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
};

class Handler : public FWEventHandler {};

class FWPopupInfoTest : public ::testing::Test {
protected:
    ~FWPopupInfoTest() override
    {
        FWPopupInfo::Hide();
        mApp.reset();
    }

    static FWRect usable()
    {
        return FWMonitor::FindClosestMonitorByPoint(FWPoint(100, 100))->UsableBounds();
    }

    static FWRect tipFrame() { return FWPopupInfo::Window()->GlobalFrame(); }

    HostDesktopScope mDesktop;
    std::unique_ptr<TipApp> mApp = std::make_unique<TipApp>();
};

TEST_F(FWPopupInfoTest, SitsBelowTheMouseAndStaysOnTheUsableScreen)
{
    const FWRect bounds = usable();

    // Without a front window the tip is 100 wide, plus its padding, and 12 high.
    HostSetGlobalMouse(Point{300, 400});
    FWPopupInfo::Show(FWStr<31>("Hello"));
    ASSERT_NE(FWPopupInfo::Window(), nullptr);
    EXPECT_EQ(tipFrame(), FWRect(400, 316, 505, 328));

    // Five pixels above the bottom, the tip moves up so that its bottom is on the bounds' bottom.
    HostSetGlobalMouse(Point{int16_t(bounds.bottom - 5), 200});
    FWPopupInfo::Show(FWStr<31>("Hello"));
    EXPECT_EQ(tipFrame(), FWRect(200, int16_t(bounds.bottom - 12), 305, bounds.bottom));

    // At the right edge it moves left; at the top-left corner it stays on the bounds.
    HostSetGlobalMouse(Point{300, int16_t(bounds.right - 2)});
    FWPopupInfo::Show(FWStr<31>("Hello"));
    EXPECT_EQ(tipFrame().right, bounds.right);
    EXPECT_EQ(tipFrame().Width(), 105);

    HostSetGlobalMouse(Point{0, -50});
    FWPopupInfo::Show(FWStr<31>("Hello"));
    EXPECT_EQ(tipFrame().left, bounds.left);
    EXPECT_GE(tipFrame().top, bounds.top);
}

TEST_F(FWPopupInfoTest, IsAsWideAsItsTextOnceTheApplicationHasAWindow)
{
    FWWindow front;
    ASSERT_TRUE(front.Initialize(nullptr, FWRect(50, 100, 350, 300)));
    front.Show();
    const FWStr<63> text("A rather longer line of help text");

    HostSetGlobalMouse(Point{500, 500});
    FWPopupInfo::Show(text);
    ASSERT_NE(FWPopupInfo::Window(), nullptr);
    EXPECT_EQ(tipFrame().Width(), FWFont(1, 9).GetStringWidth(&text) + 5);
    EXPECT_GT(tipFrame().Width(), 105);
}

TEST_F(FWPopupInfoTest, ShowReplacesTheTipAndHideGivesTheCaptureBack)
{
    Handler before;
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    dispatcher->CaptureEventControl(&before);

    HostSetGlobalMouse(Point{300, 300});
    FWPopupInfo::Show(FWStr<31>("One"));
    FWWindow* first = FWPopupInfo::Window();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(dispatcher->CapturedHandler(), first);
    EXPECT_TRUE(first->Visible());
    EXPECT_EQ(first->GetStyle(), 4);
    EXPECT_EQ(first->TitleWidth(), 0);
    EXPECT_EQ(first->FrameWidth(), 0);
    EXPECT_FALSE(first->Draggable());
    // Events the tip gets go to the application.
    FWEvent event;
    EXPECT_EQ(first->GetParent(event), mApp.get());

    FWPopupInfo::Show(FWStr<31>("Two"));
    FWWindow* second = FWPopupInfo::Window();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(FWWindow::IsValidWindow(first) && first != second);
    EXPECT_EQ(mApp->GetWindowList().Size(), 1);
    // The second tip kept the capture the first one had taken over.
    EXPECT_EQ(dispatcher->CapturedHandler(), second);

    FWPopupInfo::Hide();
    EXPECT_EQ(FWPopupInfo::Window(), nullptr);
    EXPECT_EQ(dispatcher->CapturedHandler(), &before);
    EXPECT_EQ(mApp->GetWindowList().Size(), 0);

    // Hiding again changes nothing.
    FWPopupInfo::Hide();
    EXPECT_EQ(dispatcher->CapturedHandler(), &before);
    dispatcher->ReleaseEventControl(nullptr);
}

TEST_F(FWPopupInfoTest, AnApplicationThatGoesTakesTheTipWithIt)
{
    HostSetGlobalMouse(Point{300, 300});
    FWPopupInfo::Show(FWStr<31>("Going"));
    ASSERT_NE(FWPopupInfo::Window(), nullptr);
    // The application deletes the windows still listed, the tip among them.
    mApp.reset();
    EXPECT_EQ(FWPopupInfo::Window(), nullptr);
    FWPopupInfo::Hide();
    FWPopupInfo::Show(FWStr<31>("No application"));
    EXPECT_EQ(FWPopupInfo::Window(), nullptr);
}

TEST_F(FWPopupInfoTest, ShowsNothingWhileAForeignWindowIsOpen)
{
    ASSERT_NE(HostDesktopScope::MakeWindow(Rect{100, 100, 200, 300}, 0xFF00FF00), nullptr);
    HostSetGlobalMouse(Point{300, 300});
    FWPopupInfo::Show(FWStr<31>("Hidden"));
    EXPECT_EQ(FWPopupInfo::Window(), nullptr);
    EXPECT_EQ(FWEventDispatcher::Instance()->CapturedHandler(), nullptr);
    EXPECT_EQ(mApp->GetWindowList().Size(), 0);
}

TEST_F(FWPopupInfoTest, ItsPixelsAppearBesideTheMouse)
{
    const Point mouse{300, 400};
    HostSetGlobalMouse(mouse);
    FWPopupInfo::Show(FWStr<31>("MMMM"));
    ASSERT_NE(FWPopupInfo::Window(), nullptr);
    HostComposeScreen();

    // Pale yellow ground just below the mouse, dark text on it, desktop outside.
    const int16_t top = int16_t(mouse.v + 16);
    EXPECT_EQ(HostDesktopScope::Rgb(HostScreenPixel(Point{int16_t(top + 1), int16_t(mouse.h + 1)})), 0xFFFF77u);
    int dark = 0;
    for (int16_t v = top; v < top + 12; ++v)
        for (int16_t h = mouse.h; h < mouse.h + 105; ++h)
            if ((HostScreenPixel(Point{v, h}) & 0xFFFFFF) < 0x808080)
                ++dark;
    EXPECT_GT(dark, 10);
    EXPECT_EQ(HostDesktopScope::Rgb(HostScreenPixel(Point{int16_t(top - 2), mouse.h})),
              HostDesktopScope::Rgb(kHostDesktopColor));

    // Once hidden, the desktop shows again.
    FWPopupInfo::Hide();
    HostComposeScreen();
    EXPECT_EQ(HostDesktopScope::Rgb(HostScreenPixel(Point{int16_t(top + 1), int16_t(mouse.h + 1)})),
              HostDesktopScope::Rgb(kHostDesktopColor));
}

} // namespace
