#include "quorl/render/MRender.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "quorl/render/Manager.h"
#include "quorl/render/Path.h"
#include "quorl/render/Resources.h"
#include "quorl/render/TextLayout.h"

namespace Quorl {

namespace {

int Clamp255(double v) {
    return std::clamp(static_cast<int>(v), 0, 255);
}

// hi and lo of a fade between two transparency percentages.
void FadeBounds(int a, int b, int& hi, int& lo) {
    a = std::clamp(a, 0, 100);
    b = std::clamp(b, 0, 100);
    hi = 255 - std::min(a, b) * 255 / 100;
    lo = (100 - std::max(a, b)) * 255 / 100;
}

void PutLE(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

}  // namespace

std::unique_ptr<Image> MRender::LoadImageFromFile(const CString& path) {
    return Image::FromFile(path);
}

std::unique_ptr<Image> MRender::LoadImageFromIDResource(UINT id, const CString& type,
                                                        HINSTANCE module) {
    std::vector<std::uint8_t> data;
    if (!LoadModuleResource(module, id, type, data)) {
        return nullptr;
    }
    return Image::FromMemory(data.data(), data.size());
}

std::unique_ptr<Image> MRender::LoadIconFromFile(const CString& path) {
    return Image::FromFile(path);
}

Bitmap MRender::CreateARGB32Bitmap(int w, int h, BYTE** bits) {
    Bitmap bitmap(w, h);
    if (bits) {
        *bits = reinterpret_cast<BYTE*>(bitmap.Bits());
    }
    return bitmap;
}

BOOL MRender::BitBlt(Canvas& dest, int x, int y, int w, int h, const Bitmap& src, int sx, int sy) {
    if (!dest.IsValid() || !src.IsValid() || w <= 0 || h <= 0) {
        return FALSE;
    }
    dest.CopyBitmap(src, CRect(sx, sy, sx + w, sy + h), x, y);
    return TRUE;
}

BOOL MRender::BitBlt(Bitmap& dest, int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
                     DWORD rop) {
    if (!dest.IsValid() || w <= 0 || h <= 0) {
        return FALSE;
    }
    if (rop == SRCCOPY) {
        return dest.CopyFrom(src, CRect(sx, sy, sx + w, sy + h), x, y) ? TRUE : FALSE;
    }
    const bool needsSource = rop != BLACKNESS && rop != WHITENESS;
    if (needsSource && !src.IsValid()) {
        return FALSE;
    }
    if (rop != SRCPAINT && rop != SRCAND && rop != SRCINVERT && needsSource) {
        return FALSE;
    }
    Bitmap source = needsSource ? src : Bitmap();  // a copy keeps dest == src safe
    std::uint32_t* out = dest.Bits();
    const int outPitch = dest.Stride() / 4;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const int dx = x + i, dy = y + j;
            if (dx < 0 || dy < 0 || dx >= dest.Width() || dy >= dest.Height()) {
                continue;
            }
            std::uint32_t& d = out[static_cast<size_t>(dy) * outPitch + dx];
            if (rop == BLACKNESS) {
                d = 0xFF000000;
                continue;
            }
            if (rop == WHITENESS) {
                d = 0xFFFFFFFF;
                continue;
            }
            const int px = sx + i, py = sy + j;
            if (px < 0 || py < 0 || px >= source.Width() || py >= source.Height()) {
                continue;
            }
            const std::uint32_t s = source.GetRawPixel(px, py);
            // Colour channels combine; the result stays opaque where either was.
            const std::uint32_t alpha = std::max(d >> 24, s >> 24) << 24;
            const std::uint32_t rgb = rop == SRCPAINT ? (d | s) : rop == SRCAND ? (d & s) : (d ^ s);
            d = alpha | (rgb & 0x00FFFFFF);
        }
    }
    dest.MarkDirty();
    return TRUE;
}

void MRender::FillSolidRect(Canvas& dc, const RECT* rect, COLORREF colour) {
    if (rect) {
        dc.FillSolidRect(CRect(*rect), colour);
    }
}

void MRender::FillSolidRect(Canvas& dc, int x, int y, int w, int h, COLORREF colour) {
    dc.FillSolidRect(CRect(x, y, x + w, y + h), colour);
}

void MRender::DrawColor(Canvas& dc, const RECT& rect, DWORD argb) {
    if ((argb >> 24) != 0) {
        dc.FillRect(CRect(rect), Color(argb));
    }
}

void MRender::DrawImageFrame(Canvas& g, const Image* image, const CRect& dest, int srcX, int srcY,
                             int srcW, int srcH, int corner) {
    DrawImageFrameMID(g, image, dest, srcX, srcY, srcW, srcH, corner, corner, corner, corner);
}

void MRender::DrawImageFrameMID(Canvas& g, const Image* image, const CRect& dest, int srcX,
                                int srcY, int srcW, int srcH, int left, int top, int right,
                                int bottom) {
    if (!image || srcW <= 0 || srcH <= 0) {
        return;
    }
    g.DrawImageNine(image->GetBitmap(), dest, CRect(srcX, srcY, srcX + srcW, srcY + srcH), left,
                    top, right, bottom);
}

