#pragma once

#include "quorl/core/CString.h"
#include "quorl/core/Color.h"
#include "quorl/core/Geometry.h"
#include "quorl/platform/Platform.h"

namespace Quorl {

// The toolkit's own tooltip: a small pop-up below the pointer (or below the tool rect) with
// the text on a light background, wrapped at 256 pixels.
class TooltipWnd : public WindowProc {
public:
    static constexpr int kMaxWidth = 256;
    static constexpr COLORREF kBackground = 0xF5F5F5;

    explicit TooltipWnd(HWND owner);
    ~TooltipWnd() override;
    TooltipWnd(const TooltipWnd&) = delete;
    TooltipWnd& operator=(const TooltipWnd&) = delete;

    void SetText(const CString& text) { m_text = text; }
    const CString& GetText() const { return m_text; }
    // Client rect of the owner that the tip belongs to.
    void SetToolRect(const CRect& rect) { m_toolRect = rect; }
    // Shows the tip (when it has text) or hides it.
    void Activate(BOOL active);
    BOOL IsActive() const { return m_active; }
    HWND GetHwnd() const { return m_hwnd; }

    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_owner = nullptr;
    HWND m_hwnd = nullptr;
    CString m_text;
    CRect m_toolRect;
    BOOL m_active = 0;
};

}  // namespace Quorl
