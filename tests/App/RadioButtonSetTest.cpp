#include "FWAppColor.h"
#include "FWFont.h"
#include "FWStr.h"
#include "FWStreamException.h"
#include "FWViewMngr.h"
#include "ProgrammerMessageRecorder.h"
#include "RadioButtonSet.h"
#include "SerialStream.h"

#include "ControlTestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

class RadioButtonSetTest : public ::testing::Test {
protected:
    RadioButtonSetTest() { FWSetColorScheme(); }
    RadioButtonSet* add(FWPoint at, std::vector<const char*> names)
    {
        std::vector<FWStr<31>> labels(names.begin(), names.end());
        auto* set = new RadioButtonSet;
        set->Init(&mWindow.Window(), at, int32_t(labels.size()), labels.data());
        mWindow.Add(set);
        set->SetInterfaceTarget(&mLog);
        return set;
    }
    FWView* addPlain(int32_t id) { return mWindow.AddPlain(id); }
    int32_t width(const char* text) { return mWindow.TextWidth(text); }

    ControlTestWindow mWindow;
    InterfaceLog mLog;
};

} // namespace

TEST_F(RadioButtonSetTest, ButtonsStandFourteenApartBesideTheWidestLabel)
{
    RadioButtonSet* set = add(FWPoint(10, 20), {"Low", "Medium", "High"});
    const int16_t w = int16_t(std::max({width("Low"), width("Medium"), width("High")}));
    EXPECT_EQ(FWRect(10, 20, int16_t(26 + w), 62), set->GetRect());
    EXPECT_EQ(FWRect(11, 35, 23, 47), set->GetButton(1).mImageRect);
    EXPECT_EQ(FWRect(10, 34, int16_t(27 + w), 49), set->GetButton(1).mHitRect);
    EXPECT_EQ(FWPoint(26, 45), set->GetLabel(1).mPoint);
}

