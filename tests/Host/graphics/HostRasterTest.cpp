// The rasterizer, driven through the classic calls of a port and read back pixel by pixel.
#include "HostRaster.h"
#include "HostTestWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A busy background, so that exchanges and inversions show on every pixel.
void paintPattern(const HostTestWorld& world)
{
    HostPixelMap& pixels = world.Pixels();
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        for (int32_t x = 0; x < pixels.Width(); ++x)
            pixels.Set(x, y, HostArgb(255, uint8_t(x * 7), uint8_t(y * 13), uint8_t((x ^ y) * 5)));
    }
}

struct Shape {
    std::string name;
    std::function<void()> draw;
};

std::vector<Shape> outlineShapes()
{
    static const Rect r{10, 12, 50, 70};
    return {
        {"FrameRect", [] { FrameRect(&r); }},
        {"FrameOval", [] { FrameOval(&r); }},
        {"FrameRoundRect", [] { FrameRoundRect(&r, 16, 12); }},
        {"FrameArc", [] { FrameArc(&r, 30, 200); }},
        {"FrameArcBackwards", [] { FrameArc(&r, 30, -100); }},
        {"PaintArc", [] { PaintArc(&r, 300, 100); }},
        {"PaintOval", [] { PaintOval(&r); }},
        {"PaintRoundRect", [] { PaintRoundRect(&r, 30, 30); }},
        {"InvertRect", [] { InvertRect(&r); }},
        {"Lines", [] {
             MoveTo(5, 5);
             LineTo(70, 40);
             LineTo(20, 58);
             LineTo(20, 3);
             LineTo(79, 3);
         }},
    };
}

} // namespace

TEST(HostRaster, XorShapesDrawnTwiceLeaveThePortUnchanged)
{
    for (Point pen : {Point{1, 1}, Point{3, 2}, Point{2, 5}}) {
        for (const Shape& shape : outlineShapes()) {
            HostTestWorld world(Rect{0, 0, 60, 80});
            paintPattern(world);
            std::vector<uint32_t> before = world.Snapshot();
            PenSize(pen.h, pen.v);
            PenMode(kModePatXor);
            shape.draw();
            EXPECT_NE(before, world.Snapshot()) << shape.name << " drew nothing";
            shape.draw();
            EXPECT_EQ(before, world.Snapshot()) << shape.name << " pen " << pen.h << "x" << pen.v;
        }
    }
}

