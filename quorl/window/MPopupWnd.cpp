#include "quorl/window/MPopupWnd.h"

namespace Quorl {

BOOL MPopupWnd::OnInitDialog() {
    MDialog::OnInitDialog();
    m_manager.EnableWndDrag(FALSE);
    return 1;
}

BOOL MPopupWnd::OnNcActivate(BOOL active) {
    if (!active) {
        CloseWindow();
    }
    return 0;
}

HWND MPopupWnd::CreatePopup(HWND owner, const wchar_t* title, CRect screenRect) {
    return Create(owner, title, WS_POPUP, WS_EX_TOPMOST, screenRect);
}

void MPopupWnd::SetupRegion(int diameter) {
    if (IsWindow()) {
        Platform::Current().SetWindowRoundRegion(m_hwnd, diameter);
    }
}

LRESULT MPopupWnd::SendMessageToParent(UINT code, UINT wParam, LONG lParam) {
    if (auto* control = dynamic_cast<MControl*>(m_parentObject)) {
        return control->OnMessage(0, code, wParam, lParam);
    }
    return 0;
}

}  // namespace Quorl
