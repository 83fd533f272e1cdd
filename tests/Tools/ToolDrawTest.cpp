#include "ToolTestTable.h"

#include "FWAppColor.h"
#include "FWArgb32.h"
#include "FWDrawContext.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "FWToolFolder.h"
#include "FWToolManager.h"
#include "FWToolManagerImp.h"
#include "FWToolWidgets.h"
#include "ImageBuffer.h"

#include <memory>

namespace {

constexpr FWArgb32 kMagenta{255, 255, 0, 255};

// Draws on a 120 x 60 image filled with magenta, so that every pixel drawn shows.
class ToolDrawTest : public ToolFixture {
protected:
    ToolDrawTest() : mImage(&kBounds, kImageBufferDepth32), mContext(&mImage)
    {
        FWOpMenu menu(ToolTestRoot());
        FWToolManager::CreateToolSystem(menu);
        clear();
    }

    void clear() { mContext.PaintRect(&kBounds, kMagenta); }
    FWArgb32 at(int h, int v) const
    {
        const uint32_t p = reinterpret_cast<const uint32_t*>(mImage.BaseAddr() + int64_t(v) * mImage.RowBytes())[h];
        return FWArgb32(255, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The bounds of every pixel that is no longer magenta.
    FWRect drawn() const
    {
        int left = 1000, top = 1000, right = -1, bottom = -1;
        for (int v = 0; v < kBounds.bottom; ++v)
            for (int h = 0; h < kBounds.right; ++h)
                if (at(h, v) != kMagenta) {
                    left = std::min(left, h);
                    top = std::min(top, v);
                    right = std::max(right, h + 1);
                    bottom = std::max(bottom, v + 1);
                }
        return right < 0 ? FWRect() : FWRect(int16_t(left), int16_t(top), int16_t(right), int16_t(bottom));
    }
    std::unique_ptr<FWToolWidget> widget(const char* name, const FWRect& rect)
    {
        std::unique_ptr<FWToolWidget> w(FWToolManager::CreateNewWidgetForTool(name));
        w->SetRect(rect);
        return w;
    }

    static constexpr FWRect kBounds{0, 0, 120, 60};
    ImageBuffer mImage;
    FWDrawContext mContext;
};

TEST_F(ToolDrawTest, EllipsisDotsShowAnAlternateAction)
{
    const FWArgb32 enabled = FWGetAppColor(2);
    const struct {
        const char* tool;
        FWArgb32 dot; // magenta: no dots
    } cases[] = {{"Select", enabled}, {"Erase", FWArgb32(255, 160, 160, 160)}, {"Draw", kMagenta}};
    for (const auto& c : cases) {
        clear();
        widget(c.tool, FWRect(10, 5, 54, 49))->DrawEllipsis(mContext);
        for (int i = 0; i < 3; ++i) {
            const int h = 12 + 4 * i;
            const int v = 45;
            EXPECT_EQ(c.dot, at(h, v)) << c.tool << " dot " << i;
            EXPECT_EQ(c.dot, at(h, v + 1)) << c.tool;
            EXPECT_EQ(c.dot, at(h + 1, v)) << c.tool;
            EXPECT_EQ(c.dot == kMagenta ? kMagenta : FWArgb32::White, at(h + 1, v + 1)) << c.tool;
        }
        EXPECT_EQ(kMagenta, at(12, 44)) << c.tool;
        EXPECT_EQ(kMagenta, at(24, 45)) << c.tool;
    }
}

TEST_F(ToolDrawTest, MarksSitTopRightAndHalveUpTo30PixelsWide)
{
    const struct {
        int width;
        FWRect expected; // the mark's pixels, 2 in from the top-right corner
    } cases[] = {{31, FWRect(26, 2, 38, 14)}, {30, FWRect(32, 2, 38, 8)}};
    for (const auto& c : cases) {
        clear();
        auto radio = widget("Red", FWRect(int16_t(40 - c.width), 0, 40, 44));
        static_cast<FWRadioToolWidget*>(radio.get())->DrawRadioMark(mContext);
        EXPECT_EQ(c.expected, drawn()) << c.width;
    }
    // The activated picture is another one.
    clear();
    auto check = widget("Grid", FWRect(0, 0, 44, 44));
    auto* grid = static_cast<FWCheckToolWidget*>(check.get());
    grid->DrawCheckMark(mContext);
    const FWArgb32 off = at(36, 8);
    FWToolManagerImp::Instance()->ActivateTool(*Tool("Grid"));
    grid->DrawCheckMark(mContext);
    EXPECT_NE(off, at(36, 8));
    EXPECT_TRUE(mProgrammerMessages.Texts().empty());
}

TEST_F(ToolDrawTest, IconsAreCentredOrScaledIntoTheWidget)
{
    // The 32-pixel icon at its own size in a 44-pixel widget, scaled into a 22-pixel one.
    widget("Select", FWRect(10, 5, 54, 49))->DrawIcon(mContext);
    const FWRect large = drawn();
    EXPECT_GE(large.left, 16);
    EXPECT_GE(large.top, 11);
    EXPECT_LE(large.right, 48);
    EXPECT_LE(large.bottom, 43);
    EXPECT_GT(large.Width(), 22);

    clear();
    widget("Select", FWRect(10, 5, 32, 27))->DrawIcon(mContext);
    const FWRect small = drawn();
    EXPECT_GE(small.left, 12);
    EXPECT_GE(small.top, 7);
    EXPECT_LE(small.right, 30);
    EXPECT_LE(small.bottom, 25);
    EXPECT_GT(small.Width(), 12);

    // Without an icon the name is written in the widget instead.
    clear();
    widget("Spread", FWRect(10, 5, 54, 49))->DrawIcon(mContext);
    EXPECT_FALSE(drawn().Empty());
}

TEST_F(ToolDrawTest, TextModeWritesTheNameEmbossedAndCutToTheWidth)
{
    widget("Select", FWRect(0, 0, 120, 18))->DrawName(mContext);
    const FWRect name = drawn();
    EXPECT_GE(name.left, 15);
    EXPECT_LE(name.bottom, 15); // baseline 13, and the emboss one lower
    bool black = false;
    bool emboss = false;
    for (int v = 0; v < 18; ++v)
        for (int h = 0; h < 120; ++h) {
            black = black || at(h, v) == FWArgb32::Black;
            emboss = emboss || at(h, v) == FWGetAppColor(1);
        }
    EXPECT_TRUE(black);
    EXPECT_TRUE(emboss);

    // 40 wide leaves 13 pixels for the name.
    clear();
    widget("Item 36", FWRect(0, 20, 40, 38))->DrawName(mContext);
    EXPECT_LE(drawn().right, 15 + 13 + 1);
}

TEST_F(ToolDrawTest, FolderIsAFileFolderShape)
{
    FWToolFolder folder(nullptr, FWRect(2, 2, 102, 50), FWStr<63>("Modes"));
    folder.SetContracted(true);
    const FWRect r = folder.GetRect();
    ASSERT_EQ(FWRect(2, 2, 102, 20), r);
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const FWArgb32 black = FWArgb32::Black, white = FWArgb32::White;
    const struct {
        int h, v;
        FWArgb32 withBottom, withoutBottom;
    } pixels[] = {
        {L, T + 2, black, black},          {L + 1, T + 1, black, black},       {R - 12, T + 1, black, black},
        {L + 2, T, black, black},          {R - 13, T, black, black},          {R - 11, T + 2, black, black},
        {R - 11, T + 13, black, black},    {R - 1, T + 13, black, black},      {L + 1, T + 2, white, white},
        {L + 2, T + 1, white, white},      {R - 13, T + 1, white, white},      {R - 12, T + 3, white, white},
        {R - 2, T + 14, white, white},     {R - 11, T + 14, white, white},     {L, B - 1, black, black},
        {L + 5, B - 1, black, kMagenta},   {R - 1, B - 1, black, kMagenta},    {L + 5, B - 2, white, kMagenta},
        {R - 2, B - 3, white, kMagenta},   {R - 1, T + 1, kMagenta, kMagenta}, {R - 12, T + 2, kMagenta, kMagenta},
    };
    folder.Draw(mContext);
    for (const auto& p : pixels)
        EXPECT_EQ(p.withBottom, at(p.h, p.v)) << p.h << "," << p.v;
    clear();
    folder.SetDrawBottomWhenContracted(false);
    folder.Draw(mContext);
    for (const auto& p : pixels)
        EXPECT_EQ(p.withoutBottom, at(p.h, p.v)) << "without bottom " << p.h << "," << p.v;
    folder.DeleteChildren();
}

} // namespace
