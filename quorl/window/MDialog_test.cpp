#include "quorl/window/MDialog.h"

#include <functional>

#include <gtest/gtest.h>

#include "quorl/paint/ControlTestSupport.h"
#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/platform/TestProc.h"
#include "quorl/window/MenuWnd.h"

namespace Quorl {
namespace {

using Testing::ProbeControl;

using WindowTest = Testing::HeadlessFixture;

class TestDialog : public MDialog {
public:
    std::vector<CRect> sizes;
    std::vector<std::pair<UINT, UINT>> messages;
    int inits = 0;
    void InitUI(CRect) override { ++inits; }
    void UISize(CRect client) override { sizes.push_back(client); }
    LRESULT OnMessage(UINT id, UINT code, UINT, LONG) override {
        messages.emplace_back(id, code);
        return 1;
    }
};

TEST_F(WindowTest, ModalResultsFollowTheClosingCalls) {
    struct Case {
        void (MDialog::*close)();
        UINT result;
    };
    const Case cases[] = {{&MDialog::DoOK, IDOK},
                          {&MDialog::DoCancel, IDCANCEL},
                          {&MDialog::DoClose, IDCANCEL},
                          {&MDialog::DoYes, IDYES},
                          {&MDialog::DoNo, IDNO}};
    TestDialog owner;
    owner.Create(nullptr, L"Owner", WS_VISIBLE, 0, CRect(0, 0, 400, 300));
    for (const Case& c : cases) {
        TestDialog dialog;
        ASSERT_NE(dialog.Create(owner.GetSafeHwnd(), L"Child", 0, 0, CRect(10, 10, 200, 100)),
                  nullptr);
        EXPECT_EQ(dialog.inits, 1);
        (dialog.*c.close)();
        EXPECT_EQ(dialog.ShowModal(), c.result);
        EXPECT_FALSE(dialog.IsWindow());
        EXPECT_TRUE(owner.IsWindowEnabled());
    }
    TestDialog never;
    EXPECT_EQ(never.ShowModal(), 0xFFFFFFFFu);
}

TEST_F(WindowTest, QuitDuringTheModalLoopEndsItAndIsPostedAgain) {
    TestDialog dialog;
    dialog.Create(nullptr, L"Child", 0, 0, CRect(10, 10, 200, 100));
    platform->PostQuitMessage(3);
    EXPECT_EQ(dialog.ShowModal(), 0u);
    MSG msg;
    ASSERT_TRUE(platform->PeekMessage(msg, true));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowTest, EveryResizeMakesTheWholeClientTheCaption) {
    TestDialog dialog;
    dialog.Create(nullptr, L"D", WS_VISIBLE, 0, CRect(0, 0, 300, 200));
    dialog.SetCaptionRect(CRect(0, 0, 300, 30));
    dialog.MoveWindow(CRect(0, 0, 500, 400));
    Drain();
    ASSERT_FALSE(dialog.sizes.empty());
    EXPECT_EQ(dialog.sizes.back(), CRect(0, 0, 500, 400));
    EXPECT_EQ(dialog.GetPaintManager().GetCaptionRect(), CRect(0, 0, 500, 400));
}

TEST_F(WindowTest, NotificationsFromTopLevelControlsReachOnMessage) {
    TestDialog dialog;
    dialog.Create(nullptr, L"D", WS_VISIBLE, 0, CRect(0, 0, 300, 200));
    auto* c = dialog.GetPaintManager().AddControl(new ProbeControl(&dialog, 12, CRect()));
    c->SendMessageW(NOTIFY_CLICKED, 0, 0);
    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_EQ(dialog.messages[0], std::make_pair(12u, NOTIFY_CLICKED));
    EXPECT_TRUE(c->IsParentVisible());
}

TEST_F(WindowTest, CentringStaysInsideTheWorkArea) {
    platform->SetWorkArea(CRect(0, 0, 1000, 800));
    TestDialog owner;
    owner.Create(nullptr, L"Owner", WS_VISIBLE, 0, CRect(700, 600, 1000, 800));
    TestDialog dialog;
    dialog.Create(owner.GetSafeHwnd(), L"D", 0, 0, CRect(0, 0, 400, 300));
    dialog.CenterWindow(&owner);
    EXPECT_EQ(dialog.GetWindowRect(), CRect(600, 500, 1000, 800));  // clamped right and bottom
    TestDialog lone;
    lone.Create(nullptr, L"L", 0, 0, CRect(0, 0, 400, 300));
    lone.CenterWindow();
    EXPECT_EQ(lone.GetWindowRect(), CRect(300, 250, 700, 550));
}

TEST_F(WindowTest, BubbleNeedsBothCoordinates) {
    TestDialog dialog;
    dialog.Create(nullptr, L"D", WS_VISIBLE, 0, CRect(0, 0, 300, 200));
    EXPECT_FALSE(dialog.SetAirBladderMsg(L"Hi", POINT{0, 50}, AIRBLADDER_TYPE_INFO));
    EXPECT_EQ(dialog.GetPaintManager().GetAirBladder(), nullptr);
    EXPECT_TRUE(dialog.SetAirBladderMsg(L"Hi", POINT{40, 50}, AIRBLADDER_TYPE_INFO));
    ASSERT_NE(dialog.GetPaintManager().GetAirBladder(), nullptr);
}

TEST_F(WindowTest, AMenuPostsExactlyOneClickWithTheItemIdAndCloses) {
    constexpr UINT kNotify = WM_USER + 77;
    Testing::TestProc ownerProc;
    WindowDesc desc;
    desc.rect = CRect(0, 0, 600, 400);
    desc.visible = true;
    HWND owner = platform->CreateWindow(desc, &ownerProc);

    auto* menu = new MenuWnd();
    ASSERT_NE(menu->Create(owner, CPoint(50, 60), kNotify, 200), nullptr);
    menu->AddMenu(L"Open", 31, CString(), 0, 0);
    menu->AddSeparator(32, CString());
    menu->AddMenu(L"Exit", 33, CString(), 0, 0);
    ASSERT_NE(menu->GetControl(33), nullptr);
    EXPECT_EQ(menu->GetControl(31)->GetRect(), CRect(2, 6, 198, 31));
    EXPECT_EQ(menu->GetControl(32)->GetRect(), CRect(6, 32, 199, 33));
    EXPECT_EQ(menu->GetControl(33)->GetRect(), CRect(2, 35, 198, 60));
    EXPECT_EQ(menu->GetWindowRect(), CRect(50, 60, 250, 126));
    menu->ShowWindow(SW_SHOW);

    HWND hwnd = menu->GetSafeHwnd();
    platform->InjectMouseMove(hwnd, {40, 45});
    platform->InjectButton(hwnd, WM_LBUTTONDOWN, {40, 45}, MK_LBUTTON);
    platform->InjectButton(hwnd, WM_LBUTTONUP, {40, 45});
    Drain();
    const auto posted = ownerProc.Only(kNotify);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].lParam, 33);
    EXPECT_FALSE(platform->IsWindow(hwnd));
    delete menu;

    // Losing the activation closes a menu silently.
    MenuWnd other;
    other.Create(owner, CPoint(10, 10), kNotify, 150);
    other.AddMenu(L"Open", 31, CString(), 0, 0);
    platform->InjectActivation(other.GetSafeHwnd(), false);
    Drain();
    EXPECT_FALSE(other.IsWindow());
    EXPECT_EQ(ownerProc.Only(kNotify).size(), 1u);
    platform->DestroyWindow(owner);
}

}  // namespace
}  // namespace Quorl
