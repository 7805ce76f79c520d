#pragma once

#include <memory>
#include <vector>

#include "quorl/render/Image.h"
#include "quorl/window/MWindow.h"

namespace Quorl {

class Canvas;

// A splash window: a background, the logo, a busy animation with a line of text under it, and
// a close button (a strip of four frames: normal, hover, pressed, disabled) at the top right
// that closes the window when a press on it is released on it. The animation is the busy GIF,
// or the animation images when any were added; timer 100 ticks every 18 ms and a frame stays
// for its GIF delay (kImageFrameMs for images, one tick when a GIF frame has none).
class LoadingWnd : public MWindow {
public:
    static constexpr UINT kAnimationTimer = 100;
    static constexpr UINT kTickMs = 18;
    static constexpr int kMaxAnimationImages = 19;
    static constexpr int kImageFrameMs = 72;
    static constexpr int kCloseMargin = 8;

    LoadingWnd() = default;
    ~LoadingWnd() override;

    HWND CreateDlg(HWND parent, CRect rect);
    BOOL OnInitDialog() override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The skin image stretched over the window instead of the plain fill; 0 and nothing
    // changed when it cannot be loaded.
    BOOL SetBkImage(const wchar_t* file);
    // Appends a frame of the busy animation; its index, or -1 when the file cannot be loaded
    // or there are kMaxAnimationImages already.
    int AddAnimationImage(const wchar_t* file);
    void ClearAnimationImages();
    int GetAnimationImageCount() const { return static_cast<int>(m_images.size()); }
    void SetText(const CString& text);

    int GetFrameCount() const;
    int GetCurrentFrame() const { return m_frame; }
    // 0 normal, 1 hover, 2 pressed.
    int GetCloseState() const { return m_closeState; }
    CRect GetCloseRect() const { return m_closeRect; }
    CRect GetAnimationRect() const { return m_animationRect; }
    CRect GetLogoRect() const { return m_logoRect; }
    // Draws the window as it shows on screen.
    void Paint(Canvas& canvas);

private:
    void Layout();
    void Advance(int ms);
    int FrameTime() const;
    CSize FrameSize() const;
    void SetCloseState(int state);
    void OnMouse(UINT msg, CPoint pt);

    CString m_fontName = L"Arial";
    CString m_text;
    std::unique_ptr<Image> m_background;
    std::unique_ptr<Image> m_gif;
    std::unique_ptr<Image> m_logo;
    std::unique_ptr<Image> m_close;
    std::vector<std::unique_ptr<Image>> m_images;
    int m_frame = 0;
    int m_elapsed = 0;
    int m_closeState = 0;
    bool m_tracking = false;
    CRect m_closeRect;
    CRect m_logoRect;
    CRect m_animationRect;
    CRect m_textRect;
};

}  // namespace Quorl
