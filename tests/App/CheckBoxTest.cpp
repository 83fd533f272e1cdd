#include "CheckBox.h"
#include "EditText.h"
#include "FWAppColor.h"
#include "FWFont.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "ProgrammerMessageRecorder.h"
#include "SerialStream.h"

#include "ControlTestWindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class CheckBoxTest : public ::testing::Test {
protected:
    CheckBoxTest() { FWSetColorScheme(); }
    CheckBox* add(FWPoint at, const char* label)
    {
        auto* box = new CheckBox;
        FWStr<63> text(label);
        box->Init(&mWindow.Window(), at, &text);
        mWindow.Add(box);
        box->SetInterfaceTarget(&mLog);
        return box;
    }
    FWView* addPlain(int32_t id) { return mWindow.AddPlain(id, FWRect(200, 10, 250, 30)); }
    int32_t width(const char* text) { return mWindow.TextWidth(text); }

    ControlTestWindow mWindow;
    InterfaceLog mLog;
};

} // namespace

TEST_F(CheckBoxTest, IsSixteenHighAndAsWideAsItsLabelPlusTheBox)
{
    CheckBox* box = add(FWPoint(10, 20), "Remember me");
    EXPECT_EQ(FWRect(10, 20, int16_t(10 + width("Remember me") + 16), 36), box->GetRect());
    box->SetRect(FWRect(40, 50, 45, 55));
    EXPECT_EQ(FWRect(40, 50, int16_t(40 + width("Remember me") + 16), 66), box->GetRect());
    EXPECT_EQ(FWView::kEditMove, box->FilterEditType(FWView::kEditBottomRight));
}

TEST_F(CheckBoxTest, ClickTogglesOnlyWhenReleasedOverTheBox)
{
    struct Case {
        const char* what;
        std::initializer_list<FWPoint> moves;
        bool toggled;
    };
    const Case cases[] = {
        {"released in place", {}, true},
        {"moved out and released", {FWPoint(15, 60)}, false},
        {"moved out and back in", {FWPoint(15, 60), FWPoint(16, 28)}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CheckBox* box = add(FWPoint(10, 20), "Box");
        mLog.mEntries.clear();
        FWEvent click = mWindow.Click(FWPoint(15, 28), c.moves);
        EXPECT_TRUE(box->MouseDownEvent(click));
        EXPECT_EQ(!c.toggled, box->GetState());
        EXPECT_EQ(c.toggled ? std::vector<std::string>{"event"} : std::vector<std::string>{}, mLog.mEntries);
    }
}

TEST_F(CheckBoxTest, StateGhostsTheLinkedViews)
{
    FWView* five = addPlain(5);
    FWView* six = addPlain(6);
    FWView* seven = addPlain(7);
    CheckBox* box = add(FWPoint(10, 20), "Box");
    box->SetLinkedItem(0, 5);
    box->SetLinkedItem(2, 7);
    box->SetLinkedItem(1, 0);
    box->SetState(false);
    EXPECT_TRUE(five->IsGhosted());
    EXPECT_TRUE(seven->IsGhosted());
    EXPECT_FALSE(six->IsGhosted());
    box->SetState(true);
    EXPECT_FALSE(five->IsGhosted());
    EXPECT_FALSE(seven->IsGhosted());
    box->SetInvert(true);
    box->SetState(true);
    EXPECT_TRUE(five->IsGhosted());
    box->DefaultState();
    EXPECT_FALSE(five->IsGhosted());
}

TEST_F(CheckBoxTest, AccessByIdReportsOtherClasses)
{
    ProgrammerMessageRecorder messages;
    CheckBox* box = add(FWPoint(10, 20), "Box");
    auto* field = new EditText;
    field->Init(&mWindow.Window(), FWRect(10, 60, 100, 80), nullptr);
    mWindow.Add(field);
    CheckBox::GSetState(&mWindow.Window(), box->ID(), false, nullptr);
    EXPECT_FALSE(CheckBox::GGetState(&mWindow.Window(), box->ID()));
    EXPECT_FALSE(CheckBox::GGetState(&mWindow.Window(), field->ID()));
    CheckBox::GSetState(&mWindow.Window(), field->ID(), true, nullptr);
    EXPECT_EQ((std::vector<std::string>{"Called 'GGetState' on a non-CheckBox object.",
                                        "Called 'GSetState' on a non-CheckBox object."}),
              messages.Texts());
    EXPECT_EQ("FW/App/Source/CheckBox", messages.Messages()[0].sourcePath);
}

TEST_F(CheckBoxTest, RecordHoldsLabelLinksAndFlagsAndReadingGhostsNothing)
{
    FWView* five = addPlain(5);
    CheckBox* box = add(FWPoint(10, 20), "Box");
    const int32_t links[] = {5, 0, 7, 0, 0, 0};
    for (int i = 0; i < CheckBox::kLinkedCount; ++i)
        box->SetLinkedItem(i, links[i]);
    const std::vector<uint8_t> bytes = StoredRecord(*box);
    const std::vector<uint8_t> tail = {0x42, 0x6F, 0x78, 0x00, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0,
                                       0,    0,    0,    0,    0, 0, 0, 0, 0, 0x00, 0x01, 0x00};
    EXPECT_EQ(1, bytes[0]);
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(tail, std::vector<uint8_t>(bytes.end() - long(tail.size()), bytes.end()));

    std::vector<uint8_t> unchecked = bytes;
    unchecked[unchecked.size() - 2] = 0;
    SerialStream in(reinterpret_cast<const char*>(unchecked.data()), uint32_t(unchecked.size()), SerialStream::kReading);
    auto* read = new CheckBox;
    read->OldRead(in);
    read->SetWindow(&mWindow.Window());
    mWindow.Add(read);
    EXPECT_FALSE(read->GetState());
    EXPECT_EQ(7, read->GetLinkedItem(2));
    EXPECT_FALSE(five->IsGhosted());
    read->SetState(false);
    EXPECT_TRUE(five->IsGhosted());

    ProgrammerMessageRecorder messages;
    unchecked[0] = 2;
    SerialStream unknown(reinterpret_cast<const char*>(unchecked.data()), uint32_t(unchecked.size()), SerialStream::kReading);
    CheckBox other;
    other.OldRead(unknown);
    EXPECT_EQ(std::vector<std::string>{"Unknown 'CheckBox' version"}, messages.Texts());
    EXPECT_TRUE(other.GetState());
}
