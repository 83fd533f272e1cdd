#include "FWDragManager.h"
#include "FWDragManagerPAC.h"

#include "FWDragData.h"
#include "FWDragReceiver.h"
#include "FWEvent.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"
#include "HostDrag.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostScreen.h"
#include "ImageBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kText = FOUR_CHAR_CODE("TEXT");
constexpr uint32_t kColor = FOUR_CHAR_CODE("clr ");

class BytesScrap : public FWDragScrap {
public:
    BytesScrap(uint32_t type, std::string bytes) : mType(type), mBytes(std::move(bytes)) {}
    uint32_t Type() const override { return mType; }
    void RetrieveData(const void*& data, int& size) const override
    {
        data = mBytes.data();
        size = int(mBytes.size());
    }

private:
    uint32_t mType;
    std::string mBytes;
};

// Records what it is told, with the text of the dragged 'TEXT' flavour on a drop.
class Recorder : public FWDragReceiver {
public:
    explicit Recorder(std::string name, std::vector<std::string>* log) : mName(std::move(name)), mLog(log) {}
    void Enter(const FWPoint& p, const FWDragData&) override { note("enter", p); }
    void Within(const FWPoint& p, const FWDragData&) override { note("within", p); }
    void Exit(const FWPoint& p, const FWDragData&) override { note("exit", p); }
    void Accept(const FWDragData& data) override
    {
        std::string text = "?";
        if (const FWDragScrap* scrap = data.FindScrap(kText)) {
            const void* bytes = nullptr;
            int size = 0;
            scrap->RetrieveData(bytes, size);
            text.assign(static_cast<const char*>(bytes), size_t(size));
        }
        mLog->push_back(mName + " accept " + text + " flavours " + std::to_string(data.Size()));
    }

private:
    void note(const char* what, const FWPoint& p)
    {
        mLog->push_back(mName + " " + what + " " + std::to_string(p.h) + "," + std::to_string(p.v));
    }
    std::string mName;
    std::vector<std::string>* mLog;
};

class FWDragManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FWDragManager::Init();
        // Content starts 3 right and 25 down of each window's top-left.
        FWRect boundsA(100, 100, 300, 300);
        FWRect boundsB(400, 100, 700, 400);
        source.Initialize(nullptr, boundsA);
        target.Initialize(nullptr, boundsB);
        ShowWindow(source.GetPDW());
        ShowWindow(target.GetPDW());
        data.AddScrap(new BytesScrap(kColor, "\x01\x02"));
        data.AddScrap(new BytesScrap(kText, "hello"));
        FWDragManager::RegisterReceiver(&first, &target, FWRect(10, 10, 100, 100));
        FWDragManager::RegisterReceiver(&second, &target, FWRect(100, 10, 200, 100));
        HostSetMouseButton(true);
        HostSetGlobalMouse(Point{150, 150});
    }
    void TearDown() override
    {
        FWDragManager::UnregisterReceiver(&first);
        FWDragManager::UnregisterReceiver(&second);
        FWDragManager::CleanUp();
    }
    // A press at content point (47, 25) of the source window: global (150, 150).
    FWEvent press() const
    {
        FWEvent event(kMouseDownEvent, const_cast<FWWindow*>(&source), 0);
        event.mWhere = FWPoint(47, 25);
        return event;
    }
    // A global point for a content point of the target window.
    static Point inTarget(int h, int v) { return Point{int16_t(100 + 25 + v), int16_t(400 + 3 + h)}; }

    HostDesktopScope desktop;
    FWWindow source;
    FWWindow target;
    FWDragData data;
    std::vector<std::string> log;
    Recorder first{"first", &log};
    Recorder second{"second", &log};
};

} // namespace

TEST_F(FWDragManagerTest, DropOnAReceiverDeliversTheData)
{
    HostInjectMouseMove(inTarget(20, 30));
    HostInjectMouseMove(inTarget(25, 30));
    HostInjectMouseUp(inTarget(25, 30));
    EXPECT_EQ(2, FWDragManager::TrackDrag(press(), &source, data));
    const std::vector<std::string> expected{"first enter 20,30", "first within 20,30", "first within 25,30",
                                            "first exit 25,30",
                                            "first accept hello flavours 2"};
    EXPECT_EQ(expected, log);
    // Without an image the outline is the 32 x 32 square around the mouse, moved with it.
    bool image = true;
    const Rect shown = HostDragLastFeedback(&image);
    EXPECT_FALSE(image);
    EXPECT_EQ(inTarget(25, 30).h - 16, shown.left);
    EXPECT_EQ(inTarget(25, 30).v + 16, shown.bottom);
    // The proxy lives only while the drag is inside the application.
    EXPECT_EQ(nullptr, FWDragManagerPAC::Proxy());
}

TEST_F(FWDragManagerTest, MovingBetweenReceiversExitsBeforeEntering)
{
    HostInjectMouseMove(inTarget(50, 50));
    HostInjectMouseMove(inTarget(150, 50));
    HostInjectMouseUp(inTarget(150, 50));
    EXPECT_EQ(2, FWDragManager::TrackDrag(press(), &source, data));
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ("first enter 50,50", log[0]);
    EXPECT_EQ("first within 50,50", log[1]);
    EXPECT_EQ("first exit 150,50", log[2]);
    EXPECT_EQ("second enter 150,50", log[3]);
    EXPECT_EQ("second accept hello flavours 2", log.back());
}

TEST_F(FWDragManagerTest, DropOutsideEveryReceiverIsRefused)
{
    HostInjectMouseMove(inTarget(50, 50));
    HostInjectMouseUp(inTarget(250, 250));
    EXPECT_EQ(2, FWDragManager::TrackDrag(press(), &source, data));
    EXPECT_EQ("first exit 250,250", log.back());
    for (const std::string& entry : log)
        EXPECT_EQ(std::string::npos, entry.find("accept"));
    // The highlight of the receiving window went with the drag.
    EXPECT_EQ(nullptr, HostDragHiliteWindow(nullptr));
}

