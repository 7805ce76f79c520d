#pragma once

#include "quorl/core/CString.h"
#include "quorl/core/Geometry.h"
#include "quorl/platform/Platform.h"
#include "quorl/render/WindowResources.h"

namespace Quorl {

// The tooltip bubble: a layered pop-up with a text beside an anchor point. Types 1 to 5 place
// it around the anchor, and an arrow image on the side facing the anchor points at it (top for
// 1 and 3, right for 2, left for 5, none for 4, which sits centred above it). Every type but 4
// hides itself after 5 seconds.
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

    enum ArrowSide { ArrowNone, ArrowLeft, ArrowRight, ArrowTop };
    static ArrowSide ArrowSideOf(int type);
    // The bubble's body and its arrow inside a window of the given size; the arrow's base
    // overlaps the body's border by a pixel so the two join. No arrow: the whole window less
    // a pixel at the right and bottom, and an empty arrow rect.
    struct Layout {
        CRect body;
        CRect arrow;
    };
    static Layout LayoutFor(ArrowSide side, CSize window, POINT anchorInWindow, CSize arrow);
    CRect GetFitRect() const { return m_rect; }
    int GetRefitCount() const { return m_refits; }
    HWND GetHwnd() const { return m_hwnd; }

    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Refit();
    void Push();
    void LoadImages();
    Font BubbleFont();

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
    ImgResInfo* m_background = nullptr;
    ImgResInfo* m_arrows[4] = {};  // by ArrowSide
    CString m_fontFamily;
    bool m_fontLoaded = false;
};

}  // namespace Quorl
