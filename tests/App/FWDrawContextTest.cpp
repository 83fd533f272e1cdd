#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWDynamicString.h"
#include "FWFont.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostPorts.h"
#include "HostScript.h"
#include "ImageBuffer.h"

#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr uint32_t kBlack = MakeColor32(255, 0, 0, 0);
constexpr uint32_t kWhite = MakeColor32(255, 255, 255, 255);

// A 32-bit image of the given size at the origin, filled with a colour.
std::unique_ptr<ImageBuffer> canvas(int width, int height, uint32_t fill = kWhite)
{
    const FWRect rect(0, 0, int16_t(width), int16_t(height));
    auto buffer = std::make_unique<ImageBuffer>(&rect, kImageBufferDepth32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<uint32_t*>(buffer->BaseAddr() + y * buffer->RowBytes())[x] = fill;
    return buffer;
}

uint32_t& at(const ImageBuffer& buffer, int x, int y)
{
    const FWRect& r = buffer.GetRect();
    return reinterpret_cast<uint32_t*>(buffer.BaseAddr() + (y - r.top) * buffer.RowBytes())[x - r.left];
}

std::vector<uint32_t> pixels(const ImageBuffer& buffer)
{
    std::vector<uint32_t> all;
    const FWRect& r = buffer.GetRect();
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            all.push_back(at(buffer, x, y));
    return all;
}

// The columns and rows holding pixels other than the background.
struct Ink {
    int left = 32767, top = 32767, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

Ink inkOf(const ImageBuffer& buffer, uint32_t background = kWhite)
{
    Ink ink;
    const FWRect& r = buffer.GetRect();
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (at(buffer, x, y) == background)
                continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x + 1);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    }
    return ink;
}

uint32_t word(const FWArgb32& c)
{
    return MakeColor32(c.a, c.r, c.g, c.b);
}

class FWDrawContextTest : public ::testing::Test {
protected:
    void SetUp() override { FWSetColorScheme(); }
};

} // namespace

TEST_F(FWDrawContextTest, WithoutATargetNothingIsDrawnAndQueriesAreNeutral)
{
    FWDrawContext none;
    EXPECT_EQ(FWArgb32::Black, none.GetForeColor());
    EXPECT_EQ(FWArgb32::Black, none.SetForeColor(FWArgb32::Red));
    EXPECT_EQ(FWArgb32::Black, none.GetForeColor());
    EXPECT_EQ(FWDrawContext::kPenCopy, none.GetPenMode());
    EXPECT_EQ(FWFont(), none.GetFont());
    FWRect clip(1, 2, 3, 4);
    none.GetClipRect(&clip);
    EXPECT_EQ(FWRect(), clip);
    FWRect visible(1, 2, 3, 4);
    EXPECT_EQ(&visible, none.GetVisRect(&visible));
    EXPECT_EQ(FWRect(1, 2, 3, 4), visible);
    none.PaintRect(nullptr);
    none.LineTo(10, 10);
    const FWDynamicString text("text");
    none.DrawString(&text);
    const FWRect box(0, 0, 50, 50);
    EXPECT_EQ(0, none.WrapString(&box, &text));

    // A null image is a programmer error; an invalid one leaves no platform state either.
    ProgrammerMessageRecorder recorder;
    FWDrawContext nullImage(static_cast<ImageBuffer*>(nullptr));
    EXPECT_EQ(1u, recorder.Messages().size());
    ImageBuffer invalid;
    FWDrawContext onInvalid(&invalid);
    onInvalid.SetForeColor(FWArgb32::Red);
    EXPECT_EQ(FWArgb32::Black, onInvalid.GetForeColor());
}

