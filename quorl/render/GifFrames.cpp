#include "quorl/render/GifFrames.h"

#include <cstring>

namespace Quorl {

namespace {

// Skips a chain of data sub-blocks; false when it runs past the end.
bool SkipSubBlocks(const std::uint8_t* data, std::size_t size, std::size_t& pos) {
    while (pos < size) {
        const std::size_t n = data[pos++];
        if (n == 0) {
            return true;
        }
        if (n > size - pos) {
            return false;
        }
        pos += n;
    }
    return false;
}

}  // namespace

std::vector<int> ReadGifFrameDelays(const std::uint8_t* data, std::size_t size) {
    std::vector<int> delays;
    if (!data || size < 13 || (std::memcmp(data, "GIF87a", 6) && std::memcmp(data, "GIF89a", 6))) {
        return delays;
    }
    std::size_t pos = 13;
    if (data[10] & 0x80) {
        pos += 3u << ((data[10] & 7) + 1);
    }
    int pendingDelay = 0;
    while (pos < size) {
        const std::uint8_t block = data[pos++];
        if (block == 0x3B) {
            break;
        }
        if (block == 0x21) {
            if (pos >= size) {
                break;
            }
            const std::uint8_t label = data[pos++];
            // Graphic control extension: 4 bytes, the delay in hundredths at offset 1.
            if (label == 0xF9 && pos + 5 <= size && data[pos] == 4) {
                pendingDelay = (data[pos + 2] | (data[pos + 3] << 8)) * 10;
            }
            if (!SkipSubBlocks(data, size, pos)) {
                break;
            }
        } else if (block == 0x2C) {
            if (size - pos < 10) {
                break;
            }
            const std::uint8_t flags = data[pos + 8];
            pos += 9;
            if (flags & 0x80) {
                pos += 3u << ((flags & 7) + 1);
            }
            ++pos;  // LZW minimum code size
            if (pos > size || !SkipSubBlocks(data, size, pos)) {
                break;
            }
            delays.push_back(pendingDelay);
            pendingDelay = 0;
        } else {
            break;
        }
    }
    return delays;
}

}  // namespace Quorl
