#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Quorl {

// The frame delays (milliseconds) of a GIF, read from its block structure: one entry per
// image. Empty for anything that is not a well-formed GIF up to its last complete image.
std::vector<int> ReadGifFrameDelays(const std::uint8_t* data, std::size_t size);

}  // namespace Quorl