TEST_F(FWDrawContextTest, AViewContextLendsTheWindowItsOffsetForItsLifeOnly)
{
    FWWindow window;
    FWView root;
    FWView* child = new FWView;
    root.SetWindow(&window);
    child->SetWindow(&window);
    root.SetOffset(FWPoint(7, 11));
    root.AppendChild(child);
    ASSERT_EQ(FWPoint(7, 11), child->GetParentOffset());
    {
        FWDrawContext context(child);
        EXPECT_EQ(&window, context.Window());
        EXPECT_EQ(25 + 11, window.TitleWidth());
        EXPECT_EQ(3 + 7, window.FrameWidth());
        // Moving the view meanwhile does not change what is given back.
        root.SetOffset(FWPoint(1, 1));
    }
    EXPECT_EQ(25, window.TitleWidth());
    EXPECT_EQ(3, window.FrameWidth());
    {
        // Retargeting to an image gives the widths back at once.
        root.SetOffset(FWPoint(2, 4));
        FWDrawContext context(child);
        auto image = canvas(2, 2);
        context.SetImageBuffer(image.get());
        EXPECT_EQ(nullptr, context.Window());
        EXPECT_EQ(25, window.TitleWidth());
    }
    EXPECT_EQ(25, window.TitleWidth());
    EXPECT_EQ(3, window.FrameWidth());
    child->Unlink();
    delete child;

    // A view without a window, and a null window, are programmer errors.
    ProgrammerMessageRecorder recorder;
    FWView loose;
    FWDrawContext noWindow(&loose);
    FWDrawContext nullWindow(static_cast<FWWindow*>(nullptr));
    EXPECT_EQ(2u, recorder.Messages().size());
    EXPECT_EQ(nullptr, noWindow.Window());
}

TEST_F(FWDrawContextTest, StateIsKeptAndSettersReturnThePreviousValue)
{
    auto image = canvas(20, 20);
    FWDrawContext context(image.get());
    EXPECT_EQ(FWArgb32::Black, context.GetForeColor());
    EXPECT_EQ(FWGetAppColor(0), context.GetBackColor());
    EXPECT_EQ(FWArgb32::Black, context.SetForeColor(10, 20, 30));
    EXPECT_EQ(FWArgb32(255, 10, 20, 30), context.SetForeColor(FWArgb32::Blue));
    EXPECT_EQ(FWGetAppColor(0), context.SetBackColor(FWArgb32::Yellow));
    EXPECT_EQ(FWArgb32::Yellow, context.GetBackColor());

    context.SetPenMode(FWDrawContext::PenModeType(7));
    EXPECT_EQ(FWDrawContext::kPenXor, context.GetPenMode());
    context.PenNormal();
    EXPECT_EQ(FWDrawContext::kPenCopy, context.GetPenMode());

    context.MoveTo(3, 4);
    EXPECT_EQ(FWPoint(3, 4), context.GetPen());

    context.SetFontSize(14);
    context.SetFontBold(true);
    context.SetFontType(2);
    const FWFont font = context.GetFont();
    EXPECT_EQ(2, font.Type());
    EXPECT_EQ(14, font.Size());
    EXPECT_TRUE(font.Bold());
    EXPECT_FALSE(font.Italic());
    context.SetFont(nullptr);
    EXPECT_EQ(font, context.GetFont());

    const FWRect clip(2, 2, 8, 8);
    EXPECT_EQ(FWRect(-30000, -30000, 30000, 30000), context.SetClipRect(&clip));
    FWRect effective;
    context.GetClipRect(&effective);
    EXPECT_EQ(clip, effective);
    EXPECT_EQ(clip, context.SetClipRect(nullptr));

    FWRect visible;
    context.GetVisRect(&visible);
    EXPECT_EQ(FWRect(0, 0, 20, 20), visible);

    context.SetDefaultState();
    EXPECT_EQ(FWArgb32::Black, context.GetForeColor());
    EXPECT_EQ(FWFont(), context.GetFont());
    EXPECT_EQ(FWPoint(0, 0), context.GetPen());
}

