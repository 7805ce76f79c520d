#include "quorl/render/MRender.h"

#include <gtest/gtest.h>

#include "quorl/render/Manager.h"
#include "quorl/render/RenderTestSupport.h"
#include "quorl/render/Resources.h"
#include "tests/support/TempFolder.h"

namespace Quorl {
namespace {

int Red(const Bitmap& b, int x, int y) {
    return static_cast<int>((b.GetPixel(x, y) >> 16) & 0xFF);
}

struct Fade {
    Bitmap dest{10, 100};
    Bitmap src{10, 100};
    Fade() {
        dest.Clear(0xFF000000);
        src.Clear(0xFFFFFFFF);
    }
};

TEST(MRender, VerticalTransitionFadesRowByRow) {
    {
        Fade f;
        Canvas c(f.dest);
        // Opaque at the top, transparent at the bottom: 255 falling by 2.55 per row.
        const int last =
            MRender::DrawVerticalTransition(c, f.src, f.dest.Bounds(), f.src.Bounds(), 0, 100);
        EXPECT_EQ(last, 2);
        EXPECT_EQ(Red(f.dest, 5, 0), 255);
        EXPECT_NEAR(Red(f.dest, 5, 50), 127, 2);
        EXPECT_LE(Red(f.dest, 5, 99), 3);
        for (int y = 1; y < 100; ++y) {
            ASSERT_LE(Red(f.dest, 5, y), Red(f.dest, 5, y - 1)) << y;
        }
    }
    {
        Fade f;
        Canvas c(f.dest);
        EXPECT_EQ(
            MRender::DrawVerticalTransition(c, f.src, f.dest.Bounds(), f.src.Bounds(), 80, 80), 51);
        for (int y : {0, 1, 50, 99}) {
            EXPECT_NEAR(Red(f.dest, 3, y), 51, 1) << y;
        }
    }
    {
        Fade f;  // reversed: transparent at the top
        Canvas c(f.dest);
        MRender::DrawVerticalTransition(c, f.src, f.dest.Bounds(), f.src.Bounds(), 100, 0);
        EXPECT_EQ(Red(f.dest, 5, 0), 0);
        EXPECT_GE(Red(f.dest, 5, 99), 250);
    }
    {
        Fade f;
        Canvas c(f.dest);
        EXPECT_EQ(MRender::DrawHorizontalTransition(c, f.src, CRect(0, 0, 10, 100), f.src.Bounds(),
                                                    0, 100),
                  25);  // 255 - 9 x 25.5
        EXPECT_EQ(Red(f.dest, 0, 40), 255);
        EXPECT_LT(Red(f.dest, 9, 40), 30);
    }
    {
        Fade f;
        Canvas c(f.dest);
        EXPECT_EQ(
            MRender::DrawVerticalTransition(c, f.src, CRect(5, 5, 5, 50), f.src.Bounds(), 0, 100),
            0);
        EXPECT_EQ(
            MRender::DrawVerticalTransition(c, f.src, CRect(0, 50, 10, 10), f.src.Bounds(), 0, 100),
            0);
        EXPECT_EQ(
            MRender::DrawVerticalTransition(c, Bitmap(), f.dest.Bounds(), f.src.Bounds(), 0, 100),
            0);
        EXPECT_EQ(f.dest.GetPixel(5, 20), 0xFF000000u);
    }
}

TEST(MRender, OriginPointAndAlphaColour) {
    struct Case {
        UINT h, v;
        CPoint expected;
    };
    const Case cases[] = {
        {0, 0, {0, 0}}, {1, 4, {40, 15}}, {2, 8, {80, 30}}, {1, 0, {40, 0}}, {0, 8, {0, 30}}};
    for (const Case& c : cases) {
        EXPECT_EQ(MRender::GetOriginPoint(100, 40, 20, 10, c.h, c.v), c.expected);
        EXPECT_EQ(MRender::GetOriginPoint(CRect(10, 20, 110, 60), 20, 10, c.h, c.v),
                  CPoint(c.expected.x + 10, c.expected.y + 22));
    }
    // An item larger than its box sticks out on both sides when centred.
    EXPECT_EQ(MRender::GetOriginPoint(10, 10, 20, 30, 1, 4), CPoint(-5, -10));

    struct AlphaCase {
        DWORD in, out;
    };
    const AlphaCase alphas[] = {{0x00000000, 0x00000001}, {0xFF000000, 0xFF000001},
                                {0x80000000, 0x80000001}, {0xFF000100, 0xFF000100},
                                {0x00010000, 0x00010000}, {0xFFFFFFFF, 0xFFFFFFFF}};
    for (const AlphaCase& a : alphas) {
        DWORD c = a.in;
        MRender::CheckAlphaColor(c);
        EXPECT_EQ(c, a.out) << std::hex << a.in;
    }
}

TEST(MRender, ImageFrameDrawsOneFrameOfAStripWithUnscaledCorners) {
    // Frame 1 of a two-frame strip: 6 x 6 with a marked 2 x 2 top-left corner.
    Bitmap strip(12, 6);
    strip.Clear(0xFF0000FF);
    for (int y = 0; y < 6; ++y) {
        for (int x = 6; x < 12; ++x) {
            strip.SetPixel(x, y, 0xFF00FF00);
        }
    }
    strip.SetPixel(6, 0, 0xFFFF0000);
    strip.SetPixel(7, 1, 0xFFFFFFFF);
    const auto image = Image::FromBitmap(strip);
    Bitmap b(30, 20);
    Canvas c(b);
    MRender::DrawImageFrame(c, image.get(), CRect(0, 0, 30, 20), 6, 0, 6, 6, 2);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(b.GetPixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(b.GetPixel(29, 19), 0xFF00FF00u);
    EXPECT_EQ(b.GetPixel(15, 10), 0xFF00FF00u);
    MRender::DrawImageFrame(c, nullptr, CRect(0, 0, 30, 20), 0, 0, 6, 6, 2);
    MRender::DrawImageFrameMID(c, image.get(), CRect(0, 0, 30, 20), 0, 0, 0, 6, 1, 1, 1, 1);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFFFF0000u);
}

TEST(MRender, GradientRoundRectAndFills) {
    Bitmap b(40, 40);
    Canvas c(b);
    MRender::FillSolidRect(c, 0, 0, 40, 40, RGB(0, 0, 0));
    // Mean alpha (0xFF + 0x01) / 2 = 128.
    MRender::DrawGradient(c, CRect(0, 0, 40, 40), 0xFFFFFFFF, 0x01FFFFFF, true, 64);
    EXPECT_NEAR(Red(b, 10, 10), 128, 2);
    MRender::DrawGradient(c, CRect(0, 0, 40, 40), 0x00FF0000, 0x00FF0000, true, 64);
    EXPECT_NEAR(Red(b, 10, 10), 128, 2);
    MRender::DrawColor(c, CRect(0, 0, 40, 40), 0x00FF0000);
    EXPECT_NEAR(Red(b, 10, 10), 128, 2);

    c.ClearRect(b.Bounds());
    MRender::DrawRoundRectange(c, 0, 0, 40, 40, 2, Color(0xFF0000FF), 1, true, Color(0xFFFF0000));
    EXPECT_EQ(b.GetPixel(20, 20), 0xFFFF0000u);
    EXPECT_EQ(b.GetPixel(0, 0), 0u);  // outside the 20 x 20 corner ellipse
    EXPECT_EQ(b.GetPixel(1, 1), 0u);
    c.ClearRect(b.Bounds());
    MRender::DrawRoundRectange(c, 0, 0, 40, 40, 0, Color(0xFF0000FF), 1, true, Color(0xFFFF0000));
    EXPECT_NE(b.GetPixel(1, 1), 0u);  // ratio 0: square corners, no division by zero
}

TEST(MRender, TextThroughTheNativeConvention) {
    Bitmap b(120, 40);
    Canvas c(b);
    const Font font(L"Liberation Sans", 16);
    CRect r(0, 0, 120, 40);
    EXPECT_EQ(MRender::DrawTextW(c, r, nullptr, 0, &font, DT_SINGLELINE), 0);
    EXPECT_EQ(MRender::DrawTextW(c, r, L"", 0, &font, DT_SINGLELINE), 0);
    EXPECT_TRUE(InkBounds(b).IsRectEmpty());

    CRect calc(5, 5, 6, 6);
    const int h = MRender::DrawTextW(c, calc, L"Profile 1", 0, &font, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(h, 10);
    EXPECT_EQ(calc.Height(), h);
    EXPECT_GT(calc.Width(), 40);
    EXPECT_TRUE(InkBounds(b).IsRectEmpty());

    EXPECT_GT(MRender::DrawTextW(c, r, L"Profile 1", RGB(0xFF, 0, 0), &font,
                                 DT_CENTER | DT_VCENTER | DT_SINGLELINE),
              10);
    const CRect ink = InkBounds(b);
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_EQ(b.GetPixel(ink.CenterPoint().x, ink.CenterPoint().y) & 0x0000FFFF, 0u);  // red only

    const CSize plain = MRender::GetTextBounds(font, L"Profile 1");
    EXPECT_EQ(plain, CSize(calc.Width(), calc.Height()));
    StringFormat wrap;
    const CSize wrapped = MRender::GetTextBounds(font, wrap, 40, L"Profile 1 Profile 2");
    EXPECT_LE(wrapped.cx, 40);
    EXPECT_GT(wrapped.cy, plain.cy);
}

TEST(MRender, SaveBitmapToFileWritesA24BitBmp) {
    TempFolder folder;
    Bitmap b(3, 2);
    b.SetPixel(0, 0, 0xFF102030);
    b.SetPixel(2, 1, 0xFFA0B0C0);
    const std::string path = folder / "shot.bmp";
    ASSERT_TRUE(MRender::SaveBitmapToFile(b, CString::FromUtf8(path)));
    const std::string bytes = ReadFileText(path);
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[28]), 24);
    // Bottom row first: pixel (2, 1) opens the data at x = 2.
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[54 + 6]), 0xC0);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[54 + 8]), 0xA0);

    const auto back = Image::FromFile(CString::FromUtf8(path));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetBitmap().GetPixel(0, 0), 0xFF102030u);
    EXPECT_EQ(back->GetBitmap().GetPixel(2, 1), 0xFFA0B0C0u);
    EXPECT_EQ(back->GetBitmap().GetPixel(1, 0), 0xFF000000u);

    EXPECT_FALSE(MRender::SaveBitmapToFile(Bitmap(), CString::FromUtf8(folder / "x.bmp")));
    EXPECT_FALSE(MRender::SaveBitmapToFile(b, CString::FromUtf8(folder / "no/such/dir.bmp")));
}

