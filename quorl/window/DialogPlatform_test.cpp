// What a dialog asks of the platform: its first layout, moving by the caption, its icons and
// its shadow's place, on the headless back end.
#include <gtest/gtest.h>

#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/render/Manager.h"
#include "quorl/render/Resources.h"
#include "quorl/window/MDialog.h"
#include "quorl/window/MShadow.h"

namespace Quorl {
namespace {

class DialogPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto headless = std::make_unique<HeadlessPlatform>();
        platform = headless.get();
        Platform::Install(std::move(headless));
    }
    void TearDown() override {
        Manager::SetInstance(nullptr);
        Platform::Install(nullptr);
    }
    void Drain() {
        MSG msg;
        while (platform->PeekMessage(msg, true)) {
            if (msg.message != WM_QUIT) {
                platform->DispatchMessage(msg);
            }
        }
    }
    HeadlessPlatform* platform = nullptr;
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
    // Pop-ups are placed by the toolkit, never by the desktop.
    MDialog popup;
    popup.Create(nullptr, L"P", WS_POPUP | WS_VISIBLE, 0, CRect(500, 100, 700, 200));
    EXPECT_FALSE(platform->BeginMoveDrag(popup.GetSafeHwnd()));
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