TEST_F(FWDrawContextTest, ShapesLandOnTheirPixels)
{
    auto image = canvas(10, 10);
    FWDrawContext context(image.get());
    context.SetForeColor(FWArgb32::Red);
    const FWRect r(2, 3, 6, 7);
    context.FrameRect(&r);
    EXPECT_EQ(word(FWArgb32::Red), at(*image, 2, 3));
    EXPECT_EQ(word(FWArgb32::Red), at(*image, 5, 6));
    EXPECT_EQ(kWhite, at(*image, 3, 4)); // inside the outline
    EXPECT_EQ(kWhite, at(*image, 6, 7)); // right and bottom edges are outside

    const FWRect inner(3, 4, 5, 6);
    context.EraseRect(&inner, FWArgb32::Green);
    EXPECT_EQ(word(FWArgb32::Green), at(*image, 4, 5));
    EXPECT_EQ(FWGetAppColor(0), context.GetBackColor()); // the temporary colour is put back

    context.PaintRect(nullptr, FWArgb32::Blue); // the whole image
    EXPECT_EQ(word(FWArgb32::Blue), at(*image, 0, 0));
    EXPECT_EQ(word(FWArgb32::Blue), at(*image, 9, 9));
    EXPECT_EQ(FWArgb32::Red, context.GetForeColor());

    context.PaintPixel(1, 1);
    EXPECT_EQ(word(FWArgb32::Red), at(*image, 1, 1));
    context.MoveTo(0, 9);
    context.LineTo(9, 9);
    EXPECT_EQ(word(FWArgb32::Red), at(*image, 5, 9));
    EXPECT_EQ(FWPoint(9, 9), context.GetPen());
}

TEST_F(FWDrawContextTest, XorOutlinesDrawnTwiceLeaveTheImageUnchanged)
{
    auto image = canvas(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            at(*image, x, y) = MakeColor32(255, x * 16, y * 16, (x + y) * 8);
    const std::vector<uint32_t> before = pixels(*image);
    FWDrawContext context(image.get());
    context.SetPenMode(FWDrawContext::kPenXor);
    const FWRect r(1, 2, 14, 13);
    context.FrameRect(&r);
    context.MoveTo(0, 0);
    context.LineTo(15, 9);
    EXPECT_NE(before, pixels(*image));
    context.FrameRect(&r);
    context.MoveTo(0, 0);
    context.LineTo(15, 9);
    EXPECT_EQ(before, pixels(*image));
}

TEST_F(FWDrawContextTest, ClippingKeepsPixelsOutsideUntouched)
{
    auto image = canvas(10, 10);
    FWDrawContext context(image.get());
    const FWRect clip(2, 2, 5, 6);
    context.SetClipRect(&clip);
    context.PaintRect(nullptr, FWArgb32::Red);
    const Ink ink = inkOf(*image);
    EXPECT_EQ(2, ink.left);
    EXPECT_EQ(2, ink.top);
    EXPECT_EQ(5, ink.right);
    EXPECT_EQ(6, ink.bottom);

    // A clip outside the image draws nothing at all.
    auto other = canvas(10, 10);
    FWDrawContext second(other.get());
    const FWRect outside(20, 20, 30, 30);
    second.SetClipRect(&outside);
    second.PaintRect(nullptr);
    EXPECT_TRUE(inkOf(*other).Empty());
}

TEST_F(FWDrawContextTest, ImagesDrawScaledAndThroughTheirMask)
{
    // A 2 x 2 source whose top-right pixel is transparent.
    auto source = canvas(2, 2, MakeColor32(255, 0, 0, 200));
    at(*source, 1, 0) = MakeColor32(0, 0, 0, 0);
    source->CreateMaskBuffer();
    ASSERT_NE(nullptr, source->GetMask());

    auto target = canvas(8, 8);
    FWDrawContext context(target.get());
    const FWRect dst(2, 2, 6, 6); // twice the size
    context.DrawImage(source.get(), &dst, false);
    EXPECT_EQ(MakeColor32(255, 0, 0, 200), at(*target, 2, 2));
    EXPECT_EQ(MakeColor32(255, 0, 0, 200), at(*target, 3, 5));
    EXPECT_EQ(kWhite, at(*target, 4, 2)); // masked out
    EXPECT_EQ(kWhite, at(*target, 5, 3));
    EXPECT_EQ(MakeColor32(255, 0, 0, 200), at(*target, 5, 4));
    const Ink ink = inkOf(*target);
    EXPECT_EQ(2, ink.left);
    EXPECT_EQ(6, ink.right);

    // The context's colours are what they were.
    EXPECT_EQ(FWArgb32::Black, context.GetForeColor());

    // An image without pixels draws nothing.
    ImageBuffer empty;
    auto untouched = canvas(4, 4);
    FWDrawContext third(untouched.get());
    third.DrawImage(&empty, &dst, false);
    EXPECT_TRUE(inkOf(*untouched).Empty());
}

TEST_F(FWDrawContextTest, TilesStartAtTheirPhase)
{
    // Tile: three columns of red, green, blue.
    auto tile = canvas(3, 1);
    at(*tile, 0, 0) = word(FWArgb32::Red);
    at(*tile, 1, 0) = word(FWArgb32::Green);
    at(*tile, 2, 0) = word(FWArgb32::Blue);
    auto target = canvas(8, 2);
    FWDrawContext context(target.get());
    const FWRect dst(1, 0, 8, 2);
    context.DrawTiles(*tile, -1, 0, dst);
    // h = -1 starts one pixel before the tile's right edge.
    const uint32_t expected[] = {kWhite, word(FWArgb32::Blue), word(FWArgb32::Red), word(FWArgb32::Green),
                                 word(FWArgb32::Blue), word(FWArgb32::Red), word(FWArgb32::Green), word(FWArgb32::Blue)};
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(expected[x], at(*target, x, 0)) << x;
        EXPECT_EQ(expected[x], at(*target, x, 1)) << x;
    }

    // Part of the image as the tile, phase 4 in a 2-wide tile.
    auto part = canvas(8, 1);
    FWDrawContext partContext(part.get());
    const FWRect greenBlue(1, 0, 3, 1);
    partContext.DrawTiles(*tile, greenBlue, 4, 0, FWRect(0, 0, 3, 1));
    EXPECT_EQ(word(FWArgb32::Green), at(*part, 0, 0));
    EXPECT_EQ(word(FWArgb32::Blue), at(*part, 1, 0));
    EXPECT_EQ(word(FWArgb32::Green), at(*part, 2, 0));

    // An empty source tile draws nothing (and divides by nothing).
    auto untouched = canvas(4, 4);
    FWDrawContext third(untouched.get());
    third.DrawTiles(*tile, FWRect(1, 0, 1, 1), 5, 5, FWRect(0, 0, 4, 4));
    third.DrawTiles(*tile, FWRect(0, 0, 3, 0), -3, 2, FWRect(0, 0, 4, 4));
    EXPECT_TRUE(inkOf(*untouched).Empty());
}

