#include "FWApp.h"
#include "FWPlatformUtils.h"
#include "FWQTUtil.h"
#include "HostBundles.h"
#include "HostClock.h"
#include "HostCursors.h"
#include "HostInput.h"
#include "HostMonitors.h"
#include "HostSound.h"
#include "HostSystemSettings.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

class FWPlatformUtilsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FWApp::SetInForeground(true);
        HostResetInput();
        HostResetCursor();
        HostResetBeeps();
        HostResetSystemSettings();
    }
    void TearDown() override
    {
        FWApp::SetInForeground(true);
        HostResetInput();
        HostUseSystemClock();
        HostConfigureScreen(kHostDefaultScreenWidth, kHostDefaultScreenHeight);
    }
};

bool isCursor(HostCursorKind kind, int16_t id)
{
    HostCursorState state = HostCurrentCursor();
    return state.kind == kind && state.id == id;
}

TEST_F(FWPlatformUtilsTest, NumberedStylesShowArrowWatchAndIBeam)
{
    FWSetCursor(1);
    EXPECT_TRUE(isCursor(HostCursorKind::System, watchCursor));
    FWSetCursor(0);
    EXPECT_TRUE(isCursor(HostCursorKind::Arrow, 0));
    FWSetCursor(kIBeamCursor);
    EXPECT_TRUE(isCursor(HostCursorKind::System, iBeamCursor));
    EXPECT_EQ(3u, HostCursorChangeCount());

    FWSetCursor(7); // not a style
    EXPECT_EQ(3u, HostCursorChangeCount());
}

TEST_F(FWPlatformUtilsTest, NullColourCursorShowsTheArrow)
{
    FWSetCursor(kWatchCursor);
    FWSetCursor(static_cast<CCrsrHandle>(nullptr));
    EXPECT_TRUE(isCursor(HostCursorKind::Arrow, 0));
}

TEST_F(FWPlatformUtilsTest, ColourCursorsAreLoadedOncePerId)
{
    CCrsrHandle scroll = FWGetCursor(10001);
    ASSERT_NE(nullptr, scroll);
    EXPECT_EQ(scroll, FWGetCursor(10001));
    EXPECT_NE(scroll, FWGetCursor(10002));
    FWSetCursor(scroll);
    EXPECT_TRUE(isCursor(HostCursorKind::Colour, 10001));
    FWDisposeCursor(scroll); // kept for the whole run
    FWSetCursor(scroll);
    EXPECT_TRUE(isCursor(HostCursorKind::Colour, 10001));
}

TEST_F(FWPlatformUtilsTest, CursorStaysWhileInTheBackground)
{
    FWApp::SetInForeground(false);
    FWSetCursor(1);
    FWSetCursor(FWGetCursor(1000));
    FWSetCursor(static_cast<CCrsrHandle>(nullptr));
    EXPECT_EQ(0u, HostCursorChangeCount());
    FWApp::SetInForeground(true);
    FWSetCursor(1);
    EXPECT_TRUE(isCursor(HostCursorKind::System, watchCursor));
}

TEST_F(FWPlatformUtilsTest, ModifiersComeFromTheKeyMap)
{
    EXPECT_EQ(0u, FWGetModifiers());
    HostSetKeyDown(kVK_Space, true);
    HostSetKeyDown(kVK_Shift, true);
    EXPECT_EQ(0x0202u, FWGetModifiers());

    HostReleaseAllKeys();
    const struct {
        uint16_t key;
        uint16_t bit;
    } cases[] = {{49, 0x0002}, {55, 0x0100}, {56, 0x0200}, {57, 0x0400}, {58, 0x0800}, {59, 0x1000}};
    for (const auto& c : cases) {
        HostSetKeyDown(c.key, true);
        EXPECT_EQ(c.bit, FWGetModifiers()) << "key " << c.key;
        HostSetKeyDown(c.key, false);
    }
    HostSetKeyDown(0, true); // an ordinary key is no modifier
    EXPECT_EQ(0u, FWGetModifiers());
}

TEST_F(FWPlatformUtilsTest, IsPressedReadsOneKeyAndSwitchesSecureInputOff)
{
    HostSetKeyDown(CONTROL_KEY, true);
    HostSetKeyDown(127, true);
    HostSetSecureEventInput(true);
    EXPECT_TRUE(FWIsPressed(CONTROL_KEY));
    EXPECT_FALSE(IsSecureEventInputEnabled());
    EXPECT_TRUE(FWIsPressed(127));
    EXPECT_FALSE(FWIsPressed(OPTION_KEY));
    EXPECT_FALSE(FWIsPressed(60));
    EXPECT_FALSE(FWIsPressed(128)); // beyond the key map
}

TEST_F(FWPlatformUtilsTest, MouseStateAndMovingTheCursor)
{
    EXPECT_FALSE(FWIsMouseDown());
    EXPECT_FALSE(FWIsMouseStillDown());
    HostSetMouseButton(true);
    EXPECT_TRUE(FWIsMouseDown());
    EXPECT_TRUE(FWIsMouseStillDown());

    HostSetGlobalMouse(Point{40, 300});
    FWPoint where;
    FWGetMousePosition(where);
    EXPECT_EQ(40, where.v);
    EXPECT_EQ(300, where.h);

    FWPoint target;
    target.v = 123;
    target.h = 456;
    FWSetMousePosition(target);
    FWGetMousePosition(where);
    EXPECT_EQ(123, where.v);
    EXPECT_EQ(456, where.h);
}

