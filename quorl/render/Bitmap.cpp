#include "quorl/render/Bitmap.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace Quorl {

namespace {

cairo_surface_t* Surface(void* p) {
    return static_cast<cairo_surface_t*>(p);
}

std::uint32_t Premultiply(ARGB argb) {
    const std::uint32_t a = argb >> 24;
    if (a == 255) {
        return argb;
    }
    auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (mul((argb >> 16) & 0xFF) << 16) | (mul((argb >> 8) & 0xFF) << 8) |
           mul(argb & 0xFF);
}

ARGB Unpremultiply(std::uint32_t p) {
    const std::uint32_t a = p >> 24;
    if (a == 255 || a == 0) {
        return a == 0 ? 0 : p;
    }
    auto div = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (div((p >> 16) & 0xFF) << 16) | (div((p >> 8) & 0xFF) << 8) | div(p & 0xFF);
}

}  // namespace

Bitmap::Bitmap(int width, int height) {
    Create(width, height);
}

Bitmap::Bitmap(const Bitmap& other) {
    *this = other;
}

Bitmap::Bitmap(Bitmap&& other) noexcept : m_surface(other.m_surface) {
    other.m_surface = nullptr;
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this == &other) {
        return *this;
    }
    if (!other.IsValid()) {
        Reset();
        return *this;
    }
    if (Create(other.Width(), other.Height())) {
        CopyFrom(other, other.Bounds(), 0, 0);
    }
    return *this;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        Reset();
        m_surface = other.m_surface;
        other.m_surface = nullptr;
    }
    return *this;
}

Bitmap::~Bitmap() {
    Reset();
}

bool Bitmap::Create(int width, int height) {
    Reset();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        return false;
    }
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return false;
    }
    m_surface = s;
    return true;
}

void Bitmap::Reset() {
    if (m_surface) {
        cairo_surface_destroy(Surface(m_surface));
        m_surface = nullptr;
    }
}

int Bitmap::Width() const {
    return m_surface ? cairo_image_surface_get_width(Surface(m_surface)) : 0;
}

int Bitmap::Height() const {
    return m_surface ? cairo_image_surface_get_height(Surface(m_surface)) : 0;
}

int Bitmap::Stride() const {
    return m_surface ? cairo_image_surface_get_stride(Surface(m_surface)) : 0;
}

std::uint32_t* Bitmap::Bits() {
    if (!m_surface) {
        return nullptr;
    }
    cairo_surface_flush(Surface(m_surface));
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(Surface(m_surface)));
}

const std::uint32_t* Bitmap::Bits() const {
    return const_cast<Bitmap*>(this)->Bits();
}

void Bitmap::MarkDirty() {
    if (m_surface) {
        cairo_surface_mark_dirty(Surface(m_surface));
    }
}

std::uint32_t Bitmap::GetRawPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return 0;
    }
    const std::uint32_t* row = Bits() + static_cast<size_t>(y) * (Stride() / 4);
    return row[x];
}

ARGB Bitmap::GetPixel(int x, int y) const {
    return Unpremultiply(GetRawPixel(x, y));
}

void Bitmap::SetPixel(int x, int y, ARGB argb) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return;
    }
    std::uint32_t* row = Bits() + static_cast<size_t>(y) * (Stride() / 4);
    row[x] = Premultiply(argb);
    MarkDirty();
}

void Bitmap::Clear(ARGB argb) {
    std::uint32_t* bits = Bits();
    if (!bits) {
        return;
    }
    const std::uint32_t value = Premultiply(argb);
    const int w = Width(), h = Height(), pitch = Stride() / 4;
    for (int y = 0; y < h; ++y) {
        std::fill_n(bits + static_cast<size_t>(y) * pitch, w, value);
    }
    MarkDirty();
}

bool Bitmap::CopyFrom(const Bitmap& src, const CRect& srcRect, int x, int y) {
    if (!IsValid() || !src.IsValid()) {
        return false;
    }
    CRect from;
    if (!from.IntersectRect(srcRect, src.Bounds())) {
        return false;
    }
    // Keep the destination point aligned with what remains of the source rectangle.
    x += from.left - srcRect.left;
    y += from.top - srcRect.top;
    CRect to(x, y, x + from.Width(), y + from.Height());
    CRect clipped;
    if (!clipped.IntersectRect(to, Bounds())) {
        return false;
    }
    from.OffsetRect(clipped.left - to.left, clipped.top - to.top);
    const std::uint32_t* in = src.Bits();
    std::uint32_t* out = Bits();
    const int inPitch = src.Stride() / 4, outPitch = Stride() / 4;
    const size_t bytes = static_cast<size_t>(clipped.Width()) * 4;
    // Rows may overlap when copying within one bitmap: walk away from the overlap.
    const bool upwards = &src == this && clipped.top > from.top;
    for (int i = 0; i < clipped.Height(); ++i) {
        const int r = upwards ? clipped.Height() - 1 - i : i;
        std::memmove(out + static_cast<size_t>(clipped.top + r) * outPitch + clipped.left,
                     in + static_cast<size_t>(from.top + r) * inPitch + from.left, bytes);
    }
    MarkDirty();
    return true;
}

bool Bitmap::SavePng(const CString& path) const {
    if (!m_surface) {
        return false;
    }
    return cairo_surface_write_to_png(Surface(m_surface), path.ToUtf8().c_str()) ==
           CAIRO_STATUS_SUCCESS;
}

Bitmap Bitmap::FromNativeSurface(void* cairoSurface) {
    Bitmap b;
    cairo_surface_t* s = Surface(cairoSurface);
    if (s && cairo_surface_get_type(s) == CAIRO_SURFACE_TYPE_IMAGE &&
        cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32 &&
        cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        b.m_surface = cairo_surface_reference(s);
    }
    return b;
}

}  // namespace Quorl
