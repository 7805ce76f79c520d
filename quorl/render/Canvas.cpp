#include "quorl/render/Canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "quorl/render/TextLayout.h"

namespace Quorl {

namespace {

cairo_t* Cr(void* p) {
    return static_cast<cairo_t*>(p);
}

void SetColour(cairo_t* cr, Color c) {
    cairo_set_source_rgba(cr, c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0,
                          c.GetA() / 255.0);
}

void AddRect(cairo_t* cr, const CRect& r) {
    cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
}

void AddPath(cairo_t* cr, const Path& path) {
    cairo_new_path(cr);
    for (const Path::Segment& s : path.Segments()) {
        switch (s.op) {
            case Path::Op::MoveTo:
                cairo_move_to(cr, s.x, s.y);
                break;
            case Path::Op::LineTo:
                cairo_line_to(cr, s.x, s.y);
                break;
            case Path::Op::Arc: {
                if (s.w <= 0 || s.h <= 0) {
                    break;
                }
                // An elliptic arc is a circular arc in a scaled space.
                const double rad = M_PI / 180.0;
                cairo_save(cr);
                cairo_translate(cr, s.x + s.w / 2.0, s.y + s.h / 2.0);
                cairo_scale(cr, s.w / 2.0, s.h / 2.0);
                if (s.sweepAngle >= 0) {
                    cairo_arc(cr, 0, 0, 1, s.startAngle * rad, (s.startAngle + s.sweepAngle) * rad);
                } else {
                    cairo_arc_negative(cr, 0, 0, 1, s.startAngle * rad,
                                       (s.startAngle + s.sweepAngle) * rad);
                }
                cairo_restore(cr);
                break;
            }
            case Path::Op::Close:
                cairo_close_path(cr);
                break;
            case Path::Op::NewFigure:
                cairo_new_sub_path(cr);
                break;
        }
    }
}

bool Usable(const Bitmap& image) {
    return image.IsValid();
}

}  // namespace

Canvas::Canvas(Bitmap& target) {
    if (!target.IsValid()) {
        return;
    }
    cairo_t* cr = cairo_create(static_cast<cairo_surface_t*>(target.NativeSurface()));
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cr);
        return;
    }
    m_cr = cr;
    m_bitmap = &target;
    m_width = target.Width();
    m_height = target.Height();
}

