#include "imaging/color_grid.h"

#include <gtest/gtest.h>

#include <random>

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Pictures through one cache: profile, target, accepted, converts anew.
TEST(ColorGridCache, ConvertsAgainOnlyWhenProfileOrTargetChangesOrTheLastFailed) {
    const Bytes a{1, 2}, b{3}, screen{9}, srgb;
    const std::tuple<Bytes, Bytes, bool, bool> steps[] = {
        {a, srgb, true, true},   {a, srgb, true, false},   {b, srgb, true, true},
        {a, screen, true, true}, {a, screen, true, false}, {a, srgb, false, true},
        {a, srgb, false, true},  {a, srgb, true, true},    {{1}, srgb, true, true}};
    ColorGridCache cache;
    for (const auto& [source, target, accepted, converts] : steps) {
        bool converted = false;
        const Bytes grid = cache.Get(source, target, [&](Bytes samples) {
            converted = true;
            samples[0] = source[0]; // marks whose conversion the grid is
            return accepted ? samples : Bytes{};
        });
        EXPECT_EQ(converted, converts);
        EXPECT_EQ(grid.empty() ? -1 : grid[0], accepted ? source[0] : -1);
    }
}

// A grid of noise on pixels of noise, where every tetrahedron and tie turns
// up: the vectorised rows give the plain rows' bytes, at any width.
TEST(ColorGrid, FastestRowsGiveThePlainRowsBytes) {
    std::mt19937 noise(7);
    Bytes converted = ColorGridSamples();
    for (std::uint8_t& v : converted)
        v = static_cast<std::uint8_t>(noise());
    const ColorGrid grid(converted);
    for (const int width : {1, 3, 4, 5, 7, 64, 333}) {
        Bytes pixels(static_cast<std::size_t>(width) * 4);
        for (std::uint8_t& v : pixels) // a few levels, so that distances tie
            v = static_cast<std::uint8_t>(noise() % 4 == 0 ? noise() % 4 * 15 : noise());
        Bytes plain = pixels;
        Bytes threeBytes; // the same pixels without their fourth byte
        for (std::size_t i = 0; i < pixels.size(); i += 4)
            threeBytes.insert(threeBytes.end(), pixels.begin() + i, pixels.begin() + i + 3);
        grid.ApplyToRow(plain.data(), width, 4, GridCode::Plain);
        grid.ApplyToRow(pixels.data(), width, 4, GridCode::Fastest);
        EXPECT_EQ(pixels, plain) << width;
        grid.ApplyToRow(threeBytes.data(), width, 3);
        for (std::size_t i = 0; i < plain.size(); ++i) {
            if (i % 4 != 3) {
                EXPECT_EQ(threeBytes[i / 4 * 3 + i % 4], plain[i]) << width << " " << i;
            }
        }
    }
}

} // namespace
} // namespace orv::imaging
