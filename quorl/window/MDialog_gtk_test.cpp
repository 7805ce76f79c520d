// Real windows on a virtual X display: moving a dialog by its caption, and a drag from one
// dialog dropped on another, both driven by XTest.
#include <gtest/gtest.h>

#include <functional>

#include "quorl/paint/ControlTestSupport.h"
#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/window/MDialog.h"

// X11 last: its macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace Quorl {
namespace {

using Testing::ProbeControl;

class DialogGtkTest : public Testing::GtkFixture {
protected:
    // Moves the pointer in small steps, serving events in between, as a hand would.
    void Glide(POINT from, POINT to, int steps = 12) {
        for (int i = 1; i <= steps; ++i) {
            XTestFakeMotionEvent(display, -1, from.x + (to.x - from.x) * i / steps,
                                 from.y + (to.y - from.y) * i / steps, CurrentTime);
            XFlush(display);
            for (int k = 0; k < 10; ++k) {
                Serve();
            }
        }
    }
    void Button(bool down) {
        XTestFakeButtonEvent(display, 1, down, CurrentTime);
        XFlush(display);
    }
};

class Dialog : public MDialog {
public:
    std::vector<CSize> images;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == STM_SETIMAGE && wParam == IMAGE_BITMAP && lParam) {
            images.push_back(reinterpret_cast<const Bitmap*>(lParam)->Size());
        }
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }
};

TEST_F(DialogGtkTest, APressOnTheCaptionMovesTheWindowWithThePointer) {
    // The desktop moves top-level windows (GDK does it itself without a window manager);
    // pop-ups follow the pointer through the toolkit.
    for (DWORD style : {DWORD(0), WS_POPUP}) {
        Dialog dialog;
        ASSERT_NE(
            dialog.Create(nullptr, L"Drag me", style | WS_VISIBLE, 0, CRect(200, 200, 500, 400)),
            nullptr);
        ASSERT_TRUE(RunUntil([&] { return dialog.IsWindowVisible() != 0; }));
        XTestFakeMotionEvent(display, -1, 350, 300, CurrentTime);
        RunUntil([] { return false; }, 200);
        Button(true);
        RunUntil([] { return false; }, 200);
        Glide({350, 300}, {470, 380});
        Button(false);
        EXPECT_TRUE(RunUntil([&] { return dialog.GetWindowRect().TopLeft() == CPoint(320, 280); }))
            << "style " << style << ": " << dialog.GetWindowRect().left << ","
            << dialog.GetWindowRect().top;
        EXPECT_EQ(dialog.GetWindowRect().Size(), CSize(300, 200));
        EXPECT_TRUE(RunUntil([] { return Platform::Current().GetCapture() == nullptr; }))
            << "style " << style;
        dialog.DestroyWindow();
    }
}

TEST_F(DialogGtkTest, AControlDraggedOntoAnotherDialogArrivesThereAsItsPicture) {
    Dialog source;
    Dialog target;
    ASSERT_NE(source.Create(nullptr, L"Source", WS_VISIBLE, 0, CRect(50, 50, 350, 250)), nullptr);
    ASSERT_NE(target.Create(nullptr, L"Target", WS_VISIBLE, 0, CRect(600, 50, 900, 250)), nullptr);
    auto* item = static_cast<ProbeControl*>(source.GetPaintManager().AddControl(
        new ProbeControl(&source, 7, CRect(20, 20, 100, 60), 0xFFCC3322)));
    item->SetDragDrop(TRUE);
    ASSERT_TRUE(RunUntil([&] { return source.IsWindowVisible() && target.IsWindowVisible(); }));

    Glide({300, 300}, {90, 90});
    ASSERT_TRUE(RunUntil([&] { return source.GetPaintManager().GetHoverControl() == item; }));
    Button(true);
    RunUntil([] { return false; }, 200);
    Glide({90, 90}, {750, 150}, 30);
    Button(false);
    ASSERT_TRUE(RunUntil([&] { return !target.images.empty(); }));
    EXPECT_EQ(target.images.front(), CSize(80, 40));
    const Bitmap* dropped = target.GetPaintManager().GetDroppedImage();
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(dropped->GetPixel(40, 20), 0xFFCC3322u);
    EXPECT_TRUE(source.images.empty());
}

}  // namespace
}  // namespace Quorl
