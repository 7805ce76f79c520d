#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "quorl/platform/GtkPlatform.h"
#include "quorl/platform/TestProc.h"
#include "quorl/window/MenuWnd.h"

// X11 last: its macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace Quorl {
namespace {

// On a real (virtual) X display: a click on a menu item posts its id to the owner once.
TEST(MenuWndGtkTest, AClickOnTheMenuPostsTheItemIdOnce) {
    auto gtk = CreateGtkPlatform();
    ASSERT_NE(gtk, nullptr) << "no display (the test runs under xvfb-run)";
    Platform::Install(std::move(gtk));
    Platform& platform = Platform::Current();
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    auto runUntil = [&](const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(4);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            MSG msg;
            while (platform.PeekMessage(msg, true)) {
                if (msg.message != WM_QUIT) {
                    platform.DispatchMessage(msg);
                }
            }
            XSync(display, False);
            g_main_context_iteration(nullptr, FALSE);
            g_usleep(2000);
        }
        return true;
    };
    {
        constexpr UINT kNotify = WM_USER + 91;
        Testing::TestProc ownerProc;
        WindowDesc desc;
        desc.rect = CRect(100, 100, 700, 500);
        desc.visible = true;
        HWND owner = platform.CreateWindow(desc, &ownerProc);
        XTestFakeMotionEvent(display, -1, 400, 450, CurrentTime);
        platform.SetForegroundWindow(owner);
        runUntil([&] { return platform.GetActiveWindow() == owner; });

        MenuWnd menu;
        ASSERT_NE(menu.Create(owner, CPoint(200, 150), kNotify, 200), nullptr);
        menu.AddMenu(L"Open", 41, CString(), 0, 0);
        menu.AddMenu(L"Exit", 42, CString(), 0, 0);
        menu.ShowWindow(SW_SHOW);
        runUntil([&] { return platform.IsWindowVisible(menu.GetSafeHwnd()) != 0; });

        // The second item lies at y 31..56 of the menu.
        XTestFakeMotionEvent(display, -1, 260, 150 + 40, CurrentTime);
        XFlush(display);
        runUntil([&] { return menu.GetPaintManager().GetHoverControl() != nullptr; });
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        ASSERT_TRUE(runUntil([&] { return !ownerProc.Only(kNotify).empty(); }));
        runUntil([&] { return !menu.IsWindow(); });
        const auto posted = ownerProc.Only(kNotify);
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].lParam, 42);
        EXPECT_FALSE(menu.IsWindow());
        platform.DestroyWindow(owner);
    }
    Platform::Install(nullptr);
}

}  // namespace
}  // namespace Quorl
