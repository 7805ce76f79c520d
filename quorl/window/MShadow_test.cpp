#include "quorl/window/MShadow.h"

#include <gtest/gtest.h>

#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/window/MDialog.h"
#include "quorl/window/SkinTestSupport.h"

namespace Quorl {
namespace {

TEST(MShadowTest, SettersRejectValuesOutOfRangeAndKeepTheOldOnes) {
    MShadow shadow;
    EXPECT_FALSE(shadow.SetSize(36));
    EXPECT_FALSE(shadow.SetSize(-36));
    EXPECT_TRUE(shadow.SetSize(-35));
    EXPECT_EQ(shadow.GetSize(), -35);
    EXPECT_FALSE(shadow.SetPosition(0, -36));
    EXPECT_EQ(shadow.GetPosition(), CPoint(5, 5));
    EXPECT_TRUE(shadow.SetPosition(35, -35));
    EXPECT_FALSE(shadow.SetSharpness(36));
    EXPECT_EQ(shadow.GetSharpness(), 5);
    EXPECT_TRUE(shadow.SetDarkness(255));
    EXPECT_FALSE(shadow.SetDarkness(256));
    EXPECT_EQ(shadow.GetDarkness(), 255);
}

TEST(MShadowTest, KernelIsSolidThenFallsLinearlyToZeroBeyondTheRadius) {
    // size 10, sharpness 4: solid below 6, radius 10.
    EXPECT_EQ(MShadow::KernelValue(10, 4, 200, 0), 200);
    EXPECT_EQ(MShadow::KernelValue(10, 4, 200, 5.9), 200);
    EXPECT_EQ(MShadow::KernelValue(10, 4, 200, 6), 200);
    EXPECT_EQ(MShadow::KernelValue(10, 4, 200, 8.5), 100);
    EXPECT_EQ(MShadow::KernelValue(10, 4, 200, 10), 40);
    EXPECT_EQ(MShadow::KernelValue(10, 4, 200, 10.5), 0);
    // Defaults (size 0, sharpness 5): nothing solid, a faint edge of darkness / 6.
    EXPECT_EQ(MShadow::KernelValue(0, 5, 150, 0), 25);
    EXPECT_EQ(MShadow::KernelValue(0, 5, 150, 5), 0);
}

TEST(MShadowTest, ShadowNeverShowsUnderTheParentAndFadesOutside) {
    POINT origin{};
    // size 10, sharpness 4: the outline shrinks by 6, solid up to 6 from it, gone past 10.
    const Bitmap s = MShadow::MakeShadow(100, 60, 10, 4, 200, RGB(0, 0, 0), 5, 5, origin);
    ASSERT_TRUE(s.IsValid());
    // Points relative to the parent's top-left, as on the screen (offset included).
    auto alphaAt = [&](int px, int py) {
        return s.GetRawPixel(px - origin.x, py - origin.y) >> 24;
    };
    EXPECT_EQ(alphaAt(50, 30), 0u);     // under the parent
    EXPECT_EQ(alphaAt(102, 30), 200u);  // solid, and shifted out from under the parent
    EXPECT_EQ(alphaAt(106, 30), 120u);
    EXPECT_EQ(alphaAt(109, 30), 0u);  // beyond the radius
}

TEST(MShadowTest, ADialogsShadowFollowsIt) {
    auto headless = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform* platform = headless.get();
    Platform::Install(std::move(headless));
    {
        MDialog dialog;
        dialog.Create(nullptr, L"D", WS_VISIBLE, 0, CRect(100, 100, 300, 200));
        dialog.CreateShadow(TRUE);
        HWND shadow = dialog.GetPaintManager().GetShadow().GetHwnd();
        ASSERT_NE(shadow, nullptr);
        CRect r;
        platform->GetWindowRect(shadow, r);
        EXPECT_EQ(r.left, 94);  // grown by sharpness 5 and 1, shifted by 5
        dialog.MoveWindow(CRect(200, 100, 400, 200));
        MSG msg;
        while (platform->PeekMessage(msg, true)) {
            platform->DispatchMessage(msg);
        }
        platform->GetWindowRect(shadow, r);
        EXPECT_EQ(r.left, 194);
        dialog.DestroyWindow();
        EXPECT_FALSE(platform->IsWindow(shadow));
    }
    Platform::Install(nullptr);
}

// A 30 x 30 shadow image with 10-pixel margins: red corners, green edges, a clear centre.
void WriteShadowImage(const std::string& path) {
    Bitmap b(30, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool edgeX = x < 10 || x >= 20, edgeY = y < 10 || y >= 20;
            b.SetPixel(x, y, edgeX && edgeY ? 0xFFFF0000 : edgeX || edgeY ? 0xFF00FF00 : 0);
        }
    }
    ASSERT_TRUE(b.SavePng(CString::FromUtf8(path)));
}

class ShadowSkin : public Testing::SkinTest {};

TEST_F(ShadowSkin, ImageModeFramesTheParentWithTheImage) {
    WriteShadowImage(skins + "/shadow.png");
    {
        MDialog dialog;
        dialog.Create(nullptr, L"D", WS_VISIBLE, 0, CRect(100, 100, 300, 200));
        dialog.CreateShadow(TRUE);
        MShadow& shadow = dialog.GetPaintManager().GetShadow();

        // Refused margins or a missing image change nothing.
        EXPECT_FALSE(dialog.SetShadowImage(L"shadow.png", CRect(10, -1, 10, 10)));
        EXPECT_FALSE(dialog.SetShadowImage(L"missing.png", CRect(10, 10, 10, 10)));
        EXPECT_FALSE(shadow.IsImageMode());
        EXPECT_FALSE(shadow.SetShadowCorner(CRect(0, 0, -3, 0)));
        EXPECT_EQ(shadow.GetShadowCorner(), CRect(-1, -1, -1, -1));

        ASSERT_TRUE(dialog.SetShadowImage(L"shadow.png", CRect(10, 10, 10, 10)));
        EXPECT_TRUE(shadow.IsImageMode());
        CRect r;
        platform->GetWindowRect(shadow.GetHwnd(), r);
        EXPECT_EQ(r, CRect(90, 90, 310, 210));
        const Bitmap* s = platform->GetSurface(shadow.GetHwnd());
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->Size(), CSize(220, 120));
        EXPECT_EQ(s->GetPixel(0, 0), 0xFFFF0000u);  // corners unscaled
        EXPECT_EQ(s->GetPixel(215, 115), 0xFFFF0000u);
        EXPECT_EQ(s->GetPixel(110, 4), 0xFF00FF00u);   // top edge stretched
        EXPECT_EQ(s->GetPixel(214, 60), 0xFF00FF00u);  // right edge
        EXPECT_EQ(s->GetPixel(110, 60) >> 24, 0u);     // clear under the parent

        // A later failed image keeps the one shown; a copy takes the image along.
        EXPECT_FALSE(shadow.SetImage(L"missing.png"));
        EXPECT_TRUE(shadow.IsImageMode());
        MShadow copy;
        copy.CopyShadow(&shadow);
        EXPECT_TRUE(copy.IsImageMode());
        EXPECT_EQ(copy.ImageShadowRect(CRect(0, 0, 50, 50)), CRect(-10, -10, 60, 60));
        dialog.DestroyWindow();
    }
}

}  // namespace
}  // namespace Quorl