std::unique_ptr<Canvas> Canvas::FromNativeContext(void* cairoContext, int width, int height) {
    if (!cairoContext || cairo_status(Cr(cairoContext)) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    std::unique_ptr<Canvas> canvas(new Canvas());
    canvas->m_cr = cairo_reference(Cr(cairoContext));
    canvas->m_width = std::max(width, 0);
    canvas->m_height = std::max(height, 0);
    return canvas;
}

Canvas::~Canvas() {
    if (m_cr) {
        cairo_surface_flush(cairo_get_target(Cr(m_cr)));
        cairo_destroy(Cr(m_cr));
    }
}

void Canvas::Save() {
    if (m_cr) {
        cairo_save(Cr(m_cr));
    }
}

void Canvas::Restore() {
    if (m_cr) {
        cairo_restore(Cr(m_cr));
    }
}

void Canvas::Translate(int dx, int dy) {
    if (m_cr) {
        cairo_translate(Cr(m_cr), dx, dy);
    }
}

void Canvas::IntersectClip(const CRect& rect) {
    if (!m_cr) {
        return;
    }
    CRect r = rect;
    if (r.IsRectEmpty()) {
        r.SetRectEmpty();
    }
    cairo_new_path(Cr(m_cr));
    AddRect(Cr(m_cr), r);
    cairo_clip(Cr(m_cr));
}

void Canvas::ResetClip() {
    if (m_cr) {
        cairo_reset_clip(Cr(m_cr));
    }
}

CRect Canvas::GetClipBox() const {
    if (!m_cr) {
        return {};
    }
    double x1, y1, x2, y2;
    cairo_clip_extents(Cr(m_cr), &x1, &y1, &x2, &y2);
    CRect r(static_cast<int>(std::floor(x1)), static_cast<int>(std::floor(y1)),
            static_cast<int>(std::ceil(x2)), static_cast<int>(std::ceil(y2)));
    return r.IsRectEmpty() ? CRect() : r;
}

void Canvas::FillSolidRect(const CRect& rect, COLORREF colour) {
    ClearRect(rect, Color::FromCOLORREF(colour, 255));
}

void Canvas::FillRect(const CRect& rect, Color colour) {
    if (!m_cr || rect.IsRectEmpty() || colour.GetA() == 0) {
        return;
    }
    cairo_t* cr = Cr(m_cr);
    cairo_new_path(cr);
    SetColour(cr, colour);
    AddRect(cr, rect);
    cairo_fill(cr);
}

void Canvas::ClearRect(const CRect& rect, Color colour) {
    if (!m_cr || rect.IsRectEmpty()) {
        return;
    }
    cairo_t* cr = Cr(m_cr);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_new_path(cr);
    SetColour(cr, colour);
    AddRect(cr, rect);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Canvas::FillGradient(const CRect& rect, Color from, Color to, bool vertical) {
    if (!m_cr || rect.IsRectEmpty()) {
        return;
    }
    cairo_t* cr = Cr(m_cr);
    // The first and last rows (or columns) carry the two colours exactly.
    cairo_pattern_t* p = vertical
                             ? cairo_pattern_create_linear(0, rect.top + 0.5, 0, rect.bottom - 0.5)
                             : cairo_pattern_create_linear(rect.left + 0.5, 0, rect.right - 0.5, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, from.GetR() / 255.0, from.GetG() / 255.0,
                                      from.GetB() / 255.0, from.GetA() / 255.0);
    cairo_pattern_add_color_stop_rgba(p, 1, to.GetR() / 255.0, to.GetG() / 255.0, to.GetB() / 255.0,
                                      to.GetA() / 255.0);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
    cairo_new_path(cr);
    cairo_set_source(cr, p);
    AddRect(cr, rect);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Canvas::DrawLine(float x1, float y1, float x2, float y2, Color colour, float width) {
    if (!m_cr || colour.GetA() == 0 || width <= 0) {
        return;
    }
    cairo_t* cr = Cr(m_cr);
    cairo_new_path(cr);
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    cairo_stroke(cr);
}

void Canvas::DrawRectangle(const CRect& rect, Color colour, float width) {
    if (!m_cr || rect.IsRectEmpty() || colour.GetA() == 0 || width <= 0) {
        return;
    }
    cairo_t* cr = Cr(m_cr);
    const double half = width / 2.0;
    cairo_new_path(cr);
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_rectangle(cr, rect.left + half, rect.top + half,
                    std::max(0.0, rect.Width() - static_cast<double>(width)),
                    std::max(0.0, rect.Height() - static_cast<double>(width)));
    cairo_stroke(cr);
}

void Canvas::DrawEllipse(float x, float y, float w, float h, Color colour, float width) {
    Path p;
    p.AddEllipse(x, y, w, h);
    DrawPath(p, colour, width);
}

void Canvas::FillEllipse(float x, float y, float w, float h, Color colour) {
    Path p;
    p.AddEllipse(x, y, w, h);
    FillPath(p, colour);
}

void Canvas::DrawPath(const Path& path, Color colour, float width) {
    if (!m_cr || path.IsEmpty() || colour.GetA() == 0 || width <= 0) {
        return;
    }
    cairo_t* cr = Cr(m_cr);
    AddPath(cr, path);
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void Canvas::FillPath(const Path& path, Color colour) {
    if (!m_cr || path.IsEmpty() || colour.GetA() == 0) {
        return;
    }
    cairo_t* cr = Cr(m_cr);
    AddPath(cr, path);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void Canvas::DrawImage(const Bitmap& image, int x, int y, BYTE alpha) {
    DrawImage(image, CRect(x, y, x + image.Width(), y + image.Height()), image.Bounds(), alpha);
}

void Canvas::DrawImage(const Bitmap& image, const CRect& dest, BYTE alpha) {
    DrawImage(image, dest, image.Bounds(), alpha);
}

void Canvas::DrawImage(const Bitmap& image, const CRect& dest, const CRect& src, BYTE alpha) {
    if (!m_cr || !Usable(image) || dest.IsRectEmpty() || src.IsRectEmpty() || alpha == 0) {
        return;
    }
    CRect from;
    if (!from.IntersectRect(src, image.Bounds())) {
        return;
    }
    // Shrink the destination by the part of the source that lay outside the image.
    const double sx = static_cast<double>(dest.Width()) / src.Width();
    const double sy = static_cast<double>(dest.Height()) / src.Height();
    const double dx = dest.left + (from.left - src.left) * sx;
    const double dy = dest.top + (from.top - src.top) * sy;
    const double dw = from.Width() * sx, dh = from.Height() * sy;

    cairo_t* cr = Cr(m_cr);
    // A sub-surface keeps sampling inside the source rectangle, so that neighbouring frames
    // of a strip never bleed into a scaled piece.
    cairo_surface_t* piece =
        cairo_surface_create_for_rectangle(static_cast<cairo_surface_t*>(image.NativeSurface()),
                                           from.left, from.top, from.Width(), from.Height());
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, dx, dy, dw, dh);
    cairo_clip(cr);
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, piece, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(cr);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    const bool unscaled = sx == 1.0 && sy == 1.0;
    cairo_pattern_set_filter(
        pattern, (unscaled || !m_smooth) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
    if (alpha == 255) {
        cairo_paint(cr);
    } else {
        cairo_paint_with_alpha(cr, alpha / 255.0);
    }
    cairo_restore(cr);
    cairo_surface_destroy(piece);
}

void Canvas::DrawImageNine(const Bitmap& image, const CRect& dest, const CRect& src, int corner,
                           BYTE alpha) {
    DrawImageNine(image, dest, src, corner, corner, corner, corner, alpha);
}

void Canvas::DrawImageNine(const Bitmap& image, const CRect& dest, const CRect& src, int left,
                           int top, int right, int bottom, BYTE alpha) {
    if (!m_cr || !Usable(image) || dest.IsRectEmpty() || src.IsRectEmpty()) {
        return;
    }
    // Margins must fit the source and the destination; shrink them in proportion when not.
    auto fit = [](int& a, int& b, int limit) {
        a = std::max(a, 0);
        b = std::max(b, 0);
        if (a + b > limit) {
            const int total = a + b;
            a = a * limit / total;
            b = limit - a;
        }
    };
    fit(left, right, std::min(src.Width(), dest.Width()));
    fit(top, bottom, std::min(src.Height(), dest.Height()));

    const int sx[4] = {src.left, src.left + left, src.right - right, src.right};
    const int sy[4] = {src.top, src.top + top, src.bottom - bottom, src.bottom};
    const int dx[4] = {dest.left, dest.left + left, dest.right - right, dest.right};
    const int dy[4] = {dest.top, dest.top + top, dest.bottom - bottom, dest.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            DrawImage(image, CRect(dx[col], dy[row], dx[col + 1], dy[row + 1]),
                      CRect(sx[col], sy[row], sx[col + 1], sy[row + 1]), alpha);
        }
    }
}

void Canvas::CopyBitmap(const Bitmap& src, const CRect& srcRect, int x, int y) {
    if (!m_cr || !Usable(src) || srcRect.IsRectEmpty()) {
        return;
    }
    cairo_t* cr = Cr(m_cr);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    DrawImage(src, CRect(x, y, x + srcRect.Width(), y + srcRect.Height()), srcRect, 255);
    cairo_restore(cr);
}

int Canvas::DrawText(const CString& text, const CRect& rect, const Font& font, Color colour,
                     UINT format) {
    if (!m_cr || text.IsEmpty()) {
        return 0;
    }
    return DrawTextLayout(Cr(m_cr), text, rect, font, colour, format);
}

CSize Canvas::MeasureText(const CString& text, const Font& font, UINT format, int maxWidth) const {
    return MeasureTextLayout(text, font, format, maxWidth);
}

}  // namespace Quorl
