#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/bmp_writer.h"
#include "imaging/picture_decoder.h"
#include "support/exif_block.h"
#include "support/jpeg_encode.h"

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Jpeg(int w, int h, J_COLOR_SPACE space = JCS_RGB) {
    const int components = space == JCS_CMYK ? 4 : 3;
    return testing::EncodeJpeg(w, h,
                               [components](int x, int y, std::uint8_t* px) {
                                   for (int i = 0; i < components; ++i)
                                       px[i] = static_cast<std::uint8_t>(x + y);
                               },
                               {space});
}

// A picture of distinct pixels, as a BMP file written by WriteBmp.
Bytes Bitmap(int w, int h, std::vector<std::uint8_t>* pixels = nullptr) {
    std::vector<std::uint8_t> px(static_cast<std::size_t>(w) * h * 4);
    for (int i = 0; i < w * h; ++i) {
        px[4 * i] = static_cast<std::uint8_t>(i * 7);
        px[4 * i + 1] = static_cast<std::uint8_t>(i * 13 + 1);
        px[4 * i + 2] = static_cast<std::uint8_t>(255 - i);
        px[4 * i + 3] = 255;
    }
    Bytes file;
    EXPECT_TRUE(WriteBmp([&](const std::uint8_t* b,
                             std::size_t n) { return file.insert(file.end(), b, b + n), true; },
                         px.data(), w, h, static_cast<std::size_t>(w) * 4));
    if (pixels) *pixels = px;
    return file;
}

TEST(InspectPicture, PicksTheDecoderAndTheUprightSize) {
    Bytes withPng = Bitmap(4, 3);
    withPng[30] = 5; // BI_PNG: left to the system
    Bytes damagedBmp = Bitmap(4, 3);
    damagedBmp[26] = 2; // two planes
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
    struct Case {
        const char* name;
        Bytes file;
        std::optional<Decoder> decoder; // nothing: refused
        PixelSize upright;
        int orientation;
    };
    const Case cases[] = {
        {"jpeg", Jpeg(40, 30), Decoder::Jpeg, {40, 30}, 1},
        {"jpeg turned",
         testing::WithSegment(Jpeg(40, 30), 0xE1, testing::ExifOrientationBlock(6)),
         Decoder::Jpeg,
         {30, 40},
         6},
        {"cmyk jpeg turned",
         testing::WithSegment(Jpeg(40, 30, JCS_CMYK), 0xE1, testing::ExifOrientationBlock(8)),
         Decoder::System,
         {30, 40},
         8},
        {"jpeg header damaged", {0xFF, 0xD8, 0xFF, 0xC0, 0, 2, 0, 0}, std::nullopt, {}, 1},
        {"bmp", Bitmap(4, 3), Decoder::Bmp, {4, 3}, 1},
        {"png inside a bmp", withPng, Decoder::System, {}, 1},
        {"damaged bmp", damagedBmp, std::nullopt, {}, 1},
        {"gif", gif, Decoder::System, {}, 1},
        {"empty", {}, std::nullopt, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto info = InspectPicture(MemoryReader(c.file));
        ASSERT_EQ(info.has_value(), c.decoder.has_value());
        if (!info) continue;
        EXPECT_EQ(info->decoder, *c.decoder);
        EXPECT_EQ(info->upright.width, c.upright.width);
        EXPECT_EQ(info->upright.height, c.upright.height);
        EXPECT_EQ(info->orientation, c.orientation);
    }
}

TEST(DecodePicture, AWrittenBitmapReadsBackExactly) {
    std::vector<std::uint8_t> pixels;
    const Bytes file = Bitmap(7, 5, &pixels); // rows of 21 bytes: padded to 24
    ASSERT_EQ(file.size(), 54u + 24 * 5);
    const auto info = InspectPicture(MemoryReader(file));
    ASSERT_TRUE(info);
    std::vector<std::uint8_t> out(7 * 5 * 4);
    ASSERT_TRUE(DecodePicture(MemoryReader(file), *info, 7, 5, out.data(), 7 * 4));
    EXPECT_EQ(out, pixels);
    EXPECT_FALSE(DecodePicture(MemoryReader(file), *info, 7, 5, out.data(), 7 * 4, {1024}))
        << "over the budget";
    PictureInfo system = *info;
    system.decoder = Decoder::System;
    EXPECT_FALSE(DecodePicture(MemoryReader(file), system, 7, 5, out.data(), 7 * 4));
}

TEST(DecodeBudget, SystemPicturesAndWallpapersStayWithinIt) {
    EXPECT_TRUE(SystemDecodeFits({3000, 2000}, {1024, 683}));
    EXPECT_FALSE(SystemDecodeFits({65535, 65535}, {768, 768}));
    EXPECT_FALSE(SystemDecodeFits({8000, 8000}, {1024, 768})) << "256 MB of pixels";
    EXPECT_FALSE(SystemDecodeFits({0, 10}, {10, 10}));

    EXPECT_EQ(WallpaperSize({4000, 3000}, 64u << 20).width, 4000);
    const PixelSize big = WallpaperSize({12000, 9000}, 64u << 20);
    EXPECT_LE(4.0 * big.width * big.height, 64.0 * (1 << 20));
    EXPECT_GT(4.0 * big.width * big.height, 60.0 * (1 << 20));
    EXPECT_NEAR(static_cast<double>(big.width) / big.height, 12000.0 / 9000, 0.01);
    const PixelSize strip = WallpaperSize({30000, 1}, 1024);
    EXPECT_EQ(strip.height, 1);
    EXPECT_GE(strip.width, 1);
}

} // namespace
} // namespace orv::imaging
