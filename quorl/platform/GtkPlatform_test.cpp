#include "quorl/platform/GtkPlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "quorl/platform/GtkKeyMap.h"
#include "quorl/platform/MessageLoop.h"
#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/platform/TestProc.h"
#include "quorl/platform/VirtualKeys.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Canvas.h"

// Last: X11 defines macros (None, CursorShape) that clash with our names.
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#include <gdk/gdk.h>
#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace Quorl {
namespace {

using Testing::TestProc;

class GtkPlatformTest : public Testing::GtkFixture {
protected:
    void SetUp() override {
        GtkFixture::SetUp();
        platform = &Platform::Current();
        WindowDesc desc;
        desc.title = L"Проба";
        desc.rect = CRect(60, 40, 260, 160);
        desc.visible = true;
        hwnd = platform->CreateWindow(desc, &proc);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override { platform->DestroyWindow(hwnd); }

    GdkWindow* Gdk() {
        return gtk_widget_get_window(static_cast<GtkWidget*>(GetGtkWindowWidget(hwnd)));
    }

    void Key(KeySym sym, bool down) {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), down, CurrentTime);
        XFlush(display);
    }

    void Focus() {
        // Without a window manager, the focus follows the pointer: put it over the window.
        CRect rect;
        platform->GetWindowRect(hwnd, rect);
        XTestFakeMotionEvent(display, -1, rect.left + 100, rect.top + 100, CurrentTime);
        platform->SetForegroundWindow(hwnd);
        ASSERT_TRUE(RunUntil([&] { return platform->GetActiveWindow() == hwnd; }));
    }

    Platform* platform = nullptr;
    TestProc proc;
    HWND hwnd = nullptr;
};

TEST_F(GtkPlatformTest, WindowIsPaintedAndReadBackFromTheScreen) {
    int paints = 0;
    proc.react = [&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
        if (m == WM_PAINT) {
            auto* context = reinterpret_cast<PaintContext*>(l);
            context->canvas->FillRect(CRect(0, 0, 200, 120), Color(0xFF, 0xC0, 0x20, 0x20));
            context->canvas->FillRect(CRect(20, 30, 60, 50), Color(0xFF, 0x10, 0xE0, 0x30));
            ++paints;
            return true;
        }
        return false;
    };
    ASSERT_TRUE(RunUntil([&] { return paints > 0; }));
    EXPECT_EQ(platform->GetWindowText(hwnd), L"Проба");
    CRect client;
    platform->GetClientRect(hwnd, client);
    EXPECT_TRUE(client.EqualRect(CRect(0, 0, 200, 120)));

    GdkPixbuf* shot = nullptr;
    auto pixelAt = [&](int x, int y) {
        const guchar* p = gdk_pixbuf_get_pixels(shot) + y * gdk_pixbuf_get_rowstride(shot) +
                          x * gdk_pixbuf_get_n_channels(shot);
        return (p[0] << 16) | (p[1] << 8) | p[2];
    };
    bool matched = RunUntil([&] {
        if (shot) {
            g_object_unref(shot);
        }
        shot = gdk_pixbuf_get_from_window(Gdk(), 0, 0, 200, 120);
        return shot && pixelAt(5, 5) == 0xC02020 && pixelAt(30, 40) == 0x10E030;
    });
    ASSERT_NE(shot, nullptr);
    EXPECT_TRUE(matched) << std::hex << pixelAt(5, 5) << " " << pixelAt(30, 40);
    g_object_unref(shot);

    // An invalidation repaints only what it names.
    paints = 0;
    CRect part(100, 10, 120, 20);
    std::vector<CRect> updates;
    proc.react = [&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
        if (m == WM_PAINT) {
            updates.push_back(reinterpret_cast<PaintContext*>(l)->update);
            ++paints;
            return true;
        }
        return false;
    };
    platform->InvalidateRect(hwnd, &part, FALSE);
    ASSERT_TRUE(RunUntil([&] { return paints > 0; }));
    EXPECT_TRUE(updates[0].EqualRect(part));
}

