#include "quorl/window/MenuWnd.h"

namespace Quorl {

MenuWnd::MenuWnd(MObject* parent) : MPopupWnd(parent) {
    m_colorKey = 0xFFFFFF;
}

HWND MenuWnd::Create(HWND owner, CPoint pt, UINT notifyMsg) {
    return Create(owner, pt, notifyMsg, m_width);
}

HWND MenuWnd::Create(HWND owner, CPoint pt, UINT notifyMsg, int width) {
    m_notifyMsg = notifyMsg;
    m_owner = owner;
    m_point = pt;
    m_width = width > 0 ? width : m_width;
    m_manager.SetBackColor(0xFFFFFF, 0xE6E6E6);
    return MWindow::Create(owner, L"Menu Window", WS_POPUP, WS_EX_TOPMOST,
                           CRect(pt.x, pt.y, pt.x + m_width, pt.y + m_width));
}

HWND MenuWnd::Create(HWND owner, CPoint pt, UINT notifyMsg, CString backImage, int flag, int frame,
                     enumBackMode mode) {
    m_notifyMsg = notifyMsg;
    m_owner = owner;
    m_point = pt;
    // The light colours stay behind in case the image is missing: titles are near-black.
    m_manager.SetBackColor(0xFFFFFF, 0xE6E6E6);
    m_manager.LoadBKImage(backImage);
    m_manager.SetBackMode(mode, frame);
    m_manager.SetLayeredWindow(flag != 0);
    return MWindow::Create(owner, L"Menu Window", WS_POPUP,
                           WS_EX_TOPMOST | (flag ? WS_EX_LAYERED : 0),
                           CRect(pt.x, pt.y, pt.x + m_width, pt.y + m_width));
}

BOOL MenuWnd::SetHoverImage(CString file, int frameWidth) {
    ImgResInfo* image = m_manager.GetResources().AddImgResInfo(file, 1);
    if (!image) {
        return 0;
    }
    m_hoverImage = image;
    m_hoverFrameWidth = frameWidth;
    SetMenuPoint();
    return 1;
}

BOOL MenuWnd::SetItemBkImage(CString file) {
    ImgResInfo* image = m_manager.GetResources().AddImgResInfo(file, 1);
    if (!image) {
        return 0;
    }
    m_itemBkImage = image;
    SetMenuPoint();
    return 1;
}

void MenuWnd::SetHoverColor(ARGB colour) {
    m_hoverColor = colour;
    SetMenuPoint();
}

MenuItem* MenuWnd::NewItem(const CString& title, UINT id) {
    auto* item = dynamic_cast<MenuItem*>(
        m_manager.CreateControl(1, this, L"MenuItem", id, CRect(), title, 1, 1));
    if (item) {
        item->SetFont(m_fontName, m_fontSize, m_fontStyle);
        item->SetTextIndent(m_textIndent);
        item->SetHoverColor(m_hoverColor);
    }
    return item;
}

MenuItem* MenuWnd::Item(UINT id) {
    return dynamic_cast<MenuItem*>(m_manager.GetControl(id));
}

int MenuWnd::AddMenu(CString title, UINT id, CString iconFile, int, int) {
    if (MenuItem* item = NewItem(title, id)) {
        if (!iconFile.IsEmpty()) {
            item->SetImage(iconFile, 4);
        }
        SetMenuPoint();
    }
    return -1;
}

int MenuWnd::AddMenu(CString title, UINT id, int iconResourceId, int, int) {
    if (MenuItem* item = NewItem(title, id)) {
        if (iconResourceId != -1) {
            item->SetImage(static_cast<UINT>(iconResourceId), L"PNG", 4);
        }
        SetMenuPoint();
    }
    return -1;
}

int MenuWnd::AddSeparator(UINT id, CString image) {
    if (MenuItem* item = NewItem(CString(), id)) {
        item->SetSeparator(TRUE);
        item->SetImageCount(1);
        if (!image.IsEmpty()) {
            item->SetBkImage(m_manager.GetResources().AddImgResInfo(image, 1));
        }
        SetMenuPoint();
    }
    return -1;
}

void MenuWnd::SetItemTitle(UINT id, CString title) {
    if (MenuItem* item = Item(id)) {
        item->SetTitle(title);
    }
}

void MenuWnd::SetItemVisible(UINT id, BOOL visible) {
    if (MenuItem* item = Item(id)) {
        item->SetVisible(visible);
        SetMenuPoint();
    }
}

void MenuWnd::SetItemEnable(UINT id, BOOL enabled) {
    if (MenuItem* item = Item(id)) {
        item->SetEnabled(enabled);
    }
}

void MenuWnd::SetItemCheck(UINT id, BOOL check) {
    if (MenuItem* item = Item(id)) {
        item->SetCheck(check);
    }
}

void MenuWnd::SetMenuPoint() {
    int y = m_topMargin > 0 ? m_topMargin : 2;
    for (MControl* c : m_manager.GetControls()) {
        auto* item = dynamic_cast<MenuItem*>(c);
        if (!item) {
            continue;
        }
        if (!item->IsVisible()) {
            item->SetControlRect(CRect());
        } else if (item->IsSeparator()) {
            item->SetControlRect(CRect(m_textIndent + 1, y + 1, m_width - 1, y + 2));
            y += 4;
        } else {
            item->SetControlRect(CRect(2, y, m_width - 2, y + m_itemHeight));
            y += m_itemHeight;
        }
        if (!item->IsSeparator()) {
            item->SetTextIndent(m_textIndent);
            item->SetHoverColor(m_hoverColor);
            item->SetHoverImage(m_hoverImage, m_hoverFrameWidth);
            item->SetBkImage(m_itemBkImage);
        }
        item->SetUpdate(FALSE, 0);
    }
    const int height = y + (m_bottomMargin > 0 ? m_bottomMargin : 2);
    if (IsWindow()) {
        const CRect r = GetWindowRect();
        MoveWindow(CRect(r.left, r.top, r.left + m_width, r.top + height));
        m_manager.Invalidate();
    }
}

LONG MenuWnd::OnBaseMessage(UINT controlId, UINT code, UINT wParam, LONG) {
    if (m_owner) {
        Platform::Current().PostMessage(m_owner, m_notifyMsg, wParam, controlId);
    }
    if (code == NOTIFY_CLICKED) {
        CloseWindow();
    }
    return 1;
}

}  // namespace Quorl
