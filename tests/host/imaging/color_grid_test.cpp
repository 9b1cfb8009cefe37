#include "imaging/color_grid.h"

#include <gtest/gtest.h>

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A run of pictures through one cache: each step names the picture's
// profile, the target, whether the colour system accepts, and whether the
// step must convert anew.
TEST(ColorGridCache, ConvertsAgainOnlyWhenProfileOrTargetChangesOrTheLastFailed) {
    struct Step {
        Bytes source, target;
        bool accepted, converts;
    };
    const Bytes camera{1, 2}, other{3}, monitor{9};
    const Step steps[] = {
        {camera, {}, true, true},      {camera, {}, true, false},      {other, {}, true, true},
        {camera, monitor, true, true}, {camera, monitor, true, false}, {camera, {}, false, true},
        {camera, {}, false, true},     {camera, {}, true, true},       {{1}, {}, true, true},
    };
    ColorGridCache cache;
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(n++);
        bool converted = false;
        const Bytes grid = cache.Get(step.source, step.target, [&](Bytes samples) {
            converted = true;
            if (!step.accepted) return Bytes{};
            samples[0] = step.source[0]; // marks whose conversion the grid is
            return samples;
        });
        EXPECT_EQ(converted, step.converts);
        ASSERT_EQ(grid.empty(), !step.accepted);
        if (!grid.empty()) {
            EXPECT_EQ(grid[0], step.source[0]);
        }
    }
}

} // namespace
} // namespace orv::imaging
