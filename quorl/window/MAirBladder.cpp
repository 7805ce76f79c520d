#include "quorl/window/MAirBladder.h"

#include <algorithm>

#include "quorl/render/Bitmap.h"
#include "quorl/render/Canvas.h"
#include "quorl/render/Image.h"
#include "quorl/render/Manager.h"

namespace Quorl {

namespace {

constexpr int kBodyCorner = 6;
constexpr UINT kBubbleFontResource = 106;

}  // namespace

Font MAirBladder::BubbleFont() {
    // The toolkit's own face, private to the bubble; the default face when it cannot load.
    if (!m_fontLoaded) {
        m_fontLoaded = true;
        if (m_resources.AddTempFont(L"AirBladder", kBubbleFontResource)) {
            if (FontFamily* family = m_resources.FindTempFont(L"AirBladder")) {
                m_fontFamily = family->GetFamilyName();
            }
        }
    }
    return Font(m_fontFamily.IsEmpty() ? Manager::GetFontName() : m_fontFamily, 14);
}

MAirBladder::ArrowSide MAirBladder::ArrowSideOf(int type) {
    switch (type) {
        case 1:
        case 3:
            return ArrowTop;
        case 2:
            return ArrowRight;
        case 5:
            return ArrowLeft;
        default:
            return ArrowNone;
    }
}

MAirBladder::Layout MAirBladder::LayoutFor(ArrowSide side, CSize window, POINT a, CSize arrow) {
    Layout l;
    l.body = CRect(0, 0, window.cx - 1, window.cy - 1);
    if (side == ArrowNone || arrow.cx <= 0 || arrow.cy <= 0) {
        return l;
    }
    // Along its edge the arrow centres on the anchor, kept clear of the body's corners.
    auto along = [](int centre, int size, int from, int to) {
        return std::max(from, std::min(centre - size / 2, to - size));
    };
    switch (side) {
        case ArrowLeft: {
            l.body.left = arrow.cx - 1;
            const int y = along(a.y, arrow.cy, kBodyCorner, l.body.bottom - kBodyCorner);
            l.arrow = CRect(0, y, arrow.cx, y + arrow.cy);
            break;
        }
        case ArrowRight: {
            l.body.right -= arrow.cx - 1;
            const int y = along(a.y, arrow.cy, kBodyCorner, l.body.bottom - kBodyCorner);
            l.arrow = CRect(l.body.right - 1, y, l.body.right - 1 + arrow.cx, y + arrow.cy);
            break;
        }
        case ArrowTop: {
            l.body.top = arrow.cy - 1;
            const int x = along(a.x, arrow.cx, kBodyCorner, l.body.right - kBodyCorner);
            l.arrow = CRect(x, 0, x + arrow.cx, arrow.cy);
            break;
        }
        default:
            break;
    }
    return l;
}

MAirBladder::MAirBladder(HWND owner) : m_owner(owner) {}

MAirBladder::~MAirBladder() {
    if (m_hwnd) {
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        Platform::Current().DestroyWindow(hwnd);
    }
}

CRect MAirBladder::FitRect(int type, POINT a, CSize text, int lines, int length) {
    const int w = text.cx;
    const int h = std::max(lines, 1) * kLineHeight;
    switch (type) {
        case 1: {
            CRect r(a.x, a.y, a.x + w + 40, a.y + h + 20);
            if (lines <= 1 && length > 100) {
                r.right = a.x + w / 3 + 40;
                r.bottom = a.y + 3 * h + 20;
            } else if (lines <= 1 && length > 40) {
                r.right = a.x + w / 2 + 40;
                r.bottom = a.y + 2 * h + 20;
            } else if (lines == 2 && length > 100) {
                r.right = a.x + w / 3 + 40;
                r.bottom = a.y + h + 60;
            }
            return r;
        }
        case 2:
            return CRect(a.x - w - 40, a.y - 27, a.x, a.y + h - 7);
        case 3:
            return CRect(a.x - 25, a.y, a.x + w + 15, a.y + h + 30);
        case 4:
            return CRect(a.x - (w + 30) / 2, a.y - h - 20, a.x - (w + 30) / 2 + w + 30, a.y);
        case 5: {
            // The rule's bottom lies above the top for fewer than four lines and never leaves
            // room for the text: keep at least the height the other types give.
            const int bottom = a.y + (lines - 2) * kLineHeight - 45;
            return CRect(a.x, a.y - 10, a.x + w + 40, std::max(bottom, a.y - 10 + h + 20));
        }
        default:
            return CRect();
    }
}

BOOL MAirBladder::SetMessage(const CString& text, POINT anchor, int type, int mode) {
    if (m_set && text == m_text && anchor.x == m_anchor.x && anchor.y == m_anchor.y &&
        type == m_type && mode == m_mode) {
        return 1;
    }
    m_set = true;
    m_text = text;
    m_anchor = anchor;
    m_type = type;
    m_mode = mode;
    Refit();
    Platform& p = Platform::Current();
    if (m_hwnd) {
        p.KillTimer(m_hwnd, kHideTimer);
        if (type != 4) {
            p.SetTimer(m_hwnd, kHideTimer, kHideMs);
        }
    }
    return 1;
}

void MAirBladder::Refit() {
    ++m_refits;
    Bitmap scratch(1, 1);
    Canvas measure(scratch);
    const CSize size = measure.MeasureText(m_text, BubbleFont(), DT_SINGLELINE);
    const int lines = 1 + static_cast<int>(std::count(m_text.begin(), m_text.end(), L'\n'));
    m_rect = FitRect(m_type, m_anchor, size, lines, m_text.GetLength());
    m_wrap = m_type == 1 && m_text.GetLength() > 40;
    Platform& p = Platform::Current();
    if (m_rect.IsRectEmpty()) {
        if (m_hwnd) {
            p.ShowWindow(m_hwnd, SW_HIDE);
        }
        return;
    }
    if (!m_hwnd || !p.IsWindow(m_hwnd)) {
        WindowDesc desc;
        desc.kind = WindowKind::Popup;
        desc.owner = m_owner;
        desc.title = L"AirBladder Window";
        desc.rect = m_rect;
        desc.layered = true;
        desc.keepAbove = true;
        m_hwnd = p.CreateWindow(desc, this);
        LoadImages();
    } else {
        p.MoveWindow(m_hwnd, m_rect, TRUE);
    }
    Push();
}

void MAirBladder::LoadImages() {
    if (m_background) {
        return;
    }
    m_background = m_resources.AddImgResInfo(L"img_tip_bk.png", 1);
    m_arrows[ArrowLeft] = m_resources.AddImgResInfo(L"img_tip_arrow_left.png", 1);
    m_arrows[ArrowRight] = m_resources.AddImgResInfo(L"img_tip_arrow_right.png", 1);
    m_arrows[ArrowTop] = m_resources.AddImgResInfo(L"img_tip_arrow_top.png", 1);
}

void MAirBladder::Push() {
    if (!m_hwnd) {
        return;
    }
    Bitmap surface(m_rect.Width(), m_rect.Height());
    if (!surface.IsValid()) {
        return;
    }
    {
        Canvas canvas(surface);
        const ArrowSide side = ArrowSideOf(m_type);
        const ImgResInfo* arrow = side == ArrowNone ? nullptr : m_arrows[side];
        const CSize arrowSize = arrow ? arrow->GetImage()->Size() : CSize();
        const POINT anchor{m_anchor.x - m_rect.left, m_anchor.y - m_rect.top};
        const Layout layout = LayoutFor(side, surface.Size(), anchor, arrowSize);
        if (m_background) {
            const Bitmap& bk = m_background->GetImage()->GetBitmap();
            canvas.DrawImageNine(bk, layout.body, bk.Bounds(), kBodyCorner);
        } else {
            canvas.FillRect(layout.body, Color(0xF0202020));
        }
        if (arrow && !layout.arrow.IsRectEmpty()) {
            canvas.DrawImage(arrow->GetImage()->GetBitmap(), layout.arrow);
        }
        CRect text = layout.body;
        text.left += 8;
        const bool centred = m_type == 4 || m_text.Find(L'\n') < 0;
        UINT format = DT_VCENTER | (centred ? DT_CENTER : DT_LEFT);
        format |= m_wrap ? DT_WORDBREAK : DT_SINGLELINE;
        canvas.DrawText(m_text, text, BubbleFont(), Color(0xFFFFFFFF), format);
    }
    POINT at{m_rect.left, m_rect.top};
    Platform::Current().UpdateLayeredWindow(m_hwnd, surface, &at);
}

void MAirBladder::Show(BOOL show) {
    if (!m_hwnd) {
        return;
    }
    Platform& p = Platform::Current();
    if (show && !m_rect.IsRectEmpty()) {
        p.ShowWindow(m_hwnd, SW_SHOWNA);
        Push();
    } else {
        p.ShowWindow(m_hwnd, SW_HIDE);
        p.KillTimer(m_hwnd, kHideTimer);
    }
}

BOOL MAirBladder::IsShown() const {
    return m_hwnd && Platform::Current().IsWindowVisible(m_hwnd);
}

LRESULT MAirBladder::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Platform& p = Platform::Current();
    switch (msg) {
        case WM_TIMER:
            if (wParam == kHideTimer) {
                p.KillTimer(hwnd, kHideTimer);
                p.ShowWindow(hwnd, SW_HIDE);
                return 0;
            }
            break;
        case WM_KILLFOCUS:
            if (m_type != 5) {
                p.KillTimer(hwnd, kHideTimer);
                p.ShowWindow(hwnd, SW_HIDE);
            }
            return 0;
        case WM_NCDESTROY:
            if (hwnd == m_hwnd) {
                m_hwnd = nullptr;
            }
            break;
        default:
            break;
    }
    return p.DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace Quorl
