#include "ColorButton.h"
#include "ControlTestWindow.h"
#include "FWAppColor.h"
#include "FWDragData.h"
#include "FWDragManager.h"
#include "FWDrawContext.h"
#include "FWViewMngr.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "LayoutEntries.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A flavour of any bytes under a type.
class BytesScrap : public FWDragScrap {
public:
    BytesScrap(uint32_t type, std::string bytes) : mType(type), mBytes(std::move(bytes)) {}
    uint32_t Type() const override { return mType; }
    void RetrieveData(const void*& data, int& size) const override
    {
        data = mBytes.empty() ? nullptr : mBytes.data();
        size = int(mBytes.size());
    }

private:
    uint32_t mType;
    std::string mBytes;
};

class ColorButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FWDragManager::Init();
        first = add(FWRect(20, 20, 60, 50), FWArgb32(255, 10, 20, 30));
        second = add(FWRect(100, 20, 140, 50), FWArgb32(0, 90, 150, 30));
        w.Update();
    }
    void TearDown() override { FWDragManager::CleanUp(); }
    ColorButton* add(FWRect rect, FWArgb32 color)
    {
        auto* button = new ColorButton;
        button->Init(&w.Window(), rect, color);
        button->SetInterfaceTarget(&log);
        w.Add(button);
        return button;
    }

    struct ColorScheme {
        ColorScheme() { FWSetColorScheme(); }
    } scheme; // before the window takes its background from it
    ControlTestWindow w;
    InterfaceLog log;
    ColorButton* first = nullptr;
    ColorButton* second = nullptr;
};

TEST_F(ColorButtonTest, TheRecordHoldsTheColourInItsOwnOrder)
{
    first->SetPromptString(FWStr<31>(""));
    ColorButton* small = add(FWRect(200, 100, 205, 105), FWArgb32::Red);
    EXPECT_EQ(FWRect(200, 100, 215, 115), small->GetRect());
    const std::vector<uint8_t> body = SavedBody(w.Window().ViewMngr(), "ColorButton");
    ASSERT_EQ(88u, body.size());
    EXPECT_EQ(1, body[0]);
    EXPECT_EQ((std::vector<uint8_t>{0xFF, 0x0A, 0x14, 0x1E, 0x01, 0x00}), std::vector<uint8_t>(body.end() - 6, body.end()));
}

TEST_F(ColorButtonTest, DraggingOneButtonOntoAnotherCopiesItsColour)
{
    // Out of the first button with the button held, over the second, released there.
    FWEvent press = w.Click(FWPoint(40, 35), {FWPoint(70, 35), FWPoint(120, 35), FWPoint(121, 35)});
    EXPECT_TRUE(first->MouseDownEvent(press));
    EXPECT_EQ(FWArgb32(255, 10, 20, 30), second->GetColor());
    EXPECT_EQ((std::vector<std::string>{"event"}), log.mEntries);
}

TEST_F(ColorButtonTest, AColourDragHighlightsOtherButtonsOnly)
{
    FWDragData data;
    data.AddScrap(new ColorScrap(FWArgb32(255, 1, 2, 3)));
    // The light colour takes each channel two thirds of the way to 255; the dark one a third.
    second->Enter(FWPoint(120, 35), data);
    const FWRect r = second->GetRect();
    EXPECT_EQ(0xC8DCB4u, w.ScreenRgb(FWPoint(int16_t(r.left + 3), int16_t(r.top + 3))));
    EXPECT_EQ(0x1E320Au, w.ScreenRgb(FWPoint(int16_t(r.left + 4), int16_t(r.bottom - 5))));
    second->Exit(FWPoint(120, 35), data);
    EXPECT_EQ(0x5A961Eu, w.ScreenRgb(FWPoint(int16_t(r.left + 3), int16_t(r.top + 3))));

    // Only a flavour of exactly four bytes is a colour.
    for (const std::string& bytes : {std::string(), std::string("\x01\x02\x03", 3), std::string("\x01\x02\x03\x04\x05", 5)}) {
        FWDragData odd;
        odd.AddScrap(new BytesScrap(FOUR_CHAR_CODE("ARGB"), bytes));
        second->Accept(odd);
        EXPECT_EQ(FWArgb32(0, 90, 150, 30), second->GetColor()) << bytes.size();
    }
    second->Accept(data);
    EXPECT_EQ(FWArgb32(255, 1, 2, 3), second->GetColor());
    EXPECT_EQ((std::vector<std::string>{"event"}), log.mEntries);
}

} // namespace
