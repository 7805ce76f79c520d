#include "quorl/window/LoadingWnd.h"

#include <algorithm>

#include "quorl/render/Canvas.h"
#include "quorl/render/Manager.h"

namespace Quorl {

namespace {

constexpr int kCloseFrames = 4;
constexpr COLORREF kFill = 0x110B06;
constexpr ARGB kTextColour = 0xFFB8D3EF;

std::unique_ptr<Image> LoadSkinImage(const wchar_t* file) {
    if (!file || !*file) {
        return nullptr;
    }
    return Image::FromFile(Manager::GetSkinPath(file));
}

CRect CentredAt(int cx, int top, CSize size) {
    return CRect(cx - size.cx / 2, top, cx - size.cx / 2 + size.cx, top + size.cy);
}

}  // namespace

LoadingWnd::~LoadingWnd() {
    DestroyWindow();
}

HWND LoadingWnd::CreateDlg(HWND parent, CRect rect) {
    m_gif = LoadSkinImage(L"loading\\loading.gif");
    m_logo = LoadSkinImage(L"logo\\logo_loading.png");
    return Create(parent, L"Loading Window", WS_POPUP | WS_VISIBLE, 0, rect);
}

BOOL LoadingWnd::OnInitDialog() {
    SetTimer(kAnimationTimer, kTickMs);
    m_close = LoadSkinImage(L"img_sys_close.png");
    Layout();
    return 1;
}

BOOL LoadingWnd::SetBkImage(const wchar_t* file) {
    auto image = LoadSkinImage(file);
    if (!image) {
        return 0;
    }
    m_background = std::move(image);
    InvalidateRect(GetClientRect(), FALSE);
    return 1;
}

int LoadingWnd::AddAnimationImage(const wchar_t* file) {
    if (GetAnimationImageCount() >= kMaxAnimationImages) {
        return -1;
    }
    auto image = LoadSkinImage(file);
    if (!image) {
        return -1;
    }
    m_images.push_back(std::move(image));
    if (m_images.size() == 1) {
        m_frame = 0;  // the images take over from the GIF
        m_elapsed = 0;
    }
    Layout();
    return GetAnimationImageCount() - 1;
}

void LoadingWnd::ClearAnimationImages() {
    m_images.clear();
    m_frame = 0;
    m_elapsed = 0;
    Layout();
}

void LoadingWnd::SetText(const CString& text) {
    m_text = text;
    InvalidateRect(m_textRect, FALSE);
}

int LoadingWnd::GetFrameCount() const {
    if (!m_images.empty()) {
        return GetAnimationImageCount();
    }
    return m_gif ? m_gif->GetFrameCount() : 0;
}

CSize LoadingWnd::FrameSize() const {
    if (!m_images.empty()) {
        CSize size;
        for (const auto& image : m_images) {
            size.cx = std::max(size.cx, image->Width());
            size.cy = std::max(size.cy, image->Height());
        }
        return size;
    }
    return m_gif ? m_gif->Size() : CSize();
}

int LoadingWnd::FrameTime() const {
    if (!m_images.empty()) {
        return kImageFrameMs;
    }
    const int delay = m_gif ? m_gif->GetFrameDelay(m_frame) : 0;
    return delay > 0 ? delay : static_cast<int>(kTickMs);
}

void LoadingWnd::Layout() {
    const CRect client = GetClientRect();
    const int cx = client.Width() / 2;
    m_closeRect = CRect();
    if (m_close) {
        const CSize frame(m_close->Width() / kCloseFrames, m_close->Height());
        m_closeRect = CRect(client.right - kCloseMargin - frame.cx, kCloseMargin,
                            client.right - kCloseMargin, kCloseMargin + frame.cy);
    }
    m_logoRect = m_logo ? CentredAt(cx, client.Height() / 4, m_logo->Size()) : CRect();
    const CSize frame = FrameSize();
    m_animationRect = CentredAt(cx, client.Height() * 2 / 3 - frame.cy / 2, frame);
    const int textTop = std::max(m_animationRect.bottom, m_logoRect.bottom) + 8;
    m_textRect = CRect(0, textTop, client.right, textTop + 24);
    InvalidateRect(client, FALSE);
}

void LoadingWnd::Advance(int ms) {
    const int count = GetFrameCount();
    if (count < 2) {
        return;
    }
    m_elapsed += ms;
    bool moved = false;
    for (int time = FrameTime(); m_elapsed >= time; time = FrameTime()) {
        m_elapsed -= time;
        m_frame = (m_frame + 1) % count;
        moved = true;
    }
    if (moved) {
        InvalidateRect(m_animationRect, FALSE);
    }
}

void LoadingWnd::SetCloseState(int state) {
    if (state != m_closeState) {
        m_closeState = state;
        InvalidateRect(m_closeRect, FALSE);
    }
}

void LoadingWnd::OnMouse(UINT msg, CPoint pt) {
    const bool inside = m_closeRect.PtInRect(pt) != 0;
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!m_tracking) {
                m_tracking = Platform::Current().TrackMouseEvent(m_hwnd, TME_LEAVE) != 0;
            }
            if (m_closeState != 2) {
                SetCloseState(inside ? 1 : 0);
            }
            break;
        case WM_LBUTTONDOWN:
            if (inside) {
                SetCloseState(2);
                SetCapture();
            }
            break;
        case WM_LBUTTONUP: {
            const bool pressed = m_closeState == 2;
            ReleaseCapture();
            SetCloseState(inside ? 1 : 0);
            if (pressed && inside) {
                PostMessageW(WM_CLOSE, 0, 0);
            }
            break;
        }
        case WM_MOUSELEAVE:
            m_tracking = false;
            if (m_closeState != 2) {
                SetCloseState(0);
            }
            break;
        default:
            break;
    }
}

void LoadingWnd::Paint(Canvas& canvas) {
    const CRect client = GetClientRect();
    if (m_background) {
        canvas.DrawImage(*m_background, client);
    } else {
        canvas.FillSolidRect(client, kFill);
    }
    if (m_logo) {
        canvas.DrawImage(*m_logo, m_logoRect.left, m_logoRect.top);
    }
    const Bitmap* frame = nullptr;
    if (!m_images.empty()) {
        frame = &m_images[static_cast<size_t>(m_frame) % m_images.size()]->GetBitmap();
    } else if (m_gif) {
        frame = &m_gif->GetFrame(m_frame);
    }
    if (frame) {
        // Smaller frames centre in the animation rect.
        canvas.DrawImage(*frame,
                         m_animationRect.left + (m_animationRect.Width() - frame->Width()) / 2,
                         m_animationRect.top + (m_animationRect.Height() - frame->Height()) / 2);
    }
    if (!m_text.IsEmpty()) {
        canvas.DrawText(m_text, m_textRect, Font(m_fontName, 14), Color(kTextColour),
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    if (m_close) {
        const int w = m_close->Width() / kCloseFrames;
        const CRect src(m_closeState * w, 0, (m_closeState + 1) * w, m_close->Height());
        canvas.DrawImage(*m_close, m_closeRect, src);
    }
}

LRESULT LoadingWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam == kAnimationTimer) {
                Advance(static_cast<int>(kTickMs));
                return 0;
            }
            break;
        case WM_SIZE:
            Layout();
            break;
        case WM_PAINT:
            if (lParam) {
                auto* context = reinterpret_cast<PaintContext*>(lParam);
                if (context->canvas) {
                    Paint(*context->canvas);
                }
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSELEAVE:
            OnMouse(msg, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
            return 0;
        default:
            break;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

}  // namespace Quorl
