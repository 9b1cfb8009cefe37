#include "imaging/color_grid.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace orv::imaging
