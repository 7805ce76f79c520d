#pragma once

#include <memory>

#include "quorl/render/Image.h"
#include "quorl/window/MWindow.h"

namespace Quorl {

// A splash window: the busy animation and the logo from the skin folder, animated by timer
// 100 every 18 ms.
class LoadingWnd : public MWindow {
public:
    static constexpr UINT kAnimationTimer = 100;

    LoadingWnd() = default;
    ~LoadingWnd() override;

    HWND CreateDlg(HWND parent, CRect rect);
    BOOL OnInitDialog() override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int GetFrameCount() const { return m_gif ? m_gif->GetFrameCount() : 0; }
    int GetCurrentFrame() const { return m_frame; }

private:
    CString m_fontName = L"Arial";
    std::unique_ptr<Image> m_gif;
    std::unique_ptr<Image> m_logo;
    std::unique_ptr<Image> m_close;
    int m_frame = 0;
};

}  // namespace Quorl