TEST_F(FWDrawContextTest, FadeMovesPixelsTowardTheColourExceptTheKeptOnes)
{
    auto image = canvas(4, 1, MakeColor32(255, 100, 100, 100));
    at(*image, 3, 0) = MakeColor32(255, 205, 195, 200);
    FWDrawContext context(image.get());
    const FWRect all(0, 0, 4, 1);
    context.FadeRect(&all, 0.0, FWArgb32::White, nullptr);
    EXPECT_EQ(MakeColor32(255, 100, 100, 100), at(*image, 0, 0));

    const FWArgb32 keep(255, 200, 200, 200);
    const FWRect firstThree(0, 0, 4, 1);
    context.FadeRect(&firstThree, 0.5, FWArgb32::White, &keep);
    EXPECT_EQ(MakeColor32(255, 177, 177, 177), at(*image, 0, 0));
    EXPECT_EQ(MakeColor32(255, 205, 195, 200), at(*image, 3, 0)); // within 10 of keep

    context.FadeRect(&all, 1.0, FWArgb32::Black, nullptr);
    EXPECT_EQ(kBlack, at(*image, 3, 0));
}

TEST_F(FWDrawContextTest, TheOpBufferOnlyGrows)
{
    const FWRect wide(0, 0, 300, 10);
    ASSERT_TRUE(FWDrawContext::check_op_buffer_size(&wide));
    const FWRect first = FWDrawContext::OpBuffer().GetRect();
    EXPECT_GE(first.Width(), 300);
    EXPECT_GE(first.Height(), 60);
    const FWRect tall(0, 0, 100, first.Height() + 20);
    ASSERT_TRUE(FWDrawContext::check_op_buffer_size(&tall));
    EXPECT_EQ(first.Width(), FWDrawContext::OpBuffer().GetRect().Width());
    EXPECT_EQ(first.Height() + 20, FWDrawContext::OpBuffer().GetRect().Height());
    const FWRect small(0, 0, 5, 5);
    ASSERT_TRUE(FWDrawContext::check_op_buffer_size(&small));
    EXPECT_EQ(first.Height() + 20, FWDrawContext::OpBuffer().GetRect().Height());
}

