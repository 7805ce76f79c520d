#pragma once

#include "quorl/core/CString.h"
#include "quorl/core/Color.h"
#include "quorl/core/Geometry.h"
#include "quorl/platform/Platform.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Image.h"

namespace Quorl {

class PaintManager;

// A soft shadow behind a window: a layered pop-up kept just below its parent, redrawn when the
// parent moves, resizes, shows or hides. It is either blurred from the parent's outline or,
// once an image is set, that image drawn as a nine-part frame around the parent. Setters
// reject values out of range with 0.
class MShadow : public WindowProc {
public:
    static constexpr int kLimit = 35;

    MShadow() = default;
    ~MShadow() override;
    MShadow(const MShadow&) = delete;
    MShadow& operator=(const MShadow&) = delete;

    // Creates the shadow window when showing is on; the parent's messages must then reach
    // OnParentMessage.
    void Create(PaintManager* parent);
    void OnParentMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    void ShowShadow(BOOL show) { m_show = show; }
    BOOL IsShowShadow() const { return m_show; }
    void DisableShadow(BOOL disable);
    BOOL IsDisableShadow() const { return m_disable; }
    BOOL SetSize(int size);
    BOOL SetSharpness(UINT sharpness);
    BOOL SetDarkness(UINT darkness);
    BOOL SetPosition(int x, int y);
    BOOL SetColor(DWORD colour);
    // A skin image (or a "PNG" resource of the application) switches to image mode; 0 and
    // nothing changed when it cannot be loaded.
    BOOL SetImage(const wchar_t* file);
    BOOL SetImage(UINT resourceId);
    // The image's margins, which are also how far the shadow reaches out from the parent;
    // 0 when any is negative.
    BOOL SetShadowCorner(const RECT& corner);
    // Takes over every setting of another shadow, its image included.
    void CopyShadow(const MShadow* other);
    BOOL IsImageMode() const { return m_imageMode; }
    CRect GetShadowCorner() const { return m_corner; }
    // Where the image-mode shadow lies for a parent at the given screen rect.
    CRect ImageShadowRect(const CRect& parent) const;
    int GetSize() const { return m_size; }
    int GetSharpness() const { return m_sharpness; }
    int GetDarkness() const { return m_darkness; }
    CPoint GetPosition() const { return {m_xOffset, m_yOffset}; }
    HWND GetHwnd() const { return m_hwnd; }

    // The alpha of the blur at distance d from the eroded outline.
    static int KernelValue(int size, int sharpness, int darkness, double d);
    // The shadow of a parent of w x h; origin receives where its top-left lies relative to
    // the parent's top-left.
    static Bitmap MakeShadow(int w, int h, int size, int sharpness, int darkness, COLORREF colour,
                             int xOffset, int yOffset, POINT& origin);

    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Update();
    BOOL TakeImage(std::unique_ptr<Image> image, const CString& path, UINT resourceId);

    PaintManager* m_parent = nullptr;
    HWND m_hwnd = nullptr;
    BOOL m_show = 0;
    BOOL m_disable = 0;
    int m_darkness = 150;
    int m_sharpness = 5;
    int m_size = 0;
    int m_xOffset = 5;
    int m_yOffset = 5;
    COLORREF m_colour = 0;
    BOOL m_imageMode = 0;
    std::unique_ptr<Image> m_image;
    CString m_imagePath;
    UINT m_imageResource = 0;
    CRect m_corner{-1, -1, -1, -1};
};

}  // namespace Quorl
