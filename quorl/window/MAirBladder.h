#pragma once

#include "quorl/core/CString.h"
#include "quorl/core/Geometry.h"
#include "quorl/platform/Platform.h"
#include "quorl/render/WindowResources.h"

namespace Quorl {

// The tooltip bubble: a layered pop-up with a text beside an anchor point. Types 1 to 5 place
// it around the anchor; every type but 4 hides itself after 5 seconds.
class MAirBladder : public WindowProc {
public:
    static constexpr UINT kHideTimer = 10;
    static constexpr UINT kHideMs = 5000;
    static constexpr int kLineHeight = 18;

    explicit MAirBladder(HWND owner);
    ~MAirBladder() override;
    MAirBladder(const MAirBladder&) = delete;
    MAirBladder& operator=(const MAirBladder&) = delete;

    // 1 and nothing done when all four are unchanged; otherwise refits (and restarts the
    // hide timer unless the type is 4).
    BOOL SetMessage(const CString& text, POINT anchor, int type, int mode);
    void Show(BOOL show);
    BOOL IsShown() const;
    // Window rect (screen) for a text of the given extent, by the placement rules.
    static CRect FitRect(int type, POINT anchor, CSize text, int lines, int length);
    CRect GetFitRect() const { return m_rect; }
    int GetRefitCount() const { return m_refits; }
    HWND GetHwnd() const { return m_hwnd; }

    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Refit();
    void Push();

    HWND m_owner = nullptr;
    HWND m_hwnd = nullptr;
    CString m_text;
    POINT m_anchor{};
    int m_type = 1;
    int m_mode = 3;
    CRect m_rect;
    int m_refits = 0;
    bool m_wrap = false;
    bool m_set = false;
    WindowResources m_resources;
};

}  // namespace Quorl
