#include "quorl/render/Canvas.h"

#include <gtest/gtest.h>

#include "quorl/render/RenderTestSupport.h"

namespace Quorl {
namespace {

TEST(Bitmap, PixelsAreStraightOutsideAndPremultipliedInside) {
    Bitmap b(4, 3);
    ASSERT_TRUE(b.IsValid());
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
    b.SetPixel(1, 1, 0x80FF0000);
    EXPECT_EQ(b.GetRawPixel(1, 1), 0x80800000u);
    EXPECT_EQ(b.GetPixel(1, 1), 0x80FF0000u);
    EXPECT_EQ(b.GetPixel(-1, 0), 0u);
    EXPECT_EQ(b.GetPixel(4, 0), 0u);
    b.SetPixel(9, 9, 0xFFFFFFFF);  // ignored

    Bitmap copy = b;
    copy.SetPixel(1, 1, 0xFF00FF00);
    EXPECT_EQ(b.GetPixel(1, 1), 0x80FF0000u);

    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {Bitmap::kMaxSide + 1, 1}}) {
        Bitmap bad(w, h);
        EXPECT_FALSE(bad.IsValid());
        EXPECT_EQ(bad.Width(), 0);
        bad.Clear(0xFFFFFFFF);
        bad.SetPixel(0, 0, 1);
        EXPECT_EQ(bad.GetPixel(0, 0), 0u);
    }
}

TEST(Bitmap, CopyFromClipsToBothBitmapsAndHandlesOverlap) {
    const ARGB colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    const Bitmap strip = MakeStrip(colours, 3, 2, 2);  // 6 x 2
    Bitmap dest(4, 4);
    // Source rect hangs off the left of the strip: only its right part is copied.
    EXPECT_TRUE(dest.CopyFrom(strip, CRect(-1, 0, 3, 2), 0, 0));
    EXPECT_EQ(dest.GetPixel(0, 0), 0u);
    EXPECT_EQ(dest.GetPixel(1, 0), 0xFFFF0000u);
    EXPECT_EQ(dest.GetPixel(3, 1), 0xFF00FF00u);
    EXPECT_FALSE(dest.CopyFrom(strip, CRect(10, 10, 20, 20), 0, 0));
    EXPECT_FALSE(dest.CopyFrom(strip, CRect(0, 0, 2, 2), 4, 0));

    Bitmap self = MakeStrip(colours, 3, 1, 3);  // columns red, green, blue
    EXPECT_TRUE(self.CopyFrom(self, CRect(0, 0, 2, 3), 1, 0));
    EXPECT_EQ(self.GetPixel(0, 2), 0xFFFF0000u);
    EXPECT_EQ(self.GetPixel(1, 2), 0xFFFF0000u);
    EXPECT_EQ(self.GetPixel(2, 2), 0xFF00FF00u);
}