TEST(HostRaster, ClippingKeepsEveryPixelOutsideTheClipUntouched)
{
    HostTestWorld world(Rect{0, 0, 60, 80});
    paintPattern(world);
    std::vector<uint32_t> before = world.Snapshot();
    // A clip of two separate rectangles.
    RgnHandle clip = NewRgn();
    RgnHandle second = NewRgn();
    SetRectRgn(clip, 10, 10, 30, 30);
    SetRectRgn(second, 40, 25, 75, 55);
    UnionRgn(clip, second, clip);
    SetClip(clip);
    RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    PenSize(4, 4);
    for (const Shape& shape : outlineShapes())
        shape.draw();
    Rect all{-100, -100, 200, 200};
    PaintRect(&all);
    TextSize(24);
    MoveTo(-5, 40);
    DrawText("Clipped text", 0, 12);

    int changedInside = 0;
    for (int v = 0; v < 60; ++v) {
        for (int h = 0; h < 80; ++h) {
            bool inside = PtInRgn(Point{int16_t(v), int16_t(h)}, clip);
            uint32_t now = world.At(h, v);
            if (!inside)
                EXPECT_EQ(before[size_t(v * 80 + h)], now) << "outside pixel " << h << "," << v;
            else
                changedInside += now == HostArgb(255, 255, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_EQ(20 * 20 + 35 * 30, changedInside);
    DisposeRgn(clip);
    DisposeRgn(second);
}

TEST(HostRaster, RectanglesFramesAndOvalsCoverTheExpectedPixels)
{
    HostTestWorld world(Rect{0, 0, 20, 20});
    world.Fill(kTestWhite);
    RGBForeColor(&kRGBBlack);
    Rect r{2, 3, 8, 10};
    PenSize(2, 1);
    FrameRect(&r);
    int black = 0;
    for (const uint32_t p : world.Snapshot())
        black += p == kTestBlack ? 1 : 0;
    // Top and bottom rows of 7, then 4 rows of 2 + 2.
    EXPECT_EQ(7 * 2 + 4 * 4, black);
    EXPECT_EQ(kTestBlack, world.At(4, 3));
    EXPECT_EQ(kTestWhite, world.At(5, 3));
    EXPECT_EQ(kTestWhite, world.At(10, 2)); // right edge excluded

    // An oval is symmetric and inscribed: it touches the middle of each side, not the corners.
    world.Fill(kTestWhite);
    Rect o{0, 0, 20, 20};
    PaintOval(&o);
    EXPECT_EQ(kTestBlack, world.At(10, 0));
    EXPECT_EQ(kTestBlack, world.At(0, 10));
    EXPECT_EQ(kTestBlack, world.At(19, 9));
    EXPECT_EQ(kTestWhite, world.At(0, 0));
    EXPECT_EQ(kTestWhite, world.At(19, 19));
    for (int v = 0; v < 20; ++v) {
        for (int h = 0; h < 20; ++h)
            EXPECT_EQ(world.At(h, v), world.At(19 - h, 19 - v));
    }
}

TEST(HostRaster, LinesIncludeBothEndsAndDragThePenRectangle)
{
    HostTestWorld world(Rect{0, 0, 20, 20});
    world.Fill(kTestWhite);
    MoveTo(2, 2);
    LineTo(2, 2);
    EXPECT_EQ(kTestBlack, world.At(2, 2));
    MoveTo(3, 5);
    LineTo(9, 5);
    for (int h = 3; h <= 9; ++h)
        EXPECT_EQ(kTestBlack, world.At(h, 5));
    EXPECT_EQ(kTestWhite, world.At(10, 5));
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(9, pen.h);
    EXPECT_EQ(5, pen.v);

    world.Fill(kTestWhite);
    PenSize(3, 2);
    MoveTo(5, 10);
    LineTo(5, 10);
    int black = 0;
    for (const uint32_t p : world.Snapshot())
        black += p == kTestBlack ? 1 : 0;
    EXPECT_EQ(6, black);
    EXPECT_EQ(kTestBlack, world.At(7, 11));

    // A zero pen draws nothing.
    world.Fill(kTestWhite);
    PenSize(0, 3);
    LineTo(15, 15);
    EXPECT_EQ(std::vector<uint32_t>(400, kTestWhite), world.Snapshot());
}

TEST(HostRaster, ArcsFollowTheClockFromTwelve)
{
    HostTestWorld world(Rect{0, 0, 40, 40});
    world.Fill(kTestWhite);
    Rect r{0, 0, 40, 40};
    PaintArc(&r, 0, 90); // the top-right quarter
    EXPECT_EQ(kTestBlack, world.At(30, 10));
    EXPECT_EQ(kTestWhite, world.At(10, 10));
    EXPECT_EQ(kTestWhite, world.At(30, 30));
    EXPECT_EQ(kTestWhite, world.At(10, 30));
    world.Fill(kTestWhite);
    PaintArc(&r, 0, -90); // counter-clockwise: the top-left quarter
    EXPECT_EQ(kTestBlack, world.At(10, 10));
    EXPECT_EQ(kTestWhite, world.At(30, 10));
    world.Fill(kTestWhite);
    PaintArc(&r, 10, 720);
    for (Point p : {Point{10, 10}, Point{10, 30}, Point{30, 10}, Point{30, 30}})
        EXPECT_EQ(kTestBlack, world.At(p.h, p.v));
}

TEST(HostRaster, CopyBitsScalesByWholePixels)
{
    HostTestWorld source(Rect{0, 0, 2, 2});
    source.Pixels().Set(0, 0, 0xFF000001);
    source.Pixels().Set(1, 0, 0xFF000002);
    source.Pixels().Set(0, 1, 0xFF000003);
    source.Pixels().Set(1, 1, 0xFF000004);
    HostTestWorld target(Rect{0, 0, 4, 4});
    Rect from{0, 0, 2, 2};
    Rect to{0, 0, 4, 4};
    CopyBits(&source.Pixels(), &target.Pixels(), &from, &to, kModeCopy, nullptr);
    const uint32_t expectedUp[16] = {1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(0xFF000000 | expectedUp[i], target.At(i % 4, i / 4)) << i;

    // Down by two takes every other pixel, starting with the first.
    for (int i = 0; i < 16; ++i)
        target.Pixels().Set(i % 4, i / 4, 0xFF000000u | uint32_t(i));
    Rect small{0, 0, 2, 2};
    CopyBits(&target.Pixels(), &source.Pixels(), &to, &small, kModeCopy, nullptr);
    EXPECT_EQ(0xFF000000u, source.At(0, 0));
    EXPECT_EQ(0xFF000002u, source.At(1, 0));
    EXPECT_EQ(0xFF000008u, source.At(0, 1));
    EXPECT_EQ(0xFF00000Au, source.At(1, 1));
}

TEST(HostRaster, CopyWithinOnePortReadsThePixelsAsTheyWereBefore)
{
    HostTestWorld world(Rect{0, 0, 1, 8});
    for (int h = 0; h < 8; ++h)
        world.Pixels().Set(h, 0, 0xFF000000u | uint32_t(h));
    Rect from{0, 0, 1, 6};
    Rect to{0, 2, 1, 8};
    CopyBits(&world.Pixels(), &world.Pixels(), &from, &to, kModeCopy, nullptr);
    for (int h = 2; h < 8; ++h)
        EXPECT_EQ(0xFF000000u | uint32_t(h - 2), world.At(h, 0)) << h;
    // Scaled onto itself: each pixel of the left half doubles across the whole row.
    Rect half{0, 0, 1, 4};
    Rect all{0, 0, 1, 8};
    CopyBits(&world.Pixels(), &world.Pixels(), &half, &all, kModeCopy, nullptr);
    EXPECT_EQ(world.At(0, 0), world.At(1, 0));
    EXPECT_EQ(0xFF000001u, world.At(6, 0));
}

TEST(HostRaster, CopyMaskWritesOnlyWhereTheMaskIsSet)
{
    HostTestWorld target(Rect{0, 0, 8, 8});
    target.Fill(kTestWhite);
    HostTestWorld source(Rect{0, 0, 4, 4});
    source.Fill(HostArgb(255, 0, 0, 255));
    HostTestWorld mask(Rect{0, 0, 4, 4}, 1);
    mask.Pixels().Set(0, 0, kTestBlack);
    mask.Pixels().Set(3, 3, kTestBlack);
    mask.Pixels().Set(2, 1, kTestBlack);
    SetGWorld(target.World(), nullptr);
    Rect r{0, 0, 4, 4};
    Rect big{0, 0, 8, 8};
    CopyMask(&source.Pixels(), &mask.Pixels(), &target.Pixels(), &r, &r, &big);
    int blue = 0;
    for (const uint32_t p : target.Snapshot())
        blue += p == HostArgb(255, 0, 0, 255) ? 1 : 0;
    EXPECT_EQ(3 * 4, blue); // three mask pixels, each scaled to 2 x 2
    EXPECT_EQ(HostArgb(255, 0, 0, 255), target.At(5, 3));
    EXPECT_EQ(kTestWhite, target.At(2, 2));
}

TEST(HostRaster, OneBitSourcesTakeTheForeAndBackColoursAndBlendMixes)
{
    HostTestWorld target(Rect{0, 0, 1, 4});
    HostTestWorld bits(Rect{0, 0, 1, 2}, 1);
    bits.Pixels().Set(0, 0, kTestBlack);
    SetGWorld(target.World(), nullptr);
    RGBColor red{0xFFFF, 0, 0};
    RGBColor green{0, 0xFFFF, 0};
    RGBForeColor(&red);
    RGBBackColor(&green);
    Rect from{0, 0, 1, 2};
    Rect to{0, 0, 1, 2};
    CopyBits(&bits.Pixels(), &target.Pixels(), &from, &to, kModeCopy, nullptr);
    EXPECT_EQ(HostArgb(255, 255, 0, 0), target.At(0, 0));
    EXPECT_EQ(HostArgb(255, 0, 255, 0), target.At(1, 0));

    target.Pixels().Set(2, 0, kTestBlack);
    HostTestWorld white(Rect{0, 0, 1, 1});
    white.Fill(kTestWhite);
    SetGWorld(target.World(), nullptr);
    RGBColor half{0x7FFF, 0x7FFF, 0x7FFF};
    OpColor(&half);
    Rect one{0, 0, 1, 1};
    Rect third{0, 2, 1, 3};
    CopyBits(&white.Pixels(), &target.Pixels(), &one, &third, kModeBlend, nullptr);
    EXPECT_EQ(HostArgb(255, 127, 127, 127), target.At(2, 0));
}

TEST(HostRaster, DeepWorldsHoldWhatIsDrawn)
{
    HostTestWorld grey(Rect{0, 0, 4, 8}, 8);
    ASSERT_EQ(noErr, grey.Error());
    RGBBackColor(&kRGBWhite);
    Rect all{0, 0, 4, 8};
    EraseRect(&all);
    RGBForeColor(&kRGBBlack);
    Rect left{0, 0, 4, 2};
    PaintRect(&left);
    RGBColor mid{0x8080, 0x8080, 0x8080};
    RGBForeColor(&mid);
    MoveTo(4, 0);
    LineTo(4, 3);
    const uint8_t* row = grey.Pixels().Row(1);
    EXPECT_EQ(255, row[0]);
    EXPECT_EQ(255, row[1]);
    EXPECT_EQ(0, row[2]);
    EXPECT_EQ(127, row[4]);
    PenMode(kModeXor);
    PaintRect(&all);
    EXPECT_EQ(0, grey.Pixels().Row(1)[0]);
    EXPECT_EQ(255, grey.Pixels().Row(1)[2]);

    HostTestWorld bits(Rect{0, 0, 3, 12}, 1);
    RGBForeColor(&kRGBBlack);
    Rect band{1, 2, 2, 10};
    PaintRect(&band);
    EXPECT_EQ(0x3F, bits.Pixels().Row(1)[0]);
    EXPECT_EQ(0xC0, bits.Pixels().Row(1)[1]);
    EXPECT_EQ(0, bits.Pixels().Row(0)[0]);
    PenMode(kModeXor);
    Rect frame{0, 0, 3, 12};
    FrameRect(&frame);
    EXPECT_EQ(0xFF, bits.Pixels().Row(0)[0]);
    EXPECT_EQ(0xBF, bits.Pixels().Row(1)[0]); // the frame's left pixel flipped on
}

TEST(HostRaster, EraseWithATextureTilesFromThePortOrigin)
{
    auto texture = std::make_unique<HostTestWorld>(Rect{0, 0, 3, 4});
    for (int v = 0; v < 3; ++v) {
        for (int h = 0; h < 4; ++h)
            texture->Pixels().Set(h, v, HostArgb(255, uint8_t(h), uint8_t(v), 9));
    }
    // A world whose coordinates start at (-7, -5): tiles still line up with (0, 0).
    HostTestWorld world(Rect{-5, -7, 20, 20});
    world.Fill(kTestWhite);
    SetPortBackTexture(world.World(), texture->World());
    Rect part{-4, -6, 15, 13};
    EraseRect(&part);
    for (int v = -5; v < 20; ++v) {
        for (int h = -7; h < 20; ++h) {
            bool inside = v >= -4 && v < 15 && h >= -6 && h < 13;
            uint32_t want = inside ? HostArgb(255, uint8_t(((h % 4) + 4) % 4), uint8_t(((v % 3) + 3) % 3), 9) : kTestWhite;
            ASSERT_EQ(want, world.At(h, v)) << h << "," << v;
        }
    }
    // Disposing of the texture makes erasing paint the back colour again.
    texture.reset();
    SetGWorld(world.World(), nullptr);
    RGBBackColor(&kRGBBlack);
    EraseRect(&part);
    EXPECT_EQ(kTestBlack, world.At(0, 0));
}

TEST(HostRaster, HighlightModeExchangesBackAndHighlightColoursOnce)
{
    HostTestWorld world(Rect{0, 0, 4, 4});
    RGBColor yellow{0xFFFF, 0xFFFF, 0};
    world.Fill(kTestWhite);
    world.Pixels().Set(1, 1, HostArgb(255, 255, 255, 0));
    world.Pixels().Set(2, 2, HostArgb(255, 10, 200, 30));
    world.Pixels().Set(3, 3, HostArgb(255, 255, 255, 128)); // halfway between white and yellow
    RGBBackColor(&kRGBWhite);
    HiliteColor(&yellow);
    LMSetHiliteMode(uint8_t(LMGetHiliteMode() & 0x7F));
    Rect all{0, 0, 4, 4};
    InvertRect(&all);
    EXPECT_EQ(HostArgb(255, 255, 255, 0), world.At(0, 0));
    EXPECT_EQ(kTestWhite, world.At(1, 1));
    EXPECT_EQ(HostArgb(255, 10, 200, 30), world.At(2, 2));
    EXPECT_EQ(HostArgb(255, 255, 255, 127), world.At(3, 3));
    EXPECT_EQ(kHiliteModeNormal, LMGetHiliteMode() & kHiliteModeNormal);
    // The mode lasted one call: the next inversion inverts.
    InvertRect(&all);
    EXPECT_EQ(HostArgb(255, 0, 0, 255), world.At(0, 0));
}

TEST(HostRaster, ScrollRectMovesPixelsAndReportsTheUncoveredArea)
{
    HostTestWorld world(Rect{0, 0, 10, 10});
    paintPattern(world);
    std::vector<uint32_t> before = world.Snapshot();
    RGBBackColor(&kRGBWhite);
    Rect area{2, 1, 8, 9};
    RgnHandle uncovered = NewRgn();
    ScrollRect(&area, 0, -3, uncovered);
    Rect bounds;
    GetRegionBounds(uncovered, &bounds);
    EXPECT_EQ(5, bounds.top);
    EXPECT_EQ(8, bounds.bottom);
    EXPECT_EQ(1, bounds.left);
    EXPECT_EQ(9, bounds.right);
    EXPECT_EQ(before[size_t(5 * 10 + 4)], world.At(4, 2));
    EXPECT_EQ(kTestWhite, world.At(4, 6));
    EXPECT_EQ(before[size_t(1 * 10 + 4)], world.At(4, 1)); // outside the area
    EXPECT_EQ(before[size_t(9 * 10 + 4)], world.At(4, 9));

    // Sideways, and limited by the clip: nothing outside the clip moves or is erased.
    Rect clip{0, 0, 10, 5};
    ClipRect(&clip);
    before = world.Snapshot();
    Rect wide{0, 0, 10, 10};
    ScrollRect(&wide, 2, 0, uncovered);
    GetRegionBounds(uncovered, &bounds);
    EXPECT_EQ(0, bounds.left);
    EXPECT_EQ(2, bounds.right);
    EXPECT_EQ(10, bounds.bottom);
    EXPECT_EQ(before[size_t(3 * 10 + 2)], world.At(4, 3));
    for (int v = 0; v < 10; ++v)
        EXPECT_EQ(before[size_t(v * 10 + 5)], world.At(5, v));
    DisposeRgn(uncovered);
}

TEST(HostRaster, ScrollRectUnderAClipOfTwoBoxesMatchesMovingPixelByPixel)
{
    struct Case {
        Rect area;
        int16_t dh, dv;
    };
    const Case cases[] = {
        {{2, 3, 27, 36}, 0, -1}, {{2, 3, 27, 36}, 5, 2}, {{0, 0, 30, 40}, -7, 0}, {{4, 1, 20, 39}, 3, -4},
    };
    // Two boxes, one over the other's edge, so a scroll meets several clip pieces.
    const Rect clipA{1, 1, 14, 25};
    const Rect clipB{10, 18, 29, 38};
    auto inside = [](const Rect& r, int h, int v) { return h >= r.left && h < r.right && v >= r.top && v < r.bottom; };
    for (int16_t depth : {int16_t(32), int16_t(8)}) {
        for (const Case& c : cases) {
            HostTestWorld world(Rect{0, 0, 40, 30}, depth); // 30 wide, 40 high
            paintPattern(world);
            const std::vector<uint32_t> before = world.Snapshot();
            RgnHandle a = NewRgn();
            RgnHandle b = NewRgn();
            RectRgn(a, &clipA);
            RectRgn(b, &clipB);
            UnionRgn(a, b, a);
            SetClip(a);
            RGBBackColor(&kRGBWhite);
            ScrollRect(&c.area, c.dh, c.dv, nullptr);
            // Inside the area, the clip and the world a pixel takes the one it came from when that
            // one lay inside them too, else it is erased; every other pixel stays.
            auto visible = [&](int h, int v) {
                return inside(Rect{0, 0, 40, 30}, h, v) && inside(c.area, h, v) &&
                       (inside(clipA, h, v) || inside(clipB, h, v));
            };
            for (int v = 0; v < 40; ++v) {
                for (int h = 0; h < 30; ++h) {
                    uint32_t expected = before[size_t(v * 30 + h)];
                    if (visible(h, v))
                        expected = visible(h - c.dh, v - c.dv) ? before[size_t((v - c.dv) * 30 + h - c.dh)] : kTestWhite;
                    ASSERT_EQ(expected, world.At(h, v)) << "depth " << depth << " case " << (&c - cases) << " at (" << h << ", " << v << ")";
                }
            }
            DisposeRgn(a);
            DisposeRgn(b);
        }
    }
}

TEST(HostRaster, HugeInvertedAndEmptyArgumentsNeverWriteOutsideOrDivideByZero)
{
    HostTestWorld world(Rect{0, 0, 16, 16});
    world.Fill(kTestWhite);
    std::vector<uint32_t> before = world.Snapshot();
    Rect inverted{12, 12, 4, 4};
    Rect empty{5, 5, 5, 9};
    Rect far{30000, 30000, 32767, 32767};
    for (const Rect* r : {&inverted, &empty, &far}) {
        FrameRect(r);
        PaintRect(r);
        PaintOval(r);
        FrameOval(r);
        FrameRoundRect(r, 8, 8);
        PaintArc(r, 0, 45);
        FrameArc(r, 0, 45);
        InvertRect(r);
    }
    PenSize(-3, -3);
    Rect fine{2, 2, 8, 8};
    FrameRect(&fine);
    LineTo(10, 10);
    EXPECT_EQ(before, world.Snapshot());

    // Huge shapes are clipped to the store.
    PenSize(1000, 1000);
    MoveTo(-32768, -32768);
    LineTo(32767, 32767);
    Rect huge{-32768, -32768, 32767, 32767};
    FrameOval(&huge);
    FrameRoundRect(&huge, 32767, -5);
    PaintArc(&huge, -700, 370);
    PenSize(1, 1);
    FrameRect(&huge);

    // Copies from empty, inverted or absent sources draw nothing.
    world.Fill(kTestWhite);
    HostPixelMap none;
    HostTestWorld src(Rect{0, 0, 4, 4});
    Rect r{0, 0, 4, 4};
    CopyBits(&none, &world.Pixels(), &r, &r, kModeCopy, nullptr);
    CopyBits(&src.Pixels(), &world.Pixels(), &empty, &r, kModeCopy, nullptr);
    CopyBits(&src.Pixels(), &world.Pixels(), &r, &inverted, kModeCopy, nullptr);
    CopyBits(&src.Pixels(), &world.Pixels(), &inverted, &r, kModeBlend, nullptr);
    CopyBits(&src.Pixels(), nullptr, &r, &r, kModeCopy, nullptr);
    CopyMask(&src.Pixels(), &none, &world.Pixels(), &r, &r, &r);
    // A source rectangle far outside its store reads nothing.
    CopyBits(&src.Pixels(), &world.Pixels(), &far, &r, kModeCopy, nullptr);
    CopyBits(&src.Pixels(), &world.Pixels(), &huge, &huge, kModeCopy, nullptr);
    SetGWorld(world.World(), nullptr);
    ScrollRect(&huge, 32767, 0, nullptr);
    ScrollRect(&inverted, 3, 0, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(256, kTestWhite), world.Snapshot());
}

TEST(HostRaster, DrawingCallsWithoutACurrentPortDoNothing)
{
    SetPort(nullptr);
    Rect r{0, 0, 10, 10};
    PaintRect(&r);
    FrameOval(&r);
    LineTo(5, 5);
    DrawText("abc", 0, 3);
    ScrollRect(&r, 1, 0, nullptr);
    EXPECT_EQ(0, TextWidth("abc", 0, 3));
    RGBColor c{1, 2, 3};
    GetCPixel(0, 0, &c);
    EXPECT_EQ(0, c.red);
}

TEST(HostRaster, CoverageMovesEachChannelTowardTheColourByCoverageOver255RoundedTowardThePixel)
{
    // Every coverage value over pixels and colours that cover each channel's range, against a
    // per-channel blend written out here: d + (s - d) * (coverage * 257) / 65535.
    const uint32_t colours[] = {0x00000000, 0xFFFFFFFF, 0xFF000000, 0x00FFFFFF, 0x80808080, 0x7F7F7F7F,
                                0x01FE02FD, 0xFF102030, 0x12345678, 0xCAFEBABE, 0x0000FF00, 0x817E01FF};
    auto reference = [](uint32_t d, uint32_t s, int coverage) {
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int dc = int(d >> shift & 0xFF);
            const int sc = int(s >> shift & 0xFF);
            out |= uint32_t(dc + (sc - dc) * (coverage * 257) / 65535) << shift;
        }
        return out;
    };
    uint8_t coverage[256];
    for (int c = 0; c < 256; ++c)
        coverage[c] = uint8_t(c);
    HostPixelMap map;
    ASSERT_EQ(noErr, map.Allocate(Rect{0, 0, 1, 260}, 32));
    HostRaster raster(map, {HostBox{0, 0, 260, 1}});
    for (uint32_t d : colours)
        for (uint32_t s : colours) {
            for (int32_t x = 0; x < 260; ++x)
                map.Set(x, 0, d);
            raster.CoverRow(0, 2, coverage, 256, HostPaint::Solid(s));
            for (int c = 0; c < 256; ++c)
                ASSERT_EQ(reference(d, s, c), map.Get(2 + c, 0)) << std::hex << d << " toward " << s << std::dec
                                                                  << " at coverage " << c;
            EXPECT_EQ(d, map.Get(1, 0));
            EXPECT_EQ(d, map.Get(258, 0));
        }
}

TEST(HostRaster, LevelAndUprightLinesPaintThePenRectangleStretchedAlongThem)
{
    struct Case {
        int32_t x0, y0, x1, y1, penWidth, penHeight;
        HostBox painted; // before clipping
    };
    const Case cases[] = {
        {3, 4, 12, 4, 1, 1, HostBox{3, 4, 13, 5}},   {12, 4, 3, 4, 2, 3, HostBox{3, 4, 14, 7}},
        {5, 2, 5, 15, 1, 1, HostBox{5, 2, 6, 16}},   {5, 15, 5, 2, 3, 2, HostBox{5, 2, 8, 17}},
        {-6, 9, 30, 9, 2, 2, HostBox{-6, 9, 32, 11}}, {7, 7, 7, 7, 4, 4, HostBox{7, 7, 11, 11}},
    };
    const HostBox clip{2, 3, 16, 16};
    for (const Case& c : cases) {
        HostPixelMap map;
        ASSERT_EQ(noErr, map.Allocate(Rect{0, 0, 20, 20}, 32));
        HostRaster raster(map, {clip});
        raster.Line(c.x0, c.y0, c.x1, c.y1, c.penWidth, c.penHeight, HostPaint::Invert());
        const HostBox expected = c.painted.Intersect(clip);
        for (int32_t y = 0; y < 20; ++y)
            for (int32_t x = 0; x < 20; ++x) {
                const bool inside = x >= expected.left && x < expected.right && y >= expected.top && y < expected.bottom;
                ASSERT_EQ(inside ? 0x00FFFFFFu : 0u, map.Get(x, y))
                    << "line " << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1 << " at " << x << "," << y;
            }
    }
}

TEST(HostRaster, AGlyphBoxBlendsAsAStraightforwardPerPixelLoopWouldThroughAnyClip)
{
    // An 19 x 7 glyph whose rows hold runs of zero coverage of every length up to 19, full
    // coverage and partial coverage, drawn at several places against several clips.
    constexpr int32_t kW = 19, kH = 7;
    uint8_t coverage[kW * kH];
    for (int32_t i = 0; i < kW * kH; ++i)
        coverage[i] = (i * 7) % 23 < 9 ? 0 : (i % 5 == 0 ? 255 : uint8_t(i * 37));
    struct Case {
        const char* name;
        int32_t x, y;
        std::vector<HostBox> clip;
    };
    const Case cases[] = {
        {"inside", 6, 5, {HostBox{0, 0, 40, 20}}},
        {"cut left and top", -4, -3, {HostBox{0, 0, 40, 20}}},
        {"cut right and bottom by the store", 30, 16, {HostBox{0, 0, 100, 100}}},
        {"split by two clip boxes", 3, 4, {HostBox{0, 0, 12, 20}, HostBox{15, 6, 40, 9}}},
        {"clip outside", 6, 5, {HostBox{30, 0, 40, 20}}},
    };
    const uint32_t back = 0xFF405060, ink = 0xFF0A0B0C;
    for (const Case& c : cases)
        for (bool invert : {false, true}) {
            HostPixelMap map;
            ASSERT_EQ(noErr, map.Allocate(Rect{0, 0, 20, 40}, 32));
            for (int32_t y = 0; y < 20; ++y)
                for (int32_t x = 0; x < 40; ++x)
                    map.Set(x, y, back + uint32_t(x * 3 + y));
            HostRaster raster(map, c.clip);
            raster.CoverBox(c.x, c.y, coverage, kW, kH, invert ? HostPaint::Invert() : HostPaint::Solid(ink));
            HostBox touched{0, 0, 0, 0};
            for (int32_t y = 0; y < 20; ++y)
                for (int32_t x = 0; x < 40; ++x) {
                    const uint32_t d = back + uint32_t(x * 3 + y);
                    bool clipped = true;
                    for (const HostBox& b : c.clip)
                        clipped = clipped && !(x >= b.left && x < b.right && y >= b.top && y < b.bottom);
                    const bool inGlyph = x >= c.x && x < c.x + kW && y >= c.y && y < c.y + kH;
                    uint32_t expected = d;
                    if (inGlyph && !clipped) {
                        const int cov = coverage[(y - c.y) * kW + (x - c.x)];
                        touched = touched.Empty() ? HostBox{x, y, x + 1, y + 1}
                                                  : HostBox{std::min(touched.left, x), std::min(touched.top, y),
                                                            std::max(touched.right, x + 1), std::max(touched.bottom, y + 1)};
                        if (invert)
                            expected = cov >= 128 ? d ^ 0x00FFFFFF : d;
                        else
                            for (int shift = 0; shift < 32; shift += 8) {
                                const int dc = int(d >> shift & 0xFF), sc = int(ink >> shift & 0xFF);
                                const int mixed = dc + (sc - dc) * cov / 255;
                                expected = (expected & ~(0xFFu << shift)) | uint32_t(mixed) << shift;
                            }
                    }
                    ASSERT_EQ(expected, map.Get(x, y)) << c.name << (invert ? " inverted" : "") << " at " << x << ", " << y;
                }
            const HostBox& t = raster.Touched();
            EXPECT_TRUE(t.left == touched.left && t.top == touched.top && t.right == touched.right &&
                        t.bottom == touched.bottom)
                << c.name;
        }
}
