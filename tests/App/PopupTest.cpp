#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWEventHandler.h"
#include "FWFont.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWPopupMenu.h"
#include "FWStr.h"
#include "FWStreamException.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "Popup.h"
#include "ProgrammerMessageRecorder.h"
#include "SerialStream.h"

#include "HostDesktopScope.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// What the control reports: "a0", "a2" for interface actions, "e" for interface events.
class Reports : public FWEventHandler {
public:
    bool InterfaceAction(FWView*, const ActionType& action) override
    {
        mSeen += "a" + std::to_string(action.mAction) + " ";
        return true;
    }
    bool InterfaceEvent(FWView*) override
    {
        mSeen += "e ";
        return true;
    }
    std::string mSeen;
};

FWOpMenu* itemsMenu(std::vector<std::pair<const char*, uint32_t>> items)
{
    auto* menu = new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (auto [name, flags] : items)
        menu->AppendChild(new FWOpItem(name, 0, flags, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    return menu;
}

std::vector<uint8_t> storedBytes(FWView& view)
{
    SerialStream out(nullptr, 0, SerialStream::kWriting);
    view.OldWrite(out);
    const auto* p = reinterpret_cast<const uint8_t*>(out.Buffer());
    return std::vector<uint8_t>(p, p + out.Size());
}

class PopupTest : public ::testing::Test {
protected:
    PopupTest()
    {
        FWSetColorScheme();
        mWindow.Initialize(nullptr, FWRect(100, 100, 500, 400));
        mWindow.Show();
        DiskImage* arrow = DiskImage::Acquire(700, FOUR_CHAR_CODE("argb"));
        mArrowWidth = arrow != nullptr ? arrow->GetRect().Width() : 0;
        DiskImage::Release(arrow);
        FWFontMetrics m;
        FWFont().GetFontMetrics(m);
        mRow = m.ascent + m.descent + m.leading + 2;
    }
    Popup* add(FWRect rect, const char* label, FWOpMenu* menu, int selection)
    {
        auto* popup = new Popup;
        popup->Init(&mWindow, menu, true);
        FWStr<63> text(label);
        popup->Init(&mWindow, rect, &text, selection, true);
        mWindow.ViewMngr().GetViewTree()->AppendChild(popup);
        popup->SetInterfaceTarget(&mReports);
        return popup;
    }
    int32_t width(const char* text) const { return mWindow.Font().GetStringWidth(text, int32_t(std::strlen(text))); }
    // Clicks the popup and, once the menu is up, releases on item `item`.
    bool choose(Popup* popup, int item)
    {
        const FWRect r = popup->GetRect();
        FWPoint at(int16_t(r.left + popup->GetLabelWidth() + 1), int16_t(r.top + 1));
        mWindow.WindowToGlobal(&at);
        HostSetGlobalMouse(Point{at.v, at.h});
        HostSetMouseButton(true);
        const int current = std::max(popup->ItemSelected(), 0);
        const Point target{int16_t(at.v + (item - current) * mRow + mRow / 2), int16_t(at.h + 20)};
        HostInjectClockAdvance(600'000'000);
        HostInjectMouseMove(target);
        HostInjectMouseUp(target);
        FWEvent click(kMouseDownEvent, &mWindow, 0);
        return popup->MouseDownEvent(click);
    }

    HostDesktopScope mDesktop;
    FWWindow mWindow;
    Reports mReports;
    int32_t mArrowWidth = 0;
    int32_t mRow = 0;
};

} // namespace

TEST_F(PopupTest, LabelGetsTheRoomTheBoxLeaves)
{
    const char* longLabel = "A label far too long to fit beside the box of this popup control";
    struct Case {
        const char* label;
        int selection;
        int32_t expected;
    };
    const Case cases[] = {
        {"Size:", 0, width("Size:") + 2},
        {longLabel, 0, 200 - mArrowWidth - 6 - 15 + 2}, // cut, with room for the shown item
        {longLabel, -1, 200 - mArrowWidth - 6 + 2},     // nothing shown
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Popup* p = add(FWRect(10, 10, 210, 30), c.label, itemsMenu({{"Small", 0}}), c.selection);
        EXPECT_EQ(c.expected, p->GetLabelWidth());
        EXPECT_EQ(FWPoint(10, 21), p->GetLabelPoint());
    }
}

TEST_F(PopupTest, SelectionIsClampedAndShowsTheItemsName)
{
    Popup* p = add(FWRect(10, 10, 210, 30), "", itemsMenu({{"A", 0}, {"B", 0}, {"C", 0}, {"Note", 1024}}), 0);
    p->GetPopupMenu()->Root()->RemoveItem(3);
    EXPECT_EQ(FWStr<31>("A"), p->GetItemText());
    p->SetItemSelected(99);
    EXPECT_EQ(2, p->ItemSelected());
    EXPECT_EQ(FWStr<31>("C"), p->GetItemText());
    p->SetItemSelected(-5);
    EXPECT_EQ(-1, p->ItemSelected());
    EXPECT_EQ(FWStr<31>("C"), p->GetItemText());

    Popup* q = add(FWRect(10, 40, 210, 60), "", itemsMenu({{"A", 0}, {"Note", 1024}}), 0);
    q->SetItemSelected(1);
    EXPECT_EQ(1, q->ItemSelected());
    EXPECT_EQ(FWStr<31>("A"), q->GetItemText());

    Popup* none = add(FWRect(10, 70, 210, 90), "", nullptr, -1);
    none->SetItemSelected(0);
    EXPECT_EQ(-1, none->ItemSelected());
    FWEvent click(kMouseDownEvent, &mWindow, 0);
    EXPECT_FALSE(none->MouseDownEvent(click));
}

TEST_F(PopupTest, ChoicesReportAsTheyChangeTheSelection)
{
    struct Case {
        const char* what;
        bool notifyEveryClick;
        int chosen;
        const char* reports;
        int selectionAfter;
        const char* textAfter;
    };
    const Case cases[] = {
        {"the selected item", false, 1, "a0 a2 ", 1, "B"},
        {"the selected item, notify on every click", true, 1, "a0 a2 e ", 1, "B"},
        {"another item", false, 0, "a0 a2 e ", 0, "A"},
        {"another item, notify on every click", true, 0, "a0 a2 e ", 0, "A"},
        {"a report-only item", false, 2, "a0 a2 e ", 1, "B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Popup* p = add(FWRect(10, 10, 210, 30), "Pick:", itemsMenu({{"A", 0}, {"B", 0}, {"Report", 1024}}), 1);
        p->SetNotifyOnEveryClick(c.notifyEveryClick);
        mReports.mSeen.clear();
        EXPECT_TRUE(choose(p, c.chosen));
        EXPECT_EQ(c.reports, mReports.mSeen);
        EXPECT_EQ(c.selectionAfter, p->ItemSelected());
        EXPECT_EQ(FWStr<31>(c.textAfter), p->GetItemText());
    }
}

TEST_F(PopupTest, AccessByIdReportsOtherClasses)
{
    ProgrammerMessageRecorder messages;
    Popup* p = add(FWRect(10, 10, 210, 30), "", itemsMenu({{"A", 0}, {"B", 0}}), 0);
    auto* plain = new FWView;
    plain->Init(&mWindow);
    mWindow.ViewMngr().GetViewTree()->AppendChild(plain);
    Popup::GSetItemSelected(&mWindow, p->ID(), 1, nullptr);
    EXPECT_EQ(1, Popup::GItemSelected(&mWindow, p->ID()));
    EXPECT_EQ(-1, Popup::GItemSelected(&mWindow, plain->ID()));
    Popup::GSetItemSelected(&mWindow, plain->ID(), 1, nullptr);
    EXPECT_EQ((std::vector<std::string>{"Called 'GItemSelected' on a non-Popup object.",
                                        "Called 'GSetItemSelected' on a non-Popup object."}),
              messages.Texts());
}

TEST_F(PopupTest, RecordIsVersionTwoAndReadsBothVersions)
{
    Popup* p = add(FWRect(10, 10, 210, 30), "Hi", itemsMenu({{"Red", 0}, {"Green", 0}}), 1);
    std::vector<uint8_t> bytes = storedBytes(*p);
    const int16_t lw = int16_t(width("Hi") + 2);
    const std::vector<uint8_t> tail = {'H', 'i', 0, 1, 0, 0, 0, 1, 0, 0, uint8_t(lw),
                                       0, 0, 0, 2, 'R', 'e', 'd', 0, 'G', 'r', 'e', 'e', 'n', 0};
    EXPECT_EQ(2, bytes[0]);
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(tail, std::vector<uint8_t>(bytes.end() - long(tail.size()), bytes.end()));

    // Read back: the items become an owned menu, and the record writes back the same.
    {
        SerialStream in(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size()), SerialStream::kReading);
        Popup read;
        read.OldRead(in);
        EXPECT_EQ(2, read.CountItems());
        EXPECT_EQ(FWStr<31>("Green"), read.GetItemText());
        EXPECT_TRUE(read.GetPopupMenu()->OwnsMenu());
        EXPECT_EQ(bytes, storedBytes(read));
    }

    // Version 1 has no label width and is written back as version 2.
    std::vector<uint8_t> v1 = bytes;
    v1[0] = 1;
    v1.erase(v1.end() - long(tail.size()) + 9, v1.end() - long(tail.size()) + 11);
    {
        SerialStream in(reinterpret_cast<const char*>(v1.data()), uint32_t(v1.size()), SerialStream::kReading);
        Popup read;
        read.OldRead(in);
        EXPECT_EQ(bytes, storedBytes(read));
    }

    // A count the bytes left cannot hold is refused.
    std::vector<uint8_t> huge = bytes;
    huge[huge.size() - 14] = 0x10; // count 0x10000002
    SerialStream in(reinterpret_cast<const char*>(huge.data()), uint32_t(huge.size()), SerialStream::kReading);
    Popup refused;
    EXPECT_THROW(refused.OldRead(in), FWReadFailedException);
    EXPECT_EQ(0, refused.CountItems());

    ProgrammerMessageRecorder messages;
    bytes[0] = 3;
    SerialStream unknown(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size()), SerialStream::kReading);
    Popup other;
    other.OldRead(unknown);
    EXPECT_EQ(std::vector<std::string>{"Unknown 'Popup' version"}, messages.Texts());
    EXPECT_EQ(-1, other.ItemSelected());
}
