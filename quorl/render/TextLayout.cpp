#include "quorl/render/TextLayout.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <climits>

#include "quorl/render/TextFormat.h"

namespace Quorl {

namespace {

// Longer texts are cut: no control shows more, and layout time grows with the length.
constexpr int kMaxTextLength = 65536;

PangoFontDescription* Describe(const Font& font) {
    PangoFontDescription* d = pango_font_description_new();
    const std::string face = font.GetFace().IsEmpty() ? "Sans" : font.GetFace().ToUtf8();
    pango_font_description_set_family(d, face.c_str());
    pango_font_description_set_absolute_size(d, std::clamp(font.GetSize(), 1, 1000) * PANGO_SCALE);
    pango_font_description_set_weight(d, font.IsBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(d, font.IsItalic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return d;
}

CString Prepare(const CString& text, UINT format) {
    CString t = text.GetLength() > kMaxTextLength ? text.Left(kMaxTextLength) : text;
    if (format & DT_SINGLELINE) {
        t.Replace(L"\r\n", L" ");
        t.Replace(L'\r', L' ');
        t.Replace(L'\n', L' ');
    } else {
        t.Replace(L"\r\n", L"\n");
    }
    return t;
}

void SetText(PangoLayout* layout, const CString& text, const Font& font) {
    const std::string utf8 = text.ToUtf8();
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    PangoAttrList* attrs = pango_attr_list_new();
    if (font.IsUnderline()) {
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    if (font.IsStrikeout()) {
        pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    }
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
}

int NaturalWidth(PangoLayout* layout) {
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return logical.width;
}

// Lays the text out for a box of the given size (0 = unbounded); answers whether the
// layout's width is bounded, in which case Pango applies the alignment itself.
bool Configure(PangoLayout* layout, const CString& source, const Font& font, UINT format, int width,
               int height) {
    const CString text = Prepare(source, format);
    PangoFontDescription* d = Describe(font);
    pango_layout_set_font_description(layout, d);
    pango_font_description_free(d);
    SetText(layout, text, font);

    const bool single = format & DT_SINGLELINE;
    const bool wrap = !single && (format & DT_WORDBREAK) && width > 0;
    const bool ellipsis =
        (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) && width > 0;
    pango_layout_set_single_paragraph_mode(layout, single);
    if (!wrap && !ellipsis) {
        return false;
    }
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_alignment(layout, (format & DT_CENTER)  ? PANGO_ALIGN_CENTER
                                       : (format & DT_RIGHT) ? PANGO_ALIGN_RIGHT
                                                             : PANGO_ALIGN_LEFT);
    if (wrap) {
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    if (!ellipsis) {
        return true;
    }
    if (wrap && height > 0) {
        pango_layout_set_height(layout, height * PANGO_SCALE);
    }
    if ((format & DT_WORD_ELLIPSIS) && !wrap) {
        // Keep whole words and put the ellipsis after the last one that fits; measured
        // unbounded, as a bounded single line would wrap.
        pango_layout_set_width(layout, -1);
        if (NaturalWidth(layout) <= width) {
            pango_layout_set_width(layout, width * PANGO_SCALE);
            return true;
        }
        for (int cut = text.ReverseFind(L' '); cut > 0; cut = text.Left(cut).ReverseFind(L' ')) {
            CString candidate = text.Left(cut);
            candidate.TrimRight();
            if (candidate.IsEmpty()) {
                break;
            }
            SetText(layout, candidate + L"\u2026", font);
            if (NaturalWidth(layout) <= width) {
                pango_layout_set_width(layout, width * PANGO_SCALE);
                return true;
            }
        }
        SetText(layout, text, font);  // one word too long: cut inside it
        pango_layout_set_width(layout, width * PANGO_SCALE);
    }
    pango_layout_set_ellipsize(
        layout, (format & DT_PATH_ELLIPSIS) ? PANGO_ELLIPSIZE_MIDDLE : PANGO_ELLIPSIZE_END);
    return true;
}

cairo_t* MeasuringContext() {
    thread_local struct Holder {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* cr = cairo_create(surface);
        ~Holder() {
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
        }
    } holder;
    return holder.cr;
}

}  // namespace

int DrawTextLayout(cairo_t* cr, const CString& text, const CRect& rect, const Font& font,
                   Color colour, UINT format) {
    if (text.IsEmpty()) {
        return 0;
    }
    const bool measureOnly = format & DT_CALCRECT;
    if (!measureOnly && (rect.IsRectEmpty() || colour.GetA() == 0)) {
        return 0;
    }
    PangoLayout* layout = pango_cairo_create_layout(cr);
    const bool bounded = Configure(layout, text, font, format, std::max(rect.Width(), 0),
                                   std::max(rect.Height(), 0));
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    if (!measureOnly) {
        int x = rect.left;
        if (!bounded) {
            const int free = rect.Width() - logical.width;
            x += (format & DT_CENTER) ? free / 2 : (format & DT_RIGHT) ? free : 0;
            x -= logical.x;
        }
        int y = rect.top;
        const int freeY = rect.Height() - logical.height;
        y += (format & DT_VCENTER) ? freeY / 2 : (format & DT_BOTTOM) ? freeY : 0;
        cairo_save(cr);
        if (!(format & DT_NOCLIP)) {
            cairo_new_path(cr);
            cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
            cairo_clip(cr);
        }
        cairo_set_source_rgba(cr, colour.GetR() / 255.0, colour.GetG() / 255.0,
                              colour.GetB() / 255.0, colour.GetA() / 255.0);
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout(cr, layout);
        cairo_restore(cr);
    }
    g_object_unref(layout);
    return logical.height;
}

CSize MeasureTextLayout(const CString& text, const Font& font, UINT format, int maxWidth) {
    if (text.IsEmpty()) {
        return {};
    }
    PangoLayout* layout = pango_cairo_create_layout(MeasuringContext());
    Configure(layout, text, font, format, std::max(maxWidth, 0), 0);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return {logical.width, logical.height};
}

void NotifyFontsChanged() {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    if (PANGO_IS_FC_FONT_MAP(map)) {
        pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
    }
}

}  // namespace Quorl
