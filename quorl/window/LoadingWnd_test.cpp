#include "quorl/window/LoadingWnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "quorl/window/SkinTestSupport.h"

namespace Quorl {
namespace {

constexpr ARGB kCloseFrames[4] = {0xFF400000, 0xFF800000, 0xFFC00000, 0xFF404040};

// Two frames of 1 x 1 pixel, black then white, each shown for 50 ms.
// clang-format off
const unsigned char kTwoFrameGif[] = {
    'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,   // screen, 2-colour table
    0, 0, 0, 0xFF, 0xFF, 0xFF,                               // black, white
    0x21, 0xF9, 4, 0, 5, 0, 0, 0,                            // 5 hundredths
    0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,    // pixel index 0
    0x21, 0xF9, 4, 0, 5, 0, 0, 0,
    0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0,    // pixel index 1
    0x3B};
// clang-format on

class SplashSkin : public Testing::SkinTest {
protected:
    void SetUp() override {
        SkinTest::SetUp();
        Bitmap close(80, 20);
        for (int f = 0; f < 4; ++f) {
            for (int y = 0; y < 20; ++y) {
                for (int x = 0; x < 20; ++x) {
                    close.SetPixel(f * 20 + x, y, kCloseFrames[f]);
                }
            }
        }
        WriteImage("img_sys_close.png", close);
        WriteSolid("logo/logo_loading.png", 40, 10, 0xFF00FF00);
        std::filesystem::create_directories(skins + "/loading");
        std::ofstream(skins + "/loading/loading.gif", std::ios::binary)
            .write(reinterpret_cast<const char*>(kTwoFrameGif), sizeof kTwoFrameGif);
    }
    // The window's pixel after it painted what is pending.
    ARGB PixelAt(LoadingWnd& w, CPoint pt) {
        Drain();
        platform->UpdateWindow(w.GetSafeHwnd());
        const Bitmap* surface = platform->GetSurface(w.GetSafeHwnd());
        return surface ? surface->GetPixel(pt.x, pt.y) : 0;
    }
    void Tick(LoadingWnd& w, int ticks) {
        for (int i = 0; i < ticks; ++i) {
            w.SendMessageW(WM_TIMER, LoadingWnd::kAnimationTimer, 0);
        }
    }
};

TEST_F(SplashSkin, TheCloseButtonClosesOnlyOnAReleaseOverIt) {
    LoadingWnd w;
    ASSERT_NE(w.CreateDlg(nullptr, CRect(100, 100, 400, 300)), nullptr);
    ASSERT_EQ(w.GetCloseRect(), CRect(272, 8, 292, 28));
    const POINT on{282, 18}, off{100, 150};
    HWND hwnd = w.GetSafeHwnd();
    EXPECT_EQ(PixelAt(w, on), kCloseFrames[0]);
    platform->InjectMouseMove(hwnd, on);
    EXPECT_EQ(PixelAt(w, on), kCloseFrames[1]);
    platform->InjectButton(hwnd, WM_LBUTTONDOWN, on, MK_LBUTTON);
    EXPECT_EQ(PixelAt(w, on), kCloseFrames[2]);
    platform->InjectMouseMove(hwnd, off, MK_LBUTTON);
    EXPECT_EQ(w.GetCloseState(), 2);  // still held
    platform->InjectButton(hwnd, WM_LBUTTONUP, off);
    Drain();
    EXPECT_TRUE(w.IsWindow());
    EXPECT_EQ(PixelAt(w, on), kCloseFrames[0]);

    platform->InjectMouseMove(hwnd, on);
    platform->InjectButton(hwnd, WM_LBUTTONDOWN, on, MK_LBUTTON);
    platform->InjectButton(hwnd, WM_LBUTTONUP, on);
    Drain();
    EXPECT_FALSE(w.IsWindow());
    EXPECT_FALSE(platform->IsWindow(hwnd));
}

TEST_F(SplashSkin, TheAnimationKeepsItsFrameTimesAndImagesReplaceTheGif) {
    LoadingWnd w;
    ASSERT_NE(w.CreateDlg(nullptr, CRect(0, 0, 300, 200)), nullptr);
    // The window runs its own 18 ms timer; the test stops it and gives the ticks itself.
    ASSERT_TRUE(w.KillTimer(LoadingWnd::kAnimationTimer));
    ASSERT_EQ(w.GetFrameCount(), 2);
    const CPoint centre = w.GetAnimationRect().CenterPoint();
    EXPECT_EQ(PixelAt(w, centre), 0xFF000000u);
    Tick(w, 2);  // 36 of 50 ms
    EXPECT_EQ(w.GetCurrentFrame(), 0);
    Tick(w, 1);
    EXPECT_EQ(w.GetCurrentFrame(), 1);
    EXPECT_EQ(PixelAt(w, centre), 0xFFFFFFFFu);

    EXPECT_EQ(w.AddAnimationImage(L"missing.png"), -1);
    for (int i = 0; i < LoadingWnd::kMaxAnimationImages; ++i) {
        const std::string name = "busy_" + std::to_string(i) + ".png";
        WriteSolid(name, 30, 30, 0xFF000010u + static_cast<ARGB>(i));
        ASSERT_EQ(w.AddAnimationImage(CString::FromUtf8(name)), i);
    }
    EXPECT_EQ(w.AddAnimationImage(L"busy_0.png"), -1);
    EXPECT_EQ(w.GetFrameCount(), LoadingWnd::kMaxAnimationImages);
    EXPECT_EQ(w.GetCurrentFrame(), 0);
    const CPoint middle = w.GetAnimationRect().CenterPoint();
    EXPECT_EQ(w.GetAnimationRect().Size(), CSize(30, 30));
    EXPECT_EQ(PixelAt(w, middle), 0xFF000010u);
    Tick(w, 3);  // 54 of 72 ms
    EXPECT_EQ(PixelAt(w, middle), 0xFF000010u);
    Tick(w, 1);
    EXPECT_EQ(PixelAt(w, middle), 0xFF000011u);

    w.ClearAnimationImages();
    EXPECT_EQ(w.GetFrameCount(), 2);
}

}  // namespace
}  // namespace Quorl
