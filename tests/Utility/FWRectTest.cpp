#include "FWPoint.h"
#include "FWRect.h"

#include <gtest/gtest.h>

TEST(FWRect, ConstructorTakesLeftTopRightBottom)
{
    FWRect r(10, 20, 30, 40);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_EQ(30, r.right);
    EXPECT_EQ(40, r.bottom);
    EXPECT_EQ(20, r.Width());
    EXPECT_EQ(20, r.Height());
    EXPECT_EQ(20, r[0]);
    EXPECT_EQ(10, r[1]);
    EXPECT_EQ(40, r[2]);
    EXPECT_EQ(30, r[3]);
    FWRect unordered(30, 40, 10, 20);
    EXPECT_EQ(-20, unordered.Width());
    EXPECT_TRUE(unordered.Empty());
    unordered.Fix();
    EXPECT_EQ(r, unordered);
}

TEST(FWRect, PointsOnAnyEdgeAreOutside)
{
    FWRect r(10, 20, 30, 40);
    EXPECT_FALSE(r.PtInRect(FWPoint(10, 25))); // left edge
    EXPECT_FALSE(r.PtInRect(FWPoint(30, 25)));
    EXPECT_FALSE(r.PtInRect(FWPoint(15, 20)));
    EXPECT_FALSE(r.PtInRect(FWPoint(15, 40)));
    EXPECT_TRUE(r.PtInRect(FWPoint(11, 21)));
    EXPECT_TRUE(r.PtInRect(FWPoint(29, 39)));
}

TEST(FWRect, IntersectionNeedsPositiveArea)
{
    FWRect a(0, 0, 10, 10);
    FWRect touching(10, 0, 20, 10);
    FWRect result(1, 2, 3, 4);
    EXPECT_FALSE(a.IntersectRect(touching));
    EXPECT_FALSE(a.IntersectRect(touching, &result));
    EXPECT_EQ(FWRect(), result);

    FWRect overlapping(5, -5, 15, 5);
    EXPECT_TRUE(a.IntersectRect(&overlapping));
    EXPECT_TRUE(a.IntersectRect(overlapping, &result));
    EXPECT_EQ(FWRect(5, 0, 10, 5), result);
    EXPECT_TRUE(a.IntersectRect(overlapping, nullptr));

    FWRect unionRect;
    FWRect empty(100, 100, 100, 100); // empty rects are not special
    a.UnionRect(empty, &unionRect);
    EXPECT_EQ(FWRect(0, 0, 100, 100), unionRect);
}

TEST(FWRect, MovingAndResizing)
{
    FWRect r(10, 20, 30, 50);
    r.Offset(5, -5);
    EXPECT_EQ(FWRect(15, 15, 35, 45), r);
    r.Grow(2);
    EXPECT_EQ(FWRect(13, 13, 37, 47), r);
    r.Inset(3, 1);
    EXPECT_EQ(FWRect(16, 14, 34, 46), r);
    r.MoveTo(100, 200);
    EXPECT_EQ(FWRect(100, 200, 118, 232), r);
    r.SlideToOrigin();
    EXPECT_EQ(FWRect(0, 0, 18, 32), r);

    FWRect inner(0, 0, 5, 5);
    inner.CenterInsideOf(FWRect(10, 10, 20, 30));
    EXPECT_EQ(FWRect(12, 17, 17, 22), inner); // (10 - 5) / 2 = 2, (20 - 5) / 2 = 7
    FWRect wide(0, 0, 15, 5);
    wide.CenterInsideOf(FWRect(0, 0, 10, 10));
    EXPECT_EQ(FWRect(-2, 2, 13, 7), wide); // -5 / 2 rounds toward zero

    FWPoint c = FWRect(-3, 0, 0, 5).Center();
    EXPECT_EQ(-1, c.h); // -3 / 2 toward zero
    EXPECT_EQ(2, c.v);
    FWPoint topLeft;
    FWRect(7, 8, 9, 10).TopLeft(&topLeft);
    EXPECT_EQ(FWPoint(7, 8), topLeft);
}

TEST(FWPoint, StoresVerticalFirstAndPinsWithEdgesIncluded)
{
    FWPoint p(3, 7);
    EXPECT_EQ(3, p.h);
    EXPECT_EQ(7, p.v);
    EXPECT_EQ(0, offsetof(FWPoint, v));
    p.Offset(-5, 10);
    EXPECT_EQ(FWPoint(-2, 17), p);
    p.PinToRect(FWRect(0, 0, 10, 10));
    EXPECT_EQ(FWPoint(0, 10), p);
    EXPECT_TRUE(p != FWPoint(10, 0));
    p.Set(4, 5);
    p.PinToRect(FWRect(0, 0, 10, 10));
    EXPECT_EQ(FWPoint(4, 5), p);
}