TEST_F(GtkPlatformTest, KeyPressesArriveAsVirtualKeysAndAltF4IsSeenHeld) {
    Focus();
    proc.received.clear();
    Key(XK_a, true);
    Key(XK_a, false);
    Key(XK_Return, true);
    Key(XK_Return, false);
    ASSERT_TRUE(RunUntil([&] { return proc.Only(WM_KEYUP).size() >= 2; }));
    auto downs = proc.Only(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(downs[1].wParam, static_cast<WPARAM>(VK_RETURN));
    auto chars = proc.Only(WM_CHAR);
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(chars[1].wParam, static_cast<WPARAM>('\r'));

    // With Alt held, F4 is a system key, and both read as held while they are.
    proc.received.clear();
    Key(XK_Alt_L, true);
    Key(XK_F4, true);
    ASSERT_TRUE(RunUntil([&] { return proc.Only(WM_SYSKEYDOWN).size() >= 2; }));
    EXPECT_TRUE(platform->IsKeyHeld(VK_MENU));
    EXPECT_TRUE(platform->IsKeyHeld(VK_F4));
    EXPECT_EQ(proc.Only(WM_SYSKEYDOWN)[1].wParam, static_cast<WPARAM>(VK_F4));
    Key(XK_F4, false);
    Key(XK_Alt_L, false);
    XSync(display, False);
    EXPECT_FALSE(platform->IsKeyHeld(VK_F4));
    EXPECT_FALSE(platform->IsKeyHeld(VK_MENU));
}

TEST_F(GtkPlatformTest, MousePressAndWheelArriveAtClientAndScreenPoints) {
    Focus();
    proc.received.clear();
    CRect rect;
    platform->GetWindowRect(hwnd, rect);
    XTestFakeMotionEvent(display, -1, rect.left + 30, rect.top + 25, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XTestFakeButtonEvent(display, 4, True, CurrentTime);  // the wheel, one notch away
    XTestFakeButtonEvent(display, 4, False, CurrentTime);
    XFlush(display);
    ASSERT_TRUE(RunUntil([&] { return !proc.Only(WM_MOUSEWHEEL).empty(); }));
    auto down = proc.Only(WM_LBUTTONDOWN);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(down[0].lParam), 30);
    EXPECT_EQ(GET_Y_LPARAM(down[0].lParam), 25);
    EXPECT_TRUE(down[0].wParam & MK_LBUTTON);
    EXPECT_EQ(proc.Only(WM_LBUTTONUP).size(), 1u);
    auto wheel = proc.Only(WM_MOUSEWHEEL)[0];
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel.wParam), 120);
    EXPECT_EQ(GET_X_LPARAM(wheel.lParam), rect.left + 30);
    EXPECT_EQ(GET_Y_LPARAM(wheel.lParam), rect.top + 25);
}

TEST_F(GtkPlatformTest, PostFromAnotherThreadWakesTheGtkLoopAndTimersTickInIt) {
    const auto uiThread = std::this_thread::get_id();
    constexpr UINT kFromWorker = WM_USER + 5;
    constexpr UINT_PTR kTimer = 3;
    constexpr UINT_PTR kSafety = 4;
    std::vector<WPARAM> seen;
    bool onUiThread = true;
    int ticks = 0;
    proc.react = [&](HWND h, UINT m, WPARAM w, LPARAM, LRESULT&) {
        if (m == kFromWorker) {
            onUiThread = onUiThread && std::this_thread::get_id() == uiThread;
            seen.push_back(w);
            if (w == 99) {
                platform->SetTimer(h, kTimer, 15);
            }
            return true;
        }
        if (m == WM_TIMER && w == kTimer && ++ticks == 3) {
            platform->KillTimer(h, kTimer);
            platform->PostQuitMessage(5);
            return true;
        }
        if (m == WM_TIMER && w == kSafety) {
            ADD_FAILURE() << "the loop was not woken";
            platform->PostQuitMessage(-1);
            return true;
        }
        return false;
    };
    platform->SetTimer(hwnd, kSafety, 5000);
    std::thread worker([&] {
        // Late enough that the loop is asleep in GLib by then.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (WPARAM i = 0; i < 100; ++i) {
            platform->PostMessage(hwnd, kFromWorker, i, 0);
        }
    });
    EXPECT_EQ(RunMessageLoop(), 5);
    worker.join();
    ASSERT_EQ(seen.size(), 100u);
    for (WPARAM i = 0; i < 100; ++i) {
        EXPECT_EQ(seen[i], i);
    }
    EXPECT_TRUE(onUiThread);
    EXPECT_EQ(ticks, 3);
}