TEST(MRender, ResourcesRasterOperationsAndCornerFade) {
    for (UINT id : {101u, 102u}) {
        const auto strip = MRender::LoadImageFromIDResource(id, L"PNG", GetToolkitModule());
        ASSERT_TRUE(strip) << id;
        EXPECT_EQ(strip->Width() % 3, 0);
        EXPECT_GT(strip->Height(), 0);
    }
    EXPECT_FALSE(MRender::LoadImageFromIDResource(999, L"PNG", GetToolkitModule()));
    EXPECT_FALSE(MRender::LoadImageFromIDResource(112, L"TTF", GetToolkitModule()));  // no image
    EXPECT_FALSE(MRender::LoadImageFromIDResource(101, L"PNG", nullptr));

    Bitmap a(2, 1), s(2, 1);
    a.Clear(0xFF0F0F00);
    s.Clear(0xFFF000F0);
    EXPECT_TRUE(MRender::BitBlt(a, 0, 0, 1, 1, s, 0, 0, SRCPAINT));
    EXPECT_EQ(a.GetPixel(0, 0), 0xFFFF0FF0u);
    EXPECT_EQ(a.GetPixel(1, 0), 0xFF0F0F00u);
    EXPECT_FALSE(MRender::BitBlt(a, 0, 0, 1, 1, s, 0, 0, 0x12345678));

    Bitmap dest(20, 20), src(20, 20);
    dest.Clear(0xFF000000);
    src.Clear(0xFFFFFFFF);
    MRender::DrawRightBottomTransition(dest, src, CRect(0, 0, 20, 20), 10);
    EXPECT_EQ(Red(dest, 10, 10), 255);  // the block's top-left: full source
    EXPECT_EQ(Red(dest, 19, 19), 0);    // farther than size: untouched
    EXPECT_NEAR(Red(dest, 15, 10), 128, 2);
    EXPECT_EQ(Red(dest, 5, 5), 0);  // outside the block
}

}  // namespace
}  // namespace Quorl
