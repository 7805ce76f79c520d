#include "quorl/render/IconFile.h"

#include <cstring>
#include <vector>

#include "quorl/render/Canvas.h"
#include "quorl/render/Image.h"

namespace Quorl {

namespace {

std::uint32_t Read16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

std::uint32_t Read32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

constexpr std::size_t kHeader = 6;
constexpr std::size_t kEntry = 16;

}  // namespace

std::unique_ptr<Bitmap> LoadIconPicture(const std::uint8_t* data, std::size_t size, int pixels) {
    if (!data || size < kHeader || pixels <= 0 || Read16(data) != 0 || Read16(data + 2) != 1) {
        return nullptr;
    }
    const std::size_t count = Read16(data + 4);
    if (count == 0 || size < kHeader + count * kEntry) {
        return nullptr;
    }
    // The entry to use: the smallest at least `pixels` wide, else the widest.
    const std::uint8_t* chosen = nullptr;
    int chosenSide = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = data + kHeader + i * kEntry;
        const std::uint64_t bytes = Read32(e + 8);
        const std::uint64_t offset = Read32(e + 12);
        if (bytes == 0 || offset + bytes > size) {
            return nullptr;
        }
        const int side = e[0] == 0 ? 256 : e[0];
        const bool better = !chosen ||
                            (side >= pixels && (chosenSide < pixels || side < chosenSide)) ||
                            (side < pixels && chosenSide < pixels && side > chosenSide);
        if (better) {
            chosen = e;
            chosenSide = side;
        }
    }
    const std::uint8_t* payload = data + Read32(chosen + 12);
    const std::size_t bytes = Read32(chosen + 8);
    // The decoder reads whole icon files: the one entry becomes a file of its own, unless it
    // is a PNG, which decodes as it stands.
    static const std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::unique_ptr<Image> image;
    if (bytes >= sizeof kPng && std::memcmp(payload, kPng, sizeof kPng) == 0) {
        image = Image::FromMemory(payload, bytes);
    } else {
        std::vector<std::uint8_t> single;
        single.reserve(kHeader + kEntry + bytes);
        Put16(single, 0);
        Put16(single, 1);
        Put16(single, 1);
        single.insert(single.end(), chosen, chosen + 12);
        Put32(single, kHeader + kEntry);
        single.insert(single.end(), payload, payload + bytes);
        image = Image::FromMemory(single.data(), single.size());
    }
    if (!image) {
        return nullptr;
    }
    const Bitmap& picture = image->GetBitmap();
    if (picture.Width() == pixels && picture.Height() == pixels) {
        return std::make_unique<Bitmap>(picture);
    }
    auto scaled = std::make_unique<Bitmap>(pixels, pixels);
    {
        Canvas canvas(*scaled);
        canvas.DrawImage(picture, CRect(0, 0, pixels, pixels));
    }
    return scaled;
}

}  // namespace Quorl
