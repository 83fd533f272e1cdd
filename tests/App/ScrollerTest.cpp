#include "Scroller.h"

#include "ByteBuilder.h"
#include "ControlTestWindow.h"

#include <gtest/gtest.h>

#include <memory>

TEST(Scroller, ThumbAndTravelFollowTheExtent)
{
    struct Case {
        FWRect rect;
        int visible, total;
        int maximum, thumb, travel;
    } cases[] = {
        {FWRect(0, 0, 16, 100), 20, 50, 30, 40, 60},
        {FWRect(0, 0, 100, 16), 20, 50, 30, 40, 60}, // horizontal, same length
        {FWRect(0, 0, 16, 100), 60, 50, 0, 120, -20}, // everything visible
        {FWRect(0, 0, 16, 100), 20, 0, 0, 0, 100},
        {FWRect(0, 0, 16, 100), 1, 1000000, 999999, 10, 90}, // never below 10 pixels
    };
    for (const Case& c : cases) {
        Scroller bar;
        bar.Init(nullptr, &c.rect);
        bar.SetScrollMax(c.visible, c.total);
        EXPECT_EQ(c.maximum, bar.ScrollMax()) << c.visible << "/" << c.total;
        EXPECT_EQ(c.thumb, bar.ThumbLength()) << c.visible << "/" << c.total;
        EXPECT_EQ(c.travel, bar.Travel()) << c.visible << "/" << c.total;
    }
}

TEST(Scroller, ValueSetsTheThumbAndIsStoredAsGiven)
{
    ControlTestWindow w;
    Scroller bar;
    const FWRect rect(10, 10, 26, 110);
    bar.Init(&w.Window(), &rect);
    bar.SetScrollMax(20, 50);
    bar.SetScrollVal(15);
    FWRect thumb;
    EXPECT_EQ(FWRect(10, 40, 26, 80), *bar.GetThumbRect(&thumb));

    const std::vector<uint8_t> view = StoredViewLevel(bar);
    ByteBuilder expected;
    expected.Byte(1).Bytes(view).Long(0x14).Long(0x32).Long(0x0F).Long(0x1E).Long(0).Long(0x28).Long(0x3C);
    EXPECT_EQ(expected.Data(), StoredRecord(bar));

    bar.SetScrollVal(500);
    EXPECT_EQ(500, bar.ScrollVal());
    std::unique_ptr<FWView> back(ReadStoredRecord("Scroller", StoredRecord(bar)));
    EXPECT_EQ(500, static_cast<Scroller*>(back.get())->ScrollVal());
    // A smaller extent brings the value back into range.
    bar.SetScrollMax(20, 40);
    EXPECT_EQ(20, bar.ScrollVal());
}

TEST(Scroller, APressInTheTroughCentresTheThumbThenDragsAndReports)
{
    struct Case {
        FWPoint press;
        std::initializer_list<FWPoint> moves;
        int value;
        std::vector<std::string> reports;
    } cases[] = {
        // Thumb pressed and dragged 30 pixels: half the travel.
        {FWPoint(18, 30), {FWPoint(18, 60)}, 15, {"action 0", "action 1", "action 2", "event"}},
        // Trough below the thumb at 90: the thumb's centre jumps there (start 60 of 60).
        {FWPoint(18, 90), {}, 30, {"action 0", "action 2", "event"}},
    };
    for (const Case& c : cases) {
        ControlTestWindow w;
        InterfaceLog log;
        auto* bar = new Scroller;
        const FWRect rect(10, 10, 26, 110);
        bar->Init(&w.Window(), &rect);
        bar->SetInterfaceTarget(&log);
        w.Add(bar);
        FWEvent press = w.Click(c.press, c.moves);
        EXPECT_TRUE(bar->MouseDownEvent(press));
        EXPECT_EQ(c.value, bar->ScrollVal());
        EXPECT_EQ(c.reports, log.mEntries);
    }
}

TEST(Scroller, ABarWithNoRoomForItsThumbIgnoresDragsAndIsAllThumb)
{
    ControlTestWindow w;
    InterfaceLog log;
    auto* bar = new Scroller;
    const FWRect rect(10, 10, 15, 18);
    bar->Init(&w.Window(), &rect);
    bar->SetInterfaceTarget(&log);
    bar->SetScrollMax(1, 100);
    bar->SetScrollVal(40);
    w.Add(bar);
    ASSERT_GT(bar->ScrollMax(), 0);
    ASSERT_LE(bar->Travel(), 0);
    FWRect thumb;
    EXPECT_EQ(rect, *bar->GetThumbRect(&thumb));
    FWEvent press = w.Click(FWPoint(12, 12), {FWPoint(12, 16)});
    bar->MouseDownEvent(press);
    EXPECT_EQ(40, bar->ScrollVal());
    EXPECT_TRUE(log.mEntries.empty());
}
