#include <gtest/gtest.h>

#include <cstdint>
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

TEST(Orientation, PutsTheStoredTopRowAndLeftColumnWhereTheTagSays) {
    // Straight from the tag's definition: the edge of the upright picture
    // where the stored top row lies, and the one where its left column lies.
    enum Edge { kTop, kBottom, kLeft, kRight };
    const Edge rowEdge[] = {kTop, kTop, kBottom, kBottom, kLeft, kRight, kRight, kLeft};
    const Edge columnEdge[] = {kLeft, kRight, kRight, kLeft, kTop, kTop, kBottom, kBottom};
    const Picture stored = Numbered(4, 2);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const PixelSize size = UprightSize(stored.size, orientation);
        std::vector<std::uint8_t> out(std::size_t(size.width) * size.height * 4);
        OrientPixels(stored.pixels.data(), stored.size, 16, out.data(), size.width * 4u,
                     orientation);
        const Picture upright{size, out};
        // The upright pixels along an edge, in order from top or left.
        const auto edge = [&](Edge e) {
            std::vector<std::uint32_t> line;
            const bool across = e == kTop || e == kBottom;
            for (int i = 0; i < (across ? size.width : size.height); ++i)
                line.push_back(across ? upright.At(i, e == kTop ? 0 : size.height - 1)
                                      : upright.At(e == kLeft ? 0 : size.width - 1, i));
            return line;
        };
        const std::vector<std::uint32_t> row = edge(rowEdge[orientation - 1]);
        const std::vector<std::uint32_t> column = edge(columnEdge[orientation - 1]);
        ASSERT_EQ(row.size(), 4u) << orientation;
        ASSERT_EQ(column.size(), 2u) << orientation;
        // Each starts at the corner the two edges share.
        const Edge r = rowEdge[orientation - 1], c = columnEdge[orientation - 1];
        const bool rowForward = c == kLeft || c == kTop;
        const bool columnForward = r == kTop || r == kLeft;
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(row[rowForward ? x : 3 - x], stored.At(x, 0)) << orientation;
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(column[columnForward ? y : 1 - y], stored.At(0, y)) << orientation;
    }
    EXPECT_EQ(UprightSize({4, 2}, 0).width, 4) << "unknown values leave the picture as stored";
    EXPECT_EQ(UprightSize({4, 2}, 9).width, 4);
}

} // namespace
} // namespace orv::imaging
