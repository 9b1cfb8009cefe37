#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/bmp_decoder.h"
#include "support/bmp_builder.h"

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Bmp;
using testing::Put16;
using testing::Put32;
constexpr std::size_t kLimit = 64 << 20;

// Stored rows of `bpp`-bit values (indexes, or pixels packed little-endian),
// padded to 32 bits, bottom row first unless `topDown`.
Bytes Rows(int width, int height, int bpp, bool topDown,
           const std::function<std::uint32_t(int, int)>& value) {
    const std::size_t stride = (static_cast<std::size_t>(width) * bpp + 31) / 32 * 4;
    Bytes out(stride * height);
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        std::uint8_t* p = &out[row * stride];
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = bpp < 8 ? value(x, y) & ((1u << bpp) - 1) : value(x, y);
            if (bpp < 8)
                p[x * bpp / 8] |= static_cast<std::uint8_t>(v << (8 - bpp - x * bpp % 8));
            else
                for (int i = 0; i < bpp / 8; ++i)
                    p[x * bpp / 8 + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    }
    return out;
}

struct Image {
    int width, height;
    Bytes pixels;
    std::uint32_t At(int x, int y) const { // 0xAARRGGBB
        const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }
};

// The file decoded at width x height (its own size when 0); empty pixels
// when DecodeBmp refuses it.
Image Decode(const Bytes& file, int width = 0, int height = 0, std::size_t limit = kLimit) {
    const ByteReader reader = MemoryReader(file);
    if (width == 0) {
        const auto info = ReadBmpInfo(reader);
        if (!info) return {0, 0, {}};
        width = info->size.width;
        height = info->size.height;
    }
    Image image{width, height, Bytes(static_cast<std::size_t>(width) * height * 4, 0xCD)};
    if (!DecodeBmp(reader, width, height, image.pixels.data(), width * 4u, limit))
        image.pixels.clear();
    return image;
}

std::uint32_t Opaque(std::uint32_t rgb) {
    return 0xFF000000 | rgb;
}

// n distinct colours.
std::vector<std::uint32_t> Palette(int n) {
    std::vector<std::uint32_t> p;
    for (int i = 0; i < n; ++i)
        p.push_back(static_cast<std::uint32_t>((i * 53 + 7) % 256 << 16 | (i * 101) % 256 << 8 |
                                               (255 - i) % 256));
    return p;
}

TEST(BmpDecoder, DrawsPaletteFilesOfEveryHeaderAndDepthExactly) {
    struct Case {
        std::uint32_t header;
        int bpp;
        bool topDown;
        int entries; // in the file; 0: all 2^bpp
    };
    const Case cases[] = {
        {12, 1, false, 0},  {12, 4, false, 0}, {12, 8, false, 0},  {16, 8, false, 0},
        {64, 4, true, 0},   {40, 1, true, 0},  {40, 2, false, 0},  {40, 4, false, 0},
        {40, 8, true, 0},   {52, 8, false, 0}, {108, 4, false, 0}, {124, 8, true, 0},
        {40, 8, false, 37}, {40, 4, true, 5},  {124, 1, false, 1},
    };
    for (const Case& c : cases) {
        const int most = 1 << c.bpp, entries = c.entries ? c.entries : most;
        Bmp bmp{.headerSize = c.header, .width = 13, .height = c.topDown ? -7 : 7, .bpp = c.bpp};
        const auto index = [&](int x, int y) {
            return static_cast<std::uint32_t>(x * 7 + y * 3) % most;
        };
        bmp.palette = Palette(entries);
        bmp.coloursUsed = c.entries;
        bmp.pixels = Rows(13, 7, c.bpp, c.topDown, index);
        const Image image = Decode(bmp.Write());
        ASSERT_EQ(image.pixels.size(), 13u * 7 * 4) << c.header << "/" << c.bpp;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) {
                const std::uint32_t i = index(x, y);
                ASSERT_EQ(image.At(x, y), Opaque(i < bmp.palette.size() ? bmp.palette[i] : 0))
                    << "header " << c.header << ", " << c.bpp << " bits, at " << x << "," << y;
            }
    }
}

