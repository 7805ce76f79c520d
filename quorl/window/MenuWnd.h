#pragma once

#include "quorl/window/MPopupWnd.h"
#include "quorl/window/MenuItem.h"

namespace Quorl {

// A pop-up menu. Each item notification is posted to the owner window as the notification
// message with the item id in lParam; a click also closes the menu. Losing the activation
// closes it without a message.
class MenuWnd : public MPopupWnd {
public:
    explicit MenuWnd(MObject* parent = nullptr);

    HWND Create(HWND owner, CPoint pt, UINT notifyMsg);
    HWND Create(HWND owner, CPoint pt, UINT notifyMsg, int width);
    // A menu drawn on a background image (mode and frame as SetBackMode); layered when flag
    // is not 0, so the image's transparent corners show what lies behind.
    HWND Create(HWND owner, CPoint pt, UINT notifyMsg, CString backImage, int flag, int frame,
                enumBackMode mode);
    // -1, as the callers expect; the item is found with GetControl(id).
    int AddMenu(CString title, UINT id, CString iconFile, int, int);
    int AddMenu(CString title, UINT id, int iconResourceId, int, int);
    // The image, when given, is drawn over the separator's line.
    int AddSeparator(UINT id, CString image);
    void SetItemTitle(UINT id, CString title);
    void SetItemVisible(UINT id, BOOL visible);
    void SetItemEnable(UINT id, BOOL enabled);
    void SetItemCheck(UINT id, BOOL check);
    // Skin images every item gets: the hover image replaces the hover colour, its left and
    // right frameWidth pixels unscaled; the background image lies under every item. 0 and
    // nothing changed when the file cannot be loaded.
    BOOL SetHoverImage(CString file, int frameWidth);
    BOOL SetItemBkImage(CString file);
    void SetHoverColor(ARGB colour);
    // Lays the items out top to bottom and sets the window height.
    void SetMenuPoint();
    int GetMenuWidth() const { return m_width; }

    LONG OnBaseMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;

private:
    MenuItem* NewItem(const CString& title, UINT id);
    MenuItem* Item(UINT id);

    UINT m_notifyMsg = 0;
    CString m_fontName = L"Arial";
    int m_fontSize = 12;
    int m_fontStyle = 0;
    int m_textIndent = 5;
    int m_itemHeight = 25;
    int m_width = 300;
    int m_topMargin = 6;
    int m_bottomMargin = 6;
    int m_rightMargin = 6;
    ARGB m_hoverColor = 0xFFDCDCDC;
    ImgResInfo* m_hoverImage = nullptr;
    int m_hoverFrameWidth = 0;
    ImgResInfo* m_itemBkImage = nullptr;
    HWND m_owner = nullptr;
    CPoint m_point;
};

}  // namespace Quorl
