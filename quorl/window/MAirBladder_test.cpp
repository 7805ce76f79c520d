#include "quorl/window/MAirBladder.h"

#include <gtest/gtest.h>

#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/window/SkinTestSupport.h"

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
    // Type 5's own bottom would lie above its top: it keeps room for the text instead.
    EXPECT_EQ(MAirBladder::FitRect(5, a, text, 1, 10), CRect(500, 290, 640, 328));
    EXPECT_EQ(MAirBladder::FitRect(5, a, text, 3, 10), CRect(500, 290, 640, 364));
    EXPECT_TRUE(MAirBladder::FitRect(9, a, text, 1, 10).IsRectEmpty());
}

constexpr ARGB kBody = 0xFF0000C0, kLeft = 0xFFC00000, kRight = 0xFF00C000, kTop = 0xFFC0C000;

// Skin images of one colour each, so that the bubble's surface shows which lies where.
class BubbleSkin : public Testing::SkinTest {
protected:
    void SetUp() override {
        SkinTest::SetUp();
        WriteSolid("img_tip_bk.png", 48, 32, kBody);
        WriteSolid("img_tip_arrow_left.png", 8, 14, kLeft);
        WriteSolid("img_tip_arrow_right.png", 8, 14, kRight);
        WriteSolid("img_tip_arrow_top.png", 14, 8, kTop);
    }
};

TEST_F(BubbleSkin, EachTypeDrawsItsArrowTowardsTheAnchor) {
    struct Probe {
        int x, y;  // from the window's left/top; negative from its right/bottom
        ARGB colour;
    };
    struct Case {
        int type;
        std::vector<Probe> probes;
    };
    // Anchor (300, 200). Type 1 hangs from it (arrow kept clear of the corner), type 3 has it
    // 25 pixels in, type 2 on its right edge 27 down, type 5 on its left edge 10 down.
    const Case cases[] = {
        {1, {{6, 2, kTop}, {19, 2, kTop}, {3, 2, 0}, {22, 2, 0}, {3, 9, kBody}}},
        {3, {{19, 2, kTop}, {31, 2, kTop}, {16, 2, 0}, {34, 2, 0}, {3, 9, kBody}}},
        {2, {{-2, 27, kRight}, {-2, 3, 0}, {-12, 3, kBody}}},
        {5, {{1, 10, kLeft}, {1, 25, 0}, {10, 25, kBody}}},
        {4, {{1, 1, kBody}, {-2, -2, kBody}}},
    };
    HWND owner = platform->CreateWindow(WindowDesc{}, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        MAirBladder bubble(owner);
        bubble.SetMessage(L".", POINT{300, 200}, c.type, 3);
        const Bitmap* surface = platform->GetSurface(bubble.GetHwnd());
        ASSERT_NE(surface, nullptr);
        const CRect r = bubble.GetFitRect();
        ASSERT_EQ(surface->Size(), r.Size());
        for (const Probe& p : c.probes) {
            const int x = p.x < 0 ? r.Width() - 1 + p.x : p.x;
            const int y = p.y < 0 ? r.Height() - 1 + p.y : p.y;
            EXPECT_EQ(surface->GetPixel(x, y), p.colour) << "at " << x << ", " << y;
        }
    }
    platform->DestroyWindow(owner);
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