// v of a `bits`-wide channel on 0..255, rounded.
int Expand(std::uint64_t v, int bits) {
    const std::uint64_t max = (std::uint64_t{1} << bits) - 1;
    return bits == 0 ? 0 : static_cast<int>((2 * v * 255 + max) / (2 * max));
}

TEST(BmpDecoder, ScalesMaskedChannelsOfAnyOrderAndWidthToEightBits) {
    struct Case {
        const char* what;
        std::uint32_t header, compression; // compression 0: the default masks
        int bpp;
        std::vector<std::uint32_t> masks; // red, green, blue
    };
    const Case cases[] = {
        {"16-bit default 5-5-5", 40, 0, 16, {0x7C00, 0x03E0, 0x001F}},
        {"16-bit 5-6-5 after the header", 40, 3, 16, {0xF800, 0x07E0, 0x001F}},
        {"16-bit B-G-R 4-4-4 in a V2 header", 52, 3, 16, {0x000F, 0x00F0, 0x0F00}},
        {"32-bit default", 40, 0, 32, {0xFF0000, 0xFF00, 0xFF}},
        {"32-bit bytes reversed, V4 header", 108, 3, 32, {0xFF00, 0xFF0000, 0xFF000000}},
        {"32-bit 10-bit channels and a zero mask, V5", 124, 3, 32, {0x3FF, 0, 0x3FF00000}},
        {"32-bit 1-bit and 31-bit channels", 40, 3, 32, {0x80000000, 0x7FFFFFFF, 0}},
    };
    for (const Case& c : cases) {
        Bmp bmp{.headerSize = c.header,
                .width = 9,
                .height = 5,
                .bpp = c.bpp,
                .compression = c.compression};
        if (c.compression) bmp.masks = c.masks;
        // Every pixel its own bit pattern, so each channel takes many values.
        const auto pixel = [&](int x, int y) {
            return static_cast<std::uint32_t>((x * 5 + y * 45 + 1) * 0x9E3779B1u) >> (32 - c.bpp);
        };
        bmp.pixels = Rows(9, 5, c.bpp, false, pixel);
        const Image image = Decode(bmp.Write());
        ASSERT_FALSE(image.pixels.empty()) << c.what;
        const auto channel = [](std::uint32_t v, std::uint32_t mask) {
            if (!mask) return 0;
            const int shift = std::countr_zero(mask);
            return Expand((v & mask) >> shift, std::popcount(mask));
        };
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) {
                const std::uint32_t v = pixel(x, y);
                const std::uint32_t expected =
                    Opaque(channel(v, c.masks[0]) << 16 | channel(v, c.masks[1]) << 8 |
                           channel(v, c.masks[2]));
                ASSERT_EQ(image.At(x, y), expected) << c.what << " at " << x << "," << y;
            }
    }
    EXPECT_EQ(Expand(31, 5), 255);
    EXPECT_EQ(Expand(16, 5), 132);
    EXPECT_EQ(Expand(512, 10), 128);
}