TEST_F(FWDrawContextTest, BevelsUseTheApplicationColours)
{
    auto image = canvas(6, 6, MakeColor32(255, 1, 1, 1));
    FWDrawContext context(image.get());
    context.SetForeColor(FWArgb32::Red);
    context.SetPenMode(FWDrawContext::kPenXor);
    const FWRect r(0, 0, 6, 6);
    context.InsetRect(&r, true);
    const uint32_t dark = word(FWGetAppColor(2));
    const uint32_t light = word(FWGetAppColor(1));
    EXPECT_EQ(dark, at(*image, 0, 0));
    EXPECT_EQ(dark, at(*image, 4, 0));
    EXPECT_EQ(dark, at(*image, 0, 4));
    EXPECT_EQ(MakeColor32(255, 1, 1, 1), at(*image, 5, 0)); // the corners the bevel leaves
    EXPECT_EQ(light, at(*image, 5, 1));
    EXPECT_EQ(light, at(*image, 5, 5));
    EXPECT_EQ(light, at(*image, 1, 5));
    EXPECT_EQ(kBlack, at(*image, 1, 1)); // the frame
    EXPECT_EQ(kBlack, at(*image, 4, 4));
    EXPECT_EQ(MakeColor32(255, 1, 1, 1), at(*image, 2, 2));
    EXPECT_EQ(FWArgb32::Red, context.GetForeColor());
    EXPECT_EQ(FWDrawContext::kPenXor, context.GetPenMode());

    auto raised = canvas(6, 6, MakeColor32(255, 1, 1, 1));
    FWDrawContext second(raised.get());
    const FWArgb32 base(255, 100, 100, 100);
    second.ExtrudedRect(&r, &base);
    EXPECT_EQ(MakeColor32(255, 177, 177, 177), at(*raised, 0, 0));
    EXPECT_EQ(MakeColor32(255, 50, 50, 50), at(*raised, 5, 5));
    EXPECT_EQ(MakeColor32(255, 1, 1, 1), at(*raised, 2, 2)); // the inside is untouched
}

TEST_F(FWDrawContextTest, HiliteExchangesTwoColours)
{
    auto image = canvas(4, 1, word(FWArgb32::Yellow));
    at(*image, 1, 0) = word(FWArgb32::Cyan);
    at(*image, 2, 0) = word(FWArgb32::Red);
    FWDrawContext context(image.get());
    const FWRect r(0, 0, 3, 1);
    context.HiliteRect(&r, FWArgb32::Cyan, FWArgb32::Yellow);
    EXPECT_EQ(word(FWArgb32::Cyan), at(*image, 0, 0));
    EXPECT_EQ(word(FWArgb32::Yellow), at(*image, 1, 0));
    EXPECT_EQ(word(FWArgb32::Red), at(*image, 2, 0));
    EXPECT_EQ(word(FWArgb32::Yellow), at(*image, 3, 0)); // outside
}

