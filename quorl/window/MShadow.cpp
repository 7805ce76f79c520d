#include "quorl/window/MShadow.h"

#include <algorithm>
#include <cmath>

#include "quorl/paint/PaintManager.h"
#include "quorl/render/Canvas.h"
#include "quorl/render/MRender.h"
#include "quorl/render/Manager.h"

namespace Quorl {

MShadow::~MShadow() {
    if (m_hwnd) {
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        Platform::Current().DestroyWindow(hwnd);
    }
}

int MShadow::KernelValue(int size, int sharpness, int darkness, double d) {
    const int solid = size - sharpness;
    const int radius = std::max(size, sharpness);
    if (d < solid) {
        return darkness;
    }
    if (d <= radius) {
        const double v = darkness * (1.0 - (d - solid) / (sharpness + 1.0));
        return std::clamp(static_cast<int>(std::lround(v)), 0, darkness);
    }
    return 0;
}

Bitmap MShadow::MakeShadow(int w, int h, int size, int sharpness, int darkness, COLORREF colour,
                           int xOffset, int yOffset, POINT& origin) {
    // The parent's outline is its rectangle; eroded by (size - sharpness), then dilated with
    // the kernel, which for a convex outline is the kernel of the distance to it.
    const int erode = size - sharpness;
    const int radius = std::max(size, sharpness);
    const CRect core(erode, erode, w - erode, h - erode);  // parent coordinates
    const int margin = radius + 1;
    const CRect box(core.left - margin, core.top - margin, core.right + margin,
                    core.bottom + margin);
    origin = {box.left + xOffset, box.top + yOffset};
    Bitmap shadow(std::max(box.Width(), 1), std::max(box.Height(), 1));
    if (!shadow.IsValid() || core.IsRectEmpty()) {
        return shadow;
    }
    std::uint32_t* bits = shadow.Bits();
    const int stride = shadow.Stride() / 4;
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    for (int y = 0; y < shadow.Height(); ++y) {
        for (int x = 0; x < shadow.Width(); ++x) {
            const int px = box.left + x, py = box.top + y;  // parent coordinates, unshifted
            const int dx = std::max({core.left - px, 0, px - (core.right - 1)});
            const int dy = std::max({core.top - py, 0, py - (core.bottom - 1)});
            int a = KernelValue(size, sharpness, darkness, std::sqrt(double(dx * dx + dy * dy)));
            // Never under the parent itself: where the shifted pixel lies inside it.
            const int sx = px + xOffset, sy = py + yOffset;
            if (sx >= 0 && sx < w && sy >= 0 && sy < h) {
                a = 0;
            }
            bits[y * stride + x] = (std::uint32_t(a) << 24) | (std::uint32_t(r * a / 255) << 16) |
                                   (std::uint32_t(g * a / 255) << 8) | std::uint32_t(b * a / 255);
        }
    }
    shadow.MarkDirty();
    return shadow;
}

void MShadow::Create(PaintManager* parent) {
    m_parent = parent;
    if (!m_show || !parent || !parent->GetPaintWnd() || m_hwnd) {
        return;
    }
    WindowDesc desc;
    desc.kind = WindowKind::Popup;
    desc.owner = parent->GetPaintWnd();
    desc.rect = CRect(0, 0, 1, 1);
    desc.layered = true;
    m_hwnd = Platform::Current().CreateWindow(desc, this);
    if (Platform::Current().IsWindowVisible(parent->GetPaintWnd())) {
        Platform::Current().ShowWindow(m_hwnd, SW_SHOWNA);
        Update();
    }
    Platform::Current().PlaceBelow(m_hwnd, parent->GetPaintWnd());
}

void MShadow::Update() {
    if (!m_hwnd || !m_parent || m_disable) {
        return;
    }
    Platform& p = Platform::Current();
    CRect parent;
    if (!p.GetWindowRect(m_parent->GetPaintWnd(), parent)) {
        return;
    }
    if (m_imageMode && m_image) {
        const CRect area = ImageShadowRect(parent);
        Bitmap shadow(area.Width(), area.Height());
        {
            Canvas canvas(shadow);
            canvas.DrawImageNine(m_image->GetBitmap(), shadow.Bounds(),
                                 m_image->GetBitmap().Bounds(), std::max<int>(m_corner.left, 0),
                                 std::max<int>(m_corner.top, 0), std::max<int>(m_corner.right, 0),
                                 std::max<int>(m_corner.bottom, 0));
        }
        POINT at{area.left, area.top};
        p.UpdateLayeredWindow(m_hwnd, shadow, &at);
        return;
    }
    POINT origin{};
    Bitmap shadow = MakeShadow(parent.Width(), parent.Height(), m_size, m_sharpness, m_darkness,
                               m_colour, m_xOffset, m_yOffset, origin);
    POINT at{parent.left + origin.x, parent.top + origin.y};
    p.UpdateLayeredWindow(m_hwnd, shadow, &at);
}

void MShadow::OnParentMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (!m_hwnd || m_disable) {
        return;
    }
    Platform& p = Platform::Current();
    switch (msg) {
        case WM_MOVE:
        case WM_WINDOWPOSCHANGED:
        case WM_EXITSIZEMOVE:
            Update();
            break;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED) {
                p.ShowWindow(m_hwnd, SW_HIDE);
            } else if (p.IsWindowVisible(m_parent->GetPaintWnd())) {
                p.ShowWindow(m_hwnd, SW_SHOWNA);
                Update();
            }
            break;
        case WM_SHOWWINDOW:
            if (wParam) {
                p.ShowWindow(m_hwnd, SW_SHOWNA);
                Update();
            } else {
                p.ShowWindow(m_hwnd, SW_HIDE);
            }
            break;
        case WM_NCACTIVATE:
        case WM_ACTIVATEAPP:
            p.PlaceBelow(m_hwnd, m_parent->GetPaintWnd());
            break;
        case WM_DESTROY: {
            HWND hwnd = m_hwnd;
            m_hwnd = nullptr;
            p.DestroyWindow(hwnd);
            break;
        }
        default:
            break;
    }
}

