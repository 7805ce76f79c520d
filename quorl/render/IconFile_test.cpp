#include "quorl/render/IconFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace Quorl {
namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// An icon file of 32-bit DIB entries, one solid colour (0xAARRGGBB) per side, as the skin
// build writes them.
std::vector<std::uint8_t> IconFile(const std::vector<std::pair<int, std::uint32_t>>& entries) {
    std::vector<std::vector<std::uint8_t>> blobs;
    for (auto [side, colour] : entries) {
        std::vector<std::uint8_t> b;
        Put(b, 40, 4);
        Put(b, side, 4);
        Put(b, side * 2, 4);
        Put(b, 1, 2);
        Put(b, 32, 2);
        for (int i = 0; i < 6; ++i) {
            Put(b, 0, 4);
        }
        for (int i = 0; i < side * side; ++i) {
            Put(b, colour, 4);  // B, G, R, A in the file
        }
        b.insert(b.end(), static_cast<size_t>(((side + 31) / 32) * 4 * side), 0);  // AND mask
        blobs.push_back(std::move(b));
    }
    std::vector<std::uint8_t> out;
    Put(out, 0, 2);
    Put(out, 1, 2);
    Put(out, static_cast<std::uint32_t>(entries.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const int side = entries[i].first;
        out.push_back(static_cast<std::uint8_t>(side % 256));
        out.push_back(static_cast<std::uint8_t>(side % 256));
        Put(out, 0, 2);
        Put(out, 1, 2);
        Put(out, 32, 2);
        Put(out, static_cast<std::uint32_t>(blobs[i].size()), 4);
        Put(out, offset, 4);
        offset += static_cast<std::uint32_t>(blobs[i].size());
    }
    for (const auto& b : blobs) {
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

TEST(IconFile, TakesTheNearestEntryNotBelowTheSizeElseTheLargestAndScalesIt) {
    const auto ico = IconFile({{48, 0xFF0000FF}, {16, 0xFFFF0000}, {24, 0xFF00FF00}});
    struct Case {
        int pixels;
        ARGB colour;
    };
    const Case cases[] = {{16, 0xFFFF0000}, {20, 0xFF00FF00}, {32, 0xFF0000FF}, {64, 0xFF0000FF}};
    for (const Case& c : cases) {
        auto picture = LoadIconPicture(ico.data(), ico.size(), c.pixels);
        ASSERT_TRUE(picture) << c.pixels;
        EXPECT_EQ(picture->Size(), CSize(c.pixels, c.pixels));
        EXPECT_EQ(picture->GetPixel(c.pixels / 2, c.pixels / 2), c.colour) << c.pixels;
    }
}

TEST(IconFile, RefusesDataThatIsNoIconOrPointsOutsideItself) {
    const auto good = IconFile({{16, 0xFFFF0000}});
    auto truncated = good;
    truncated.resize(good.size() - 10);  // the entry runs past the end
    auto manyEntries = good;
    manyEntries[4] = 200;  // a directory longer than the file
    auto cursor = good;
    cursor[2] = 2;  // a cursor file
    auto farOffset = good;
    farOffset[18] = 0xFF;
    farOffset[19] = 0xFF;
    farOffset[20] = 0xFF;
    farOffset[21] = 0xFF;
    for (const auto* bad : {&truncated, &manyEntries, &cursor, &farOffset}) {
        EXPECT_FALSE(LoadIconPicture(bad->data(), bad->size(), 16));
    }
    EXPECT_FALSE(LoadIconPicture(good.data(), 3, 16));
    EXPECT_FALSE(LoadIconPicture(good.data(), good.size(), 0));
    EXPECT_TRUE(LoadIconPicture(good.data(), good.size(), 16));
}

}  // namespace
}  // namespace Quorl