TEST_F(GtkPlatformTest, PopupEndsOnAPressInItsOwnerAndLayeredWindowsAreShapedByAlpha) {
    Focus();
    TestProc popupProc;
    WindowDesc desc;
    desc.kind = WindowKind::Popup;
    desc.owner = hwnd;
    desc.rect = CRect(400, 300, 440, 330);
    desc.layered = true;
    HWND popup = platform->CreateWindow(desc, &popupProc);
    platform->ShowWindow(popup, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(RunUntil([&] { return !popupProc.Only(WM_NCACTIVATE).empty(); }));
    EXPECT_EQ(popupProc.Only(WM_NCACTIVATE)[0].wParam, static_cast<WPARAM>(TRUE));

    // Under Xvfb nothing composites: the alpha cuts the outline, the rest is opaque.
    EXPECT_FALSE(platform->IsCompositing());
    Bitmap picture(60, 40);
    picture.Clear(0);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 30; ++x) {
            picture.SetPixel(x, y, 0xFF2040C0);
        }
    }
    POINT at{500, 320};
    ASSERT_TRUE(platform->UpdateLayeredWindow(popup, picture, &at));
    CRect rect;
    platform->GetWindowRect(popup, rect);
    EXPECT_TRUE(rect.EqualRect(CRect(500, 320, 560, 360)));
    GdkWindow* gdkPopup = gtk_widget_get_window(static_cast<GtkWidget*>(GetGtkWindowWidget(popup)));
    // The bounding shape the X server holds for the window.
    auto shapeCovers = [&](int x, int y) {
        int count = 0;
        int ordering = 0;
        XRectangle* rects = XShapeGetRectangles(display, GDK_WINDOW_XID(gdkPopup), ShapeBounding,
                                                &count, &ordering);
        bool inside = false;
        for (int i = 0; i < count; ++i) {
            inside = inside || (x >= rects[i].x && x < rects[i].x + rects[i].width &&
                                y >= rects[i].y && y < rects[i].y + rects[i].height);
        }
        XFree(rects);
        return inside;
    };
    EXPECT_TRUE(RunUntil([&] { return shapeCovers(10, 10) && !shapeCovers(45, 10); }));

    CRect owner;
    platform->GetWindowRect(hwnd, owner);
    XTestFakeMotionEvent(display, -1, owner.left + 50, owner.top + 50, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    ASSERT_TRUE(RunUntil([&] { return popupProc.Only(WM_NCACTIVATE).size() == 2; }));
    EXPECT_EQ(popupProc.Only(WM_NCACTIVATE)[1].wParam, static_cast<WPARAM>(FALSE));
    platform->DestroyWindow(popup);
}

struct EditEvents : NativeEditListener {
    int changed = 0, enter = 0, escape = 0, killFocus = 0;
    void OnEditChanged() override { ++changed; }
    void OnEditEnter() override { ++enter; }
    void OnEditEscape() override { ++escape; }
    void OnEditKillFocus() override { ++killFocus; }
};

TEST_F(GtkPlatformTest, EditOverlayTakesTypedTextWithinItsRules) {
    Focus();
    EditEvents events;
    auto edit = platform->CreateNativeEdit(hwnd, {}, &events);
    ASSERT_NE(edit, nullptr);
    edit->SetRect(CRect(10, 10, 150, 34));
    edit->SetFont(L"Liberation Sans", 14, false, false);
    edit->SetColours(0x050505, 0x272522);
    edit->SetLimit(4);
    edit->SetDigitsOnly(true);
    edit->Show(true);
    edit->Focus();
    ASSERT_TRUE(RunUntil([&] { return edit->HasFocus(); }));
    for (KeySym sym : {XK_1, XK_a, XK_2, XK_3, XK_4, XK_5}) {
        Key(sym, true);
        Key(sym, false);
    }
    ASSERT_TRUE(RunUntil([&] { return edit->GetText().size() >= 4; })) << edit->GetText().size();
    EXPECT_EQ(edit->GetText(), L"1234");  // no letter, nothing past the limit
    EXPECT_GT(events.changed, 0);
    EXPECT_TRUE(proc.Only(WM_KEYDOWN).empty()) << "keys typed into the edit stay there";

    Key(XK_Return, true);
    Key(XK_Return, false);
    Key(XK_Escape, true);
    Key(XK_Escape, false);
    ASSERT_TRUE(RunUntil([&] { return events.enter == 1 && events.escape == 1; }));

    edit->SetDigitsOnly(false);
    edit->SetLimit(0);
    edit->SetText(L"Привет, мир");
    EXPECT_EQ(edit->GetText(), L"Привет, мир");

    // Giving the keyboard back to the window ends the edit.
    // (The X server without a window manager may have moved the focus about before.)
    ASSERT_TRUE(RunUntil([&] { return edit->HasFocus(); }));
    int lossesBefore = events.killFocus;
    platform->SetFocus(hwnd);
    ASSERT_TRUE(RunUntil([&] { return events.killFocus > lossesBefore; }));
    EXPECT_EQ(events.killFocus, lossesBefore + 1);
    EXPECT_FALSE(edit->HasFocus());
    edit->Show(false);
    EXPECT_FALSE(edit->IsVisible());
}