int MRender::DrawVerticalTransition(Canvas& dest, const Bitmap& src, const CRect& destRect,
                                    const CRect& srcRect, int fromPercent, int toPercent) {
    const int n = destRect.Height();
    if (!dest.IsValid() || !src.IsValid() || n <= 0 || destRect.Width() <= 0 ||
        srcRect.IsRectEmpty()) {
        return 0;
    }
    int hi, lo;
    FadeBounds(fromPercent, toPercent, hi, lo);
    const double step = static_cast<double>(hi - lo) / n;
    int alpha = 0;
    for (int i = 0; i < n; ++i) {
        alpha = Clamp255(fromPercent < toPercent ? hi - i * step : lo + i * step);
        // Source rows map onto destination rows in proportion.
        const int s0 = srcRect.top + i * srcRect.Height() / n;
        const int s1 = std::max(s0 + 1, srcRect.top + (i + 1) * srcRect.Height() / n);
        dest.DrawImage(src,
                       CRect(destRect.left, destRect.top + i, destRect.right, destRect.top + i + 1),
                       CRect(srcRect.left, s0, srcRect.right, s1), static_cast<BYTE>(alpha));
    }
    return alpha;
}

int MRender::DrawHorizontalTransition(Canvas& dest, const Bitmap& src, const CRect& destRect,
                                      const CRect& srcRect, int fromPercent, int toPercent) {
    const int n = destRect.Width();
    if (!dest.IsValid() || !src.IsValid() || n <= 0 || destRect.Height() <= 0 ||
        srcRect.IsRectEmpty()) {
        return 0;
    }
    int hi, lo;
    FadeBounds(fromPercent, toPercent, hi, lo);
    const double step = static_cast<double>(hi - lo) / n;
    int alpha = 0;
    for (int i = 0; i < n; ++i) {
        alpha = Clamp255(fromPercent < toPercent ? hi - i * step : lo + i * step);
        const int s0 = srcRect.left + i * srcRect.Width() / n;
        const int s1 = std::max(s0 + 1, srcRect.left + (i + 1) * srcRect.Width() / n);
        dest.DrawImage(
            src, CRect(destRect.left + i, destRect.top, destRect.left + i + 1, destRect.bottom),
            CRect(s0, srcRect.top, s1, srcRect.bottom), static_cast<BYTE>(alpha));
    }
    return alpha;
}

void MRender::DrawRightBottomTransition(Bitmap& dest, const Bitmap& src, const CRect& rect,
                                        int size, DWORD) {
    if (!dest.IsValid() || !src.IsValid() || size <= 0 || rect.IsRectEmpty()) {
        return;
    }
    size = std::min({size, rect.Width(), rect.Height()});
    const int x0 = rect.right - size, y0 = rect.bottom - size;
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i < size; ++i) {
            const int x = x0 + i, y = y0 + j;
            if (x < 0 || y < 0 || x >= dest.Width() || y >= dest.Height() || x >= src.Width() ||
                y >= src.Height()) {
                continue;
            }
            const double distance = std::min<double>(size, std::sqrt(double(i * i + j * j)));
            const std::uint32_t a = Clamp255(255.0 - 255.0 / size * distance);
            const std::uint32_t s = src.GetRawPixel(x, y), d = dest.GetRawPixel(x, y);
            // Premultiplied blend of src over dest at constant alpha a.
            auto channel = [&](int shift) {
                const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                const std::uint32_t sa = ((s >> 24) * a + 127) / 255;
                return std::min<std::uint32_t>(
                    255, (sc * a + 127) / 255 + (dc * (255 - sa) + 127) / 255);
            };
            const std::uint32_t sa = ((s >> 24) * a + 127) / 255;
            const std::uint32_t outA =
                std::min<std::uint32_t>(255, sa + ((d >> 24) * (255 - sa) + 127) / 255);
            dest.Bits()[static_cast<size_t>(y) * (dest.Stride() / 4) + x] =
                (outA << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
        }
    }
    dest.MarkDirty();
}

void MRender::DrawGradient(Canvas& dc, const RECT& rect, DWORD argbFrom, DWORD argbTo,
                           bool vertical, int) {
    const CRect r(rect);
    const int alpha = static_cast<int>(((argbFrom >> 24) + (argbTo >> 24)) / 2);
    if (!dc.IsValid() || r.IsRectEmpty() || alpha == 0) {
        return;
    }
    const Color from(0xFF000000 | argbFrom), to(0xFF000000 | argbTo);
    if (alpha == 255) {
        dc.FillGradient(r, from, to, vertical);
        return;
    }
    Bitmap band(r.Width(), r.Height());
    if (!band.IsValid()) {
        return;
    }
    {
        Canvas bandCanvas(band);
        bandCanvas.FillGradient(band.Bounds(), from, to, vertical);
    }
    dc.DrawImage(band, r.left, r.top, static_cast<BYTE>(alpha));
}

