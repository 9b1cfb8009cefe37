#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "imaging/image_scale.h"

namespace orv::imaging {
namespace {

// A picture in memory that records which rows the scaler asked for.
struct Picture {
    int width = 0;
    int height = 0;
    int bpp = 3;
    std::vector<std::uint8_t> bytes;
    std::vector<std::pair<int, int>> requests; // (first row, count)
    int failAtRow = -1;

    Picture(int w, int h, int b = 3)
        : width(w), height(h), bpp(b), bytes(static_cast<std::size_t>(w) * h * b) {}
    std::uint8_t* At(int x, int y) {
        return &bytes[(static_cast<std::size_t>(y) * width + x) * bpp];
    }
    void Set(int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        At(x, y)[0] = b;
        At(x, y)[1] = g;
        At(x, y)[2] = r;
    }
    ScaleSource Source() {
        ScaleSource s;
        s.width = width;
        s.height = height;
        s.bytesPerPixel = bpp;
        s.readRows = [this](int first, int count, std::uint8_t* dest, std::size_t stride) {
            requests.emplace_back(first, count);
            if (first < 0 || count <= 0 || first + count > height) return false;
            if (failAtRow >= first && failAtRow < first + count) return false;
            for (int y = 0; y < count; ++y)
                std::copy_n(At(0, first + y), static_cast<std::size_t>(width) * bpp,
                            dest + y * stride);
            return true;
        };
        return s;
    }
};

struct Output {
    int width, height;
    std::vector<std::uint8_t> bytes;
    Output(int w, int h) : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 4, 0xCD) {}
    const std::uint8_t* At(int x, int y) const {
        return &bytes[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};

bool Scale(Picture& p, Output& out, int band = 64) {
    return ScaleImage(p.Source(), out.width, out.height, out.bytes.data(),
                      static_cast<std::size_t>(out.width) * 4, band);
}

TEST(ImageScale, RefusesSizesAndSourcesItCannotUse) {
    Picture p(4, 4);
    std::vector<std::uint8_t> dest(64 * 64 * 4);
    struct Case {
        const char* what;
        int srcW, srcH, bpp, w, h;
        std::size_t stride;
    };
    const Case cases[] = {
        {"zero width", 4, 4, 3, 0, 4, 64},        {"zero height", 4, 4, 3, 4, 0, 64},
        {"negative size", 4, 4, 3, -2, 4, 64},    {"empty source", 0, 4, 3, 4, 4, 64},
        {"two bytes a pixel", 4, 4, 2, 4, 4, 64}, {"stride too small", 4, 4, 3, 4, 4, 15},
    };
    for (const Case& c : cases) {
        ScaleSource s = p.Source();
        s.width = c.srcW;
        s.height = c.srcH;
        s.bytesPerPixel = c.bpp;
        EXPECT_FALSE(ScaleImage(s, c.w, c.h, dest.data(), c.stride)) << c.what;
    }
    ScaleSource noReader = p.Source();
    noReader.readRows = nullptr;
    EXPECT_FALSE(ScaleImage(noReader, 4, 4, dest.data(), 16));
    EXPECT_FALSE(ScaleImage(p.Source(), 4, 4, nullptr, 16));
}

TEST(ImageScale, SameSizeCopiesEveryPixelExactly) {
    for (int bpp : {3, 4}) {
        Picture p(13, 9, bpp);
        std::mt19937 random(bpp);
        for (auto& b : p.bytes)
            b = static_cast<std::uint8_t>(random());
        Output out(13, 9);
        ASSERT_TRUE(Scale(p, out, 4));
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 13; ++x) {
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(out.At(x, y)[c], p.At(x, y)[c]) << x << "," << y;
                ASSERT_EQ(out.At(x, y)[3], 255);
            }
    }
}

TEST(ImageScale, UniformColourStaysUniformAtAnySize) {
    const std::pair<int, int> sizes[] = {{1, 1},   {7, 3},   {40, 30}, {160, 120},
                                         {500, 2}, {3, 400}, {1, 300}};
    for (int bpp : {3, 4}) {
        Picture p(80, 60, bpp);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                p.Set(x, y, 30, 140, 220);
        for (auto [w, h] : sizes) {
            Output out(w, h);
            ASSERT_TRUE(Scale(p, out, 5)) << w << "x" << h;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint8_t* px = out.At(x, y);
                    ASSERT_EQ(px[0], 30) << w << "x" << h << " at " << x << "," << y;
                    ASSERT_EQ(px[1], 140);
                    ASSERT_EQ(px[2], 220);
                    ASSERT_EQ(px[3], 255);
                }
        }
    }
}

// The exact area average of a shrink, worked out pixel by pixel.
double AreaAverage(Picture& p, int w, int h, int x, int y, int channel) {
    const double rx = static_cast<double>(p.width) / w, ry = static_cast<double>(p.height) / h;
    double total = 0;
    for (int sy = 0; sy < p.height; ++sy)
        for (int sx = 0; sx < p.width; ++sx) {
            const double cx =
                std::max(0.0, std::min(sx + 1.0, (x + 1) * rx) - std::max<double>(sx, x * rx));
            const double cy =
                std::max(0.0, std::min(sy + 1.0, (y + 1) * ry) - std::max<double>(sy, y * ry));
            total += cx * cy * p.At(sx, sy)[channel];
        }
    return total / (rx * ry);
}

TEST(ImageScale, ShrinkingMatchesTheExactAreaAverageOfNoise) {
    struct Case {
        int srcW, srcH, w, h, bpp;
    };
    for (const Case c : {Case{50, 40, 7, 3, 3}, Case{61, 97, 13, 11, 4}, Case{300, 600, 7, 2, 3},
                         Case{40, 900, 40, 3, 3}, Case{9, 8, 4, 4, 4}}) {
        Picture p(c.srcW, c.srcH, c.bpp);
        std::mt19937 random(c.srcW * c.srcH);
        for (auto& b : p.bytes)
            b = static_cast<std::uint8_t>(random());
        Output out(c.w, c.h);
        ASSERT_TRUE(Scale(p, out, 16));
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_NEAR(out.At(x, y)[ch], AreaAverage(p, c.w, c.h, x, y, ch), 0.51)
                        << c.srcW << "x" << c.srcH << " to " << c.w << "x" << c.h << " at " << x
                        << "," << y;
    }
}

TEST(ImageScale, EnlargingBlendsNeighboursAndRepeatsTheEdges) {
    Picture p(2, 2);
    p.Set(0, 0, 0, 0, 0);
    p.Set(1, 0, 100, 100, 100);
    p.Set(0, 1, 0, 0, 0);
    p.Set(1, 1, 100, 100, 100);
    Output out(4, 3);
    ASSERT_TRUE(Scale(p, out));
    const int expected[] = {0, 25, 75, 100};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(out.At(x, y)[1], expected[x]) << x << "," << y;

    Picture dot(1, 1);
    dot.Set(0, 0, 1, 2, 3);
    Output screen(64, 48);
    ASSERT_TRUE(Scale(dot, screen));
    EXPECT_EQ(screen.At(63, 47)[0], 1);
    EXPECT_EQ(screen.At(0, 0)[2], 3);
}

TEST(ImageScale, ReadsEachRowOnceInOrderInBandsOfTheAskedSize) {
    struct Case {
        int srcH, outH, band;
    };
    for (const Case c : {Case{1000, 7, 64}, Case{1000, 7, 1}, Case{50, 333, 8}, Case{64, 64, 64},
                         Case{5, 1, 64}}) {
        Picture p(3, c.srcH);
        Output out(2, c.outH);
        ASSERT_TRUE(Scale(p, out, c.band));
        int next = 0;
        for (auto [first, count] : p.requests) {
            EXPECT_EQ(first, next) << "rows are asked for in order, with none twice";
            EXPECT_LE(count, c.band);
            EXPECT_GT(count, 0);
            next = first + count;
        }
        EXPECT_EQ(next, c.srcH) << "every row is read";
    }
}

TEST(ImageScale, BandSizeNeverChangesTheResult) {
    // Small bands make the row window wrap and compact at every step; the
    // result must be what one band of every row gives, up and down.
    for (auto [srcH, outH] :
         {std::pair{7, 23}, {23, 7}, {16, 16}, {40, 41}, {41, 40}, {3, 60}, {300, 1}, {600, 2}}) {
        Picture p(5, srcH);
        std::mt19937 random(srcH * 100 + outH);
        for (auto& b : p.bytes)
            b = static_cast<std::uint8_t>(random());
        Output whole(4, outH);
        ASSERT_TRUE(Scale(p, whole, srcH));
        for (int band : {1, 2, 3, 5}) {
            Output banded(4, outH);
            ASSERT_TRUE(Scale(p, banded, band));
            EXPECT_EQ(banded.bytes, whole.bytes) << srcH << " to " << outH << ", band " << band;
        }
    }
}

TEST(ImageScale, TakesBottomUpRowsInStoredOrderAndWritesThemTheRightWayUp) {
    for (auto [srcH, outH] : {std::pair{40, 7}, {7, 23}, {16, 16}, {600, 3}}) {
        Picture upright(5, srcH);
        std::mt19937 random(srcH);
        for (auto& b : upright.bytes)
            b = static_cast<std::uint8_t>(random());
        Picture stored(5, srcH); // bottom row first
        for (int y = 0; y < srcH; ++y)
            std::copy_n(upright.At(0, srcH - 1 - y), 15, stored.At(0, y));
        Output expected(4, outH), out(4, outH);
        ASSERT_TRUE(Scale(upright, expected));
        ScaleSource s = stored.Source();
        s.bottomUp = true;
        // Each row goes through the filter once: the output's as it is
        // written, or, where the picture is enlarged, the source's as read.
        const bool enlarged = 4 * outH > 5 * srcH;
        std::vector<int> filtered(static_cast<std::size_t>(enlarged ? srcH : outH));
        int sourceRows = 0;
        const RowFilter invert = [&](std::uint8_t* row, int width, int bytes) {
            EXPECT_EQ(width, enlarged ? 5 : 4);
            if (enlarged)
                ++filtered[static_cast<std::size_t>(sourceRows++)];
            else
                ++filtered[static_cast<std::size_t>(row - out.bytes.data()) / 16];
            std::transform(row, row + bytes * width, row, [](std::uint8_t v) { return 255 - v; });
        };
        ASSERT_TRUE(ScaleImage(s, 4, outH, out.bytes.data(), 16, 3, ScaleCode::Fastest, invert));
        EXPECT_EQ(filtered, std::vector<int>(filtered.size(), 1));
        for (std::size_t i = 0; i < out.bytes.size(); ++i) // the scaler writes alpha itself
            ASSERT_NEAR(enlarged && i % 4 == 3 ? out.bytes[i] : 255 - out.bytes[i],
                        expected.bytes[i], 1)
                << srcH << " to " << outH << " at " << i;
        int next = 0;
        for (auto [first, count] : stored.requests) {
            EXPECT_EQ(first, next) << "stored rows in order, each once";
            next = first + count;
        }
        EXPECT_EQ(next, srcH);
    }
}

TEST(ImageScale, HoldsAboutABandOfRowsHoweverFarItShrinks) {
    // Each output row here covers thousands of source rows (the preview at
    // 1 %): the rows still arrive in one small buffer.
    for (auto [outW, outH] : {std::pair{3, 1}, {2, 2}, {3, 200}}) {
        Picture p(3, 4000);
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                p.Set(x, y, 10, 20, static_cast<std::uint8_t>(y % 2 ? 200 : 0));
        std::uintptr_t lowest = UINTPTR_MAX, highest = 0;
        ScaleSource s = p.Source();
        const auto read = s.readRows;
        s.readRows = [&](int first, int count, std::uint8_t* dest, std::size_t stride) {
            const auto at = reinterpret_cast<std::uintptr_t>(dest);
            lowest = std::min(lowest, at);
            highest = std::max(highest, at + count * stride);
            return read(first, count, dest, stride);
        };
        Output out(outW, outH);
        ASSERT_TRUE(ScaleImage(s, outW, outH, out.bytes.data(), outW * 4, 16));
        EXPECT_LE(highest - lowest, 18u * 9) << outH << " rows: at most a band and two rows held";
        EXPECT_NEAR(out.At(0, 0)[2], 100, 1) << "and every row still counts";
    }
}

TEST(ImageScale, VectorisedCodeGivesThePlainCodesBytes) {
    if (!ScaleIsVectorised()) GTEST_SKIP() << "no vectorised code on this processor";
    struct Case {
        int srcW, srcH, bpp, w, h, band;
        bool bottomUp;
    };
    // Odd widths leave tails after every group of pixels and bytes; deep
    // shrinks take the summed rows, enlargements the two-pixel blend.
    const Case cases[] = {
        {61, 47, 3, 17, 13, 5, false},
        {97, 33, 4, 31, 7, 3, true},
        {13, 9, 3, 101, 37, 2, false},
        {7, 300, 4, 5, 2, 16, true},
        {300, 5, 3, 3, 11, 1, false},
        {1, 1, 3, 3, 2, 64, false},
        {33, 21, 3, 33, 21, 4, true},
        {250, 190, 3, 9, 23, 7, false},
        {5, 3, 4, 6, 700, 2, false},
        // A megapixel and more: its rows are read ahead on a second thread.
        {1201, 1003, 3, 641, 479, 64, false},
        {1100, 1000, 4, 1500, 1300, 64, true},
    };
    for (const Case& c : cases) {
        Picture p(c.srcW, c.srcH, c.bpp);
        std::mt19937 random(c.srcW * 7 + c.srcH);
        for (auto& b : p.bytes)
            b = static_cast<std::uint8_t>(random());
        ScaleSource s = p.Source();
        s.bottomUp = c.bottomUp;
        Output plain(c.w, c.h), fast(c.w, c.h);
        ASSERT_TRUE(ScaleImage(s, c.w, c.h, plain.bytes.data(), c.w * 4, c.band, ScaleCode::Plain));
        ASSERT_TRUE(ScaleImage(s, c.w, c.h, fast.bytes.data(), c.w * 4, c.band));
        EXPECT_EQ(fast.bytes, plain.bytes) << c.srcW << "x" << c.srcH << "x" << c.bpp << " to "
                                           << c.w << "x" << c.h << ", band " << c.band;
    }
}

TEST(ImageScale, RowsReadOnAnotherThreadAreReadWhileTheSourceHasItPrepared) {
    Picture p(1200, 1000); // a megapixel and more: read ahead where there is a second core
    ScaleSource s = p.Source();
    static thread_local bool prepared = false;
    std::atomic<int> preparations = 0, released = 0, unprepared = 0;
    s.prepareThread = [&] {
        ++preparations, prepared = true;
        return std::shared_ptr<void>(nullptr, [&](void*) { prepared = false, ++released; });
    };
    s.readRows = [&, read = s.readRows, caller = std::this_thread::get_id()](auto... args) {
        unprepared += std::this_thread::get_id() != caller && !prepared;
        return read(args...);
    };
    Output out(600, 500);
    ASSERT_TRUE(ScaleImage(s, out.width, out.height, out.bytes.data(), out.width * 4));
    EXPECT_EQ(unprepared, 0);
    EXPECT_EQ(preparations, std::thread::hardware_concurrency() >= 2 ? 1 : 0);
    EXPECT_EQ(released, preparations) << "held until the thread is done";
}

TEST(ImageScale, StopsWhenTheSourceFails) {
    for (auto [w, h, fail] : {std::tuple{10, 100, 70}, {1200, 1000, 700}}) { // read ahead too
        Picture p(w, h);
        p.failAtRow = fail;
        Output out(5, 50);
        EXPECT_FALSE(Scale(p, out, 16));
        EXPECT_LE(p.requests.back().first, fail) << "nothing is asked for after the failure";
    }
}

} // namespace
} // namespace orv::imaging
