#include "quorl/window/MenuItem.h"

#include <algorithm>

#include "quorl/render/Canvas.h"
#include "quorl/render/Image.h"
#include "quorl/render/WindowResources.h"

namespace Quorl {

MenuItem::MenuItem(MObject* parent, UINT id, CRect rect, const wchar_t* title, BOOL visible,
                   BOOL enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, TRUE) {
    m_hAlign = 1;
    m_vAlign = 4;
    m_stateCount = 3;
    m_state = enabled ? Normal : Disabled;
}

void MenuItem::SetState(int state) {
    if (state != m_state) {
        m_state = state;
        UpdateControl(TRUE);
    }
}

void MenuItem::SetCheck(BOOL check) {
    if (check != m_check) {
        m_check = check;
        UpdateControl(TRUE);
    }
}

void MenuItem::SetHoverImage(ImgResInfo* image, int frameWidth) {
    if (image != m_hoverImage || frameWidth != m_itemFrameWidth) {
        m_hoverImage = image;
        m_itemFrameWidth = std::max(frameWidth, 0);
        UpdateControl(TRUE);
    }
}

void MenuItem::SetBkImage(ImgResInfo* image) {
    if (image != m_bkImage) {
        m_bkImage = image;
        UpdateControl(TRUE);
    }
}

void MenuItem::SetControlEnabled(BOOL enabled) {
    MControlFont::SetControlEnabled(enabled);
    m_state = enabled ? Normal : Disabled;
}

void MenuItem::DrawControl(Canvas& target, CRect) {
    if (m_rect.IsRectEmpty()) {
        return;
    }
    if (!GetUpdate()) {
        UpdateMemDC(target, m_rect.Width(), m_rect.Height());
        if (Bitmap* below = target.GetBitmap()) {
            m_memBitmap.CopyFrom(*below, m_rect, 0, 0);
        }
        Canvas c(m_memBitmap);
        const CRect all = m_memBitmap.Bounds();
        if (m_bkImage && m_bkImage->GetImage()) {
            c.DrawImage(m_bkImage->GetImage()->GetBitmap(), all);
        } else if (m_separator) {
            c.FillRect(all, Color(0xFFE6E6E6));
        }
        if (!m_separator) {
            const bool lit = m_state == Hover || (m_state == Pressed && !m_checkable);
            if (lit && m_hoverImage && m_hoverImage->GetImage()) {
                const Bitmap& hover = m_hoverImage->GetImage()->GetBitmap();
                c.DrawImageNine(hover, all, hover.Bounds(), m_itemFrameWidth, 0, m_itemFrameWidth,
                                0);
            } else if (lit) {
                c.FillRect(all, Color(m_hoverColor));
            }
            CRect text = all;
            text.left += m_textIndent;
            if (m_image && m_image->GetImage()) {
                const int frame = std::min(m_state, m_stateCount - 1);
                const CRect src(frame * m_frameWidth, 0, (frame + 1) * m_frameWidth, m_frameHeight);
                const int top = (all.Height() - m_frameHeight) / 2;
                c.DrawImage(*m_image->GetImage(),
                            CRect(text.left, top, text.left + m_frameWidth, top + m_frameHeight),
                            src);
                text.left += m_frameWidth + m_textIndent;
            }
            const Color colour(m_state == Disabled ? 0xFF808080 : 0xFF050505);
            c.DrawText(m_title, text, GetGDIFont(), colour,
                       DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);
        }
    }
    target.CopyBitmap(m_memBitmap, m_memBitmap.Bounds(), m_rect.left, m_rect.top);
}

BOOL MenuItem::OnControlMouseMove(UINT, CPoint pt) {
    if (m_separator || !m_enabled) {
        return 0;
    }
    const bool inside = m_rect.PtInRect(pt);
    if (m_state != Pressed || !inside) {
        SetState(inside ? Hover : Normal);
    }
    return inside;
}

BOOL MenuItem::OnControlLButtonDown(UINT, CPoint pt) {
    if (m_separator || !m_enabled || !m_rect.PtInRect(pt)) {
        return 0;
    }
    SetState(Pressed);
    return 1;
}

BOOL MenuItem::OnControlLButtonUp(UINT, CPoint pt) {
    if (m_separator || !m_enabled) {
        return 0;
    }
    const bool inside = m_rect.PtInRect(pt);
    const bool wasPressed = m_state == Pressed;
    SetState(inside ? Hover : Normal);
    if (inside && wasPressed) {
        if (m_checkable) {
            m_check = !m_check;
        }
        SendMessageW(NOTIFY_CLICKED, 0, 0);
        return 1;
    }
    return 0;
}

}  // namespace Quorl