void MRender::DrawRoundRectange(Canvas& g, float x, float y, float w, float h, float ratio,
                                Color pen, float penWidth, bool fill, Color fillColour) {
    if (!g.IsValid() || !(w > 0) || !(h > 0)) {
        return;
    }
    // A ratio of 0 or less would make the corners infinite: draw square corners instead.
    float cw = ratio > 0 ? w / ratio : 0, ch = ratio > 0 ? h / ratio : 0;
    if (std::fabs(cw / 2 - ch / 2) > 10) {
        cw = ch = std::min(cw, ch);
    }
    cw = std::min(cw, w);
    ch = std::min(ch, h);
    Path path;
    if (cw <= 0 || ch <= 0) {
        path.AddRectangle(x, y, w, h);
    } else {
        path.AddLine(x + cw / 2, y, x + w - cw / 2, y);
        path.AddArc(x + w - cw, y, cw, ch, 270, 90);
        path.AddLine(x + w, y + ch / 2, x + w, y + h - ch / 2);
        path.AddArc(x + w - cw, y + h - ch, cw, ch, 0, 90);
        path.AddLine(x + w - cw / 2, y + h, x + cw / 2, y + h);
        path.AddArc(x, y + h - ch, cw, ch, 90, 90);
        path.AddLine(x, y + h - ch / 2, x, y + ch / 2);
        path.AddArc(x, y, cw, ch, 180, 90);
        path.CloseFigure();
    }
    if (fill) {
        g.FillPath(path, fillColour);
    }
    g.DrawPath(path, pen, penWidth);
}

int MRender::DrawTextW(Canvas& dc, CRect& rect, const wchar_t* text, COLORREF colour,
                       const Font* font, UINT format) {
    if (!text || !*text) {
        return 0;
    }
    const Font fallback(Manager::GetFontName(), Manager::GetFontWidth());
    const Font& f = font ? *font : fallback;
    if (format & DT_CALCRECT) {
        const bool wraps = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
        const CSize size =
            dc.MeasureText(text, f, format & ~DT_CALCRECT, wraps ? std::max(rect.Width(), 1) : 0);
        rect.right = rect.left + size.cx;
        rect.bottom = rect.top + size.cy;
        return size.cy;
    }
    return dc.DrawText(text, rect, f, Color::FromCOLORREF(colour, 255), format);
}

CSize MRender::GetTextBounds(const Font& font, const CString& text) {
    return GetTextBounds(font, StringFormat{}, 0, text);
}

CSize MRender::GetTextBounds(const Font& font, const StringFormat& format, const CString& text) {
    return GetTextBounds(font, format, 0, text);
}

CSize MRender::GetTextBounds(const Font& font, const StringFormat& format, int width,
                             const CString& text) {
    return MeasureTextLayout(text, font, format.ToTextFlags(), std::max(width, 0));
}

CPoint MRender::GetOriginPoint(int w, int h, int itemW, int itemH, UINT hAlign, UINT vAlign) {
    CPoint p;
    p.x = hAlign == 1 ? (w - itemW) / 2 : hAlign == 2 ? w - itemW : 0;
    p.y = vAlign == 4 ? (h - itemH) / 2 : vAlign == 8 ? h - itemH : 0;
    return p;
}

CPoint MRender::GetOriginPoint(const CRect& rect, int itemW, int itemH, UINT hAlign, UINT vAlign) {
    CPoint p = GetOriginPoint(rect.Width(), rect.Height(), itemW, itemH, hAlign, vAlign);
    return CPoint(rect.left + p.x, rect.top + p.y + 2);
}

void MRender::CheckAlphaColor(DWORD& colour) {
    if ((colour & 0x00FFFFFF) == 0) {
        colour |= 1;
    }
}

BOOL MRender::SaveBitmapToFile(const Bitmap& bitmap, const CString& path) {
    if (!bitmap.IsValid() || path.IsEmpty()) {
        return FALSE;
    }
    const int w = bitmap.Width(), h = bitmap.Height();
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(h);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    PutLE(out, 54 + imageBytes, 4);  // file size
    PutLE(out, 0, 4);
    PutLE(out, 54, 4);  // pixel data offset
    PutLE(out, 40, 4);  // info header size
    PutLE(out, static_cast<std::uint32_t>(w), 4);
    PutLE(out, static_cast<std::uint32_t>(h), 4);  // positive: bottom row first
    PutLE(out, 1, 2);
    PutLE(out, 24, 2);
    PutLE(out, 0, 4);  // no compression
    PutLE(out, imageBytes, 4);
    PutLE(out, 2835, 4);  // 72 dpi
    PutLE(out, 2835, 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = bitmap.GetRawPixel(x, y);  // as shown over black
            out.push_back(static_cast<std::uint8_t>(p));
            out.push_back(static_cast<std::uint8_t>(p >> 8));
            out.push_back(static_cast<std::uint8_t>(p >> 16));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(w) * 3; pad < rowBytes; ++pad) {
            out.push_back(0);
        }
    }
    const std::string target = path.ToUtf8();
    const std::string temporary = target + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(out.data()),
                   static_cast<std::streamsize>(out.size()));
        file.flush();
        if (!file) {
            std::remove(temporary.c_str());
            return FALSE;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::remove(temporary.c_str());
        return FALSE;
    }
    return TRUE;
}

}  // namespace Quorl
