#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "quorl/render/Bitmap.h"

namespace Quorl {

// One picture of an icon file (ICO) for a square size in pixels: the entry nearest to it (the
// smallest not below it, else the largest), scaled when its size differs. Null for data that
// is not an icon file or whose entries lie outside it.
std::unique_ptr<Bitmap> LoadIconPicture(const std::uint8_t* data, std::size_t size, int pixels);

}  // namespace Quorl