void MShadow::DisableShadow(BOOL disable) {
    m_disable = disable;
    if (m_hwnd) {
        Platform::Current().ShowWindow(m_hwnd, disable ? SW_HIDE : SW_SHOWNA);
        Update();
    }
}

BOOL MShadow::SetSize(int size) {
    if (size < -kLimit || size > kLimit) {
        return 0;
    }
    m_size = size;
    Update();
    return 1;
}

BOOL MShadow::SetSharpness(UINT sharpness) {
    if (sharpness > kLimit) {
        return 0;
    }
    m_sharpness = static_cast<int>(sharpness);
    Update();
    return 1;
}

BOOL MShadow::SetDarkness(UINT darkness) {
    if (darkness > 255) {
        return 0;
    }
    m_darkness = static_cast<int>(darkness);
    Update();
    return 1;
}

BOOL MShadow::SetPosition(int x, int y) {
    if (x < -kLimit || x > kLimit || y < -kLimit || y > kLimit) {
        return 0;
    }
    m_xOffset = x;
    m_yOffset = y;
    Update();
    return 1;
}

BOOL MShadow::SetColor(DWORD colour) {
    m_colour = colour & 0xFFFFFF;
    Update();
    return 1;
}

CRect MShadow::ImageShadowRect(const CRect& parent) const {
    CRect area = parent;
    area.InflateRect(std::max<int>(m_corner.left, 0), std::max<int>(m_corner.top, 0),
                     std::max<int>(m_corner.right, 0), std::max<int>(m_corner.bottom, 0));
    return area;
}

BOOL MShadow::TakeImage(std::unique_ptr<Image> image, const CString& path, UINT resourceId) {
    if (!image) {
        return 0;
    }
    m_image = std::move(image);
    m_imagePath = path;
    m_imageResource = resourceId;
    m_imageMode = 1;
    Update();
    return 1;
}

BOOL MShadow::SetImage(const wchar_t* file) {
    if (!file || !*file) {
        return 0;
    }
    return TakeImage(MRender::LoadImageFromFile(Manager::GetSkinPath(file)), file, 0);
}

BOOL MShadow::SetImage(UINT resourceId) {
    return TakeImage(MRender::LoadImageFromIDResource(resourceId, L"PNG", Manager::GetInstance()),
                     CString(), resourceId);
}

BOOL MShadow::SetShadowCorner(const RECT& corner) {
    if (corner.left < 0 || corner.top < 0 || corner.right < 0 || corner.bottom < 0) {
        return 0;
    }
    m_corner = CRect(corner.left, corner.top, corner.right, corner.bottom);
    Update();
    return 1;
}

void MShadow::CopyShadow(const MShadow* other) {
    if (!other || other == this) {
        return;
    }
    m_darkness = other->m_darkness;
    m_sharpness = other->m_sharpness;
    m_size = other->m_size;
    m_xOffset = other->m_xOffset;
    m_yOffset = other->m_yOffset;
    m_colour = other->m_colour;
    m_corner = other->m_corner;
    m_imagePath = other->m_imagePath;
    m_imageResource = other->m_imageResource;
    m_image = other->m_image ? Image::FromBitmap(other->m_image->GetBitmap()) : nullptr;
    m_imageMode = other->m_imageMode && m_image;
    Update();
}

LRESULT MShadow::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY && hwnd == m_hwnd) {
        m_hwnd = nullptr;
    }
    return Platform::Current().DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace Quorl
