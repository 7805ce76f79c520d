#include "quorl/window/LoadingWnd.h"

#include "quorl/render/Canvas.h"
#include "quorl/render/Manager.h"

namespace Quorl {

LoadingWnd::~LoadingWnd() {
    DestroyWindow();
}

HWND LoadingWnd::CreateDlg(HWND parent, CRect rect) {
    m_gif = Image::FromFile(Manager::GetSkinPath(L"loading\\loading.gif"));
    m_logo = Image::FromFile(Manager::GetSkinPath(L"logo\\logo_loading.png"));
    return Create(parent, L"Loading Window", WS_POPUP | WS_VISIBLE, 0, rect);
}

BOOL LoadingWnd::OnInitDialog() {
    SetTimer(kAnimationTimer, 18);
    m_close = Image::FromFile(Manager::GetSkinPath(L"img_sys_close.png"));
    return 1;
}

LRESULT LoadingWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kAnimationTimer) {
        if (m_gif && m_gif->GetFrameCount() > 1) {
            m_frame = (m_frame + 1) % m_gif->GetFrameCount();
            InvalidateRect(GetClientRect(), FALSE);
        }
        return 0;
    }
    if (msg == WM_PAINT && lParam) {
        auto* context = reinterpret_cast<PaintContext*>(lParam);
        const CRect client = GetClientRect();
        context->canvas->FillSolidRect(client, 0x110B06);
        if (m_logo) {
            context->canvas->DrawImage(*m_logo, (client.Width() - m_logo->Width()) / 2,
                                       client.Height() / 4);
        }
        if (m_gif) {
            const Bitmap& frame = m_gif->GetFrame(m_frame);
            context->canvas->DrawImage(frame, (client.Width() - frame.Width()) / 2,
                                       client.Height() * 2 / 3 - frame.Height() / 2);
        }
        return 0;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

}  // namespace Quorl
