#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "imaging/orientation.h"

namespace orv::imaging {
namespace {

// A picture of 4-byte pixels, each holding its own stored position.
struct Picture {
    PixelSize size;
    std::vector<std::uint8_t> pixels;
    std::uint32_t At(int x, int y) const {
        const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * size.width + x) * 4];
        return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24;
    }
};

Picture Numbered(int width, int height) {
    Picture p{{width, height}, std::vector<std::uint8_t>(std::size_t(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* px = &p.pixels[(std::size_t(y) * width + x) * 4];
            px[0] = static_cast<std::uint8_t>(x);
            px[1] = static_cast<std::uint8_t>(y);
            px[2] = 0x5A;
            px[3] = 0xA5;
        }
    return p;
}

// The reference: each orientation as the steps an image tool takes to show
// it upright (turning 90 degrees clockwise and mirroring), applied to a
// point. A step maps a position in a w x h picture to one in the result.
struct Point {
    int x, y, w, h;
};
Point TurnClockwise(Point p) {
    return {p.h - 1 - p.y, p.x, p.h, p.w};
}
Point MirrorLeftRight(Point p) {
    return {p.w - 1 - p.x, p.y, p.w, p.h};
}
Point MirrorTopBottom(Point p) {
    return {p.x, p.h - 1 - p.y, p.w, p.h};
}

Point UprightPlace(Point p, int orientation) {
    using Step = Point (*)(Point);
    const std::vector<std::vector<Step>> steps = {
        {},                                           // 1
        {MirrorLeftRight},                            // 2 flop
        {TurnClockwise, TurnClockwise},               // 3 rotate 180
        {MirrorTopBottom},                            // 4 flip
        {TurnClockwise, MirrorLeftRight},             // 5 transpose
        {TurnClockwise},                              // 6 rotate 90
        {TurnClockwise, MirrorTopBottom},             // 7 transverse
        {TurnClockwise, TurnClockwise, TurnClockwise} // 8 rotate 270
    };
    for (Step step : steps[orientation - 1])
        p = step(p);
    return p;
}

TEST(Orientation, TurnsEveryPixelAsAnImageToolShowsItUpright) {
    const Picture stored = Numbered(5, 3);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const PixelSize size = UprightSize(stored.size, orientation);
        EXPECT_EQ(SwapsAxes(orientation), orientation >= 5) << orientation;
        const Point corner = UprightPlace({0, 0, 5, 3}, orientation);
        ASSERT_EQ(size.width, corner.w) << orientation;
        ASSERT_EQ(size.height, corner.h) << orientation;
        // Rows padded past the picture, which must stay untouched.
        const std::size_t stride = std::size_t(size.width) * 4 + 8;
        std::vector<std::uint8_t> out(stride * size.height, 0xEE);
        OrientPixels(stored.pixels.data(), stored.size, std::size_t(5) * 4, out.data(), stride,
                     orientation);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const Point at = UprightPlace({x, y, 5, 3}, orientation);
                const std::uint8_t* px = &out[at.y * stride + std::size_t(at.x) * 4];
                const std::uint32_t got =
                    px[0] | px[1] << 8 | px[2] << 16 | std::uint32_t{px[3]} << 24;
                ASSERT_EQ(got, stored.At(x, y))
                    << "orientation " << orientation << ", stored (" << x << ", " << y << ")";
            }
        for (int y = 0; y < size.height; ++y)
            for (std::size_t i = std::size_t(size.width) * 4; i < stride; ++i)
                ASSERT_EQ(out[y * stride + i], 0xEE) << "padding, orientation " << orientation;
    }
}

TEST(Orientation, PutsTheStoredCornersWhereTheTagSays) {
    // From the tag's definition: the edge where the stored top row lies and
    // the one where its left column lies fix where the stored top-left,
    // top-right and bottom-left corners end up (0 top left, 1 top right,
    // 2 bottom left, 3 bottom right).
    const int corners[8][3] = {
        {0, 1, 2}, // row at the top, column on the left
        {1, 0, 3}, // row at the top, column on the right
        {3, 2, 1}, // row at the bottom, column on the right
        {2, 3, 0}, // row at the bottom, column on the left
        {0, 2, 1}, // row on the left, column at the top
        {1, 3, 0}, // row on the right, column at the top
        {3, 1, 2}, // row on the right, column at the bottom
        {2, 0, 3}, // row on the left, column at the bottom
    };
    const Picture stored = Numbered(4, 2);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const PixelSize size = UprightSize(stored.size, orientation);
        Picture upright{size, std::vector<std::uint8_t>(std::size_t(size.width) * size.height * 4)};
        OrientPixels(stored.pixels.data(), stored.size, 16, upright.pixels.data(), size.width * 4u,
                     orientation);
        const auto corner = [&](int c) {
            return upright.At(c % 2 ? size.width - 1 : 0, c / 2 ? size.height - 1 : 0);
        };
        const int* want = corners[orientation - 1];
        EXPECT_EQ(corner(want[0]), stored.At(0, 0)) << orientation;
        EXPECT_EQ(corner(want[1]), stored.At(3, 0)) << orientation;
        EXPECT_EQ(corner(want[2]), stored.At(0, 1)) << orientation;
    }
    EXPECT_EQ(UprightSize({4, 2}, 0).width, 4) << "unknown values leave the picture as stored";
    EXPECT_EQ(UprightSize({4, 2}, 9).width, 4);
}

TEST(Orientation, DrawsUprightThroughADecoderOfTheStoredPicture) {
    const Picture stored = Numbered(4, 2);
    for (const int orientation : {0, 1, 3, 6, 8, 9}) {
        const PixelSize size = UprightSize(stored.size, orientation);
        std::vector<std::uint8_t> drawn(stored.pixels.size()), want(stored.pixels.size());
        OrientPixels(stored.pixels.data(), stored.size, 16, want.data(), size.width * 4u,
                     orientation);
        const auto decode = [&](PixelSize box, std::uint8_t* pixels, std::size_t stride) {
            std::memcpy(pixels, stored.pixels.data(), stored.pixels.size());
            return box.width == 4 && stride == 16; // asked for the stored size
        };
        EXPECT_TRUE(DrawUpright(orientation, size.width, size.height, drawn.data(), size.width * 4u,
                                decode));
        EXPECT_EQ(drawn, want) << orientation;
    }
    std::uint8_t pixel[4];
    EXPECT_FALSE(DrawUpright(6, 1, 1, pixel, 4, [](auto...) { return false; }));
}

} // namespace
} // namespace orv::imaging
