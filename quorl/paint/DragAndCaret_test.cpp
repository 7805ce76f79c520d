// The caption drag, the caret and drag and drop of the paint manager, on the headless back end.
#include <gtest/gtest.h>

#include "quorl/paint/ControlTestSupport.h"
#include "quorl/paint/PaintManager.h"
#include "tests/support/TempFolder.h"

namespace Quorl {
namespace {

using Testing::HostWindow;
using Testing::ProbeControl;

TEST(CaptionDragTest, APressOnTheCaptionOutsideControlsMovesTheWindow) {
    struct Case {
        bool dragEnabled;
        POINT press;
        int moves;
    };
    const Case cases[] = {
        {true, {200, 20}, 1},   // caption, no control
        {true, {20, 20}, 0},    // on a control
        {true, {200, 200}, 0},  // below the caption
        {false, {200, 20}, 0},  // dragging switched off
    };
    for (const Case& c : cases) {
        HostWindow host;
        host.Add(1, CRect(10, 10, 60, 30));
        host.manager.SetCaptionRect(CRect(0, 0, 400, 40));
        host.manager.EnableWndDrag(c.dragEnabled);
        host.platform->InjectMouseMove(host.hwnd, c.press);
        host.platform->InjectButton(host.hwnd, WM_LBUTTONDOWN, c.press, MK_LBUTTON);
        host.Drain();
        EXPECT_EQ(host.platform->GetMoveDragCount(host.hwnd), c.moves)
            << c.press.x << "," << c.press.y << " drag " << c.dragEnabled;
    }
}

TEST(CaretTest, BlinksAtTheDesktopRateOnlyWhileItsOwnerHasTheKeyboard) {
    HostWindow host;
    ProbeControl* edit = host.Add(1, CRect(10, 10, 200, 40), 0xFF3366CC);
    host.platform->SetCaretBlinkTime(300);
    host.platform->SetForegroundWindow(host.hwnd);
    host.manager.SetFocusControl(edit);
    host.manager.CreateCaret(2, 16);
    host.manager.SetCaretPos(edit, 20, 12);
    host.manager.ShowCaret(TRUE);
    host.Drain();
    const Bitmap* screen = host.platform->GetSurface(host.hwnd);
    auto caretDrawn = [&] { return screen->GetPixel(21, 20) != 0xFF3366CCu; };
    EXPECT_TRUE(host.manager.IsCaretBlinking());
    EXPECT_TRUE(caretDrawn());

    auto tick = [&] {
        host.platform->PostMessage(host.hwnd, WM_TIMER, TIMER_CARET, 0);
        host.Drain();
    };
    tick();
    EXPECT_FALSE(caretDrawn());
    tick();
    EXPECT_TRUE(caretDrawn());

    // Another window takes the keyboard: the caret goes and stops blinking; it comes back.
    WindowDesc other;
    other.rect = CRect(600, 100, 700, 200);
    HWND elsewhere = host.platform->CreateWindow(other, nullptr);
    host.platform->SetFocus(elsewhere);
    host.Drain();
    EXPECT_FALSE(caretDrawn());
    EXPECT_FALSE(host.manager.IsCaretBlinking());
    host.platform->SetFocus(host.hwnd);
    host.Drain();
    EXPECT_TRUE(caretDrawn());
    EXPECT_TRUE(host.manager.IsCaretBlinking());

    // The owner losing the focus inside the window removes it too.
    host.manager.SetFocusControl(nullptr);
    host.Drain();
    EXPECT_FALSE(caretDrawn());

    // A desktop without blinking: the caret stays on.
    host.manager.SetFocusControl(edit);
    host.platform->SetCaretBlinkTime(0);
    host.manager.ShowCaret(TRUE);
    host.Drain();
    EXPECT_TRUE(caretDrawn());
    EXPECT_FALSE(host.manager.IsCaretBlinking());
    host.manager.ShowCaret(FALSE);
    host.Drain();
    EXPECT_FALSE(caretDrawn());
    host.platform->DestroyWindow(elsewhere);
}

TEST(DragDropTest, ADragStartsBeyondTwoPixelsWithThePictureOfTheControl) {
    HostWindow host;
    ProbeControl* source = host.Add(1, CRect(10, 10, 60, 40));
    ProbeControl* plain = host.Add(2, CRect(100, 10, 150, 40));
    source->SetDragDrop(TRUE);
    auto pressAndMove = [&](POINT at, POINT to) {
        host.platform->InjectMouseMove(host.hwnd, at);
        host.platform->InjectButton(host.hwnd, WM_LBUTTONDOWN, at, MK_LBUTTON);
        host.Drain();
        host.platform->InjectMouseMove(host.hwnd, to, MK_LBUTTON);
        host.Drain();
    };
    pressAndMove({20, 20}, {22, 18});
    EXPECT_TRUE(host.platform->GetStartedDrags().empty());
    host.platform->InjectMouseMove(host.hwnd, {20, 23}, MK_LBUTTON);
    host.Drain();
    ASSERT_EQ(host.platform->GetStartedDrags().size(), 1u);
    const auto& drag = host.platform->GetStartedDrags().front();
    EXPECT_EQ(drag.hwnd, host.hwnd);
    EXPECT_EQ(drag.imageSize, CSize(50, 30));
    EXPECT_EQ(drag.allowedEffects, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_FALSE(host.manager.IsCaptured());
    EXPECT_FALSE(host.manager.IsLeftPressed());
    host.platform->InjectButton(host.hwnd, WM_LBUTTONUP, {20, 23});
    host.Drain();

    // A control that is not drag-enabled only sees its moves.
    pressAndMove({120, 20}, {140, 35});
    EXPECT_EQ(host.platform->GetStartedDrags().size(), 1u);
    EXPECT_EQ(plain->Last("move"), CPoint(140, 35));
}

// Records the pictures the window is given.
class DropHost : public HostWindow {
public:
    std::vector<CSize> images;
    LRESULT HandleMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == STM_SETIMAGE && wParam == IMAGE_BITMAP) {
            images.push_back(reinterpret_cast<const Bitmap*>(lParam)->Size());
        }
        return HostWindow::HandleMessage(h, msg, wParam, lParam);
    }
};

TEST(DragDropTest, ADropReleasesAtItsPointAndGivesTheWindowThePicture) {
    TempFolder folder;
    const CString png = CString::FromUtf8(folder.Path() + "/pic.png");
    ASSERT_TRUE(Bitmap(9, 4).SavePng(png));
    const CString text = CString::FromUtf8(folder.Path() + "/notes.txt");
    WriteFileText(text.ToUtf8(), "not a picture");

    DropHost host;
    ProbeControl* target = host.Add(1, CRect(10, 10, 200, 200));
    host.platform->InjectMouseMove(host.hwnd, {50, 60});
    host.Drain();
    struct Case {
        const char* what;
        DropData data;
        bool taken;
        CSize image;
    };
    Case cases[] = {
        {"picture", {Bitmap(7, 5), {}}, true, {7, 5}},
        {"picture file", {Bitmap(), {png, text}}, true, {9, 4}},
        {"first file no picture", {Bitmap(), {text, png}}, false, {}},
        {"missing file", {Bitmap(), {CString(L"/nowhere/x.png")}}, false, {}},
        {"nothing", {}, false, {}},
    };
    for (Case& c : cases) {
        host.images.clear();
        const size_t ups = target->Count("up");
        EXPECT_EQ(host.platform->InjectDrop(host.hwnd, {50, 60}, std::move(c.data)), c.taken)
            << c.what;
        EXPECT_EQ(target->Count("up"), ups + 1) << c.what;
        if (c.taken) {
            ASSERT_EQ(host.images.size(), 1u) << c.what;
            EXPECT_EQ(host.images[0], c.image) << c.what;
            ASSERT_NE(host.manager.GetDroppedImage(), nullptr);
            EXPECT_EQ(host.manager.GetDroppedImage()->Size(), c.image);
        } else {
            EXPECT_TRUE(host.images.empty()) << c.what;
        }
    }
    // A window whose manager is gone takes no drops.
    host.manager.DestroyData();
    EXPECT_FALSE(host.platform->InjectDrop(host.hwnd, {50, 60}, {Bitmap(3, 3), {}}));
}

}  // namespace
}  // namespace Quorl
