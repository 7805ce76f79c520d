#include "quorl/window/MDialog.h"

namespace Quorl {

namespace {

CPoint PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

MDialog::MDialog() = default;

MDialog::~MDialog() {
    // The window goes first, while the manager and the virtuals still exist.
    if (IsWindow()) {
        HWND hwnd = m_hwnd;
        Platform::Current().DestroyWindow(hwnd);
    }
}

LONG MDialog::OnBaseMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) {
    return static_cast<LONG>(OnMessage(controlId, code, wParam, lParam));
}

LONG MDialog::OnControlUpdate(CRect rect, BOOL update, MControl* control) {
    return static_cast<LONG>(m_manager.OnControlUpdate(rect, update, control));
}

LRESULT MDialog::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            OnCreate();
            break;
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            break;
        case WM_PAINT:
            OnPaint();
            break;
        case WM_CLOSE:
            OnClose();
            break;
        case WM_WINDOWPOSCHANGING:
            OnWindowPosChanging();
            break;
        case WM_WINDOWPOSCHANGED:
            OnWindowPosChanged();
            break;
        case WM_NCACTIVATE:
            OnNcActivate(static_cast<BOOL>(wParam));
            break;
        case WM_TIMER:
            OnTimer(static_cast<UINT>(wParam));
            break;
        case WM_MOUSEMOVE:
            OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_LBUTTONDOWN:
            OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_LBUTTONUP:
            OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_LBUTTONDBLCLK:
            OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_RBUTTONDOWN:
            OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_RBUTTONUP:
            OnRButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_RBUTTONDBLCLK:
            OnRButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_MOUSEHOVER:
            OnMouseHover(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_USERCLOSE:
            return OnUserCloseWindow(wParam, lParam);
        default:
            break;
    }
    if (!IsWindow()) {
        return 0;  // a hook destroyed the window
    }
    if (const LRESULT r = m_manager.OnWindowMessage(msg, wParam, lParam)) {
        return r;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

BOOL MDialog::PreTranslateMessage(MSG* msg) {
    return m_manager.PreTranslateMessage(msg);
}

BOOL MDialog::OnInitDialog() {
    m_manager.Init(m_hwnd, this);
    m_client = GetClientRect();
    InitUI(m_client);
    return 1;
}

void MDialog::OnDestroyMessage(HWND hwnd) {
    m_manager.OnDestroyMessage(hwnd);
    PostNcDestroy();
}

POINT MDialog::GetAirBladderPoint(MControl* control, UINT type) {
    if (!control) {
        return {0, 0};
    }
    const CRect r = control->GetRect();
    POINT pt{type == 0 ? r.left : type == 1 ? (r.left + r.right) / 2 : r.right, r.bottom};
    ClientToScreen(pt);
    return pt;
}

void MDialog::OnMinimize() {
    ShowWindow(SW_MINIMIZE);
}

void MDialog::OnMaximize() {
    if (IsWindow() && Platform::Current().IsZoomed(m_hwnd)) {
        ShowWindow(SW_RESTORE);
    } else {
        ShowWindow(SW_MAXIMIZE);
    }
}

LRESULT MDialog::OnUserCloseWindow(WPARAM wParam, LPARAM lParam) {
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

BOOL MDialog::OnSize(UINT, int, int) {
    if (IsIconic()) {
        return 0;
    }
    SetupBackTranslucent();
    m_client = GetClientRect();
    if (m_client.Width() > 1 && m_client.Height() > 1) {
        UISize(m_client);
        m_manager.SetCaptionRect(m_client);
    }
    m_manager.InvalidateRect(m_client, FALSE);
    return 0;
}

void MDialog::SetupBackTranslucent() {
    if (!IsWindow()) {
        return;
    }
    if (m_alpha != 255) {
        Platform::Current().SetWindowAlpha(m_hwnd, static_cast<BYTE>(m_alpha));
    }
    // A colour key has no equivalent here; skins draw transparent pixels instead.
}

MControl* MDialog::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* text,
                                 int flag1, int flag2) {
    return m_manager.CreateControl(1, this, className, id, rect, text, flag1, flag2);
}

MControl* MDialog::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* text,
                              int flag1, int flag2) {
    return m_manager.CreateControl(0, this, className, id, rect, text, flag1, flag2);
}

BOOL MDialog::SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type) {
    if (pt.x == 0 || pt.y == 0) {
        return 0;
    }
    m_manager.SetAirBladderMsg(text, pt, type, static_cast<AIRBLADDER_MODE>(3));
    m_manager.ShowAirBladder(SW_SHOWNA, 0);
    return 1;
}

}  // namespace Quorl