TEST_F(FWDrawContextTest, ScrollingMovesPixelsAndReportsTheUncoveredArea)
{
    auto image = canvas(10, 4);
    at(*image, 2, 1) = word(FWArgb32::Red);
    FWDrawContext context(image.get());
    const FWRect r(0, 0, 10, 4);
    FWRect exposed;
    context.ScrollRect(&r, exposed, 3, 0);
    EXPECT_EQ(word(FWArgb32::Red), at(*image, 5, 1));
    EXPECT_EQ(FWRect(0, 0, 3, 4), exposed);

    ProgrammerMessageRecorder recorder;
    context.ScrollRect(&r, 1, 1);
    EXPECT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ("FW/App/Source/FWDrawContext", recorder.Messages()[0].sourcePath);
}

TEST_F(FWDrawContextTest, CaptureAndDragImages)
{
    auto image = canvas(6, 6);
    at(*image, 4, 4) = word(FWArgb32::Red);
    FWDrawContext context(image.get());
    auto copy = canvas(2, 2, kBlack);
    const FWRect src(3, 3, 5, 5);
    const FWRect dst(0, 0, 2, 2);
    context.CaptureImage(copy.get(), &src, &dst);
    EXPECT_EQ(kWhite, at(*copy, 0, 0));
    EXPECT_EQ(word(FWArgb32::Red), at(*copy, 1, 1));
    context.CaptureImage(copy.get(), nullptr, &dst); // no source: nothing

    auto target = canvas(2, 1, kBlack);
    FWDrawContext dragging(target.get());
    auto white = canvas(2, 1);
    const FWRect whole(0, 0, 2, 1);
    dragging.DrawDraggingImage(white.get(), &whole, &whole);
    const uint32_t half = at(*target, 0, 0);
    EXPECT_NEAR(GetRed32(half), 127, 1);
    EXPECT_NEAR(GetBlue32(half), 127, 1);
}

TEST_F(FWDrawContextTest, SaversPutTheStateBack)
{
    auto image = canvas(10, 10);
    FWDrawContext context(image.get());
    const FWRect clip(1, 1, 5, 5);
    context.SetClipRect(&clip);
    {
        FWColorSaver colors(context, FWArgb32::Red, FWArgb32::Blue);
        EXPECT_EQ(FWArgb32::Black, colors.GetSavedForeColor());
        FWPenSaver pen(context);
        FWPenLocSaver location(context);
        FWFontSaver font(context);
        const FWRect other(0, 0, 2, 2);
        FWClipSaver clipSaver(context, &other);
        EXPECT_EQ(clip, clipSaver.GetSavedClipRect());
        context.SetPenMode(FWDrawContext::kPenXor);
        context.MoveTo(7, 7);
        context.SetFontSize(20);
        EXPECT_EQ(FWArgb32::Blue, context.GetBackColor());
    }
    EXPECT_EQ(FWArgb32::Black, context.GetForeColor());
    EXPECT_EQ(FWGetAppColor(0), context.GetBackColor());
    EXPECT_EQ(FWDrawContext::kPenCopy, context.GetPenMode());
    EXPECT_EQ(FWPoint(0, 0), context.GetPen());
    EXPECT_EQ(9, context.GetFont().Size());
    FWRect now;
    context.GetClipRect(&now);
    EXPECT_EQ(clip, now);
    {
        FWClipSaver keep(context);
        context.SetClipRect(nullptr);
    }
    context.GetClipRect(&now);
    EXPECT_EQ(clip, now);
}

// ---- text

TEST_F(FWDrawContextTest, TextWidthsAgreeWithWhatIsDrawn)
{
    auto image = canvas(200, 30);
    FWDrawContext context(image.get());
    const FWDynamicString text("Hello, World");
    const int32_t width = context.GetFont().GetStringWidth(&text);
    ASSERT_GT(width, 20);
    context.DrawString(10, 20, &text);
    EXPECT_EQ(FWPoint(int16_t(10 + width), 20), context.GetPen());
    const Ink ink = inkOf(*image);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + width + 1);
    EXPECT_LE(ink.bottom, 20 + 3);

    // The next string continues where this one ended.
    const FWDynamicString more("!");
    context.DrawString(&more);
    EXPECT_EQ(10 + width + context.GetFont().GetStringWidth(&more), context.GetPen().h);

    // Widths add up and do not depend on a context.
    const FWFont font;
    EXPECT_EQ(font.GetStringWidth("Hello, ", 7) + font.GetStringWidth("World", 5), width);
    EXPECT_EQ(0, font.GetStringWidth("", 0));
    FWFontMetrics metrics;
    font.GetFontMetrics(metrics);
    EXPECT_GT(metrics.ascent, 0);
    EXPECT_GT(metrics.descent, 0);
    EXPECT_GE(metrics.leading, 0);
}