TEST(BmpDecoder, PutsRealAlphaOnBlackAndTakesAllZeroAlphaAsOpaque) {
    struct Case {
        const char* what;
        std::uint32_t header, compression;
        std::uint32_t alpha;
        std::uint32_t expectedGrey, expectedWhite;
    };
    // The top right pixel, stored last, is grey 200 with the given alpha; the
    // others are white with alpha 0.
    const Case cases[] = {
        {"V5 alpha mask", 124, 3, 0x80, 0xFF646464, 0xFF000000},
        {"V3 alpha mask", 56, 3, 0x80, 0xFF646464, 0xFF000000},
        {"alpha bit fields", 40, 6, 0x80, 0xFF646464, 0xFF000000},
        {"all alpha zero", 124, 3, 0, 0xFFC8C8C8, 0xFFFFFFFF},
        {"no alpha mask: the fourth byte is unused", 40, 0, 0x80, 0xFFC8C8C8, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        Bmp bmp{.headerSize = c.header,
                .width = 2,
                .height = 2,
                .bpp = 32,
                .compression = c.compression};
        if (c.compression) bmp.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
        bmp.pixels = Rows(2, 2, 32, false, [&](int x, int y) {
            return x == 1 && y == 0 ? c.alpha << 24 | 0xC8C8C8 : 0xFFFFFFu;
        });
        const Image image = Decode(bmp.Write());
        ASSERT_FALSE(image.pixels.empty()) << c.what;
        EXPECT_EQ(image.At(1, 0), c.expectedGrey) << c.what;
        EXPECT_EQ(image.At(0, 0), c.expectedWhite) << c.what;
        EXPECT_EQ(image.At(1, 1), c.expectedWhite) << c.what;
    }
}

// RLE data from its bytes, for a 6 x 4 picture with the palette index i
// drawn as colour Palette(16)[i].
Bytes Rle(int bpp, Bytes data, int height = 4) {
    Bmp bmp{.width = 6, .height = height, .bpp = bpp, .compression = bpp == 8 ? 1u : 2u};
    bmp.palette = Palette(16);
    bmp.pixels = std::move(data);
    return bmp.Write();
}

// The picture as palette indexes, top row first; '.' black.
void ExpectIndexes(const Image& image, const std::vector<std::string>& rows, const char* what) {
    ASSERT_EQ(image.pixels.size(), 6u * rows.size() * 4) << what;
    const auto palette = Palette(16);
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < 6; ++x) {
            const char c = rows[y][x];
            const std::uint32_t expected =
                Opaque(c == '.' ? 0 : palette[c <= '9' ? c - '0' : c - 'a' + 10]);
            EXPECT_EQ(image.At(x, y), expected) << what << " at " << x << "," << y;
        }
}

TEST(BmpDecoder, DecodesEveryRleCode) {
    struct Case {
        const char* what;
        int bpp;
        Bytes data;
        std::vector<std::string> rows; // top row first
    };
    const Case cases[] = {
        {"runs and end of lines",
         8,
         {3, 1, 3, 2, 0, 0, 6, 3, 0, 0, 2, 4, 4, 5, 0, 0, 6, 6, 0, 1},
         {"666666", "445555", "333333", "111222"}},
        {"absolute runs with padding",
         8,
         {0, 3, 1, 2, 3, 0, 3, 4, 0, 0, 0, 4, 5, 6, 7, 8, 2, 9, 0, 1},
         {"......", "......", "567899", "123444"}},
        {"delta skips pixels, which stay black",
         8,
         {2, 1, 0, 2, 3, 1, 1, 2, 0, 0, 1, 3, 0, 1},
         {"......", "3.....", ".....2", "11...."}},
        {"end of bitmap early",
         8,
         {6, 7, 0, 1, 0, 0, 6, 8},
         {"......", "......", "......", "777777"}},
        {"RLE4 runs alternate two indexes",
         4,
         {6, 0x12, 0, 0, 5, 0xab, 0, 1},
         {"......", "......", "ababa.", "121212"}},
        {"RLE4 absolute runs with padding",
         4,
         {0, 3, 0x12, 0x30, 0, 0, 0, 5, 0x45, 0x67, 0x80, 0, 0, 0, 0, 6, 0xcd, 0xef, 0x12, 0, 1},
         {"......", "cdef12", "45678.", "123..."}},
        {"runs past the row end are cut there",
         8,
         {9, 1, 0, 0, 0, 8, 1, 2, 3, 4, 5, 6, 7, 8, 2, 9, 0, 1},
         {"......", "......", "123456", "111111"}},
        {"delta past the last row ends it",
         8,
         {2, 1, 0, 2, 1, 9, 2, 2},
         {"......", "......", "......", "11...."}},
        {"data cut mid-run", 8, {2, 1, 0, 0, 0, 5, 1, 2}, {"......", "......", "12....", "11...."}},
        {"indexes past the palette are black",
         8,
         {2, 200, 2, 1, 0, 1},
         {"......", "......", "......", "..11.."}},
    };
    for (const Case& c : cases)
        ExpectIndexes(Decode(Rle(c.bpp, c.data)), c.rows, c.what);
}

