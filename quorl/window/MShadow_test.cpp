#include "quorl/window/MShadow.h"

#include <gtest/gtest.h>

#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/window/MDialog.h"

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

}  // namespace
}  // namespace Quorl