TEST_F(FWDrawContextTest, FontsMapToPlatformNumbersAndFaces)
{
    FWFont font;
    EXPECT_EQ(1, font.Type());
    EXPECT_EQ(9, font.Size());
    EXPECT_EQ(3, font.PlatformFont());
    EXPECT_EQ(0, font.PlatformFace());
    font.SetType(0);
    EXPECT_EQ(0, font.PlatformFont());
    font.SetType(2);
    EXPECT_EQ(2, font.PlatformFont());
    font.SetType(-1);
    EXPECT_EQ(int16_t(GetScriptVariable(smSystemScript, smScriptSysFondSize) >> 16), font.PlatformFont());
    font.SetBold(true);
    font.SetUnderline(true);
    font.SetShadow(true);
    EXPECT_EQ(1 | 4 | 16, font.PlatformFace());
    font.SetBold(false);
    font.SetItalic(true);
    font.SetOutline(true);
    EXPECT_EQ(2 | 4 | 8 | 16, font.PlatformFace());

    const FWFont bold(1, 12, true);
    const FWFont plain(1, 12);
    EXPECT_GT(bold.GetStringWidth("WWWW", 4), plain.GetStringWidth("WWWW", 4));
}

TEST_F(FWDrawContextTest, ConstrainedTextIsCondensedOrCut)
{
    const FWDynamicString text("A rather long line of text");
    const FWFont font;
    const int32_t full = font.GetStringWidth(&text);

    // Wide enough: drawn whole.
    auto whole = canvas(300, 20);
    FWDrawContext wholeContext(whole.get());
    wholeContext.DrawString(0, 15, &text, int16_t(full), false);
    EXPECT_EQ(full, wholeContext.GetPen().h);

    // Too narrow: cut with an ellipsis, inside the width.
    const int16_t narrow = int16_t(full / 2);
    auto cut = canvas(300, 20);
    FWDrawContext cutContext(cut.get());
    cutContext.DrawString(0, 15, &text, narrow, false);
    EXPECT_LE(cutContext.GetPen().h, narrow);
    EXPECT_GT(cutContext.GetPen().h, narrow / 2);
    EXPECT_LE(inkOf(*cut).right, narrow + 1);

    // Condensing is tried first: a width that only the condensed face fits.
    auto condensed = canvas(300, 20);
    FWDrawContext condensedContext(condensed.get());
    condensedContext.MoveTo(0, 15);
    const int16_t justShort = int16_t(full - 1);
    condensedContext.DrawConstrainedString(&text, justShort, true);
    const int32_t condensedWidth = condensedContext.GetPen().h;
    EXPECT_LE(condensedWidth, justShort);
    // Condensed, the whole text is there: wider ink than the same width cut without condensing.
    auto plain = canvas(300, 20);
    FWDrawContext plainContext(plain.get());
    plainContext.DrawString(0, 15, &text, justShort, false);
    EXPECT_NE(pixels(*plain), pixels(*condensed));
}

