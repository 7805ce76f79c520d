#pragma once

#include "quorl/core/BaseTypes.h"
#include "quorl/core/Geometry.h"
#include "quorl/platform/Platform.h"

namespace Quorl {

// Style bits the toolkit's windows are created with.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_LAYERED = 0x00080000;

// A native window bound to an object: its messages go to OnWindowMessage, which passes what
// it does not handle to the platform's default procedure. Every wrapper does nothing and
// answers 0 when the window does not exist.
class MWindow : public WindowProc {
public:
    MWindow() = default;
    ~MWindow() override;
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    virtual const wchar_t* GetWindowClassName() { return L"MWindow"; }
    virtual const wchar_t* GetSuperClassName() { return nullptr; }
    virtual BOOL ShowWindow(int cmdShow);
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG*) { return 0; }
    virtual BOOL OnInitDialog() { return 1; }
    // After WM_NCDESTROY, with the handle already cleared.
    virtual void OnDestroyMessage(HWND) {}

    HWND Create(HWND parent);
    HWND Create(HWND parent, CRect rect);
    // Style bits: WS_POPUP makes a pop-up, WS_VISIBLE shows it; WS_EX_TOOLWINDOW a tool
    // window, WS_EX_LAYERED per-pixel alpha, WS_EX_TOPMOST keeps it above.
    HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, CRect rect);

    HWND GetSafeHwnd() const { return m_hwnd; }
    HWND GetParentHwnd() const { return m_parent; }
    BOOL IsWindow() const;
    // Shows the window and runs a nested loop until it is gone; the result carried by the
    // last WM_CLOSE, or 0xFFFFFFFF when the window does not exist.
    UINT ShowModal(int cmdShow = SW_SHOW);
    BOOL DestroyWindow();
    // Centres on the reference (else the owner), or on the work area; stays inside it.
    void CenterWindow(MWindow* reference = nullptr);
    void BringToTop();
    // The window's icons from the application's icon resource ("ICO" id) at the large and
    // small sizes; 0 when the window or the resource is missing or not an icon.
    BOOL SetIcon(UINT resourceId);
    CRect GetClientRect() const;
    CRect GetWindowRect() const;
    BOOL SetWindowTextW(const wchar_t* text);
    std::wstring GetWindowTextW() const;
    int GetWindowTextLengthW() const { return static_cast<int>(GetWindowTextW().size()); }
    BOOL EnableWindow(BOOL enable);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL InvalidateRect(CRect rect, BOOL erase);
    HWND SetCapture();
    BOOL ReleaseCapture();
    HWND SetFocus();
    BOOL SetTimer(UINT id, UINT elapseMs);
    BOOL KillTimer(UINT id);
    BOOL ClientToScreen(POINT& pt) const;
    BOOL ScreenToClient(POINT& pt) const;
    BOOL MoveWindow(CRect screenRect, BOOL repaint = TRUE);
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);

    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    HWND m_parent = nullptr;
    HWND m_hwnd = nullptr;
};

}  // namespace Quorl
