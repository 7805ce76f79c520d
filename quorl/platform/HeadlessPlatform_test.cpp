#include "quorl/platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include "quorl/platform/MessageLoop.h"
#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/platform/TestProc.h"
#include "quorl/platform/VirtualKeys.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Canvas.h"

namespace Quorl {
namespace {

using Testing::TestProc;

class HeadlessPlatformTest : public Testing::HeadlessWindowFixture {
protected:
    HeadlessPlatformTest() : HeadlessWindowFixture(CRect(100, 50, 300, 200)) {}
};

TEST_F(HeadlessPlatformTest, InjectedMouseInputArrivesWithClientPointsAndWheelInScreenPoints) {
    platform->InjectMouseMove(hwnd, {10, 20});
    platform->InjectButton(hwnd, WM_LBUTTONDOWN, {11, 21}, MK_LBUTTON);
    platform->InjectButton(hwnd, WM_LBUTTONUP, {12, 22});
    platform->InjectButton(hwnd, WM_RBUTTONDBLCLK, {-5, 30});
    platform->InjectWheel(hwnd, -240, {5, 6});
    Drain();

    struct Case {
        UINT msg;
        WPARAM wParam;
        int x, y;
    };
    const Case cases[] = {
        {WM_MOUSEMOVE, 0, 10, 20},
        {WM_LBUTTONDOWN, MK_LBUTTON, 11, 21},
        {WM_LBUTTONUP, 0, 12, 22},
        {WM_RBUTTONDBLCLK, 0, -5, 30},
    };
    for (const auto& c : cases) {
        auto got = proc.Only(c.msg);
        ASSERT_EQ(got.size(), 1u) << c.msg;
        EXPECT_EQ(got[0].wParam, c.wParam) << c.msg;
        EXPECT_EQ(GET_X_LPARAM(got[0].lParam), c.x) << c.msg;
        EXPECT_EQ(GET_Y_LPARAM(got[0].lParam), c.y) << c.msg;
    }
    auto wheel = proc.Only(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -240);
    EXPECT_EQ(GET_X_LPARAM(wheel[0].lParam), 105);
    EXPECT_EQ(GET_Y_LPARAM(wheel[0].lParam), 56);
}

TEST_F(HeadlessPlatformTest, CaptureTakesInputAimedAtAnotherWindow) {
    TestProc otherProc;
    WindowDesc desc;
    desc.rect = CRect(400, 50, 500, 150);
    desc.visible = true;
    HWND other = platform->CreateWindow(desc, &otherProc);
    platform->SetCapture(hwnd);
    platform->InjectButton(other, WM_LBUTTONUP, {10, 10});
    EXPECT_EQ(platform->GetCapture(), hwnd);
    platform->ReleaseCapture();
    platform->InjectButton(other, WM_LBUTTONUP, {10, 10});
    Drain();
    auto ups = proc.Only(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(ups[0].lParam), 310);  // (400 + 10) - 100
    EXPECT_EQ(otherProc.Only(WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(proc.Only(WM_CAPTURECHANGED).size(), 1u);
    platform->DestroyWindow(other);
}

TEST_F(HeadlessPlatformTest, KeysCarryGenericCodesCharactersAndTheAltRule) {
    platform->InjectKey(hwnd, VK_LSHIFT, true);
    platform->InjectKey(hwnd, 'A', true, U'A');
    EXPECT_TRUE(platform->IsKeyHeld(VK_SHIFT));
    EXPECT_TRUE(platform->IsKeyHeld(VK_LSHIFT));
    EXPECT_FALSE(platform->IsKeyHeld(VK_RSHIFT));
    platform->InjectKey(hwnd, 'A', true, U'A');  // auto-repeat
    platform->InjectKey(hwnd, 'A', false);
    platform->InjectKey(hwnd, VK_LSHIFT, false);
    platform->InjectKey(hwnd, VK_RMENU, true);
    platform->InjectKey(hwnd, VK_F4, true);
    EXPECT_TRUE(platform->IsKeyHeld(VK_MENU));
    EXPECT_TRUE(platform->IsKeyHeld(VK_F4));
    platform->InjectKey(hwnd, VK_F4, false);
    platform->InjectKey(hwnd, VK_RMENU, false);
    EXPECT_FALSE(platform->IsKeyHeld(VK_MENU));
    Drain();

    std::vector<std::pair<UINT, WPARAM>> keys;
    for (const auto& e : proc.received) {
        if ((e.msg >= WM_KEYDOWN && e.msg <= WM_SYSCHAR)) {
            keys.emplace_back(e.msg, e.wParam);
        }
    }
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'A'},        {WM_CHAR, 'A'},
        {WM_KEYDOWN, 'A'},      {WM_CHAR, 'A'},           {WM_KEYUP, 'A'},
        {WM_KEYUP, VK_SHIFT},   {WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, VK_F4},
        {WM_SYSKEYUP, VK_F4},   {WM_SYSKEYUP, VK_MENU},
    };
    EXPECT_EQ(keys, expected);
    auto downs = proc.Only(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_FALSE(downs[1].lParam & (1 << 30));
    EXPECT_TRUE(downs[2].lParam & (1 << 30));  // the key was already down
    EXPECT_TRUE(proc.Only(WM_KEYUP)[0].lParam & (LPARAM(1) << 31));
}

TEST_F(HeadlessPlatformTest, DeactivationForgetsHeldKeys) {
    platform->InjectKey(hwnd, VK_LCONTROL, true);
    EXPECT_TRUE(platform->IsKeyHeld(VK_CONTROL));
    platform->InjectActivation(hwnd, false);
    EXPECT_FALSE(platform->IsKeyHeld(VK_CONTROL));
    Drain();
    auto activations = proc.Only(WM_NCACTIVATE);
    ASSERT_FALSE(activations.empty());
    EXPECT_EQ(activations.back().wParam, static_cast<WPARAM>(FALSE));
}

TEST_F(HeadlessPlatformTest, DisabledWindowGetsNoInput) {
    platform->EnableWindow(hwnd, FALSE);
    platform->InjectButton(hwnd, WM_LBUTTONDOWN, {1, 1});
    platform->InjectKey(hwnd, 'B', true, U'b');
    platform->EnableWindow(hwnd, TRUE);
    platform->InjectButton(hwnd, WM_LBUTTONDOWN, {2, 2});
    Drain();
    EXPECT_EQ(proc.Only(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_TRUE(proc.Only(WM_KEYDOWN).empty());
    EXPECT_EQ(proc.Only(WM_ENABLE).size(), 2u);
}

TEST_F(HeadlessPlatformTest, HoverFiresOnceAfterThePointerRestsAndLeaveOnceWhenItGoes) {
    platform->InjectMouseMove(hwnd, {30, 40});
    Drain();
    ASSERT_TRUE(platform->TrackMouseEvent(hwnd, TME_HOVER | TME_LEAVE, 50));
    platform->InjectMouseMove(hwnd, {31, 40});  // within the slack: keeps resting
    proc.react = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_MOUSEHOVER) {
            platform->InjectPointerLeave(h);
            platform->InjectPointerLeave(h);  // tracking is spent after one leave
            platform->PostQuitMessage(0);
        }
        return false;
    };
    RunMessageLoop();
    auto hovers = proc.Only(WM_MOUSEHOVER);
    ASSERT_EQ(hovers.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(hovers[0].lParam), 31);
    EXPECT_EQ(GET_Y_LPARAM(hovers[0].lParam), 40);
    EXPECT_EQ(proc.Only(WM_MOUSELEAVE).size(), 1u);

    // Arming leave tracking while the pointer is outside reports the leave at once.
    platform->TrackMouseEvent(hwnd, TME_LEAVE, 0);
    Drain();
    EXPECT_EQ(proc.Only(WM_MOUSELEAVE).size(), 2u);
}

TEST_F(HeadlessPlatformTest, PaintDeliversTheUpdateRectAndACanvasOnTheWindowSurface) {
    Drain();  // the first paint after showing
    proc.received.clear();
    std::vector<CRect> updates;
    proc.react = [&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
        if (m == WM_PAINT) {
            auto* context = reinterpret_cast<PaintContext*>(l);
            updates.push_back(context->update);
            // Paints the whole client area; only the update rect may change.
            context->canvas->FillRect(CRect(0, 0, 200, 150), Color(0xFF, 0xFF, 0, 0));
            return true;
        }
        return false;
    };
    CRect a(10, 10, 20, 20);
    CRect b(15, 30, 40, 35);
    platform->InvalidateRect(hwnd, &a, FALSE);
    platform->InvalidateRect(hwnd, &b, FALSE);
    Drain();
    ASSERT_EQ(updates.size(), 1u);  // both requests served by one paint
    EXPECT_TRUE(updates[0].EqualRect(CRect(10, 10, 40, 35)));
    const Bitmap* surface = platform->GetSurface(hwnd);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->Width(), 200);
    EXPECT_EQ(surface->Height(), 150);
    EXPECT_EQ(surface->GetPixel(12, 12), 0xFFFF0000u);
    EXPECT_EQ(surface->GetPixel(39, 34), 0xFFFF0000u);
    EXPECT_EQ(surface->GetPixel(50, 50) & 0xFF000000u, 0u) << "outside the update rect";

    // A hidden window is not painted until shown again.
    platform->ShowWindow(hwnd, SW_HIDE);
    platform->InvalidateRect(hwnd, nullptr, FALSE);
    Drain();
    EXPECT_EQ(updates.size(), 1u);
    platform->ShowWindow(hwnd, SW_SHOW);
    Drain();
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_TRUE(updates[1].EqualRect(CRect(0, 0, 200, 150)));
}

TEST_F(HeadlessPlatformTest, GeometryShowStatesAndTheirMessages) {
    Drain();
    proc.received.clear();
    EXPECT_TRUE(platform->MoveWindow(hwnd, CRect(120, 60, 420, 260), TRUE));
    POINT pt{5, 5};
    platform->ClientToScreen(hwnd, pt);
    EXPECT_EQ(pt.x, 125);
    EXPECT_EQ(pt.y, 65);
    platform->ScreenToClient(hwnd, pt);
    EXPECT_EQ(pt.x, 5);
    CRect client;
    platform->GetClientRect(hwnd, client);
    EXPECT_TRUE(client.EqualRect(CRect(0, 0, 300, 200)));

    platform->SetWorkArea(CRect(0, 0, 1000, 700));
    platform->ShowWindow(hwnd, SW_MAXIMIZE);
    EXPECT_TRUE(platform->IsZoomed(hwnd));
    CRect rect;
    platform->GetWindowRect(hwnd, rect);
    EXPECT_TRUE(rect.EqualRect(CRect(0, 0, 1000, 700)));
    platform->ShowWindow(hwnd, SW_RESTORE);
    platform->GetWindowRect(hwnd, rect);
    EXPECT_TRUE(rect.EqualRect(CRect(120, 60, 420, 260)));
    platform->ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_TRUE(platform->IsIconic(hwnd));
    Drain();

    std::vector<WPARAM> sizeKinds;
    for (const auto& e : proc.Only(WM_SIZE)) {
        sizeKinds.push_back(e.wParam);
    }
    const std::vector<WPARAM> expected = {SIZE_RESTORED, SIZE_MAXIMIZED, SIZE_MAXIMIZED,
                                          SIZE_RESTORED, SIZE_RESTORED,  SIZE_MINIMIZED};
    // move, maximise (state, then size), restore (state, then size), minimise
    EXPECT_EQ(sizeKinds, expected);
    EXPECT_EQ(LOWORD(proc.Only(WM_SIZE)[0].lParam), 300);
    EXPECT_FALSE(proc.Only(WM_MOVE).empty());
}

TEST_F(HeadlessPlatformTest, DeadWindowsRefuseMessagesAndCallsWithoutHarm) {
    TestProc otherProc;
    WindowDesc desc;
    HWND other = platform->CreateWindow(desc, &otherProc);
    platform->PostMessage(other, WM_USER, 0, 0);
    EXPECT_TRUE(platform->DestroyWindow(other));
    EXPECT_FALSE(platform->DestroyWindow(other));
    EXPECT_FALSE(platform->PostMessage(other, WM_USER, 0, 0));
    EXPECT_EQ(platform->SendMessage(other, WM_USER, 0, 0), 0);
    CRect rect;
    EXPECT_FALSE(platform->GetWindowRect(other, rect));
    EXPECT_FALSE(platform->ShowWindow(other, SW_SHOW));
    Drain();  // the message posted before the end is dropped
    EXPECT_TRUE(otherProc.Only(WM_USER).empty());
    ASSERT_GE(otherProc.received.size(), 2u);
    EXPECT_EQ(otherProc.received[otherProc.received.size() - 2].msg, WM_DESTROY);
    EXPECT_EQ(otherProc.received.back().msg, WM_NCDESTROY);
}

TEST_F(HeadlessPlatformTest, LayeredWindowTakesItsSurfaceAndSize) {
    TestProc layeredProc;
    WindowDesc desc;
    desc.layered = true;
    desc.rect = CRect(10, 10, 20, 20);
    HWND layered = platform->CreateWindow(desc, &layeredProc);
    Bitmap picture(40, 30);
    picture.SetPixel(3, 4, 0x80FF0000);
    POINT at{200, 100};
    EXPECT_TRUE(platform->UpdateLayeredWindow(layered, picture, &at));
    CRect rect;
    platform->GetWindowRect(layered, rect);
    EXPECT_TRUE(rect.EqualRect(CRect(200, 100, 240, 130)));
    EXPECT_EQ(platform->GetSurface(layered)->GetPixel(3, 4) >> 24, 0x80u);
    EXPECT_FALSE(platform->UpdateLayeredWindow(hwnd, picture, &at)) << "not a layered window";
    platform->DestroyWindow(layered);
}

}  // namespace
}  // namespace Quorl
