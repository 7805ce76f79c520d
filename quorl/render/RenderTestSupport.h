#pragma once

#include "quorl/core/Geometry.h"
#include "quorl/render/Bitmap.h"

namespace Quorl {

// The bounds of the pixels whose alpha exceeds the threshold; empty when there are none.
inline CRect InkBounds(const Bitmap& b, int alphaThreshold = 60) {
    CRect r(b.Width(), b.Height(), 0, 0);
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            if ((b.GetPixel(x, y) >> 24) > static_cast<unsigned>(alphaThreshold)) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
        }
    }
    return r.IsRectEmpty() ? CRect() : r;
}

// A strip of frames of one solid colour each.
inline Bitmap MakeStrip(const ARGB* colours, int frames, int frameWidth, int height) {
    Bitmap b(frames * frameWidth, height);
    for (int f = 0; f < frames; ++f) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < frameWidth; ++x) {
                b.SetPixel(f * frameWidth + x, y, colours[f]);
            }
        }
    }
    return b;
}

}  // namespace Quorl
