#include "HostRegion.h"

#include <gtest/gtest.h>

namespace {

// Counts the pixels of a region inside a window, by membership.
int countIn(const HostRegion& rgn, int16_t size)
{
    int n = 0;
    for (int v = 0; v < size; ++v) {
        for (int h = 0; h < size; ++h)
            n += rgn.Contains(h, v) ? 1 : 0;
    }
    return n;
}

} // namespace

TEST(HostRegion, SetOperationsGiveTheExpectedPixels)
{
    HostRegion a(Rect{0, 0, 10, 10});
    HostRegion b(Rect{5, 5, 15, 15});
    EXPECT_EQ(175, countIn(HostRegion::Union(a, b), 20));
    EXPECT_EQ(25, countIn(HostRegion::Intersection(a, b), 20));
    EXPECT_EQ(75, countIn(HostRegion::Difference(a, b), 20));
    EXPECT_EQ((Rect{0, 0, 15, 15}).right, HostRegion::Union(a, b).Bounds().right);
    EXPECT_TRUE(HostRegion::Intersection(a, HostRegion(Rect{20, 20, 30, 30})).Empty());
    EXPECT_TRUE(HostRegion::Difference(a, a).Empty());
}

TEST(HostRegion, FormIsCanonicalSoEqualPixelsCompareEqual)
{
    // Two halves side by side, and two halves one above the other, are the same rectangle.
    HostRegion sides = HostRegion::Union(HostRegion(Rect{0, 0, 10, 5}), HostRegion(Rect{0, 5, 10, 10}));
    HostRegion stacked = HostRegion::Union(HostRegion(Rect{0, 0, 5, 10}), HostRegion(Rect{5, 0, 10, 10}));
    HostRegion whole(Rect{0, 0, 10, 10});
    EXPECT_TRUE(sides == whole);
    EXPECT_TRUE(stacked == whole);
    ASSERT_EQ(1u, sides.Rects().size());

    // A frame is kept as three bands: top, the two sides, bottom.
    HostRegion frame = HostRegion::Difference(whole, HostRegion(Rect{2, 2, 8, 8}));
    EXPECT_EQ(4u, frame.Rects().size());
    EXPECT_EQ(100 - 36, countIn(frame, 10));
}

TEST(HostRegion, EmptyAndInvertedRectanglesAreEmpty)
{
    EXPECT_TRUE(HostRegion(Rect{5, 5, 5, 10}).Empty());
    EXPECT_TRUE(HostRegion(Rect{10, 10, 0, 0}).Empty());
    Rect bounds = HostRegion().Bounds();
    EXPECT_EQ(0, bounds.left);
    EXPECT_EQ(0, bounds.bottom);
}

TEST(HostRegion, OffsetMovesAndHoldsCoordinatesToSixteenBits)
{
    HostRegion r(Rect{0, 0, 10, 10});
    r.Offset(5, -3);
    EXPECT_TRUE(r.Contains(5, -3));
    EXPECT_FALSE(r.Contains(4, -3));
    HostRegion edge(Rect{32000, 32000, 32767, 32767});
    edge.Offset(1000, 1000);
    EXPECT_TRUE(edge.Empty()); // squashed against the edge of the space
    HostRegion part(Rect{32000, 32000, 32767, 32767});
    part.Offset(500, 0);
    EXPECT_EQ(32500, part.Bounds().left);
    EXPECT_EQ(32767, part.Bounds().right);
}

TEST(HostRegion, ClassicCallsWorkInPlaceAndAcceptNullHandles)
{
    RgnHandle a = NewRgn();
    RgnHandle b = NewRgn();
    SetRectRgn(a, 0, 0, 10, 10);
    Rect r{5, 5, 20, 20};
    RectRgn(b, &r);
    UnionRgn(a, b, a);
    Rect bounds;
    GetRegionBounds(a, &bounds);
    EXPECT_EQ(20, bounds.right);
    DiffRgn(a, b, a);
    EXPECT_TRUE(PtInRgn(Point{0, 0}, a));
    EXPECT_FALSE(PtInRgn(Point{6, 6}, a));
    SectRgn(a, b, b);
    EXPECT_TRUE(EmptyRgn(b));
    CopyRgn(a, b);
    EXPECT_TRUE(EqualRgn(a, b));
    OffsetRgn(b, 1, 0);
    EXPECT_FALSE(EqualRgn(a, b));
    SetEmptyRgn(a);
    EXPECT_TRUE(EmptyRgn(a));

    EXPECT_TRUE(EmptyRgn(nullptr));
    EXPECT_FALSE(PtInRgn(Point{0, 0}, nullptr));
    UnionRgn(nullptr, a, b);
    EXPECT_EQ(&bounds, GetRegionBounds(nullptr, &bounds));
    EXPECT_EQ(0, bounds.right);
    DisposeRgn(a);
    DisposeRgn(b);
    DisposeRgn(nullptr);
}
