#include "quorl/window/MWindow.h"

#include <algorithm>

#include "quorl/platform/MessageLoop.h"
#include "quorl/render/IconFile.h"
#include "quorl/render/Manager.h"
#include "quorl/render/Resources.h"

namespace Quorl {

namespace {

Platform& P() {
    return Platform::Current();
}

}  // namespace

MWindow::~MWindow() {
    // A derived class destroys its window in its own destructor; this is the last resort.
    if (m_hwnd && P().IsWindow(m_hwnd)) {
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        P().DestroyWindow(hwnd);
    }
    Manager::DeleteWnd(this);
}

HWND MWindow::Create(HWND parent) {
    return Create(parent, L"MWindow", 0x80B, 0, CRect(0, 0, 800, 600));
}

HWND MWindow::Create(HWND parent, CRect rect) {
    return Create(parent, L"MWindow", 0x80B, 0, rect);
}

HWND MWindow::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, CRect rect) {
    if (IsWindow()) {
        return m_hwnd;
    }
    m_parent = parent;
    WindowDesc desc;
    desc.kind = (exStyle & WS_EX_TOOLWINDOW) ? WindowKind::Tool
                : (style & WS_POPUP)         ? WindowKind::Popup
                                             : WindowKind::TopLevel;
    desc.owner = parent;
    desc.title = title ? title : L"";
    desc.rect = rect;
    desc.visible = (style & WS_VISIBLE) != 0;
    desc.keepAbove = (exStyle & WS_EX_TOPMOST) != 0;
    desc.layered = (exStyle & WS_EX_LAYERED) != 0;
    HWND hwnd = P().CreateWindow(desc, this);
    if (!hwnd) {
        return nullptr;
    }
    m_hwnd = hwnd;
    Manager::AddWnd(this);
    OnInitDialog();
    return m_hwnd;
}

LRESULT MWindow::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hwnd) {
        // Messages sent while the window is being created.
        m_hwnd = hwnd;
    }
    if (msg == WM_NCDESTROY) {
        const LRESULT result = P().DefWindowProc(hwnd, msg, wParam, lParam);
        m_hwnd = nullptr;
        Manager::DeleteWnd(this);
        OnDestroyMessage(hwnd);
        return result;
    }
    return OnWindowMessage(msg, wParam, lParam);
}

LRESULT MWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return m_hwnd ? P().DefWindowProc(m_hwnd, msg, wParam, lParam) : 0;
}

BOOL MWindow::IsWindow() const {
    return m_hwnd && P().IsWindow(m_hwnd);
}

BOOL MWindow::ShowWindow(int cmdShow) {
    return IsWindow() ? P().ShowWindow(m_hwnd, cmdShow) : 0;
}

UINT MWindow::ShowModal(int cmdShow) {
    if (!IsWindow()) {
        return 0xFFFFFFFF;
    }
    ShowWindow(cmdShow);
    return RunModalLoop(m_hwnd, [this](MSG& msg) { return PreTranslateMessage(&msg) != 0; });
}

BOOL MWindow::DestroyWindow() {
    return IsWindow() ? P().DestroyWindow(m_hwnd) : 0;
}

void MWindow::CenterWindow(MWindow* reference) {
    if (!IsWindow()) {
        return;
    }
    Platform& p = P();
    HWND ref = reference ? reference->GetSafeHwnd() : p.GetOwner(m_hwnd);
    const bool refUsable = ref && p.IsWindow(ref) && p.IsWindowVisible(ref) && !p.IsIconic(ref);
    const CRect work = p.GetWorkArea(refUsable ? ref : m_hwnd);
    CRect centre = work;
    if (refUsable) {
        p.GetWindowRect(ref, centre);
    }
    const CRect own = GetWindowRect();
    int x = centre.left + (centre.Width() - own.Width()) / 2;
    int y = centre.top + (centre.Height() - own.Height()) / 2;
    x = std::min(x, work.right - own.Width());
    y = std::min(y, work.bottom - own.Height());
    x = std::max(x, work.left);
    y = std::max(y, work.top);
    p.MoveWindow(m_hwnd, CRect(x, y, x + own.Width(), y + own.Height()), TRUE);
}

