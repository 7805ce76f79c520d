#pragma once

#include "quorl/window/MPopupWnd.h"

namespace Quorl {

// The drop-down of a combo box: a pop-up holding one list (id 88). A click in the list goes
// to the combo box as OnMessage(0, 2, ...); the combo box hears OnMessage(0, 22, 0, 0) when
// the pop-up is gone.
class CComboBoxWnd : public MPopupWnd {
public:
    static constexpr UINT kListId = 88;
    static constexpr UINT kClosedCode = 22;

    explicit CComboBoxWnd(MObject* parent) : MPopupWnd(parent) {}

    void InitUI(CRect client) override;
    LRESULT OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
    BOOL PostNcDestroy() override;
    // The list, once its class is built; null before.
    MControl* GetList() const { return m_list; }

private:
    MControl* m_list = nullptr;
};

}  // namespace Quorl
