#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "quorl/core/CString.h"
#include "quorl/render/Bitmap.h"

namespace Quorl {

// A decoded picture (PNG, JPEG, GIF with its frames, ICO, BMP). The active frame is what gets
// drawn; still pictures have one frame.
class Image {
public:
    // Null when the data is missing, truncated, corrupt or has no pixels.
    static std::unique_ptr<Image> FromFile(const CString& path);
    static std::unique_ptr<Image> FromMemory(const void* data, std::size_t size);
    static std::unique_ptr<Image> FromBitmap(const Bitmap& bitmap);

    int Width() const { return m_frames.front().Width(); }
    int Height() const { return m_frames.front().Height(); }
    CSize Size() const { return {Width(), Height()}; }

    int GetFrameCount() const { return static_cast<int>(m_frames.size()); }
    // Milliseconds the frame is shown; 0 for still pictures.
    int GetFrameDelay(int frame) const;
    // False (and no change) for a frame out of range.
    bool SelectActiveFrame(int frame);
    int GetActiveFrame() const { return m_active; }

    const Bitmap& GetBitmap() const { return m_frames[static_cast<size_t>(m_active)]; }
    const Bitmap& GetFrame(int frame) const;

private:
    Image() = default;

    std::vector<Bitmap> m_frames;
    std::vector<int> m_delays;
    int m_active = 0;
};

}  // namespace Quorl