TEST_F(RadioButtonSetTest, ReleaseOnAnotherButtonMakesItActive)
{
    struct Case {
        const char* what;
        FWPoint press;
        std::initializer_list<FWPoint> moves;
        bool notifyAlways;
        int32_t active;
        std::vector<std::string> reports;
    };
    // Set at (10, 20): button i spans v 20 + 14i .. 35 + 14i.
    const Case cases[] = {
        {"released on button 2", FWPoint(15, 50), {}, false, 2, {"event"}},
        {"slid off button 2", FWPoint(15, 50), {FWPoint(15, 120)}, false, 0, {}},
        {"slid off and back", FWPoint(15, 50), {FWPoint(15, 120), FWPoint(16, 51)}, false, 2, {"event"}},
        {"the active button", FWPoint(15, 25), {}, false, 0, {}},
        {"the active button, notify always", FWPoint(15, 25), {}, true, 0, {"event"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RadioButtonSet* set = add(FWPoint(10, 20), {"A", "B", "C"});
        set->SetNotifyAlways(c.notifyAlways);
        mLog.mEntries.clear();
        FWEvent click = mWindow.Click(c.press, c.moves);
        EXPECT_TRUE(set->MouseDownEvent(click));
        EXPECT_EQ(c.active, set->GetActiveButton());
        EXPECT_EQ(c.reports, mLog.mEntries);
    }

    // A click that finds no button does nothing, even with notify always.
    RadioButtonSet* set = add(FWPoint(10, 20), {"A"});
    set->SetNotifyAlways(true);
    mLog.mEntries.clear();
    FWEvent away(kMouseDownEvent, &mWindow.Window(), 0);
    away.mWhere = FWPoint(200, 150);
    EXPECT_TRUE(set->MouseDownEvent(away));
    EXPECT_TRUE(mLog.mEntries.empty());
}

TEST_F(RadioButtonSetTest, ActiveButtonGhostsItsLinkedView)
{
    FWView* four = addPlain(4);
    FWView* eight = addPlain(8);
    RadioButtonSet* set = add(FWPoint(10, 20), {"A", "B", "C"});
    set->SetLinkedID(1, 4);
    set->SetLinkedID(2, 8);
    set->SetActiveButton(1);
    EXPECT_TRUE(four->IsGhosted());
    set->SetActiveButton(2);
    EXPECT_FALSE(four->IsGhosted());
    EXPECT_TRUE(eight->IsGhosted());
    set->SetActiveButton(99);
    EXPECT_EQ(3, set->GetActiveButton());
    EXPECT_FALSE(eight->IsGhosted());
    set->SetActiveButton(-1);
    EXPECT_EQ(-1, set->GetActiveButton());
}

TEST_F(RadioButtonSetTest, DuplicateCopiesEveryLabel)
{
    std::vector<std::string> names;
    for (int i = 0; i < 17; ++i)
        names.push_back("Choice " + std::to_string(i));
    std::vector<const char*> raw;
    for (const std::string& n : names)
        raw.push_back(n.c_str());
    RadioButtonSet* set = add(FWPoint(10, 20), raw);
    std::unique_ptr<FWView> copy(set->Duplicate(FWPoint(5, 7)));
    auto* dup = dynamic_cast<RadioButtonSet*>(copy.get());
    ASSERT_NE(dup, nullptr);
    ASSERT_EQ(17, dup->GetCount());
    EXPECT_EQ(FWStr<31>("Choice 16"), dup->GetLabel(16).mText);
    EXPECT_EQ(FWPoint(15, 27), FWPoint(dup->GetRect().left, dup->GetRect().top));

    auto* bare = new RadioButtonSet;
    bare->Init(&mWindow.Window(), FWPoint(0, 0), 2, nullptr);
    mWindow.Add(bare);
    std::unique_ptr<FWView> bareCopy(bare->Duplicate(FWPoint(0, 0)));
    EXPECT_FALSE(dynamic_cast<RadioButtonSet*>(bareCopy.get())->HasLabels());
}

TEST_F(RadioButtonSetTest, RecordKeepsLinkedIdsAndRefusesCountsItCannotHold)
{
    RadioButtonSet* set = add(FWPoint(10, 20), {"A", "B"});
    set->SetLinkedID(1, 9);
    set->SetActiveButton(1);
    const std::vector<uint8_t> bytes = StoredRecord(*set);
    const int w = std::max(width("A"), width("B"));
    const std::vector<uint8_t> button1 = {0, 35, 0, 11, 0, 47, 0, 23,                       // image rect
                                          0, 34, 0, 10, 0, 49, 0, uint8_t(27 + w),          // hit rect
                                          0, 0, 0, 9,                                       // linked id
                                          0, 45, 0, 26, 'B', 0,                             // label
                                          0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, uint8_t(w)};     // active, long, width
    EXPECT_EQ(1, bytes[0]);
    ASSERT_GT(bytes.size(), button1.size());
    EXPECT_EQ(button1, std::vector<uint8_t>(bytes.end() - long(button1.size()), bytes.end()));

    {
        SerialStream in(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size()), SerialStream::kReading);
        RadioButtonSet read;
        read.OldRead(in);
        EXPECT_EQ(9, read.GetButton(1).mLinkedID);
        EXPECT_EQ(1, read.GetActiveButton());
        EXPECT_EQ(bytes, StoredRecord(read));
    }

    // Count 2 becomes 3 with the bytes of two buttons left.
    const size_t countAt = bytes.size() - button1.size() - 26 - 4;
    std::vector<uint8_t> short3 = bytes;
    short3[countAt + 3] = 3;
    SerialStream in(reinterpret_cast<const char*>(short3.data()), uint32_t(short3.size()), SerialStream::kReading);
    RadioButtonSet refused;
    EXPECT_THROW(refused.OldRead(in), FWReadFailedException);
    EXPECT_EQ(0, refused.GetCount());

    ProgrammerMessageRecorder messages;
    short3[0] = 2;
    SerialStream unknown(reinterpret_cast<const char*>(short3.data()), uint32_t(short3.size()), SerialStream::kReading);
    RadioButtonSet other;
    other.OldRead(unknown);
    EXPECT_EQ(std::vector<std::string>{"Unknown 'RadioButtonSet' version"}, messages.Texts());
}
