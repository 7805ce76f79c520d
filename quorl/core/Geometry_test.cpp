#include "quorl/core/Geometry.h"

#include <gtest/gtest.h>

namespace Quorl {
namespace {

TEST(CRect, SizeAndContainmentUseExclusiveRightAndBottom) {
    const CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.CenterPoint(), CPoint(20, 40));
    EXPECT_TRUE(r.PtInRect({10, 20}));
    EXPECT_TRUE(r.PtInRect({29, 59}));
    EXPECT_FALSE(r.PtInRect({30, 40}));
    EXPECT_FALSE(r.PtInRect({20, 60}));
    EXPECT_FALSE(r.PtInRect({9, 40}));
}

TEST(CRect, EmptyAndInvertedRectanglesHaveNoArea) {
    EXPECT_TRUE(CRect().IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(9, 0, 1, 5).IsRectEmpty());
    EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());
    EXPECT_FALSE(CRect(9, 0, 1, 5).PtInRect({5, 2}));

    CRect inverted(9, 8, 1, 2);
    inverted.NormalizeRect();
    EXPECT_EQ(inverted, CRect(1, 2, 9, 8));
}

TEST(CRect, OffsetInflateDeflateAndMove) {
    CRect r(0, 0, 10, 10);
    r.OffsetRect(5, -2);
    EXPECT_EQ(r, CRect(5, -2, 15, 8));
    r.InflateRect(1, 2);
    EXPECT_EQ(r, CRect(4, -4, 16, 10));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(5, -2, 13, 6));
    r.MoveToXY(0, 0);
    EXPECT_EQ(r, CRect(0, 0, 8, 8));
    EXPECT_EQ(r + CPoint(1, 1), CRect(1, 1, 9, 9));
}

TEST(CRect, IntersectAndUnion) {
    struct Case {
        CRect a, b, intersection, unionRect;
        bool overlaps;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}, {0, 0, 20, 20}, true},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {}, {0, 0, 20, 10}, false},  // touching edges
        {{0, 0, 10, 10}, {}, {}, {0, 0, 10, 10}, false},               // empty is ignored
        {{0, 0, 10, 10}, {8, 8, 2, 2}, {}, {0, 0, 10, 10}, false},     // inverted
    };
    for (const Case& c : cases) {
        CRect r;
        EXPECT_EQ(r.IntersectRect(c.a, c.b), c.overlaps);
        EXPECT_EQ(r, c.intersection);
        EXPECT_TRUE(r.UnionRect(c.a, c.b));
        EXPECT_EQ(r, c.unionRect);
    }
    CRect self(0, 0, 10, 10);
    self &= CRect(2, 3, 40, 40);
    EXPECT_EQ(self, CRect(2, 3, 10, 10));
    self |= CRect(0, 0, 1, 1);
    EXPECT_EQ(self, CRect(0, 0, 10, 10));
}

}  // namespace
}  // namespace Quorl
