#include "quorl/window/MAirBladder.h"

#include <gtest/gtest.h>

#include "quorl/platform/HeadlessPlatform.h"

namespace Quorl {
namespace {

TEST(MAirBladderTest, PlacementFollowsTheType) {
    const POINT a{500, 300};
    const CSize text(100, 14);
    EXPECT_EQ(MAirBladder::FitRect(1, a, text, 1, 10), CRect(500, 300, 640, 338));
    EXPECT_EQ(MAirBladder::FitRect(1, a, text, 1, 60), CRect(500, 300, 590, 356));   // halved
    EXPECT_EQ(MAirBladder::FitRect(1, a, text, 1, 120), CRect(500, 300, 573, 374));  // thirds
    EXPECT_EQ(MAirBladder::FitRect(2, a, text, 1, 10), CRect(360, 273, 500, 311));
    EXPECT_EQ(MAirBladder::FitRect(3, a, text, 1, 10), CRect(475, 300, 615, 348));
    EXPECT_EQ(MAirBladder::FitRect(4, a, text, 1, 10), CRect(435, 262, 565, 300));
    EXPECT_TRUE(MAirBladder::FitRect(9, a, text, 1, 10).IsRectEmpty());
}

TEST(MAirBladderTest, SameMessageIsNotRefittedAndTheHideTimerHidesIt) {
    auto headless = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform* platform = headless.get();
    Platform::Install(std::move(headless));
    {
        WindowDesc desc;
        desc.visible = true;
        struct : WindowProc {
            LRESULT HandleMessage(HWND h, UINT m, WPARAM w, LPARAM l) override {
                return Platform::Current().DefWindowProc(h, m, w, l);
            }
        } proc;
        HWND owner = platform->CreateWindow(desc, &proc);
        MAirBladder bubble(owner);
        EXPECT_TRUE(bubble.SetMessage(L"Saved", POINT{100, 100}, 1, 3));
        EXPECT_TRUE(bubble.SetMessage(L"Saved", POINT{100, 100}, 1, 3));
        EXPECT_EQ(bubble.GetRefitCount(), 1);
        EXPECT_TRUE(bubble.SetMessage(L"Saved", POINT{100, 101}, 1, 3));
        EXPECT_EQ(bubble.GetRefitCount(), 2);
        bubble.Show(TRUE);
        ASSERT_TRUE(bubble.IsShown());
        platform->SendMessage(bubble.GetHwnd(), WM_TIMER, MAirBladder::kHideTimer, 0);
        EXPECT_FALSE(bubble.IsShown());
        platform->DestroyWindow(owner);
    }
    Platform::Install(nullptr);
}

}  // namespace
}  // namespace Quorl
