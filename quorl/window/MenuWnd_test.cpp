#include "quorl/window/MenuWnd.h"

#include <gtest/gtest.h>

#include "quorl/platform/TestProc.h"
#include "quorl/render/Canvas.h"
#include "quorl/window/SkinTestSupport.h"

namespace Quorl {
namespace {

constexpr ARGB kMenuBack = 0xFF102030, kEdge = 0xFFC00000, kMiddle = 0xFF00C000,
               kItemBack = 0xFF808000, kSeparator = 0xFFC000C0;

class MenuSkin : public Testing::SkinTest {
protected:
    void SetUp() override {
        SkinTest::SetUp();
        WriteSolid("menu_bk.png", 40, 40, kMenuBack);
        WriteSolid("item_bk.png", 10, 10, kItemBack);
        WriteSolid("sep.png", 4, 1, kSeparator);
        // 3-pixel margins at both ends, a different middle.
        Bitmap hover(12, 25);
        hover.Clear(kEdge);
        for (int y = 0; y < 25; ++y) {
            for (int x = 3; x < 9; ++x) {
                hover.SetPixel(x, y, kMiddle);
            }
        }
        WriteImage("hover.png", hover);
    }
    static Bitmap Paint(MenuWnd& menu) {
        const CSize size = menu.GetClientRect().Size();
        Bitmap surface(size.cx, size.cy);
        Canvas canvas(surface);
        menu.GetPaintManager().PaintSurface(canvas, surface.Bounds());
        return surface;
    }
};

TEST_F(MenuSkin, ItemsDrawTheMenusImagesOverItsBackgroundImage) {
    constexpr UINT kNotify = WM_USER + 5;
    Testing::TestProc ownerProc;
    HWND owner = platform->CreateWindow(WindowDesc{}, &ownerProc);
    MenuWnd menu;
    ASSERT_NE(menu.Create(owner, CPoint(50, 60), kNotify, L"menu_bk.png", 0, 4, BACK_MODE_FRAME),
              nullptr);
    EXPECT_FALSE(menu.GetPaintManager().IsLayered());
    menu.AddMenu(L"A", 1, CString(), 0, 0);
    menu.AddSeparator(2, L"sep.png");
    menu.AddMenu(L"B", 3, CString(), 0, 0);
    ASSERT_TRUE(menu.SetHoverImage(L"hover.png", 3));
    ASSERT_TRUE(menu.SetItemBkImage(L"item_bk.png"));
    EXPECT_FALSE(menu.SetHoverImage(L"missing.png", 3));
    EXPECT_FALSE(menu.SetItemBkImage(L"missing.png"));
    // Items at y 6..31 and 35..60, the separator at 32, on a menu 300 wide.
    menu.ShowWindow(SW_SHOW);
    platform->InjectMouseMove(menu.GetSafeHwnd(), {150, 18});
    Drain();

    const Bitmap s = Paint(menu);
    const struct {
        int x, y;
        ARGB colour;
    } probes[] = {
        // The menu's own background around the items.
        {1, 2, kMenuBack},
        // Hovered: the hover image, its 3-pixel margins unscaled at both ends.
        {3, 8, kEdge},
        {12, 8, kMiddle},
        {150, 18, kMiddle},
        {288, 8, kMiddle},
        {296, 8, kEdge},
        // Not hovered: the item background only.
        {150, 47, kItemBack},
        {150, 32, kSeparator},
    };
    for (const auto& p : probes) {
        EXPECT_EQ(s.GetPixel(p.x, p.y), p.colour) << "at " << p.x << ", " << p.y;
    }

    // Leaving the item takes the hover image away again.
    platform->InjectMouseMove(menu.GetSafeHwnd(), {150, 47});
    Drain();
    const Bitmap after = Paint(menu);
    EXPECT_EQ(after.GetPixel(150, 18), kItemBack);
    EXPECT_EQ(after.GetPixel(150, 47), kMiddle);

    // Without its image the menu keeps its light colours, so the dark titles stay readable.
    MenuWnd unskinned;
    unskinned.Create(owner, CPoint(0, 0), kNotify, L"missing.png", 0, 4, BACK_MODE_FRAME);
    EXPECT_EQ(Paint(unskinned).GetPixel(5, 5) & 0x00FFFFFF, 0xFFFFFFu);

    MenuWnd layered;
    layered.Create(owner, CPoint(0, 0), kNotify, L"menu_bk.png", 1, 4, BACK_MODE_FRAME);
    EXPECT_TRUE(layered.GetPaintManager().IsLayered());
    platform->DestroyWindow(owner);
}

}  // namespace
}  // namespace Quorl
