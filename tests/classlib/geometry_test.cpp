// CRect arithmetic: edges, emptiness, intersection and union.
#include "tests/support/gtest.h"

#include "platform/classlib/geometry.h"

TEST(Geometry, RectShapeAndPoints)
{
    CRect rect(10, 20, 110, 70);
    EXPECT_EQ(CSize(100, 50), rect.Size());
    EXPECT_EQ(CPoint(60, 45), rect.CenterPoint());
    EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(rect.PtInRect(CPoint(110, 20)));   // the right edge is outside
    EXPECT_FALSE(rect.PtInRect(CPoint(10, 70)));
    rect.TopLeft() = CPoint(0, 0);
    EXPECT_EQ(CRect(0, 0, 110, 70), rect);
    rect.BottomRight() += CSize(-10, 30);
    EXPECT_EQ(CRect(0, 0, 100, 100), rect);
    EXPECT_EQ(CSize(5, 5), CPoint(7, 9) - CPoint(2, 4));
    EXPECT_EQ(CPoint(-3, 4), CPoint((DWORD)MAKELONG(-3, 4)));
}

TEST(Geometry, EmptyAndNull)
{
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(9, 0, 5, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(9, 0, 5, 9).IsRectNull());
    CRect flipped(9, 8, 1, 2);
    flipped.NormalizeRect();
    EXPECT_EQ(CRect(1, 2, 9, 8), flipped);
}

TEST(Geometry, InflateOffsetMove)
{
    CRect rect(10, 10, 20, 20);
    rect.InflateRect(2, 3);
    EXPECT_EQ(CRect(8, 7, 22, 23), rect);
    rect.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(9, 9, 19, 19), rect);
    rect.OffsetRect(-9, 1);
    EXPECT_EQ(CRect(0, 10, 10, 20), rect);
    rect.MoveToXY(100, 200);
    EXPECT_EQ(CRect(100, 200, 110, 210), rect);
    EXPECT_EQ(CRect(101, 202, 111, 212), rect + CPoint(1, 2));
}

TEST(Geometry, IntersectAndUnion)
{
    CRect a(0, 0, 10, 10), b(5, 5, 20, 20), distant(30, 30, 40, 40), none;
    CRect overlap;
    EXPECT_TRUE(overlap.IntersectRect(&a, &b));
    EXPECT_EQ(CRect(5, 5, 10, 10), overlap);
    EXPECT_FALSE(overlap.IntersectRect(&a, &distant));
    EXPECT_TRUE(overlap.IsRectNull());
    EXPECT_EQ(CRect(0, 0, 20, 20), a | b);
    EXPECT_EQ(a, a | none);          // an empty rectangle adds nothing
    EXPECT_EQ(CRect(5, 5, 10, 10), a & b);
    CRect touching(10, 0, 20, 10);
    EXPECT_TRUE((a & touching).IsRectEmpty());
    a |= distant;
    EXPECT_EQ(CRect(0, 0, 40, 40), a);
}
