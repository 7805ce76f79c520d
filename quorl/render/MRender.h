#pragma once

#include <memory>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"
#include "quorl/core/Color.h"
#include "quorl/core/Geometry.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Canvas.h"
#include "quorl/render/Font.h"
#include "quorl/render/Image.h"
#include "quorl/render/TextFormat.h"

namespace Quorl {

// Raster operations of BitBlt.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// The drawing functions every control uses. Bad input (null or invalid images, empty or
// inverted rectangles, null texts) draws nothing and answers the failure value.
class MRender {
public:
    // Decoded image; null when the file is missing, truncated or not an image.
    static std::unique_ptr<Image> LoadImageFromFile(const CString& path);
    // A resource "/res/<TYPE>/<id>" of the module; null when missing or not an image.
    static std::unique_ptr<Image> LoadImageFromIDResource(UINT id, const CString& type,
                                                          HINSTANCE module);
    // The picture of an icon file (ICO, PNG, ...); null when it is none.
    static std::unique_ptr<Image> LoadIconFromFile(const CString& path);

    // A transparent 32-bit surface; bits receives its first pixel (top row first,
    // premultiplied ARGB, Bitmap::Stride() bytes per row). Invalid for a size of 0.
    static Bitmap CreateARGB32Bitmap(int w, int h, BYTE** bits);
    static Bitmap CreateCompatibleBitmap(int w, int h) { return Bitmap(w, h); }
    // Copies src's (sx, sy, w, h) to (x, y) of dest.
    static BOOL BitBlt(Canvas& dest, int x, int y, int w, int h, const Bitmap& src, int sx, int sy);
    // The same with a raster operation (SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, BLACKNESS,
    // WHITENESS) between two bitmaps; FALSE for other operations.
    static BOOL BitBlt(Bitmap& dest, int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
                       DWORD rop);

    // Opaque fill.
    static void FillSolidRect(Canvas& dc, const RECT* rect, COLORREF colour);
    static void FillSolidRect(Canvas& dc, int x, int y, int w, int h, COLORREF colour);
    // Blended ARGB fill; nothing when the alpha is 0.
    static void DrawColor(Canvas& dc, const RECT& rect, DWORD argb);

    // Nine-part drawing of the image's (srcX, srcY, srcW, srcH) into dest with equal corners,
    // or with the four margins.
    static void DrawImageFrame(Canvas& g, const Image* image, const CRect& dest, int srcX, int srcY,
                               int srcW, int srcH, int corner);
    static void DrawImageFrameMID(Canvas& g, const Image* image, const CRect& dest, int srcX,
                                  int srcY, int srcW, int srcH, int left, int top, int right,
                                  int bottom);

    // Row-wise fade of src's srcRect onto destRect: fromPercent and toPercent are the
    // transparency at the first and the last row. Answers the last alpha used (0 when
    // nothing is drawn).
    static int DrawVerticalTransition(Canvas& dest, const Bitmap& src, const CRect& destRect,
                                      const CRect& srcRect, int fromPercent, int toPercent);
    // The same per column, left to right.
    static int DrawHorizontalTransition(Canvas& dest, const Bitmap& src, const CRect& destRect,
                                        const CRect& srcRect, int fromPercent, int toPercent);
    // Radial fade of the size x size block at the bottom-right corner of rect: src's pixels
    // are blended onto dest with alpha 255 at the block's top-left, falling to 0 at a
    // distance of size. dest and src share coordinates. The last value is unused.
    static void DrawRightBottomTransition(Bitmap& dest, const Bitmap& src, const CRect& rect,
                                          int size, DWORD reserved = 0);

    // Two-colour gradient; its alpha is the mean of the two colours' alphas (0 draws nothing).
    static void DrawGradient(Canvas& dc, const RECT& rect, DWORD argbFrom, DWORD argbTo,
                             bool vertical, int steps);
    // Rounded rectangle whose corner ellipse is w / ratio by h / ratio; when the half-sizes
    // differ by more than 10 both use the smaller. Filled with fillColour when fill.
    static void DrawRoundRectange(Canvas& g, float x, float y, float w, float h, float ratio,
                                  Color pen, float penWidth, bool fill, Color fillColour);

    // Text in the native convention: a COLORREF colour and text flags; null font = the
    // toolkit's default face and size. Answers the text height, 0 for a null or empty text.
    // With DT_CALCRECT nothing is drawn and rect becomes the text's extent.
    static int DrawTextW(Canvas& dc, CRect& rect, const wchar_t* text, COLORREF colour,
                         const Font* font, UINT format);
    static CSize GetTextBounds(const Font& font, const CString& text);
    static CSize GetTextBounds(const Font& font, const StringFormat& format, const CString& text);
    static CSize GetTextBounds(const Font& font, const StringFormat& format, int width,
                               const CString& text);

    // Offset of an item of itemW x itemH in a box of w x h: hAlign 0 left, 1 centre, 2 right;
    // vAlign 0 top, 4 centre, 8 bottom.
    static CPoint GetOriginPoint(int w, int h, int itemW, int itemH, UINT hAlign, UINT vAlign);
    // The same inside rect (absolute), two pixels lower.
    static CPoint GetOriginPoint(const CRect& rect, int itemW, int itemH, UINT hAlign, UINT vAlign);

    // Black with any alpha becomes 1 in its low byte: pure black would read as transparent
    // in layered drawing.
    static void CheckAlphaColor(DWORD& colour);

    // Writes a 24-bit BMP (the display depth here); FALSE on failure. The file is replaced
    // only once it is complete.
    static BOOL SaveBitmapToFile(const Bitmap& bitmap, const CString& path);
};

}  // namespace Quorl