TEST(Canvas, FillsBlendClipAndIgnoreEmptyRectangles) {
    Bitmap b(10, 10);
    Canvas c(b);
    c.FillSolidRect(CRect(0, 0, 10, 10), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(b.GetPixel(5, 5), 0xFF102030u);
    c.FillRect(CRect(0, 0, 5, 5), Color(0x80, 0xFF, 0xFF, 0xFF));
    const ARGB blended = b.GetPixel(1, 1);
    EXPECT_EQ(blended >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>((blended >> 16) & 0xFF), 0x10 + (0xFF - 0x10) / 2, 2);

    c.FillRect(CRect(8, 8, 2, 2), Color(0xFFFF0000));    // inverted
    c.FillRect(CRect(3, 3, 3, 9), Color(0xFFFF0000));    // empty
    c.FillRect(CRect(0, 0, 10, 10), Color(0x00FF0000));  // transparent
    EXPECT_EQ(b.GetPixel(9, 9), 0xFF102030u);

    c.Save();
    c.IntersectClip(CRect(6, 6, 8, 8));
    EXPECT_EQ(c.GetClipBox(), CRect(6, 6, 8, 8));
    c.FillRect(CRect(0, 0, 10, 10), Color(0xFF00FF00));
    c.Restore();
    EXPECT_EQ(b.GetPixel(6, 6), 0xFF00FF00u);
    EXPECT_EQ(b.GetPixel(8, 8), 0xFF102030u);
    EXPECT_EQ(b.GetPixel(5, 6), 0xFF102030u);

    c.ClearRect(CRect(0, 0, 2, 2));
    EXPECT_EQ(b.GetPixel(0, 0), 0u);

    c.FillGradient(CRect(0, 0, 10, 10), Color(0xFF000000), Color(0xFFFFFFFF), true);
    EXPECT_EQ(b.GetPixel(3, 0), 0xFF000000u);
    EXPECT_EQ(b.GetPixel(3, 9), 0xFFFFFFFFu);
    EXPECT_GT(b.GetPixel(3, 5) & 0xFF, 0x60u);
}

TEST(Canvas, LinesEllipsesAndPaths) {
    Bitmap b(40, 40);
    Canvas c(b);
    c.DrawLine(0, 10.5f, 40, 10.5f, Color(0xFFFF0000), 1);
    EXPECT_EQ(b.GetPixel(20, 10), 0xFFFF0000u);
    EXPECT_EQ(b.GetPixel(20, 12), 0u);

    c.ClearRect(b.Bounds());
    c.FillEllipse(0, 0, 40, 20, Color(0xFF00FF00));
    EXPECT_EQ(b.GetPixel(20, 10), 0xFF00FF00u);
    EXPECT_EQ(b.GetPixel(1, 1), 0u);
    EXPECT_EQ(b.GetPixel(20, 30), 0u);

    // Two figures: a triangle and, after StartFigure, a separate square.
    c.ClearRect(b.Bounds());
    Path p;
    p.MoveTo(0, 0);
    p.LineTo(20, 0);
    p.LineTo(0, 20);
    p.CloseFigure();
    p.StartFigure();
    p.AddRectangle(30, 30, 8, 8);
    c.FillPath(p, Color(0xFF0000FF));
    EXPECT_EQ(b.GetPixel(3, 3), 0xFF0000FFu);
    EXPECT_EQ(b.GetPixel(18, 18), 0u);
    EXPECT_EQ(b.GetPixel(34, 34), 0xFF0000FFu);
    EXPECT_EQ(b.GetPixel(25, 34), 0u);

    c.ClearRect(b.Bounds());
    c.DrawRectangle(CRect(10, 10, 20, 20), Color(0xFFFFFFFF), 1);
    EXPECT_EQ(b.GetPixel(10, 15), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(19, 15), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(15, 15), 0u);
    EXPECT_EQ(b.GetPixel(20, 15), 0u);
}

TEST(Canvas, ScaledSourceRectanglesDoNotBleedIntoNeighbouringFrames) {
    const ARGB colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    const Bitmap strip = MakeStrip(colours, 3, 4, 4);
    Bitmap b(40, 40);
    Canvas c(b);
    c.DrawImage(strip, CRect(0, 0, 40, 40), CRect(4, 0, 8, 4));
    for (int i : {0, 1, 20, 38, 39}) {
        EXPECT_EQ(b.GetPixel(i, i), 0xFF00FF00u) << i;
        EXPECT_EQ(b.GetPixel(39 - i, i), 0xFF00FF00u) << i;
    }
    c.ClearRect(b.Bounds());
    c.DrawImage(strip, 2, 3, 128);
    EXPECT_EQ(b.GetPixel(2, 3), 0x80FF0000u);
    EXPECT_EQ(b.GetPixel(1, 3), 0u);
    EXPECT_EQ(b.GetPixel(13, 6), 0x800000FFu);
    EXPECT_EQ(b.GetPixel(14, 6), 0u);

    Bitmap invalid;
    c.DrawImage(invalid, CRect(0, 0, 10, 10));
    c.DrawImage(strip, CRect(0, 0, 10, 10), CRect(50, 50, 60, 60));
    c.DrawImageNine(strip, CRect(5, 5, 1, 1), strip.Bounds(), 2);
    EXPECT_EQ(b.GetPixel(30, 30), 0u);
}

TEST(Canvas, NinePartDrawingKeepsCornersUnscaled) {
    // A 9 x 9 source: 3 x 3 corners of distinct colours, one pixel of each corner marked.
    Bitmap src(9, 9);
    src.Clear(0xFF808080);
    const ARGB corner[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    const int cx[4] = {0, 6, 0, 6}, cy[4] = {0, 0, 6, 6};
    for (int k = 0; k < 4; ++k) {
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) {
                src.SetPixel(cx[k] + x, cy[k] + y, corner[k]);
            }
        }
        src.SetPixel(cx[k] + 1, cy[k] + 1, 0xFFFFFFFF);
    }
    Bitmap b(50, 30);
    Canvas c(b);
    c.DrawImageNine(src, CRect(0, 0, 50, 30), src.Bounds(), 3);
    const int dx[4] = {0, 47, 0, 47}, dy[4] = {0, 0, 27, 27};
    for (int k = 0; k < 4; ++k) {
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) {
                const ARGB expected = (x == 1 && y == 1) ? 0xFFFFFFFF : corner[k];
                EXPECT_EQ(b.GetPixel(dx[k] + x, dy[k] + y), expected) << k << ' ' << x << ' ' << y;
            }
        }
    }
    EXPECT_EQ(b.GetPixel(25, 15), 0xFF808080u);
    EXPECT_EQ(b.GetPixel(25, 1), 0xFF808080u);  // top edge stretched from the grey middle

    // Individual margins: left 1, top 2, right 3, bottom 0.
    c.ClearRect(b.Bounds());
    c.DrawImageNine(src, CRect(10, 10, 40, 20), src.Bounds(), 1, 2, 3, 0);
    EXPECT_EQ(b.GetPixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(b.GetPixel(37, 10), 0xFF00FF00u);
    EXPECT_EQ(b.GetPixel(38, 11), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(9, 10), 0u);

    // Margins wider than the source shrink to fit: the corners split the source in half.
    c.ClearRect(b.Bounds());
    c.DrawImageNine(src, CRect(0, 0, 50, 30), src.Bounds(), 100);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(b.GetPixel(49, 29), 0xFFFFFF00u);
    EXPECT_EQ(InkBounds(b), CRect(0, 0, 50, 30));
    // A destination smaller than the corners keeps them unscaled and cut.
    c.ClearRect(b.Bounds());
    c.DrawImageNine(src, CRect(0, 0, 4, 4), src.Bounds(), 3);
    EXPECT_EQ(b.GetPixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(3, 3), 0xFFFFFF00u);
    EXPECT_EQ(InkBounds(b), CRect(0, 0, 4, 4));
}

