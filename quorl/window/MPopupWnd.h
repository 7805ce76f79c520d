#pragma once

#include "quorl/window/MDialog.h"

namespace Quorl {

// A pop-up opened by a control: no window dragging, and it closes itself when it loses the
// activation.
class MPopupWnd : public MDialog {
public:
    explicit MPopupWnd(MObject* parent = nullptr) : m_parentObject(parent) {
        m_colorKey = 0xF1F1F1;
    }

    BOOL OnInitDialog() override;
    BOOL OnNcActivate(BOOL active) override;

    HWND CreatePopup(HWND owner, const wchar_t* title, CRect screenRect);
    // Rounded corners of the given diameter (0 removes them).
    void SetupRegion(int diameter);
    // The control that opened the pop-up gets OnMessage(0, code, wParam, lParam).
    LRESULT SendMessageToParent(UINT code, UINT wParam, LONG lParam);
    MObject* GetParent() const { return m_parentObject; }
    void SetParent(MObject* parent) { m_parentObject = parent; }
    void CloseWindow() { PostMessageW(WM_CLOSE, 0, 0); }

protected:
    MObject* m_parentObject = nullptr;
};

}  // namespace Quorl
