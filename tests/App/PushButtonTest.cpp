#include "PushButton.h"

#include "ByteBuilder.h"
#include "ControlTestWindow.h"
#include "FWFont.h"
#include "FWStr.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct ViewSize {
    int width, height;
    bool operator==(const ViewSize&) const = default;
};

ViewSize sizeOf(const FWView& view)
{
    const FWRect r = view.GetRect();
    return ViewSize{r.Width(), r.Height()};
}

} // namespace

TEST(PushButton, EmptySizesTakeTheDefaults)
{
    ControlTestWindow w;
    const FWStr<31> keep("Keep");
    struct Case {
        const char* kind;
        FWRect rect;
        const FWString* text;
        ViewSize size;
        const char* title;
        bool bold;
    } cases[] = {
        {"push", FWRect(10, 10, 10, 10), nullptr, {20, 20}, "", false},
        {"ok", FWRect(10, 10, 10, 10), nullptr, {74, 29}, "OK", true},
        {"ok", FWRect(10, 10, 110, 50), nullptr, {100, 40}, "OK", true},
        {"ok", FWRect(10, 10, 14, 60), nullptr, {74, 50}, "OK", true},
        {"cancel", FWRect(0, 0, 0, 0), &keep, {66, 24}, "Keep", true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<PushButton> button;
        if (std::string(c.kind) == "ok") {
            auto* ok = new OKButton;
            ok->Init(&w.Window(), c.rect, c.text);
            button.reset(ok);
        } else if (std::string(c.kind) == "cancel") {
            auto* cancel = new CancelButton;
            cancel->Init(&w.Window(), c.rect, c.text);
            button.reset(cancel);
        } else {
            button.reset(new PushButton);
            button->Init(&w.Window(), c.rect, c.text, 0);
        }
        EXPECT_EQ(c.size, sizeOf(*button)) << c.kind;
        EXPECT_STREQ(c.title, button->GetText().GetCString());
        EXPECT_EQ(c.bold, button->GetBoldText());
    }
}

TEST(PushButton, TheBaselineSitsTwoAboveTheTextBottomUpTo15PixelsHighElseThree)
{
    ControlTestWindow w;
    FWFont font = w.Window().Font();
    FWFontMetrics metrics;
    font.GetFontMetrics(metrics);
    const int textHeight = metrics.ascent + metrics.descent;
    const FWStr<31> text("Go");
    for (int height : {15, 16, 40}) {
        PushButton button;
        button.Init(&w.Window(), FWRect(0, 0, 80, int16_t(height)), &text, 0);
        // The text block is centred on the button's centre row.
        const int textBottom = height / 2 - textHeight / 2 + textHeight;
        EXPECT_EQ(textBottom - (height <= 15 ? 2 : 3), button.GetTextPosition().v) << height;
        EXPECT_LE(button.GetTextLimit(), 80 - 4);
    }
}

TEST(PushButton, TheStateFollowsTheMouseAndOnlyAReleaseInsideReports)
{
    struct Case {
        int behaviour;
        FWPoint release;
        bool reported;
        bool stateAfter;
    } cases[] = {
        {0, FWPoint(30, 20), true, false},  // momentary, inside
        {0, FWPoint(200, 20), false, false}, // momentary, outside
        {1, FWPoint(30, 20), true, true},    // toggle, inside: changed
        {1, FWPoint(200, 20), false, false}, // toggle, outside: back as it was
    };
    for (const Case& c : cases) {
        ControlTestWindow w;
        InterfaceLog log;
        auto* button = new PushButton;
        const FWStr<31> text("Go");
        button->Init(&w.Window(), FWRect(10, 10, 90, 40), &text, 0);
        button->SetInterfaceTarget(&log);
        button->SetBehaviour(c.behaviour);
        w.Add(button);
        FWEvent press = w.Click(FWPoint(20, 20), {FWPoint(200, 20), c.release});
        EXPECT_TRUE(button->MouseDownEvent(press));
        EXPECT_EQ(c.reported, !log.mEntries.empty()) << c.behaviour;
        EXPECT_EQ(c.stateAfter, button->GetState()) << c.behaviour;
    }
}

TEST(PushButton, AnOKButtonStoresThePushButtonRecordUnderItsOwnClass)
{
    ControlTestWindow w;
    OKButton ok;
    ok.Init(&w.Window(), FWRect(10, 10, 10, 10), nullptr);
    const std::vector<uint8_t> view = StoredViewLevel(ok);
    const FWRect icon = ok.GetIconRect();
    const FWPoint text = ok.GetTextPosition();
    ByteBuilder expected;
    expected.Byte(1).Bytes(view).Bytes({0, 0, 0, 0}).Long(131).Rect(icon.top, icon.left, icon.bottom, icon.right);
    expected.Byte(0).Bytes({'O', 'K', 0}).Byte(1).Short(text.v).Short(text.h).Long(ok.GetTextLimit());
    const std::vector<uint8_t> record = StoredRecord(ok);
    EXPECT_EQ(view.size() + 30, record.size());
    EXPECT_EQ(expected.Data(), record);

    std::unique_ptr<FWView> back(ReadStoredRecord("OKButton", record));
    auto* read = dynamic_cast<OKButton*>(back.get());
    ASSERT_NE(nullptr, read);
    EXPECT_STREQ("OK", read->GetText().GetCString());
    EXPECT_EQ(131, read->GetIconID());
    EXPECT_TRUE(read->GetBoldText());
    EXPECT_EQ(FWRect(10, 10, 84, 39), read->GetRect());
}

TEST(PushButton, StoredEnumBytesAreSignedAndAnUnknownVersionKeepsTheDefaults)
{
    ControlTestWindow w;
    PushButton button;
    button.Init(&w.Window(), FWRect(0, 0, 50, 20), nullptr, 0);
    button.SetBorder(-2);
    button.SetPlacement(7);
    std::vector<uint8_t> record = StoredRecord(button);
    std::unique_ptr<FWView> back(ReadStoredRecord("PushButton", record));
    auto* read = static_cast<PushButton*>(back.get());
    EXPECT_EQ(-2, read->GetBorder());
    EXPECT_EQ(7, read->GetPlacement());

    record[0] = 2;
    std::unique_ptr<FWView> unknown(ReadStoredRecord("PushButton", record));
    EXPECT_EQ(0, static_cast<PushButton*>(unknown.get())->GetBorder());
}
