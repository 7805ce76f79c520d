#pragma once

#include <cstdint>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"
#include "quorl/core/Color.h"
#include "quorl/core/Geometry.h"

namespace Quorl {

// A memory surface: 32-bit ARGB, premultiplied by alpha, in the machine's byte order, top row
// first. Copies are deep. An invalid bitmap (size 0, or creation failed) ignores every change
// and reads as transparent.
class Bitmap {
public:
    // The largest side a bitmap may have; larger requests fail instead of exhausting memory.
    static constexpr int kMaxSide = 16384;

    Bitmap() = default;
    // Fully transparent; invalid when a side is not in 1..kMaxSide.
    Bitmap(int width, int height);
    Bitmap(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(const Bitmap& other);
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap();

    // Replaces the contents with a transparent surface of the given size.
    bool Create(int width, int height);
    void Reset();

    bool IsValid() const { return m_surface != nullptr; }
    int Width() const;
    int Height() const;
    CSize Size() const { return {Width(), Height()}; }
    CRect Bounds() const { return {0, 0, Width(), Height()}; }
    // Bytes per row.
    int Stride() const;

    // Direct pixel access (premultiplied). Bits() completes pending drawing first; call
    // MarkDirty() after writing through it so that later drawing sees the change.
    std::uint32_t* Bits();
    const std::uint32_t* Bits() const;
    void MarkDirty();

    // Straight (not premultiplied) ARGB; 0 outside the bitmap.
    ARGB GetPixel(int x, int y) const;
    void SetPixel(int x, int y, ARGB argb);
    // The stored premultiplied value; 0 outside.
    std::uint32_t GetRawPixel(int x, int y) const;

    // Sets every pixel to the colour (no blending).
    void Clear(ARGB argb = 0);
    // Replaces the pixels at (x, y) with src's srcRect, clipped to both bitmaps. False when
    // nothing is copied.
    bool CopyFrom(const Bitmap& src, const CRect& srcRect, int x, int y);

    bool SavePng(const CString& path) const;

    // The underlying cairo_surface_t*, for the drawing code and the platform back end; null
    // when invalid. The bitmap keeps its reference.
    void* NativeSurface() const { return m_surface; }
    // A bitmap sharing an existing ARGB32 cairo image surface (it takes a reference of its
    // own); invalid for anything else.
    static Bitmap FromNativeSurface(void* cairoSurface);

private:
    void* m_surface = nullptr;
};

}  // namespace Quorl
