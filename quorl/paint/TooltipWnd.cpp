#include "quorl/paint/TooltipWnd.h"

#include "quorl/render/Bitmap.h"
#include "quorl/render/Canvas.h"
#include "quorl/render/Manager.h"

namespace Quorl {

namespace {

Font TipFont() {
    return Font(Manager::GetFontName(), 12);
}

}  // namespace

TooltipWnd::TooltipWnd(HWND owner) : m_owner(owner) {}

TooltipWnd::~TooltipWnd() {
    if (m_hwnd) {
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        Platform::Current().DestroyWindow(hwnd);
    }
}

void TooltipWnd::Activate(BOOL active) {
    Platform& p = Platform::Current();
    m_active = active && !m_text.IsEmpty();
    if (!m_active) {
        if (m_hwnd) {
            p.ShowWindow(m_hwnd, SW_HIDE);
        }
        return;
    }
    if (!p.IsWindow(m_owner)) {
        m_active = 0;
        return;
    }
    // Measure on a scratch surface: the tip is sized to its text.
    Bitmap scratch(1, 1);
    Canvas measure(scratch);
    CSize size = measure.MeasureText(m_text, TipFont(), DT_WORDBREAK, kMaxWidth);
    size.cx += 10;
    size.cy += 6;
    POINT at{};
    if (!p.GetCursorPos(at)) {
        at = {m_toolRect.left, m_toolRect.bottom};
        p.ClientToScreen(m_owner, at);
    }
    const CRect screen(at.x + 2, at.y + 20, at.x + 2 + size.cx, at.y + 20 + size.cy);
    if (!m_hwnd || !p.IsWindow(m_hwnd)) {
        WindowDesc desc;
        desc.kind = WindowKind::Popup;
        desc.owner = m_owner;
        desc.rect = screen;
        desc.keepAbove = true;
        m_hwnd = p.CreateWindow(desc, this);
    } else {
        p.MoveWindow(m_hwnd, screen, TRUE);
    }
    if (m_hwnd) {
        p.ShowWindow(m_hwnd, SW_SHOWNA);
        p.InvalidateRect(m_hwnd, nullptr, FALSE);
    }
}

LRESULT TooltipWnd::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT && lParam) {
        auto* context = reinterpret_cast<PaintContext*>(lParam);
        CRect client;
        Platform::Current().GetClientRect(hwnd, client);
        context->canvas->FillSolidRect(client, kBackground);
        context->canvas->DrawRectangle(client, Color(0xFF767676));
        CRect text = client;
        text.DeflateRect(5, 3);
        context->canvas->DrawText(m_text, text, TipFont(), Color(0xFF000000),
                                  DT_LEFT | DT_WORDBREAK);
        return 0;
    }
    if (msg == WM_NCDESTROY && hwnd == m_hwnd) {
        m_hwnd = nullptr;
    }
    return Platform::Current().DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace Quorl