TEST(BmpDecoder, RepairsPixelOffsetsItCanWorkOut) {
    Bmp bmp{.width = 3, .height = 2, .bpp = 8, .coloursUsed = 4};
    bmp.palette = Palette(4);
    bmp.pixels =
        Rows(3, 2, 8, false, [](int x, int y) { return static_cast<std::uint32_t>(x + y) % 4; });
    const Image good = Decode(bmp.Write());
    ASSERT_FALSE(good.pixels.empty());
    for (std::int64_t offset : {0LL, 20LL, 0xFFFFFFF0LL}) {
        bmp.offset = offset;
        EXPECT_EQ(Decode(bmp.Write()).pixels, good.pixels) << "offset " << offset;
    }
    // An offset inside the palette: the palette is what lies before it.
    bmp.palette = Palette(256);
    bmp.offset = 54 + 2 * 4;
    Bytes file = bmp.Write();
    file.erase(file.begin() + 54 + 8, file.begin() + 54 + 1024);
    const Image cut = Decode(file);
    ASSERT_FALSE(cut.pixels.empty());
    EXPECT_EQ(cut.At(0, 0), Opaque(bmp.palette[0]));
    EXPECT_EQ(cut.At(1, 0), Opaque(bmp.palette[1]));
    EXPECT_EQ(cut.At(2, 0), Opaque(0)) << "index 2 is past the palette";
}

TEST(BmpDecoder, RefusesWhatItCannotDrawAndSaysWhy) {
    struct Case {
        const char* what;
        std::uint32_t header;
        int width, height, bpp;
        std::uint32_t compression;
        int planes;
        BmpRefusal why;
    };
    const auto other = BmpRefusal::OtherKind, damaged = BmpRefusal::Damaged;
    const Case cases[] = {
        {"JPEG inside", 40, 4, 4, 0, 4, 1, other},
        {"PNG inside", 124, 4, 4, 0, 5, 1, other},
        {"OS/2 Huffman", 64, 4, 4, 1, 3, 1, other},
        {"OS/2 RLE24", 64, 4, 4, 24, 4, 1, other},
        {"64-bit pixels", 40, 4, 4, 64, 0, 1, other},
        {"unknown header size", 80, 4, 4, 24, 0, 1, other},
        {"zero width", 40, 0, 4, 24, 0, 1, damaged},
        {"negative width", 40, -4, 4, 24, 0, 1, damaged},
        {"zero height", 40, 4, 0, 24, 0, 1, damaged},
        {"2^31 - 1 wide", 40, 0x7FFFFFFF, 1, 24, 0, 1, damaged},
        {"2^31 high", 40, 1, INT32_MIN, 24, 0, 1, damaged},
        {"too many pixels", 40, 30000, 30000, 1, 0, 1, damaged},
        {"two planes", 40, 4, 4, 24, 0, 2, damaged},
        {"3 bits a pixel", 40, 4, 4, 3, 0, 1, damaged},
        {"RLE8 of 4 bits", 40, 4, 4, 4, 1, 1, damaged},
        {"bit fields of 24 bits", 40, 4, 4, 24, 3, 1, damaged},
        {"top-down RLE", 40, 4, -4, 8, 1, 1, damaged},
    };
    for (const Case& c : cases) {
        Bmp bmp{.headerSize = c.header,
                .width = c.width,
                .height = c.height,
                .bpp = c.bpp,
                .compression = c.compression,
                .planes = c.planes,
                .pixels = Bytes(64, 0)};
        if (c.bpp > 0 && c.bpp <= 8) bmp.palette = Palette(1 << c.bpp);
        if (c.compression == 3) bmp.masks = {0xFF0000, 0xFF00, 0xFF};
        const Bytes file = bmp.Write();
        BmpRefusal why = BmpRefusal::NotBmp;
        EXPECT_FALSE(ReadBmpInfo(MemoryReader(file), &why)) << c.what;
        EXPECT_EQ(why, c.why) << c.what;
        EXPECT_TRUE(Decode(file, 4, 4).pixels.empty()) << c.what;
    }
    BmpRefusal why = BmpRefusal::Damaged;
    const Bytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(ReadBmpInfo(MemoryReader(png), &why));
    EXPECT_EQ(why, BmpRefusal::NotBmp);
}

