#include "BranchItem.h"
#include "FWDrawContext.h"
#include "FWFont.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "Group.h"
#include "ProgrammerMessageRecorder.h"
#include "SerialStream.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> storedBytes(FWView& view)
{
    SerialStream out(nullptr, 0, SerialStream::kWriting);
    view.OldWrite(out);
    const auto* p = reinterpret_cast<const uint8_t*>(out.Buffer());
    return std::vector<uint8_t>(p, p + out.Size());
}

class CustomWindow : public FWWindow {
public:
    void DrawCustomView(FWDrawContext&, const FWView* view) override { mDrawn.push_back(view); }
    std::vector<const FWView*> mDrawn;
};

class GroupTest : public ::testing::Test {
protected:
    GroupTest()
    {
        mWindow.SetSize(300, 200);
        mWindow.ViewMngr().Initialize(FWRect());
    }
    Group* add(FWRect rect, const char* label, Group::LabelPosition position, Group::Style style)
    {
        auto* group = new Group;
        FWStr<63> text(label);
        group->Init(&mWindow, rect, &text, position, style);
        mWindow.ViewMngr().GetViewTree()->AppendChild(group);
        return group;
    }
    int32_t width(const char* text) const { return mWindow.Font().GetStringWidth(text, int32_t(std::strlen(text))); }

    CustomWindow mWindow;
};

} // namespace

TEST_F(GroupTest, LabelSitsInTheFrameByPosition)
{
    const int32_t w = width("Options");
    struct Case {
        Group::LabelPosition position;
        int h, v;
        FWRect frame;
    };
    // Box (0, 0, 101, 60).
    const Case cases[] = {
        {Group::kTopLeft, 12, 10, FWRect(0, 5, 101, 60)},
        {Group::kTopCenter, int(50.5 - w / 2.0), 10, FWRect(0, 5, 101, 60)},
        {Group::kTopRight, 101 - w - 12, 10, FWRect(0, 5, 101, 60)},
        {Group::kBottomLeft, 12, 58, FWRect(0, 0, 101, 55)},
        {Group::kBottomCenter, int(50.5 - w / 2.0), 58, FWRect(0, 0, 101, 55)},
        {Group::kBottomRight, 101 - w - 12, 58, FWRect(0, 0, 101, 55)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.position));
        Group* g = add(FWRect(0, 0, 101, 60), "Options", c.position, Group::kEngraved);
        EXPECT_EQ(FWPoint(int16_t(c.h), int16_t(c.v)), g->GetLabel().mPoint);
        EXPECT_EQ(FWRect(int16_t(c.h - 3), int16_t(c.v - 10), int16_t(c.h + w + 3), int16_t(c.v)), g->GetLabelRect());
        EXPECT_EQ(c.frame, g->GetFrameRect());
    }
    // The engraved frame is inset 2, and the content loses its right and bottom line.
    EXPECT_EQ(FWRect(2, 7, 98, 57), add(FWRect(0, 0, 101, 60), "Options", Group::kTopCenter, Group::kEngraved)->GetContentRect());
}

TEST_F(GroupTest, OnlyLineStylesPlaceTheLabelAndTinyBoxesGrow)
{
    struct Case {
        Group::Style style;
        FWRect content;
    };
    const Case cases[] = {
        {Group::kRaised, FWRect(11, 11, 108, 48)},
        {Group::kSunken, FWRect(11, 11, 108, 48)},
        {Group::kFramedSunken, FWRect(12, 12, 107, 47)},
        {Group::kCustom, FWRect(10, 10, 109, 49)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.style));
        Group* g = add(FWRect(10, 10, 110, 50), "Ignored", Group::kTopLeft, c.style);
        EXPECT_EQ(FWPoint(), g->GetLabel().mPoint);
        EXPECT_TRUE(g->GetLabelRect().Empty());
        EXPECT_EQ(FWRect(10, 10, 110, 50), g->GetFrameRect());
        EXPECT_EQ(c.content, g->GetContentRect());
    }
    EXPECT_EQ(FWRect(20, 30, 80, 90), add(FWRect(20, 30, 20, 30), "", Group::kTopLeft, Group::kRaised)->GetRect());
    EXPECT_EQ(FWRect(20, 30, 29 + 51, 39 + 51), add(FWRect(20, 30, 29, 39), "", Group::kTopLeft, Group::kRaised)->GetRect());
}

