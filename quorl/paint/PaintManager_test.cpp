#include "quorl/paint/PaintManager.h"

#include <gtest/gtest.h>

#include "quorl/paint/ControlTestSupport.h"
#include "quorl/paint/TooltipWnd.h"
#include "quorl/platform/VirtualKeys.h"

namespace Quorl {
namespace {

using Testing::HostWindow;
using Testing::ProbeControl;

TEST(PaintManagerTest, WheelStepsAreWholeMultiplesOf120) {
    HostWindow host;
    ProbeControl* c = host.Add(1, CRect(0, 0, 100, 100));
    c->handleScroll = TRUE;
    struct Case {
        int delta;
        size_t steps;
        UINT direction;
    };
    for (const Case& k : {Case{60, 0, 0}, Case{-60, 0, 0}, Case{-240, 2, 1}, Case{360, 3, 0}}) {
        c->scrolls.clear();
        host.platform->InjectWheel(host.hwnd, k.delta, {10, 10});
        host.Drain();
        ASSERT_EQ(c->scrolls.size(), k.steps) << k.delta;
        for (const auto& [bar, direction] : c->scrolls) {
            EXPECT_EQ(bar, 1u);
            EXPECT_EQ(direction, k.direction) << k.delta;
        }
    }
}

TEST(PaintManagerTest, ControlTimerIdsStartAt17SkipTheManagersOwnAndWrapAfter239) {
    HostWindow host;
    ProbeControl* c = host.Add(1, CRect());
    ASSERT_TRUE(host.manager.SetTimer(c, 0, 100));
    EXPECT_EQ(host.manager.GetTimerId(c, 0), 17u);
    EXPECT_FALSE(host.manager.SetTimer(c, 0, 100));  // already running
    std::vector<UINT> ids;
    for (UINT key = 1; key < 226; ++key) {
        ASSERT_TRUE(host.manager.SetTimer(c, key, 1000));
        ids.push_back(host.manager.GetTimerId(c, key));
    }
    for (UINT own : {66u, 88u, 99u}) {
        EXPECT_EQ(std::count(ids.begin(), ids.end(), own), 0) << own;
    }
    EXPECT_EQ(ids[218], 239u);  // 18..239 less three is 219 ids
    EXPECT_EQ(ids[219], 0u);
    EXPECT_EQ(ids[220], 1u);

    // Kill twice: the second answers 0; re-arming keeps the id.
    EXPECT_TRUE(host.manager.KillTimer(c, 5));
    EXPECT_FALSE(host.manager.KillTimer(c, 5));
    const UINT id5 = host.manager.GetTimerId(c, 5);
    EXPECT_TRUE(host.manager.SetTimer(c, 5, 50));
    EXPECT_EQ(host.manager.GetTimerId(c, 5), id5);

    // WM_TIMER with a control id ticks the control; a manager id does not.
    c->timerTicks = 0;
    host.manager.OnWindowMessage(WM_TIMER, 17, 0);
    EXPECT_EQ(c->timerTicks, 1);
    host.manager.OnWindowMessage(WM_TIMER, TIMER_IDLE, 0);
    EXPECT_EQ(c->timerTicks, 1);
    EXPECT_TRUE(host.manager.KillTimer(c));
    EXPECT_FALSE(host.manager.KillTimer(c));
}

TEST(PaintManagerTest, TabMovesTheFocusThroughVisibleEnabledTabStops) {
    HostWindow host;
    ProbeControl* a = host.Add(1, CRect());
    ProbeControl* hidden = host.Add(2, CRect());
    ProbeControl* b = host.Add(3, CRect());
    ProbeControl* disabled = host.Add(4, CRect());
    ProbeControl* plain = host.Add(5, CRect());
    for (ProbeControl* c : {a, hidden, b, disabled}) {
        c->SetTabStop(TRUE);
    }
    hidden->SetVisible(FALSE);
    disabled->SetEnabled(FALSE);
    (void)plain;

    auto press = [&](std::initializer_list<int> held) {
        for (int vk : held) {
            host.platform->InjectKey(host.hwnd, vk, true);
        }
        host.platform->InjectKey(host.hwnd, VK_TAB, true);
        host.Drain();
        host.platform->InjectKey(host.hwnd, VK_TAB, false);
        for (int vk : held) {
            host.platform->InjectKey(host.hwnd, vk, false);
        }
        host.Drain();
        return host.manager.GetFocusControl();
    };
    EXPECT_EQ(press({VK_CONTROL}), nullptr);  // Ctrl+Tab does nothing
    EXPECT_EQ(press({}), a);                  // no focus: the first
    EXPECT_TRUE(a->IsFocused());
    EXPECT_EQ(press({}), b);
    EXPECT_FALSE(a->IsFocused());
    EXPECT_EQ(press({}), a);  // wraps
    host.manager.SetFocusControl(nullptr);
    EXPECT_EQ(press({VK_SHIFT}), b);  // Shift+Tab with no focus: the last
    EXPECT_EQ(press({VK_SHIFT}), a);
}

TEST(PaintManagerTest, ReleaseOutsideThePressedControlStillReachesItAndClearsTheHover) {
    HostWindow host;
    ProbeControl* c = host.Add(1, CRect(10, 10, 60, 60));
    host.platform->InjectMouseMove(host.hwnd, {20, 20});
    host.Drain();
    ASSERT_EQ(host.manager.GetHoverControl(), c);
    host.platform->InjectButton(host.hwnd, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
    host.Drain();
    EXPECT_TRUE(host.manager.IsCaptured());
    EXPECT_EQ(host.manager.GetFocusControl(), c);
    host.platform->InjectMouseMove(host.hwnd, {200, 200}, MK_LBUTTON);
    host.Drain();
    EXPECT_EQ(host.manager.GetHoverControl(), c);  // the pressed control keeps the hover
    host.platform->InjectButton(host.hwnd, WM_LBUTTONUP, {200, 200});
    host.Drain();
    EXPECT_EQ(c->Last("up"), CPoint(200, 200));
    EXPECT_EQ(host.manager.GetHoverControl(), nullptr);
    EXPECT_FALSE(host.manager.IsCaptured());
}

TEST(PaintManagerTest, DeactivationReleasesAHeldButtonAtMinusOne) {
    HostWindow host;
    ProbeControl* c = host.Add(1, CRect(10, 10, 60, 60));
    host.platform->InjectMouseMove(host.hwnd, {20, 20});
    host.platform->InjectButton(host.hwnd, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
    host.Drain();
    ASSERT_TRUE(host.manager.IsLeftPressed());
    host.manager.OnWindowMessage(WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(c->Last("up"), CPoint(-1, -1));
    EXPECT_FALSE(host.manager.IsLeftPressed());
    EXPECT_FALSE(host.manager.IsCaptured());
    EXPECT_EQ(host.manager.GetHoverControl(), nullptr);

    // Without a press the hover control gets a move to (-1, -1) instead.
    host.platform->InjectMouseMove(host.hwnd, {30, 30});
    host.Drain();
    const size_t ups = c->Count("up");
    host.manager.OnWindowMessage(WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(c->Count("up"), ups);
    EXPECT_EQ(c->Last("move"), CPoint(-1, -1));
}

TEST(PaintManagerTest, ControlsRemovedWhileHoveredFocusedOrCapturedLeaveNoPointers) {
    HostWindow host;
    ProbeControl* parent = host.Add(1, CRect(0, 0, 100, 100));
    ProbeControl* child = HostWindow::AddChild(parent, 2, CRect(10, 10, 50, 50));
    host.manager.AddMTimer(child);
    host.manager.SetTimer(child, 1, 100);
    host.platform->InjectMouseMove(host.hwnd, {20, 20});
    host.platform->InjectButton(host.hwnd, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
    host.Drain();
    ASSERT_EQ(parent->GetMouseChild(), child);
    ASSERT_TRUE(host.manager.IsCaptured());

    EXPECT_TRUE(parent->RemoveControl(child));
    EXPECT_EQ(parent->GetMouseChild(), nullptr);
    EXPECT_FALSE(parent->RemoveControl(child));  // already gone
    EXPECT_TRUE(host.manager.RemoveControl(parent));
    EXPECT_EQ(host.manager.GetHoverControl(), nullptr);
    EXPECT_EQ(host.manager.GetFocusControl(), nullptr);
    EXPECT_FALSE(host.manager.IsCaptured());
    EXPECT_FALSE(host.manager.RemoveControl(nullptr));
    // Input and timers after the removal reach nobody (and touch no freed memory).
    host.platform->InjectMouseMove(host.hwnd, {21, 21}, MK_LBUTTON);
    host.platform->InjectButton(host.hwnd, WM_LBUTTONUP, {21, 21});
    host.Drain();
    host.manager.OnWindowMessage(WM_TIMER, 17, 0);
}

// Destroys the host window from inside its own press handler.
class SelfDestroying : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    BOOL OnControlLButtonDown(UINT flags, CPoint pt) override {
        ProbeControl::OnControlLButtonDown(flags, pt);
        Platform::Current().DestroyWindow(m_manager->GetPaintWnd());
        return 1;
    }
};

TEST(PaintManagerTest, AWindowDestroyedInsideItsOwnHandlerFreesItsControlsAfterwards) {
    HostWindow host;
    auto* parent = host.Add(1, CRect(0, 0, 100, 100));
    parent->AddControl(new SelfDestroying(parent, 2, CRect(10, 10, 50, 50)));
    host.platform->InjectMouseMove(host.hwnd, {20, 20});
    host.platform->InjectButton(host.hwnd, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
    host.Drain();
    EXPECT_FALSE(host.platform->IsWindow(host.hwnd));
    EXPECT_TRUE(host.manager.GetControls().empty());
    EXPECT_FALSE(host.manager.IsInitialised());
    EXPECT_FALSE(host.platform->PostMessage(host.hwnd, WM_USER, 0, 0));
}

// Colours read back through premultiplied alpha 254 may differ by one step per channel.
bool NearRgb(ARGB a, ARGB b) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                     static_cast<int>((b >> shift) & 0xFF)) > 1) {
            return false;
        }
    }
    return true;
}

TEST(PaintManagerTest, BackgroundUsesAlpha254AndABorder) {
    HostWindow host(CRect(0, 0, 40, 30));
    host.manager.SetBackColor(RGB(10, 20, 30), RGB(200, 100, 50));
    Bitmap surface(40, 30);
    Canvas canvas(surface);
    host.manager.PaintSurface(canvas, surface.Bounds());
    EXPECT_EQ(surface.GetPixel(0, 0) >> 24, 254u);
    EXPECT_TRUE(NearRgb(surface.GetPixel(0, 0), 0xC86432u));
    EXPECT_TRUE(NearRgb(surface.GetPixel(39, 29), 0xC86432u));
    EXPECT_EQ(surface.GetPixel(5, 5) >> 24, 254u);
    EXPECT_TRUE(NearRgb(surface.GetPixel(5, 5), 0x0A141Eu));
}

// Writes pixels as an alpha-unaware text renderer would: colour with alpha 0.
class AlphaUnaware : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void DrawControl(Canvas& target, CRect) override {
        Bitmap* b = target.GetBitmap();
        std::uint32_t* bits = b->Bits();
        const int stride = b->Stride() / 4;
        bits[m_rect.top * stride + m_rect.left] = 0x00FF0000;      // red, alpha 0
        bits[m_rect.top * stride + m_rect.left + 1] = 0x00000000;  // black, alpha 0
        b->MarkDirty();
    }
};

TEST(PaintManagerTest, LayeredPaintRepairsAlphaOfColouredPixelsOnly) {
    HostWindow host(CRect(0, 0, 40, 30), true);
    host.manager.AddControl(new AlphaUnaware(&host, 1, CRect(5, 5, 10, 10)));
    Bitmap surface(40, 30);
    Canvas canvas(surface);
    host.manager.PaintSurface(canvas, surface.Bounds());
    EXPECT_EQ(surface.GetRawPixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(surface.GetRawPixel(6, 5), 0u);

    // A layered window gets its surface pushed without WM_PAINT.
    host.manager.Invalidate();
    host.Drain();
    const Bitmap* pushed = host.platform->GetSurface(host.hwnd);
    ASSERT_NE(pushed, nullptr);
    EXPECT_EQ(pushed->GetRawPixel(5, 5), 0xFFFF0000u);
}

TEST(PaintManagerTest, RepaintRedrawsTheChangedControlAndLaterOverlappingOnesOnly) {
    HostWindow host(CRect(0, 0, 200, 100));
    ProbeControl* under = host.Add(1, CRect(0, 0, 100, 100), 0xFF0000FF);
    ProbeControl* changed = host.Add(2, CRect(20, 20, 60, 60), 0xFF00FF00);
    ProbeControl* over = host.Add(3, CRect(50, 50, 90, 90), 0xFFFF0000);
    ProbeControl* apart = host.Add(4, CRect(150, 0, 190, 40), 0xFFFFFFFF);
    host.platform->UpdateWindow(host.hwnd);
    for (ProbeControl* c : {under, changed, over, apart}) {
        EXPECT_EQ(c->redraws, 1);
    }
    changed->colour = 0xFF123456;
    changed->UpdateControl(TRUE);
    host.Drain();
    EXPECT_EQ(under->redraws, 1);
    EXPECT_EQ(changed->redraws, 2);
    EXPECT_EQ(over->redraws, 2);
    EXPECT_EQ(apart->redraws, 1);
    const Bitmap* shown = host.platform->GetSurface(host.hwnd);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetPixel(30, 30), 0xFF123456u);
    EXPECT_EQ(shown->GetPixel(55, 55), 0xFFFF0000u);  // still on top
}

TEST(PaintManagerTest, MessageBoxDrawsOnlyWithText) {
    HostWindow host(CRect(0, 0, 200, 100));
    Bitmap surface(200, 100);
    Canvas canvas(surface);
    host.manager.SetMessage(L"", CRect(10, 10, 190, 90), 14);
    host.manager.PaintSurface(canvas, surface.Bounds());
    EXPECT_NE(surface.GetPixel(12, 12), 0xFF141414u);
    host.manager.SetMessage(L"Saving", CRect(10, 10, 190, 90), 14);
    host.manager.PaintSurface(canvas, surface.Bounds());
    EXPECT_EQ(surface.GetPixel(40, 15), 0xFF141414u);
    EXPECT_EQ(surface.GetPixel(10, 50), 0xFF6D6D6Du);
}

TEST(PaintManagerTest, ProgressShowsSmallStepsAtOnceAndAnimatesLargeOnes) {
    HostWindow host(CRect(0, 0, 200, 100));
    host.manager.SetProgress(3, L"Working", CRect());
    EXPECT_EQ(host.manager.GetProgressShown(), 3);
    host.manager.SetProgress(50, L"Working", CRect());
    EXPECT_EQ(host.manager.GetProgressShown(), 3);
    for (int i = 0; i < 30; ++i) {
        host.manager.OnWindowMessage(WM_TIMER, TIMER_PROGRESS, 0);
    }
    EXPECT_EQ(host.manager.GetProgressShown(), 50);
    host.manager.SetProgress(100, L"Done", CRect());
    for (int i = 0; i < 30; ++i) {
        host.manager.OnWindowMessage(WM_TIMER, TIMER_PROGRESS, 0);
    }
    EXPECT_EQ(host.manager.GetProgressShown(), 100);
    for (int i = 0; i < 30; ++i) {
        host.manager.OnWindowMessage(WM_TIMER, TIMER_FADE, 0);
    }
    EXPECT_EQ(host.manager.GetMessageAlpha(), 0);
    EXPECT_EQ(host.manager.GetProgressShown(), 0);
    EXPECT_TRUE(host.manager.GetMessageText().IsEmpty());
}

TEST(PaintManagerTest, HoverShowsTheControlsTooltipOnceAndLeaveHidesIt) {
    HostWindow host;
    ProbeControl* c = host.Add(7, CRect(10, 10, 60, 60));
    c->SetTooltip(L"Battery level");
    host.platform->InjectMouseMove(host.hwnd, {20, 20});
    host.Drain();
    ASSERT_NE(host.manager.GetTooltipWnd(), nullptr);
    EXPECT_TRUE(host.manager.GetTooltipWnd()->IsActive());
    EXPECT_EQ(host.manager.GetTooltipWnd()->GetText(), L"Battery level");
    EXPECT_EQ(host.manager.GetTooltipCtrlID(), 7);
    host.platform->InjectPointerLeave(host.hwnd);
    host.Drain();
    EXPECT_FALSE(host.manager.GetTooltipWnd()->IsActive());
    EXPECT_EQ(host.manager.GetTooltipCtrlID(), 0);
}

TEST(PaintManagerTest, SizeLimitsAndMaximisedRectComeFromTheWorkArea) {
    HostWindow host;
    host.platform->SetWorkArea(CRect(0, 30, 1600, 1000));
    host.manager.SetWindowMixSize(300, 200);
    MINMAXINFO info{};
    host.manager.OnWindowMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 300);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);
    EXPECT_EQ(info.ptMaxTrackSize.x, 0);
    EXPECT_EQ(info.ptMaxPosition.y, 30);
    EXPECT_EQ(info.ptMaxSize.y, 970);
}

}  // namespace
}  // namespace Quorl
