#include "quorl/render/Image.h"

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "quorl/render/GifFrames.h"

namespace Quorl {

namespace {

// The largest encoded image accepted; skins are a few hundred kilobytes at most.
constexpr std::size_t kMaxEncodedBytes = 64u << 20;

Bitmap PixbufToBitmap(GdkPixbuf* pixbuf) {
    const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf);
    Bitmap bitmap(w, h);
    std::uint32_t* out = bitmap.Bits();
    if (!out || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8) {
        return Bitmap();
    }
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    const int inStride = gdk_pixbuf_get_rowstride(pixbuf), outPitch = bitmap.Stride() / 4;
    const guchar* in = gdk_pixbuf_read_pixels(pixbuf);
    for (int y = 0; y < h; ++y) {
        const guchar* p = in + static_cast<size_t>(y) * inStride;
        std::uint32_t* q = out + static_cast<size_t>(y) * outPitch;
        for (int x = 0; x < w; ++x, p += channels) {
            const std::uint32_t a = alpha ? p[3] : 255;
            auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
            q[x] = (a << 24) | (mul(p[0]) << 16) | (mul(p[1]) << 8) | mul(p[2]);
        }
    }
    bitmap.MarkDirty();
    return bitmap;
}

}  // namespace

std::unique_ptr<Image> Image::FromFile(const CString& path) {
    if (path.IsEmpty()) {
        return nullptr;
    }
    std::ifstream in(path.ToUtf8(), std::ios::binary);
    if (!in) {
        return nullptr;
    }
    std::vector<char> bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > kMaxEncodedBytes) {
            return nullptr;
        }
    }
    return FromMemory(bytes.data(), bytes.size());
}

std::unique_ptr<Image> Image::FromMemory(const void* data, std::size_t size) {
    if (!data || size == 0 || size > kMaxEncodedBytes) {
        return nullptr;
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    const bool written =
        gdk_pixbuf_loader_write(loader, static_cast<const guchar*>(data), size, nullptr);
    // Closing reports truncated data as an error; such images are refused.
    const bool closed = gdk_pixbuf_loader_close(loader, nullptr);
    GdkPixbufAnimation* animation = gdk_pixbuf_loader_get_animation(loader);
    std::unique_ptr<Image> image;
    if (written && closed && animation) {
        image.reset(new Image());
        if (gdk_pixbuf_animation_is_static_image(animation)) {
            GdkPixbuf* still = gdk_pixbuf_animation_get_static_image(animation);
            if (still) {
                image->m_frames.push_back(PixbufToBitmap(still));
                image->m_delays.push_back(0);
            }
        } else {
            // Walk the animation once, frame by frame, at the delays its blocks give.
            std::vector<int> delays =
                ReadGifFrameDelays(static_cast<const std::uint8_t*>(data), size);
            if (delays.empty()) {
                delays.push_back(0);
            }
            G_GNUC_BEGIN_IGNORE_DEPRECATIONS
            GTimeVal t{0, 0};
            GdkPixbufAnimationIter* it = gdk_pixbuf_animation_get_iter(animation, &t);
            for (size_t i = 0; i < delays.size() && it; ++i) {
                GdkPixbuf* frame = gdk_pixbuf_animation_iter_get_pixbuf(it);
                if (!frame) {
                    break;
                }
                image->m_frames.push_back(PixbufToBitmap(frame));
                image->m_delays.push_back(delays[i]);
                // The decoder shows frames without a delay for a short minimum time.
                const int shown = std::max(gdk_pixbuf_animation_iter_get_delay_time(it), 1);
                g_time_val_add(&t, static_cast<glong>(shown) * 1000);
                gdk_pixbuf_animation_iter_advance(it, &t);
            }
            if (it) {
                g_object_unref(it);
            }
            G_GNUC_END_IGNORE_DEPRECATIONS
        }
        const bool usable =
            !image->m_frames.empty() && std::all_of(image->m_frames.begin(), image->m_frames.end(),
                                                    [&](const Bitmap& b) { return b.IsValid(); });
        if (!usable) {
            image.reset();
        }
    }
    g_object_unref(loader);
    return image;
}

std::unique_ptr<Image> Image::FromBitmap(const Bitmap& bitmap) {
    if (!bitmap.IsValid()) {
        return nullptr;
    }
    std::unique_ptr<Image> image(new Image());
    image->m_frames.push_back(bitmap);
    image->m_delays.push_back(0);
    return image;
}

int Image::GetFrameDelay(int frame) const {
    return (frame >= 0 && frame < GetFrameCount()) ? m_delays[static_cast<size_t>(frame)] : 0;
}

bool Image::SelectActiveFrame(int frame) {
    if (frame < 0 || frame >= GetFrameCount()) {
        return false;
    }
    m_active = frame;
    return true;
}

const Bitmap& Image::GetFrame(int frame) const {
    return m_frames[static_cast<size_t>(std::clamp(frame, 0, GetFrameCount() - 1))];
}

}  // namespace Quorl