TEST_F(FWPlatformUtilsTest, BeepCutsTheDurationTo16Bits)
{
    FWSystemBeep(10);
    FWSystemBeep(0x10005);
    EXPECT_EQ(2u, HostBeepCount());
    EXPECT_EQ(5, HostLastBeepDuration());
}

TEST_F(FWPlatformUtilsTest, DelayWaitsOnTheClock)
{
    HostSetManualTicks(500);
    FWDelayTicks(6);
    EXPECT_EQ(506u, TickCount());
    FWDelayTicks(-3);
    EXPECT_EQ(506u, TickCount());

    HostUseSystemClock();
    uint32_t before = TickCount();
    FWDelayTicks(2);
    EXPECT_GE(TickCount() - before, 2u);
}

TEST_F(FWPlatformUtilsTest, TimesAndHighlightColourFollowTheSystemSettings)
{
    HostSetDoubleClickTime(20);
    HostSetCaretTime(40);
    HostSetHiliteColor(RGBColor{0x1234, 0xFFFF, 0x00FF});
    EXPECT_EQ(20u, FWDoubleTime());
    EXPECT_EQ(40u, FWTextBlinkTime());
    EXPECT_EQ(FWArgb32(255, 0x12, 0xFF, 0x00), FWTextHiliteColor());
}

TEST_F(FWPlatformUtilsTest, AssignWidensAndNarrowsChannels)
{
    RGBColor rgb;
    Assign(rgb, FWArgb32(7, 255, 0x80, 0));
    EXPECT_EQ(65535, rgb.red);
    EXPECT_EQ(0x8080, rgb.green);
    EXPECT_EQ(0, rgb.blue);

    FWArgb32 back;
    Assign(back, rgb);
    EXPECT_EQ(FWArgb32(255, 255, 0x80, 0), back);
    Assign(back, RGBColor{0x00FF, 0xFF00, 0x7FFF});
    EXPECT_EQ(FWArgb32(255, 0, 0xFF, 0x7F), back);
}

TEST_F(FWPlatformUtilsTest, AppRectIsTheMainMonitorsUsableBounds)
{
    HostConfigureScreen(1024, 768);
    FWRect rect;
    FWGetAppRect(&rect);
    EXPECT_EQ(FWRect(0, kHostMenuBarHeight, 1024, 768), rect);

    HostConfigureDevices({});
    FWGetAppRect(&rect);
    EXPECT_EQ(FWRect(), rect);
}

TEST_F(FWPlatformUtilsTest, QuickTimeStartsAndStops)
{
    EXPECT_TRUE(FWQTUtil::InitQuickTime());
    FWQTUtil::CloseQuickTime();
}

} // namespace

namespace {

TEST(FileReferenceToFSSpec, NamesExistingAndFutureFiles)
{
    TempFolder folder;
    std::string existing = folder.File("here.rsrc");
    TempFolder::WriteFile(existing, "x");

    FSSpec spec;
    std::string path;
    ASSERT_EQ(noErr, FileReferenceToFSSpec(FileReference(existing.c_str()), spec));
    HostPathOfFSSpec(&spec, path);
    EXPECT_EQ(std::filesystem::canonical(existing).string(), path);

    std::string future = folder.File("later.rsrc");
    ASSERT_EQ(noErr, FileReferenceToFSSpec(FileReference(future.c_str()), spec));
    HostPathOfFSSpec(&spec, path);
    EXPECT_EQ((std::filesystem::canonical(folder.Path()) / "later.rsrc").string(), path);

    EXPECT_EQ(dirNFErr, FileReferenceToFSSpec(FileReference(folder.File("no/such").c_str()), spec));
    EXPECT_EQ(-1, FileReferenceToFSSpec(FileReference(), spec));
    std::string tooLong(40000, 'a');
    EXPECT_EQ(-1, FileReferenceToFSSpec(FileReference(("/" + tooLong).c_str()), spec));
}

TEST(FSSpecToFileReference, GivesTheWholePathAndLeavesTheReferenceOnFailure)
{
    TempFolder folder;
    // Deeper than 255 characters: the path must come back whole, not cut.
    std::string deep = folder.Path().string();
    for (int i = 0; i < 12; ++i)
        deep += "/folder-with-a-long-name-" + std::to_string(i);
    std::filesystem::create_directories(deep);
    std::string file = deep + "/later.rsrc";
    ASSERT_GT(file.size(), 255u);

    FSSpec spec;
    ASSERT_EQ(noErr, FileReferenceToFSSpec(FileReference(file.c_str()), spec));
    FileReference back("/untouched");
    ASSERT_EQ(0, FSSpecToFileReference(spec, back));
    EXPECT_EQ((std::filesystem::canonical(deep) / "later.rsrc").string(), std::string(back.GetCString()));

    FSSpec nowhere = spec;
    std::snprintf(nowhere.parentPath, sizeof nowhere.parentPath, "%s", (folder.Path().string() + "/no/such/folder").c_str());
    EXPECT_NE(0, FSSpecToFileReference(nowhere, back));
    EXPECT_EQ((std::filesystem::canonical(deep) / "later.rsrc").string(), std::string(back.GetCString()));
}

} // namespace
