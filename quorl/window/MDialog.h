#pragma once

#include "quorl/core/MControl.h"
#include "quorl/core/MObject.h"
#include "quorl/paint/PaintManager.h"
#include "quorl/window/MWindow.h"

namespace Quorl {

// A borderless toolkit window with a paint manager and a control tree. Its MObject side is
// the parent of every top-level control: notifications end in OnMessage.
class MDialog : public MWindow, public MObject {
public:
    MDialog();
    ~MDialog() override;

    // ---- MObject ----
    const wchar_t* GetClassNameW() override { return L"MDialog"; }
    LONG OnBaseMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
    LONG OnControlUpdate(CRect rect, BOOL update, MControl* control) override;

    // ---- MWindow ----
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnDestroyMessage(HWND hwnd) override;

    // The bubble's anchor below the control: x at its left (type 0), centre (1) or right (2).
    virtual POINT GetAirBladderPoint(MControl* control, UINT type);
    virtual void OnMinimize();
    virtual void OnMaximize();
    virtual void InitUI(CRect) {}
    virtual void UISize(CRect) {}
    virtual LRESULT OnMessage(UINT, UINT, UINT, LONG) { return 0; }
    // Turns the closing request into WM_CLOSE with the same result.
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCreate() { return 1; }
    virtual BOOL OnSize(UINT type, int cx, int cy);
    virtual BOOL OnMouseMove(UINT, CPoint) { return 0; }
    virtual BOOL OnMouseLeave() { return 0; }
    virtual BOOL OnMouseHover(UINT, CPoint) { return 0; }
    virtual BOOL OnMouseWheel(UINT, short, CPoint) { return 0; }
    virtual BOOL OnLButtonDown(UINT, CPoint) { return 0; }
    virtual BOOL OnLButtonUp(UINT, CPoint) { return 0; }
    virtual BOOL OnLButtonDblClk(UINT, CPoint) { return 0; }
    virtual BOOL OnRButtonDown(UINT, CPoint) { return 0; }
    virtual BOOL OnRButtonUp(UINT, CPoint) { return 0; }
    virtual BOOL OnRButtonDblClk(UINT, CPoint) { return 0; }
    virtual BOOL OnKeyDown(UINT, UINT, UINT) { return 0; }
    virtual BOOL OnNcActivate(BOOL) { return 0; }
    virtual BOOL OnWindowPosChanging() { return 1; }
    virtual BOOL OnWindowPosChanged() { return 1; }
    virtual BOOL OnPaint() { return 0; }
    virtual void OnTimer(UINT) {}
    virtual BOOL OnClose() { return 1; }
    virtual BOOL OnDestroy() { return 0; }
    virtual BOOL PostNcDestroy() { return 0; }

    MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* text,
                            int flag1, int flag2);
    MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* text,
                         int flag1, int flag2);
    MControl* GetControl(UINT id) { return m_manager.GetControl(id); }
    std::vector<MControl*>& GetControls() { return m_manager.GetControls(); }
    void SetFocusControl(MControl* control) { m_manager.SetFocusControl(control); }
    BOOL LoadBKImage(CString file) { return m_manager.LoadBKImage(file); }
    BOOL LoadBKImage(UINT id, CString type) { return m_manager.LoadBKImage(id, type); }
    void SetBackMode(enumBackMode mode, int frame) { m_manager.SetBackMode(mode, frame); }
    void SetBackColor(DWORD fill, DWORD border) { m_manager.SetBackColor(fill, border); }
    void SetLayeredWindow(BOOL layered) { m_manager.SetLayeredWindow(layered); }
    void EnableWndDrag(BOOL enable) { m_manager.EnableWndDrag(enable); }
    void SetCaptionRect(CRect rect) { m_manager.SetCaptionRect(rect); }
    void SetScrollResID(UINT v, UINT h) { m_manager.SetScrollResID(v, h); }
    UINT SetMTimer(UINT elapseMs) { return m_manager.SetMTimer(elapseMs); }
    void KillMTimer(UINT id) { m_manager.KillMTimer(id); }
    void SetMessage(CString text, CRect rect, int fontSize) {
        m_manager.SetMessage(text, rect, fontSize);
    }
    void SetProgress(int percent, CString text, CRect rect) {
        m_manager.SetProgress(percent, text, rect);
    }
    void SetTooltip(CString text, CRect rect) { m_manager.SetTooltip(text, rect); }
    void ClearTooltip() { m_manager.ClearTooltip(); }
    void SetTooltipCtrlID(int id) { m_manager.SetTooltipCtrlID(id); }
    int GetTooltipCtrlID() const { return m_manager.GetTooltipCtrlID(); }
    // 0, and nothing shown, when either coordinate is 0.
    BOOL SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type);
    void SetAlpha(BYTE alpha) { m_alpha = alpha; }
    void SetColorKey(COLORREF key) { m_colorKey = key; }
    void SetupBackTranslucent();
    void CreateShadow(BOOL show, bool = false) { m_manager.CreateShadow(show); }
    void SetShadowShow(BOOL show) { m_manager.SetShadowShow(show); }
    BOOL SetSize(int size) { return m_manager.SetSize(size); }
    BOOL SetSharpness(UINT sharpness) { return m_manager.SetSharpness(sharpness); }
    BOOL SetDarkness(UINT darkness) { return m_manager.SetDarkness(darkness); }
    BOOL SetPosition(int x, int y) { return m_manager.SetPosition(x, y); }
    BOOL SetShadowColor(DWORD colour) { return m_manager.SetShadowColor(colour); }
    BOOL SetShadowImage(const wchar_t* file, CRect corner) {
        return m_manager.SetShadowImage(file, corner);
    }
    BOOL SetShadowImage(UINT resourceId, CRect corner) {
        return m_manager.SetShadowImage(resourceId, corner);
    }

    void DoOK() { PostMessageW(WM_USERCLOSE, IDOK, 0); }
    void DoCancel() { PostMessageW(WM_USERCLOSE, IDCANCEL, 0); }
    void DoClose() { PostMessageW(WM_USERCLOSE, IDCANCEL, 0); }
    void DoYes() { PostMessageW(WM_USERCLOSE, IDYES, 0); }
    void DoNo() { PostMessageW(WM_USERCLOSE, IDNO, 0); }

    PaintManager& GetPaintManager() { return m_manager; }

protected:
    PaintManager m_manager;
    COLORREF m_colorKey = 0xFFFFFF;
    int m_alpha = 255;
    int m_tooltipOwner = 0;
    CRect m_client;
};

}  // namespace Quorl
