#pragma once

#include <memory>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"
#include "quorl/core/Color.h"
#include "quorl/core/Geometry.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Font.h"
#include "quorl/render/Image.h"
#include "quorl/render/Path.h"
#include "quorl/render/TextFormat.h"

namespace Quorl {

// Draws on a Bitmap, or on the platform's paint context of a window. Coordinates are integer
// pixels of the target (after Translate); colours are straight ARGB. Empty or inverted
// rectangles, invalid bitmaps and empty texts draw nothing.
class Canvas {
public:
    explicit Canvas(Bitmap& target);
    // Draws through an existing cairo_t* of the given size (the platform back end's paint
    // context); the canvas takes a reference of its own. Null for a null context.
    static std::unique_ptr<Canvas> FromNativeContext(void* cairoContext, int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool IsValid() const { return m_cr != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The bitmap drawn on; null for a native context.
    Bitmap* GetBitmap() const { return m_bitmap; }
    // The underlying cairo_t*.
    void* NativeContext() const { return m_cr; }

    // Save and Restore nest the clip, the translation and the interpolation.
    void Save();
    void Restore();
    void Translate(int dx, int dy);
    // Intersects the current clip with the rectangle.
    void IntersectClip(const CRect& rect);
    void ResetClip();
    // The current clip in canvas coordinates; empty when everything is clipped away.
    CRect GetClipBox() const;
    // Smooth (bilinear, the default) or nearest-pixel sampling of scaled images.
    void SetSmoothScaling(bool smooth) { m_smooth = smooth; }
    bool GetSmoothScaling() const { return m_smooth; }

    // Opaque fill: the pixels become the colour, alpha 255.
    void FillSolidRect(const CRect& rect, COLORREF colour);
    // Blended fill; nothing when the alpha is 0.
    void FillRect(const CRect& rect, Color colour);
    // Replaces the pixels of the rectangle (alpha included) without blending.
    void ClearRect(const CRect& rect, Color colour = Color(0));
    // Linear gradient from the first to the last row (vertical) or column.
    void FillGradient(const CRect& rect, Color from, Color to, bool vertical);

    void DrawLine(float x1, float y1, float x2, float y2, Color colour, float width = 1.0f);
    // Outline along the inside of the rectangle.
    void DrawRectangle(const CRect& rect, Color colour, float width = 1.0f);
    void DrawEllipse(float x, float y, float w, float h, Color colour, float width = 1.0f);
    void FillEllipse(float x, float y, float w, float h, Color colour);
    void DrawPath(const Path& path, Color colour, float width = 1.0f);
    void FillPath(const Path& path, Color colour);

    // Images: unscaled at a point, whole scaled into a rectangle, or a source rectangle
    // scaled into a rectangle; each with a constant alpha (255 opaque). Source rectangles
    // are clipped to the image.
    void DrawImage(const Bitmap& image, int x, int y, BYTE alpha = 255);
    void DrawImage(const Bitmap& image, const CRect& dest, BYTE alpha = 255);
    void DrawImage(const Bitmap& image, const CRect& dest, const CRect& src, BYTE alpha = 255);
    void DrawImage(const Image& image, int x, int y, BYTE alpha = 255) {
        DrawImage(image.GetBitmap(), x, y, alpha);
    }
    void DrawImage(const Image& image, const CRect& dest, BYTE alpha = 255) {
        DrawImage(image.GetBitmap(), dest, alpha);
    }
    void DrawImage(const Image& image, const CRect& dest, const CRect& src, BYTE alpha = 255) {
        DrawImage(image.GetBitmap(), dest, src, alpha);
    }
    // Nine-part drawing of src into dest: corners copied unscaled, edges stretched along
    // one axis, the centre stretched both ways. Margins larger than the source or the
    // destination are reduced to fit.
    void DrawImageNine(const Bitmap& image, const CRect& dest, const CRect& src, int corner,
                       BYTE alpha = 255);
    void DrawImageNine(const Bitmap& image, const CRect& dest, const CRect& src, int left, int top,
                       int right, int bottom, BYTE alpha = 255);
    // Replaces the pixels at (x, y) with src's srcRect (no blending).
    void CopyBitmap(const Bitmap& src, const CRect& srcRect, int x, int y);

    // Text in the rectangle with DT_* flags (alignment, vertical alignment, single line or
    // word break, end or word ellipsis); answers the height of the laid-out text, 0 for an
    // empty text. Mnemonic '&' is not interpreted.
    int DrawText(const CString& text, const CRect& rect, const Font& font, Color colour,
                 UINT format);
    // The size the text takes; maxWidth > 0 wraps (unless DT_SINGLELINE) at that width.
    CSize MeasureText(const CString& text, const Font& font, UINT format = DT_SINGLELINE,
                      int maxWidth = 0) const;

private:
    Canvas() = default;

    void* m_cr = nullptr;  // cairo_t*
    Bitmap* m_bitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_smooth = true;
};

}  // namespace Quorl