void MWindow::BringToTop() {
    if (!IsWindow()) {
        return;
    }
    P().SetForegroundWindow(m_hwnd);
    P().ShowWindow(m_hwnd, P().IsIconic(m_hwnd) ? SW_RESTORE : SW_SHOW);
}

BOOL MWindow::SetIcon(UINT resourceId) {
    if (!IsWindow()) {
        return 0;
    }
    std::vector<std::uint8_t> ico;
    if (!LoadModuleResource(Manager::GetInstance(), resourceId, L"ICO", ico)) {
        return 0;
    }
    // The sizes a desktop asks for most: title bars and switchers, and task bars.
    auto large = LoadIconPicture(ico.data(), ico.size(), 32);
    auto small = LoadIconPicture(ico.data(), ico.size(), 16);
    if (!large || !small) {
        return 0;
    }
    return P().SetWindowIcon(m_hwnd, *large, *small);
}

CRect MWindow::GetClientRect() const {
    CRect r;
    if (IsWindow()) {
        P().GetClientRect(m_hwnd, r);
    }
    return r;
}

CRect MWindow::GetWindowRect() const {
    CRect r;
    if (IsWindow()) {
        P().GetWindowRect(m_hwnd, r);
    }
    return r;
}

BOOL MWindow::SetWindowTextW(const wchar_t* text) {
    return IsWindow() ? P().SetWindowText(m_hwnd, text ? text : L"") : 0;
}

std::wstring MWindow::GetWindowTextW() const {
    return IsWindow() ? P().GetWindowText(m_hwnd) : std::wstring();
}

BOOL MWindow::EnableWindow(BOOL enable) {
    return IsWindow() ? P().EnableWindow(m_hwnd, enable) : 0;
}

BOOL MWindow::IsWindowEnabled() const {
    return IsWindow() ? P().IsWindowEnabled(m_hwnd) : 0;
}

BOOL MWindow::IsWindowVisible() const {
    return IsWindow() ? P().IsWindowVisible(m_hwnd) : 0;
}

BOOL MWindow::IsIconic() const {
    return IsWindow() ? P().IsIconic(m_hwnd) : 0;
}

BOOL MWindow::InvalidateRect(CRect rect, BOOL erase) {
    return IsWindow() ? P().InvalidateRect(m_hwnd, &rect, erase) : 0;
}

HWND MWindow::SetCapture() {
    return IsWindow() ? P().SetCapture(m_hwnd) : nullptr;
}

BOOL MWindow::ReleaseCapture() {
    return P().ReleaseCapture();
}

HWND MWindow::SetFocus() {
    return IsWindow() ? P().SetFocus(m_hwnd) : nullptr;
}

BOOL MWindow::SetTimer(UINT id, UINT elapseMs) {
    return IsWindow() ? P().SetTimer(m_hwnd, id, elapseMs) : 0;
}

BOOL MWindow::KillTimer(UINT id) {
    return IsWindow() ? P().KillTimer(m_hwnd, id) : 0;
}

BOOL MWindow::ClientToScreen(POINT& pt) const {
    return IsWindow() ? P().ClientToScreen(m_hwnd, pt) : 0;
}

BOOL MWindow::ScreenToClient(POINT& pt) const {
    return IsWindow() ? P().ScreenToClient(m_hwnd, pt) : 0;
}

BOOL MWindow::MoveWindow(CRect screenRect, BOOL repaint) {
    return IsWindow() ? P().MoveWindow(m_hwnd, screenRect, repaint) : 0;
}

BOOL MWindow::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    return MoveWindow(CRect(x, y, x + width, y + height), repaint);
}

LRESULT MWindow::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return IsWindow() ? P().SendMessage(m_hwnd, msg, wParam, lParam) : 0;
}

BOOL MWindow::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return IsWindow() ? P().PostMessage(m_hwnd, msg, wParam, lParam) : 0;
}

}  // namespace Quorl
