// What a dialog asks of the platform: its first layout, moving by the caption, its icons and
// its shadow's place, on the headless back end.
#include <gtest/gtest.h>

#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/render/Manager.h"
#include "quorl/render/Resources.h"
#include "quorl/window/MDialog.h"
#include "quorl/window/MShadow.h"

namespace Quorl {
namespace {

class DialogPlatformTest : public Testing::HeadlessFixture {
protected:
    void TearDown() override {
        Manager::SetInstance(nullptr);
        HeadlessFixture::TearDown();
    }
};

TEST_F(DialogPlatformTest, ANewDialogIsMovedByAPressAnywhereOnItWithoutAResizeFirst) {
    MDialog dialog;
    dialog.Create(nullptr, L"D", WS_VISIBLE, 0, CRect(100, 100, 400, 300));
    Drain();
    EXPECT_EQ(dialog.GetPaintManager().GetCaptionRect(), CRect(0, 0, 300, 200));
    platform->InjectMouseMove(dialog.GetSafeHwnd(), {150, 120});
    platform->InjectButton(dialog.GetSafeHwnd(), WM_LBUTTONDOWN, {150, 120}, MK_LBUTTON);
    Drain();
    EXPECT_EQ(platform->GetMoveDragCount(dialog.GetSafeHwnd()), 1);
}

TEST_F(DialogPlatformTest, APopupDialogFollowsThePointerUntilTheRelease) {
    MDialog popup;
    popup.Create(nullptr, L"P", WS_POPUP | WS_VISIBLE, 0, CRect(500, 100, 700, 200));
    Drain();
    HWND hwnd = popup.GetSafeHwnd();
    platform->InjectMouseMove(hwnd, {20, 30});
    platform->InjectButton(hwnd, WM_LBUTTONDOWN, {20, 30}, MK_LBUTTON);
    Drain();
    EXPECT_EQ(platform->GetMoveDragCount(hwnd), 1);
    platform->InjectMouseMove(hwnd, {60, 10}, MK_LBUTTON);  // 40 right, 20 up
    Drain();
    EXPECT_EQ(popup.GetWindowRect(), CRect(540, 80, 740, 180));
    platform->InjectMouseMove(hwnd, {30, 40}, MK_LBUTTON);  // relative to the moved window
    Drain();
    EXPECT_EQ(popup.GetWindowRect(), CRect(550, 90, 750, 190));
    platform->InjectButton(hwnd, WM_LBUTTONUP, {30, 40});
    platform->InjectMouseMove(hwnd, {80, 60});
    Drain();
    EXPECT_EQ(popup.GetWindowRect(), CRect(550, 90, 750, 190));
    EXPECT_EQ(platform->GetCapture(), nullptr);
}

TEST_F(DialogPlatformTest, IconsNeedAWindowAndAnIconResource) {
    MDialog dialog;
    EXPECT_FALSE(dialog.SetIcon(107));  // no window yet
    dialog.Create(nullptr, L"D", WS_VISIBLE, 0, CRect(100, 100, 400, 300));
    EXPECT_FALSE(dialog.SetIcon(107));  // no resource module
    Manager::SetInstance(GetToolkitModule());
    EXPECT_FALSE(dialog.SetIcon(107));  // a module without that icon
    EXPECT_TRUE(platform->GetIconSizes(dialog.GetSafeHwnd()).empty());
}

TEST_F(DialogPlatformTest, TheShadowLiesBelowItsDialog) {
    MDialog dialog;
    dialog.Create(nullptr, L"D", WS_VISIBLE, 0, CRect(100, 100, 400, 300));
    dialog.CreateShadow(TRUE);
    HWND shadow = dialog.GetPaintManager().GetShadow().GetHwnd();
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(platform->GetPlacedBelow(shadow), dialog.GetSafeHwnd());
}

}  // namespace
}  // namespace Quorl