TEST_F(FWDrawContextTest, CentredAndEmbossedText)
{
    auto image = canvas(100, 30);
    FWDrawContext context(image.get());
    const FWDynamicString text("Centre");
    const int32_t width = context.GetFont().GetStringWidth(&text);
    const FWRect box(0, 0, 100, 30);
    context.CenterTextInRect(&box, &text, false);
    const int32_t left = (100 - width) / 2;
    EXPECT_EQ(FWPoint(int16_t(left + width), int16_t(30 - (30 - 9) / 2 - 2)), context.GetPen());

    auto embossed = canvas(100, 30, MakeColor32(255, 128, 128, 128));
    FWDrawContext second(embossed.get());
    second.SetForeColor(FWArgb32::Red);
    second.DrawEmbossedStringColors(10, 20, &text, FWArgb32::Black, FWArgb32::White, 0, false);
    EXPECT_EQ(FWArgb32::Red, second.GetForeColor());
    bool sawWhite = false;
    bool sawBlack = false;
    for (uint32_t p : pixels(*embossed)) {
        sawWhite = sawWhite || p == kWhite;
        sawBlack = sawBlack || p == kBlack;
    }
    EXPECT_TRUE(sawWhite);
    EXPECT_TRUE(sawBlack);
}

TEST_F(FWDrawContextTest, WrappedTextStaysInItsBox)
{
    const FWDynamicString text("one two three four five six seven eight nine ten eleven twelve");
    FWFontMetrics metrics;
    FWFont().GetFontMetrics(metrics);
    const int32_t lineHeight = metrics.ascent + metrics.descent + metrics.leading;

    auto image = canvas(120, 200);
    FWDrawContext context(image.get());
    const FWRect box(10, 10, 70, 190);
    const int32_t lines = context.WrapString(&box, &text);
    EXPECT_GE(lines, 3);
    const Ink ink = inkOf(*image);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 70);
    EXPECT_LE(ink.bottom, 10 + lines * lineHeight + 1);
    // The clip is what it was.
    FWRect clip;
    context.GetClipRect(&clip);
    EXPECT_EQ(FWRect(-30000, -30000, 30000, 30000), clip);

    // A box lower than one line: that line is drawn, clipped, and 0 lines are counted.
    auto low = canvas(120, 40);
    FWDrawContext lowContext(low.get());
    const FWRect thin(0, 10, 120, 14);
    EXPECT_EQ(0, lowContext.WrapString(&thin, &text));
    const Ink lowInk = inkOf(*low);
    ASSERT_FALSE(lowInk.Empty());
    EXPECT_GE(lowInk.top, 10);
    EXPECT_LE(lowInk.bottom, 14);

    // Right to left: lines end at the box's right edge.
    SetSysDirection(-1);
    auto rtl = canvas(120, 200);
    FWDrawContext rtlContext(rtl.get());
    rtlContext.WrapString(&box, &text);
    SetSysDirection(0);
    const Ink rtlInk = inkOf(*rtl);
    EXPECT_GE(rtlInk.right, 68);
    EXPECT_LE(rtlInk.right, 70);
}

TEST_F(FWDrawContextTest, InternationalTextIsReadAsUtf8)
{
    // "A" and e-acute in UTF-8, drawn in the system script's font at 9 points, look like the
    // Mac Roman bytes drawn in that font.
    const FWDynamicString utf8("A\xC3\xA9");
    const FWDynamicString macRoman("A\x8E");
    auto international = canvas(40, 20);
    auto reference = canvas(40, 20);
    {
        SystemIsInternational = true;
        FWDrawContext context(international.get());
        context.SetFontSize(20); // ignored on this path
        context.DrawString(2, 15, &utf8);
        SystemIsInternational = false;
    }
    {
        FWDrawContext context(reference.get());
        const FWFont systemFont(-1, 9);
        context.SetFont(&systemFont);
        context.DrawString(2, 15, &macRoman);
    }
    EXPECT_FALSE(inkOf(*international).Empty());
    EXPECT_EQ(pixels(*reference), pixels(*international));

    // Bytes that are not UTF-8 take the ordinary path in the context's font.
    auto fallback = canvas(40, 20);
    auto plain = canvas(40, 20);
    const FWDynamicString bytes("A\x8E");
    {
        SystemIsInternational = true;
        FWDrawContext context(fallback.get());
        context.DrawString(2, 15, &bytes);
        SystemIsInternational = false;
    }
    {
        FWDrawContext context(plain.get());
        context.DrawString(2, 15, &bytes);
    }
    EXPECT_EQ(pixels(*plain), pixels(*fallback));
}
