#include <gtest/gtest.h>

#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/platform/TestProc.h"
#include "quorl/window/MenuWnd.h"

// X11 last: its macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace Quorl {
namespace {

using MenuWndGtkTest = Testing::GtkFixture;

// On a real (virtual) X display: a click on a menu item posts its id to the owner once.
TEST_F(MenuWndGtkTest, AClickOnTheMenuPostsTheItemIdOnce) {
    Platform& platform = Platform::Current();
    {
        constexpr UINT kNotify = WM_USER + 91;
        Testing::TestProc ownerProc;
        WindowDesc desc;
        desc.rect = CRect(100, 100, 700, 500);
        desc.visible = true;
        HWND owner = platform.CreateWindow(desc, &ownerProc);
        XTestFakeMotionEvent(display, -1, 400, 450, CurrentTime);
        platform.SetForegroundWindow(owner);
        RunUntil([&] { return platform.GetActiveWindow() == owner; });

        MenuWnd menu;
        ASSERT_NE(menu.Create(owner, CPoint(200, 150), kNotify, 200), nullptr);
        menu.AddMenu(L"Open", 41, CString(), 0, 0);
        menu.AddMenu(L"Exit", 42, CString(), 0, 0);
        menu.ShowWindow(SW_SHOW);
        RunUntil([&] { return platform.IsWindowVisible(menu.GetSafeHwnd()) != 0; });

        // The second item lies at y 31..56 of the menu.
        XTestFakeMotionEvent(display, -1, 260, 150 + 40, CurrentTime);
        XFlush(display);
        RunUntil([&] { return menu.GetPaintManager().GetHoverControl() != nullptr; });
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        ASSERT_TRUE(RunUntil([&] { return !ownerProc.Only(kNotify).empty(); }));
        RunUntil([&] { return !menu.IsWindow(); });
        const auto posted = ownerProc.Only(kNotify);
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].lParam, 42);
        EXPECT_FALSE(menu.IsWindow());
        platform.DestroyWindow(owner);
    }
}

}  // namespace
}  // namespace Quorl