TEST_F(GtkPlatformTest, EditOutlivingItsHostStaysInert) {
    EditEvents events;
    auto edit = platform->CreateNativeEdit(hwnd, {true, EditAlign::Center}, &events);
    ASSERT_NE(edit, nullptr);
    edit->SetText(L"line one\nline two");
    EXPECT_EQ(edit->GetText(), L"line one\nline two");
    platform->DestroyWindow(hwnd);
    edit->SetText(L"gone");
    EXPECT_EQ(edit->GetText(), L"");
    edit.reset();
    EXPECT_EQ(platform->CreateNativeEdit(hwnd, {}, nullptr), nullptr);
}

TEST_F(GtkPlatformTest, TheCaretBlinksAtHalfTheDesktopsCycleOrNotAtAll) {
    GtkSettings* settings = gtk_settings_get_default();
    gboolean blink = TRUE;
    int cycle = 0;
    g_object_get(settings, "gtk-cursor-blink", &blink, "gtk-cursor-blink-time", &cycle, nullptr);
    g_object_set(settings, "gtk-cursor-blink", TRUE, "gtk-cursor-blink-time", 800, nullptr);
    EXPECT_EQ(platform->GetCaretBlinkTime(), 400u);
    g_object_set(settings, "gtk-cursor-blink", FALSE, nullptr);
    EXPECT_EQ(platform->GetCaretBlinkTime(), 0u);
    g_object_set(settings, "gtk-cursor-blink", blink, "gtk-cursor-blink-time", cycle, nullptr);
}

TEST(GtkKeyMapTest, KeyValuesMapToVirtualKeys) {
    const std::pair<unsigned, int> cases[] = {
        {GDK_KEY_a, 'A'},
        {GDK_KEY_Z, 'Z'},
        {GDK_KEY_7, '7'},
        {GDK_KEY_F4, VK_F4},
        {GDK_KEY_F24, VK_F24},
        {GDK_KEY_KP_3, VK_NUMPAD0 + 3},
        {GDK_KEY_Return, VK_RETURN},
        {GDK_KEY_Escape, VK_ESCAPE},
        {GDK_KEY_Shift_R, VK_RSHIFT},
        {GDK_KEY_Control_L, VK_LCONTROL},
        {GDK_KEY_Alt_L, VK_LMENU},
        {GDK_KEY_ISO_Level3_Shift, VK_RMENU},
        {GDK_KEY_Super_L, VK_LWIN},
        {GDK_KEY_Page_Down, VK_NEXT},
        {GDK_KEY_KP_Delete, VK_DELETE},
        {GDK_KEY_minus, VK_OEM_MINUS},
        {GDK_KEY_bracketleft, VK_OEM_4},
        {GDK_KEY_grave, VK_OEM_3},
        {GDK_KEY_AudioPlay, VK_MEDIA_PLAY_PAUSE},
        {GDK_KEY_ISO_Left_Tab, VK_TAB},
        {GDK_KEY_Cyrillic_a, 0},
    };
    for (const auto& [keyval, vk] : cases) {
        EXPECT_EQ(KeyvalToVirtualKey(keyval), vk) << std::hex << keyval;
    }
}

}  // namespace
}  // namespace Quorl
