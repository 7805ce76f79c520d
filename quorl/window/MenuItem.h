#pragma once

#include "quorl/core/MControlFont.h"

namespace Quorl {

class MenuWnd;

// One line of a pop-up menu: hover and pressed frames, a title from the text indent, and a
// click notification (2) when the press is released inside. The background image fills every
// state; hover and press (unless checkable) add the hover image, its left and right margins of
// the frame width kept unscaled, or else a fill of the hover colour. A separator draws its
// background image, or a grey line.
class MenuItem : public MControlFont {
public:
    enum State { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

    MenuItem(MObject* parent, UINT id, CRect rect, const wchar_t* title, BOOL visible,
             BOOL enabled);

    const wchar_t* GetClassNameW() override { return L"MenuItem"; }
    void DrawControl(Canvas& target, CRect clip) override;
    BOOL OnControlMouseMove(UINT flags, CPoint pt) override;
    BOOL OnControlLButtonDown(UINT flags, CPoint pt) override;
    BOOL OnControlLButtonUp(UINT flags, CPoint pt) override;
    void SetControlEnabled(BOOL enabled) override;

    void SetSeparator(BOOL separator) { m_separator = separator; }
    BOOL IsSeparator() const { return m_separator; }
    void SetCheckable(BOOL checkable) { m_checkable = checkable; }
    void SetCheck(BOOL check);
    BOOL GetCheck() const { return m_check; }
    void SetTextIndent(int indent) { m_textIndent = indent; }
    void SetHoverColor(ARGB colour) { m_hoverColor = colour; }
    // Images of the menu's image cache (not owned); null removes them.
    void SetHoverImage(ImgResInfo* image, int frameWidth);
    void SetBkImage(ImgResInfo* image);
    int GetState() const { return m_state; }
    void SetValue(const CString& value) { m_value = value; }
    CString GetValue() const { return m_value; }
    void SetGroupName(const CString& name) { m_group = name; }

private:
    void SetState(int state);

    int m_state = Normal;
    BOOL m_check = 0;
    BOOL m_separator = 0;
    BOOL m_checkable = 0;
    int m_textIndent = 5;
    int m_itemFrameWidth = 0;
    ARGB m_hoverColor = 0xDCDCDCDC;
    ImgResInfo* m_hoverImage = nullptr;
    ImgResInfo* m_bkImage = nullptr;
    CString m_group = L"Menu Group";
    CString m_value;
    MenuWnd* m_popup = nullptr;
};

}  // namespace Quorl
