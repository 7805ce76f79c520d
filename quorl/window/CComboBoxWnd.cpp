#include "quorl/window/CComboBoxWnd.h"

namespace Quorl {

void CComboBoxWnd::InitUI(CRect client) {
    CRect list = client;
    list.DeflateRect(3, 6);
    m_list = CreateControl(L"CComboBoxList", kListId, list, L"", 1, 1);
    m_manager.SetBackMode(BACK_MODE_FRAME, 6);
}

LRESULT CComboBoxWnd::OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) {
    if (controlId == kListId && code == NOTIFY_CLICKED) {
        return SendMessageToParent(NOTIFY_CLICKED, wParam, lParam);
    }
    return 0;
}

BOOL CComboBoxWnd::PostNcDestroy() {
    m_list = nullptr;
    SendMessageToParent(kClosedCode, 0, 0);
    return 0;
}

}  // namespace Quorl