TEST(BmpDecoder, RefusesWhenTheWorkingMemoryWouldExceedTheLimit) {
    // 200 000 x 20 claimed by a small file: refused before any buffer is
    // made for it.
    Bmp wide{.width = 200000, .height = 20, .pixels = Bytes(100, 0x40)};
    const Bytes file = wide.Write();
    const auto info = ReadBmpInfo(MemoryReader(file));
    ASSERT_TRUE(info);
    const std::size_t need = BmpDecodeMemory(*info, 4, 4);
    EXPECT_GT(need, 200000u * 3 * 2) << "a few rows, in the scaler and as read";
    EXPECT_TRUE(Decode(file, 4, 4, need - 1).pixels.empty());
    EXPECT_FALSE(Decode(file, 4, 4, need).pixels.empty());
}

TEST(BmpDecoder, FilesCutAtAnyLengthDrawWhatTheyHold) {
    // Bottom-up files: the rows that are there are drawn from the bottom up,
    // the rest is black; a file cut in its headers is refused.
    struct Case {
        int bpp;
        std::uint32_t compression, header;
    };
    for (const Case c : {Case{24, 0, 40}, Case{8, 0, 12}, Case{4, 0, 64}, Case{16, 3, 124},
                         Case{8, 1, 40}, Case{4, 2, 40}}) {
        Bmp bmp{.headerSize = c.header,
                .width = 5,
                .height = 3,
                .bpp = c.bpp,
                .compression = c.compression};
        if (c.bpp <= 8) bmp.palette = Palette(1 << c.bpp);
        if (c.compression == 3) bmp.masks = {0xF800, 0x07E0, 0x001F};
        const auto value = [](int x, int y) {
            return static_cast<std::uint32_t>(x * 3 + y * 5 + 1);
        };
        bmp.pixels = c.compression == 1   ? Bytes{5, 1, 0, 0, 5, 2, 0, 0, 5, 3, 0, 1}
                     : c.compression == 2 ? Bytes{5, 0x12, 0, 0, 5, 0x34, 0, 0, 5, 0x56, 0, 1}
                                          : Rows(5, 3, c.bpp, false, value);
        const Bytes whole = bmp.Write();
        const Image full = Decode(whole);
        ASSERT_FALSE(full.pixels.empty()) << c.bpp;
        const std::size_t pixelOffset = whole.size() - bmp.pixels.size();
        const bool rle = c.compression == 1 || c.compression == 2;
        for (std::size_t length = 0; length < whole.size(); ++length) {
            const Image image = Decode(Bytes(whole.begin(), whole.begin() + length), 5, 3);
            if (length <= pixelOffset) {
                EXPECT_TRUE(image.pixels.empty()) << c.bpp << " bits cut at " << length;
                continue;
            }
            ASSERT_FALSE(image.pixels.empty()) << c.bpp << " bits cut at " << length;
            const std::size_t held = length - pixelOffset;
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x) {
                    const std::size_t stored = 2 - y; // its row in the file
                    const bool there =
                        rle ? held >= 4 * stored + 2 // a run of 5 draws the row
                            : held >= stored * (bmp.pixels.size() / 3) + ((x + 1) * c.bpp + 7) / 8;
                    ASSERT_EQ(image.At(x, y), there ? full.At(x, y) : Opaque(0))
                        << c.bpp << " bits cut at " << length << ", " << x << "," << y;
                }
        }
    }
}