TEST_F(FWDragManagerTest, EscapeCancelsTheDrag)
{
    HostInjectMouseMove(inTarget(50, 50));
    HostInjectKey(53, 27);
    HostInjectMouseUp(inTarget(50, 50));
    EXPECT_EQ(2, FWDragManager::TrackDrag(press(), &source, data));
    const std::vector<std::string> expected{"first enter 50,50", "first within 50,50", "first exit 50,50"};
    EXPECT_EQ(expected, log);
}

TEST_F(FWDragManagerTest, EnteringAWindowWithReceiversHighlightsItsContent)
{
    struct Probe : FWDragReceiver {
        void Within(const FWPoint&, const FWDragData&) override
        {
            window = HostDragHiliteWindow(&bounds);
        }
        WindowRef window = nullptr;
        Rect bounds{0, 0, 0, 0};
    } probe;
    FWDragManager::RegisterReceiver(&probe, &target, FWRect(0, 100, 50, 200));
    HostInjectMouseMove(inTarget(20, 150));
    HostInjectMouseUp(inTarget(20, 150));
    FWDragManager::TrackDrag(press(), &source, data);
    FWDragManager::UnregisterReceiver(&probe);
    EXPECT_EQ(target.GetPDW(), probe.window);
    EXPECT_EQ(3, probe.bounds.left);
    EXPECT_EQ(25, probe.bounds.top);
}

TEST_F(FWDragManagerTest, ImageIsShownCentredOnTheMouse)
{
    const FWRect rect(0, 0, 10, 6);
    ImageBuffer image(&rect, kImageBufferDepth32);
    data.SetImage(&image);
    HostInjectMouseUp(Point{150, 150});
    EXPECT_EQ(2, FWDragManager::TrackDrag(press(), &source, data));
    bool shownImage = false;
    const Rect shown = HostDragLastFeedback(&shownImage);
    EXPECT_TRUE(shownImage);
    EXPECT_EQ(145, shown.left);
    EXPECT_EQ(147, shown.top);
    EXPECT_EQ(155, shown.right);
}

// Reads the screen under the drag image when the drag enters it.
class ScreenReader : public FWDragReceiver {
public:
    void Enter(const FWPoint&, const FWDragData&) override
    {
        HostComposeScreen();
        for (int v = 147; v < 153; ++v)
            for (int h = 145; h < 155; ++h)
                seen.push_back(HostScreenPixel(Point{int16_t(v), int16_t(h)}) & 0xFFFFFFu);
    }
    std::vector<uint32_t> seen;
};

TEST_F(FWDragManagerTest, ImagesOfEveryDepthDragAsTheirOwnPixels)
{
    const FWRect rect(0, 0, 10, 6);
    ImageBuffer grey(&rect, kImageBufferDepth8);
    ImageBuffer bits(&rect, kImageBufferDepth1);
    std::vector<uint32_t> greyWanted, bitsWanted;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 10; ++x) {
            const int index = 20 * x + 7 * y; // grey index: 0 white, 255 black
            grey.BaseAddr()[y * grey.RowBytes() + x] = uint8_t(index);
            greyWanted.push_back(uint32_t(255 - index) * 0x010101u);
            const bool set = (x + y) % 3 == 0;
            if (set)
                bits.BaseAddr()[y * bits.RowBytes() + x / 8] |= uint8_t(0x80 >> (x % 8));
            bitsWanted.push_back(set ? 0x000000u : 0xFFFFFFu);
        }
    }
    const struct {
        ImageBuffer* image;
        const std::vector<uint32_t>& wanted;
    } cases[] = {{&grey, greyWanted}, {&bits, bitsWanted}};
    for (const auto& c : cases) {
        ScreenReader reader;
        FWDragManager::RegisterReceiver(&reader, &source, FWRect(0, 0, 100, 100));
        data.SetImage(c.image);
        HostInjectMouseUp(Point{150, 150});
        FWDragManager::TrackDrag(press(), &source, data);
        FWDragManager::UnregisterReceiver(&reader);
        EXPECT_EQ(c.wanted, reader.seen) << c.image->Depth();
    }
}

TEST_F(FWDragManagerTest, DragOfTwoItemsReachesNoReceiver)
{
    DragRef drag = nullptr;
    ASSERT_EQ(noErr, NewDrag(&drag));
    AddDragItemFlavor(drag, 1, FlavorType(kText), "a", 1, 0);
    AddDragItemFlavor(drag, 2, FlavorType(kText), "b", 1, 0);
    HostInjectMouseMove(inTarget(50, 50));
    HostInjectMouseUp(inTarget(50, 50));
    EventRecord start;
    start.what = mouseDown;
    start.where = Point{150, 150};
    EXPECT_EQ(userCanceledErr, TrackDrag(drag, &start, nullptr));
    DisposeDrag(drag);
    EXPECT_TRUE(log.empty());
}

TEST_F(FWDragManagerTest, DragWithoutAPlatformWindowDoesNotRun)
{
    FWWindow loose;
    EXPECT_EQ(0, FWDragManager::TrackDrag(press(), &loose, data));
}

TEST_F(FWDragManagerTest, ReceiversChangeOnlyDuringADragAndFlavoursAreFourCharacterCodes)
{
    static_assert(std::is_same_v<decltype(std::declval<const FWDragScrap&>().Type()), uint32_t>);
    FWDragManager::NewReceiver(&first, FWPoint(10, 10));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(nullptr, FWDragManagerPAC::CurrentReceiver());
}