TEST(Canvas, TextIsCentredMeasuredAndCutWithAnEllipsis) {
    const Font font(L"Liberation Sans", 20);
    Bitmap b(200, 60);
    Canvas c(b);
    const CRect box(20, 10, 180, 50);
    const int h =
        c.DrawText(L"Quorl", box, font, Color(0xFF000000), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_GT(h, 15);
    const CRect ink = InkBounds(b);
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 100.0, 2.5);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30.0, 4.0);
    const CSize size = c.MeasureText(L"Quorl", font);
    EXPECT_NEAR(size.cx, ink.Width(), 4);

    const CString longText = L"Hello wonderful world of wireless mice";
    const int full = c.MeasureText(longText, font).cx;
    const int limit = full / 2;
    const CSize cut = c.MeasureText(longText, font, DT_SINGLELINE | DT_END_ELLIPSIS, limit);
    EXPECT_LE(cut.cx, limit);
    EXPECT_GT(cut.cx, limit / 2);

    // Word ellipsis keeps whole words: the result is the longest word prefix plus "…".
    const int twoWords = c.MeasureText(L"Hello wonderful\u2026", font).cx;
    const CSize words =
        c.MeasureText(longText, font, DT_SINGLELINE | DT_WORD_ELLIPSIS, twoWords + 5);
    EXPECT_EQ(words.cx, twoWords);

    c.ClearRect(b.Bounds());
    c.DrawText(longText, CRect(0, 0, 100, 60), font, Color(0xFF000000),
               DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER);
    EXPECT_LE(InkBounds(b).right, 100);
    EXPECT_GT(InkBounds(b).right, 80);

    // Word break: more lines, each inside the width.
    const CSize wrapped = c.MeasureText(longText, font, DT_WORDBREAK, 120);
    EXPECT_LE(wrapped.cx, 120);
    EXPECT_GE(wrapped.cy, 3 * size.cy);

    EXPECT_EQ(c.DrawText(L"", box, font, Color(0xFF000000), DT_SINGLELINE), 0);
    EXPECT_EQ(c.DrawText(L"x", CRect(5, 5, 1, 1), font, Color(0xFF000000), 0), 0);
    const CString huge(L'W', 200000);
    EXPECT_GT(c.DrawText(huge, box, font, Color(0xFF000000), DT_SINGLELINE | DT_END_ELLIPSIS), 0);
}

}  // namespace
}  // namespace Quorl