TEST(BmpDecoder, ShrinksToTheAreaAverageWhicheverWayRowsAreStored) {
    // 4 x 4 blocks of one index each, shrunk by four: each output pixel is
    // the average of its block's 16 pixels.
    const auto palette = Palette(256);
    const auto index = [](int x, int y) {
        return static_cast<std::uint32_t>((x * 37 + y * 11 + x * y) % 256);
    };
    for (int height : {24, -24}) {
        for (std::uint32_t compression : {0u, 1u}) {
            if (height < 0 && compression) continue;
            Bmp bmp{.width = 32, .height = height, .bpp = 8, .compression = compression};
            bmp.palette = palette;
            if (compression == 0) {
                bmp.pixels = Rows(32, 24, 8, height < 0, index);
            } else {
                for (int y = 23; y >= 0; --y) { // absolute runs of 32 indexes
                    bmp.pixels.insert(bmp.pixels.end(), {0, 32});
                    for (int x = 0; x < 32; ++x)
                        bmp.pixels.push_back(static_cast<std::uint8_t>(index(x, y)));
                    bmp.pixels.insert(bmp.pixels.end(), {0, 0});
                }
            }
            const Image image = Decode(bmp.Write(), 8, 6);
            ASSERT_FALSE(image.pixels.empty());
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 8; ++x)
                    for (int shift : {0, 8, 16}) {
                        double sum = 0;
                        for (int k = 0; k < 16; ++k)
                            sum += palette[index(4 * x + k % 4, 4 * y + k / 4)] >> shift & 0xFF;
                        ASSERT_NEAR(image.At(x, y) >> shift & 0xFF, sum / 16, 0.51)
                            << "height " << height << ", compression " << compression << " at " << x
                            << "," << y;
                    }
        }
    }
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(BmpDecoder, MatchesImageMagicksOwnDecodingOfItsFiles) {
    struct Case {
        const char* name;
        // ImageMagick widens 5- and 6-bit channels by repeating their top
        // bits, which is 1 off the exact v * 255 / max at times; alpha put on
        // black rounds either way.
        int tolerance;
    };
    const Case cases[] = {
        {"os2-core-24", 0}, {"os2-core-8", 0},  {"os2-core-4", 0},       {"info-24", 0},
        {"info-8", 0},      {"info-4", 0},      {"info-1", 0},           {"info-rle8", 0},
        {"v5-rle8", 0},     {"v5-24", 0},       {"v5-rgb565", 1},        {"v5-rgb555", 1},
        {"v5-argb1555", 1}, {"v5-argb8888", 1}, {"info-32-unmasked", 0},
    };
    for (const Case& c : cases) {
        const std::string base = std::string(ORVANDEL_TEST_BITMAPS) + "/" + c.name;
        const Bytes file = ReadFile(base + ".bmp");
        const Bytes rgb = ReadFile(base + ".rgb");
        ASSERT_EQ(rgb.size(), 37u * 23 * 3) << c.name << ": made by make-test-bitmaps";
        const Image image = Decode(file);
        ASSERT_EQ(image.pixels.size(), 37u * 23 * 4) << c.name;
        int worst = 0;
        for (std::size_t i = 0; i < 37 * 23; ++i)
            for (int ch = 0; ch < 3; ++ch)
                worst = std::max(worst, std::abs(image.pixels[i * 4 + 2 - ch] - rgb[i * 3 + ch]));
        EXPECT_LE(worst, c.tolerance) << c.name;
    }
}

} // namespace
} // namespace orv::imaging
