#include <chrono>

#include "quorl/platform/GtkPlatform.h"
#include "quorl/platform/PlatformTestFixture.h"

// X11 last: its macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace Quorl::Testing {

void GtkFixture::SetUpTestSuite() {
    auto gtk = CreateGtkPlatform();
    ASSERT_NE(gtk, nullptr) << "no display (the test runs under xvfb-run)";
    Platform::Install(std::move(gtk));
}

void GtkFixture::TearDownTestSuite() {
    Platform::Install(nullptr);
}

void GtkFixture::SetUp() {
    display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

void GtkFixture::Serve() {
    DispatchQueued(Platform::Current());
    XSync(display, False);
    g_main_context_iteration(nullptr, FALSE);
    g_usleep(2000);
}

bool GtkFixture::RunUntil(const std::function<bool()>& done, int limitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        Serve();
    }
    return true;
}

}  // namespace Quorl::Testing