TEST_F(GroupTest, FirstSetRectLeavesThePagesAndLaterOnesMoveThem)
{
    auto* g = new Group;
    mWindow.ViewMngr().GetViewTree()->AppendChild(g);
    g->SetBranchTotal(2);
    g->Init(&mWindow, FWRect(10, 10, 110, 80), nullptr, Group::kTopLeft, Group::kSunken);
    EXPECT_EQ(FWRect(), g->FindBranch(1)->GetRect());
    g->SetRect(FWRect(20, 20, 120, 90));
    EXPECT_EQ(FWRect(20, 20, 120, 90), g->FindBranch(1)->GetRect());
    g->SetActiveLayer(1);
    EXPECT_EQ(1, g->GetActiveBranchIndex());
}

TEST_F(GroupTest, CustomStyleLetsTheWindowDrawInside)
{
    Group* custom = add(FWRect(10, 10, 110, 80), "", Group::kTopLeft, Group::kCustom);
    Group* plain = add(FWRect(10, 100, 110, 180), "", Group::kTopLeft, Group::kSunken);
    FWDrawContext context(&mWindow);
    custom->Draw(context);
    plain->Draw(context);
    EXPECT_EQ(std::vector<const FWView*>{custom}, mWindow.mDrawn);
}

TEST_F(GroupTest, RecordKeepsItsRectsAndLabelAsStored)
{
    Group* g = add(FWRect(0, 0, 101, 60), "Hi", Group::kTopLeft, Group::kEngraved);
    const std::vector<uint8_t> bytes = storedBytes(*g);
    const int w = width("Hi");
    const std::vector<uint8_t> tail = {
        0, 2,                                                        // position, style
        0, 7, 0, 2, 0, 57, 0, 98,                                    // content rect
        0, 0, 0, 9, 0, 10, 0, uint8_t(15 + w),                       // label rect
        0, 5, 0, 0, 0, 60, 0, 101,                                   // frame rect
        0, 10, 0, 12, 'H', 'i', 0,                                   // label: v, h, text
        0, 0, 0, 0, 0, 0, 0, 0,                                      // two unused Longs
        0};                                                          // validation no longer skipped
    EXPECT_EQ(1, bytes[0]);
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(tail, std::vector<uint8_t>(bytes.end() - long(tail.size()), bytes.end()));

    // Read back as stored, without a new layout.
    std::vector<uint8_t> altered = bytes;
    altered[altered.size() - tail.size() + 2 + 1] = 99; // content rect top
    SerialStream in(reinterpret_cast<const char*>(altered.data()), uint32_t(altered.size()), SerialStream::kReading);
    in.SetVersion(2);
    Group read;
    read.OldRead(in);
    EXPECT_EQ(99, read.GetContentRect().top);
    EXPECT_EQ(Group::kEngraved, read.GetStyle());
    EXPECT_EQ(FWPoint(12, 10), read.GetLabel().mPoint);
    EXPECT_TRUE(in.AtStreamEnd());

    ProgrammerMessageRecorder messages;
    altered[0] = 2;
    SerialStream unknown(reinterpret_cast<const char*>(altered.data()), uint32_t(altered.size()), SerialStream::kReading);
    Group other;
    other.OldRead(unknown);
    EXPECT_EQ(std::vector<std::string>{"Unknown 'Group' version"}, messages.Texts());
    EXPECT_EQ(Group::kRaised, other.GetStyle());
}
