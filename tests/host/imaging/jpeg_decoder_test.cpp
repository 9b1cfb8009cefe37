#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/jpeg_decoder.h"
#include "support/exif_block.h"
#include "support/jpeg_encode.h"

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;
using PixelFn = testing::JpegPixelFn;
using EncodeOptions = testing::JpegOptions;

Bytes Encode(int width, int height, const PixelFn& pixel, EncodeOptions options = {}) {
    return testing::EncodeJpeg(width, height, pixel, options);
}

PixelFn Solid(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return [=](int, int, std::uint8_t* px) {
        px[0] = r;
        px[1] = g;
        px[2] = b;
    };
}

// Red left of `split`, blue right of it; above `splitY` green is added.
PixelFn Quarters(int split, int splitY) {
    return [=](int x, int y, std::uint8_t* px) {
        px[0] = x < split ? 220 : 20;
        px[1] = y < splitY ? 200 : 20;
        px[2] = x < split ? 20 : 220;
    };
}

struct Decoded {
    int width, height;
    Bytes pixels;
    Decoded(int w, int h)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 4, 0xCD) {}
    const std::uint8_t* At(int x, int y) const {
        return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};

bool Decode(const Bytes& jpeg, Decoded& out, const JpegLimits& limits = {}) {
    return DecodeJpeg(MemoryReader(jpeg), out.width, out.height, out.pixels.data(),
                      static_cast<std::size_t>(out.width) * 4, limits);
}

Bytes WithOrientation(const Bytes& jpeg, int orientation) {
    return testing::WithSegment(jpeg, 0xE1, testing::ExifOrientationBlock(orientation));
}

// The pixel at (x, y) is near (b, g, r) and opaque.
::testing::AssertionResult Near(const Decoded& d, int x, int y, int b, int g, int r,
                                int tolerance = 6) {
    const std::uint8_t* p = d.At(x, y);
    if (std::abs(p[0] - b) <= tolerance && std::abs(p[1] - g) <= tolerance &&
        std::abs(p[2] - r) <= tolerance && p[3] == 255)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is B" << int(p[0]) << " G" << int(p[1]) << " R"
           << int(p[2]) << " A" << int(p[3]) << ", wanted B" << b << " G" << g << " R" << r;
}

// Scratch files in memory, counted.
struct Scratch {
    int opened = 0, open = 0;
    struct File : ScratchFile {
        Scratch& owner;
        Bytes bytes;
        explicit File(Scratch& s) : owner(s) { ++owner.opened, ++owner.open; }
        ~File() override { --owner.open; }
        bool Read(std::uint64_t at, void* dest, std::size_t n) noexcept override {
            return at + n <= bytes.size() && std::memcpy(dest, bytes.data() + at, n);
        }
        bool Write(std::uint64_t at, const void* source, std::size_t n) noexcept override {
            bytes.resize(std::max<std::size_t>(bytes.size(), at + n));
            return std::memcpy(bytes.data() + at, source, n);
        }
    };
    ScratchFiles Files() {
        return [this] { return std::make_unique<File>(*this); };
    }
};

// `jpeg` with `n` empty scans before its end marker, each a header only: a
// first DC scan of component 1 again.
Bytes WithEmptyScans(const Bytes& jpeg, int n) {
    Bytes b(jpeg.begin(), jpeg.end() - 2);
    for (int i = 0; i < n; ++i)
        b.insert(b.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00});
    b.insert(b.end(), {0xFF, 0xD9});
    return b;
}

constexpr std::array<std::uint8_t, 2> kScanMarker = {0xFF, 0xDA}, kTableMarker = {0xFF, 0xC4},
                                      kProgressiveFrameMarker = {0xFF, 0xC2};

// The upright size of a drawable JPEG held in memory; nothing otherwise.
std::optional<PixelSize> JpegSize(const Bytes& bytes) {
    const auto info = ReadJpegInfo(MemoryReader(bytes));
    if (!info || !info->drawable) return std::nullopt;
    return info->upright;
}

TEST(JpegDecoder, ReportsStoredAndUprightSizesAndWhetherItDraws) {
    const Bytes colour = Encode(41, 30, Solid(10, 20, 30));
    const Bytes grey =
        Encode(41, 30, [](int, int, std::uint8_t* px) { *px = 90; }, {.space = JCS_GRAYSCALE});
    const Bytes cmyk =
        Encode(41, 30, [](int, int, std::uint8_t* px) { px[0] = px[1] = px[2] = px[3] = 50; },
               {.space = JCS_CMYK});
    struct Case {
        const char* what;
        Bytes jpeg;
        int uprightWidth, orientation;
        bool drawable;
    };
    const Case cases[] = {
        {"colour", colour, 41, 1, true},
        {"grey", grey, 41, 1, true},
        {"colour turned", WithOrientation(colour, 6), 30, 6, true},
        {"colour mirrored", WithOrientation(colour, 2), 41, 2, true},
        {"CMYK", cmyk, 41, 1, false},
        {"CMYK turned", WithOrientation(cmyk, 8), 30, 8, false},
    };
    for (const Case& c : cases) {
        const auto info = ReadJpegInfo(MemoryReader(c.jpeg));
        ASSERT_TRUE(info) << c.what;
        EXPECT_EQ(info->stored.width, 41) << c.what;
        EXPECT_EQ(info->stored.height, 30) << c.what;
        EXPECT_EQ(info->upright.width, c.uprightWidth) << c.what;
        EXPECT_EQ(info->upright.height, 71 - c.uprightWidth) << c.what;
        EXPECT_EQ(info->orientation, c.orientation) << c.what;
        EXPECT_EQ(info->drawable, c.drawable) << c.what;
        EXPECT_EQ(JpegSize(c.jpeg).has_value(), c.drawable) << c.what;
    }
    EXPECT_EQ(JpegSize(WithOrientation(colour, 5))->width, 30) << "the upright size";
    Decoded d(8, 8);
    EXPECT_FALSE(Decode(WithOrientation(cmyk, 6), d)) << "CMYK is left to another decoder";
    const Bytes refused[] = {
        {},                                                   // empty
        {'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0}, // a bitmap
        {0xFF, 0xD8, 0xFF},                                   // only the start marker
        Bytes(colour.begin(), colour.begin() + 100),          // cut inside the header
    };
    for (const Bytes& bytes : refused)
        EXPECT_FALSE(JpegSize(bytes)) << bytes.size();
}

TEST(JpegDecoder, DrawsColoursInTheirChannelsAndPlaces) {
    // 800 x 600 shrinks by the decoder (to 1/4) and then by the scaler.
    const Bytes jpeg = Encode(800, 600, Quarters(400, 300));
    Decoded d(160, 120);
    ASSERT_TRUE(Decode(jpeg, d));
    EXPECT_TRUE(Near(d, 10, 10, 20, 200, 220));  // top left: red and green
    EXPECT_TRUE(Near(d, 150, 10, 220, 200, 20)); // top right: blue and green
    EXPECT_TRUE(Near(d, 10, 110, 20, 20, 220));  // bottom left: red
    EXPECT_TRUE(Near(d, 150, 110, 220, 20, 20)); // bottom right: blue
    // The edge lands in the middle: the columns beside it are each mostly
    // one side.
    EXPECT_GT(d.At(78, 60)[2], d.At(81, 60)[2]);
}

TEST(JpegDecoder, ProgressiveRestartAndGreyPicturesDecodeAlike) {
    struct Case {
        const char* what;
        EncodeOptions options;
    };
    const Case cases[] = {
        {"baseline", {}},
        {"progressive", {.progressive = true}},
        {"restart markers", {.restartRows = 1}},
        {"arithmetic coding", {.arithmetic = true}},
    };
    for (const Case& c : cases) {
        const Bytes jpeg = Encode(333, 250, Quarters(166, 125), c.options);
        Decoded d(100, 75);
        ASSERT_TRUE(Decode(jpeg, d)) << c.what;
        EXPECT_TRUE(Near(d, 5, 5, 20, 200, 220)) << c.what;
        EXPECT_TRUE(Near(d, 95, 70, 220, 20, 20)) << c.what;
    }
    const Bytes grey =
        Encode(200, 100, [](int x, int, std::uint8_t* px) { *px = x < 100 ? 40 : 210; },
               {.space = JCS_GRAYSCALE});
    Decoded d(40, 20);
    ASSERT_TRUE(Decode(grey, d));
    EXPECT_TRUE(Near(d, 2, 10, 40, 40, 40));
    EXPECT_TRUE(Near(d, 37, 10, 210, 210, 210));
}

TEST(JpegDecoder, EnlargesSmallPicturesAndFillsEveryPixel) {
    const Bytes jpeg = Encode(16, 12, Solid(200, 100, 50));
    Decoded d(1024, 768);
    ASSERT_TRUE(Decode(jpeg, d));
    for (int y = 0; y < d.height; y += 37)
        for (int x = 0; x < d.width; x += 41) {
            ASSERT_TRUE(Near(d, x, y, 50, 100, 200));
        }
    EXPECT_TRUE(Near(d, 1023, 767, 50, 100, 200));
}

TEST(JpegDecoder, ACutFileDecodesAsFarAsItGoes) {
    const Bytes jpeg = Encode(256, 256, Solid(30, 160, 90));
    const Bytes cut(jpeg.begin(), jpeg.begin() + jpeg.size() / 2);
    Decoded d(64, 64);
    ASSERT_TRUE(Decode(cut, d));
    EXPECT_TRUE(Near(d, 32, 2, 90, 160, 30));
    for (int y = 0; y < d.height; ++y)
        ASSERT_EQ(d.At(63, y)[3], 255) << "row " << y;
}

TEST(JpegDecoder, RefusesWhatItCannotDecode) {
    const Bytes jpeg = Encode(64, 64, Solid(1, 2, 3));
    Decoded d(32, 32);
    EXPECT_FALSE(DecodeJpeg(MemoryReader(jpeg), 0, 32, d.pixels.data(), 128));
    EXPECT_FALSE(DecodeJpeg(MemoryReader(jpeg), 32, -1, d.pixels.data(), 128));
    EXPECT_FALSE(DecodeJpeg(MemoryReader(jpeg), 32, 32, nullptr, 128));
    EXPECT_FALSE(Decode(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00}, d));

    // Garbage after a good header: decoding ends, and what it yields is
    // whole pixels.
    Bytes scrambled = jpeg;
    for (std::size_t i = scrambled.size() / 3; i + 2 < scrambled.size(); i += 7)
        scrambled[i] = static_cast<std::uint8_t>(i * 31);
    if (Decode(scrambled, d)) {
        for (int y = 0; y < d.height; ++y) {
            ASSERT_EQ(d.At(31, y)[3], 255) << "row " << y;
        }
    }
}

TEST(JpegDecoder, DecodesAtTwiceTheTargetInEighthsOrWhole) {
    struct Case {
        int pictureW, pictureH, w, h, eighths;
    };
    const Case cases[] = {
        {4000, 3000, 1000, 750, 4}, // 2000 x 1500 exactly twice
        {4001, 3000, 1000, 750, 4}, // rounded up, as libjpeg does
        {6000, 4000, 1024, 683, 3}, // 2250 x 1500
        {4000, 3000, 10, 10, 1},    // 500 x 375, the smallest there is
        {1800, 1200, 1024, 683, 8}, // not twice even whole: no shrinking
        {640, 480, 1024, 768, 8},   // enlarging
        {8000, 100, 1000, 30, 5},   // the height decides: 63 rows
        {65500, 65500, 2, 2, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JpegDecodeEighths({c.pictureW, c.pictureH}, c.w, c.h), c.eighths)
            << c.pictureW << "x" << c.pictureH << " for " << c.w << "x" << c.h;
}

TEST(JpegDecoder, RefusesAProgressiveFileOfEndlessScans) {
    const Bytes good = Encode(64, 64, Solid(50, 60, 70), {.progressive = true});
    Decoded d(32, 32);
    EXPECT_TRUE(Decode(WithEmptyScans(good, 20), d)) << "a few more scans than usual are fine";
    EXPECT_TRUE(Near(d, 16, 16, 70, 60, 50));
    EXPECT_FALSE(Decode(WithEmptyScans(good, 400), d));
    EXPECT_FALSE(Decode(WithEmptyScans(good, 20), d, {.maxScans = 20}))
        << "a limit of the caller's";
}

TEST(JpegDecoder, RefusesAPictureThatWouldNeedTooMuchMemory) {
    // A progressive picture keeps every coefficient while it decodes: one
    // claiming 60000 x 60000 pixels would need about 10 GB.
    Bytes jpeg = Encode(64, 64, Solid(9, 9, 9), {.progressive = true});
    const auto frame = std::search(jpeg.begin(), jpeg.end(), kProgressiveFrameMarker.begin(),
                                   kProgressiveFrameMarker.end());
    ASSERT_NE(frame, jpeg.end());
    frame[5] = frame[7] = 60000 >> 8; // height and width
    frame[6] = frame[8] = 60000 & 0xFF;
    ASSERT_TRUE(JpegSize(jpeg));
    EXPECT_EQ(JpegSize(jpeg)->width, 60000);
    Decoded d(100, 100);
    EXPECT_FALSE(Decode(jpeg, d));
    Scratch scratch;
    EXPECT_FALSE(Decode(jpeg, d, {.scratch = scratch.Files()})) << "not even in scratch files";
    EXPECT_EQ(scratch.opened, 0);
}

TEST(JpegDecoder, KeepsWhatDoesNotFitInScratchFilesAndClosesThem) {
    // 3 MB of coefficients (see KeepsToTheMemoryLimit) against 1 MB, coded
    // arithmetically: the bands take Huffman-coded files only.
    const Bytes jpeg =
        Encode(1024, 1024, Quarters(300, 700), {.progressive = true, .arithmetic = true});
    Decoded inMemory(256, 256);
    ASSERT_TRUE(Decode(jpeg, inMemory, {.maxDecoderMemory = 4 << 20}));
    const struct Case {
        const char* what;
        std::uint64_t maxBytes;
        int traffic;
        bool decodes, opens;
    } cases[] = {
        {"in scratch files", 3 << 20, 24, true, true},
        {"more than the files may hold", 2 << 20, 24, false, false},
        {"more traffic than allowed", 3 << 20, 1, false, true},
    };
    for (const Case& c : cases) {
        Scratch scratch;
        Decoded d(256, 256);
        EXPECT_EQ(Decode(jpeg, d,
                         {.maxDecoderMemory = 1 << 20,
                          .maxCoefficientBytes = c.maxBytes,
                          .scratch = scratch.Files(),
                          .scratchTraffic = c.traffic}),
                  c.decodes)
            << c.what;
        EXPECT_TRUE(!c.decodes || d.pixels == inMemory.pixels) << c.what;
        EXPECT_EQ(scratch.opened > 0, c.opens) << c.what;
        EXPECT_EQ(scratch.open, 0) << c.what << ": every file closed";
    }
}

TEST(JpegDecoder, DrawsAnOrientedPictureAsTheSamePictureStoredUpright) {
    // The upright picture: four colours in quarters, so any wrong turn or
    // mirror moves one. Each orientation stores it the way a camera would.
    const int w = 192, h = 128;
    const auto upright = [](int x, int y, std::uint8_t* px) {
        const int quarter = (x >= 96) + 2 * (y >= 64);
        const std::uint8_t colours[4][3] = {
            {230, 30, 30}, {30, 230, 30}, {30, 30, 230}, {230, 230, 30}};
        std::copy(colours[quarter], colours[quarter] + 3, px);
    };
    Decoded expected(48, 32);
    ASSERT_TRUE(Decode(Encode(w, h, upright), expected));
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const bool swap = orientation >= 5;
        const int sw = swap ? h : w, sh = swap ? w : h;
        // The stored pixel (x, y) is the upright pixel it ends up as.
        const auto stored = [&](int x, int y, std::uint8_t* px) {
            int ux = x, uy = y;
            switch (orientation) {
            case 2:
                ux = sw - 1 - x;
                break;
            case 3:
                ux = sw - 1 - x, uy = sh - 1 - y;
                break;
            case 4:
                uy = sh - 1 - y;
                break;
            case 5:
                ux = y, uy = x;
                break;
            case 6:
                ux = sh - 1 - y, uy = x;
                break;
            case 7:
                ux = sh - 1 - y, uy = sw - 1 - x;
                break;
            case 8:
                ux = y, uy = sw - 1 - x;
                break;
            }
            upright(ux, uy, px);
        };
        const Bytes jpeg = WithOrientation(Encode(sw, sh, stored), orientation);
        Decoded d(48, 32);
        ASSERT_TRUE(Decode(jpeg, d)) << orientation;
        int worst = 0;
        for (std::size_t i = 0; i < d.pixels.size(); ++i)
            worst = std::max(worst, std::abs(d.pixels[i] - expected.pixels[i]));
        EXPECT_LE(worst, 8) << "orientation " << orientation;
    }
}

TEST(JpegDecoder, ReadsTheFileAsTheDecoderNeedsIt) {
    // Three bytes a call at most, and a large segment the decoder skips,
    // full of end markers that would end the picture if it were read.
    Bytes comment;
    for (int i = 0; i < 1500; ++i)
        comment.insert(comment.end(), {0xFF, 0xD9});
    for (bool progressive : {false, true}) {
        const Bytes jpeg = testing::WithSegment(
            WithOrientation(Encode(120, 90, Quarters(60, 45), {.progressive = progressive}), 3),
            0xE2, comment);
        int calls = 0;
        const ByteReader trickle{
            jpeg.size(), [&](std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
                ++calls;
                return MemoryReader(jpeg).read(offset, dest, std::min<std::size_t>(count, 3));
            }};
        Decoded whole(30, 20), trickled(30, 20);
        ASSERT_TRUE(Decode(jpeg, whole));
        ASSERT_TRUE(DecodeJpeg(trickle, 30, 20, trickled.pixels.data(), 30 * 4)) << progressive;
        EXPECT_EQ(trickled.pixels, whole.pixels) << progressive;
        EXPECT_GT(calls, static_cast<int>(jpeg.size() - comment.size()) / 3) << progressive;
        EXPECT_TRUE(Near(whole, 2, 2, 220, 20, 20)) << "turned 180: blue bottom right first";
    }
}

TEST(JpegDecoder, KeepsToTheMemoryLimit) {
    // 1024 x 1024 in 4:2:0 keeps 3 MB of coefficients when progressive, or
    // a band of them in 512 KB, at least one row of blocks (24 KB); a
    // baseline file needs a few rows of blocks.
    const Bytes baseline = Encode(1024, 1024, Solid(40, 80, 120));
    const Bytes progressive = Encode(1024, 1024, Solid(40, 80, 120), {.progressive = true});
    const JpegLimits oneMegabyte{.maxDecoderMemory = 1 << 20},
        notOneRow{.maxDecoderMemory = 40 << 10}, fourMegabytes{.maxDecoderMemory = 4 << 20};
    struct Case {
        const char* what;
        const Bytes& jpeg;
        int size;
        JpegLimits limits;
        bool decodes;
    };
    const Case cases[] = {
        {"baseline", baseline, 64, oneMegabyte, true},
        {"progressive, in bands", progressive, 64, oneMegabyte, true},
        {"progressive, not one row of blocks", progressive, 64, notOneRow, false},
        {"progressive, enough memory", progressive, 64, fourMegabytes, true},
        {"baseline turned, small box", WithOrientation(baseline, 6), 64, oneMegabyte, true},
        // The box an oriented picture is turned in: 1024 x 1024 x 4 bytes.
        {"baseline turned, box too big", WithOrientation(baseline, 6), 1024, oneMegabyte, false},
        {"baseline mirrored, box too big", WithOrientation(baseline, 2), 1024, oneMegabyte, false},
        {"baseline upright, large target", baseline, 1024, oneMegabyte, true},
    };
    for (const Case& c : cases) {
        Decoded d(c.size, c.size);
        EXPECT_EQ(Decode(c.jpeg, d, c.limits), c.decodes) << c.what;
        if (c.decodes) {
            EXPECT_TRUE(Near(d, c.size / 2, c.size / 2, 120, 80, 40)) << c.what;
        }
    }
}

// A scan of `components` (indexes) over coefficients ss to se, bits from al
// on (refining bit ah - 1 when ah is set).
jpeg_scan_info ScanOf(std::initializer_list<int> components, int ss, int se, int ah, int al) {
    jpeg_scan_info scan{};
    scan.comps_in_scan = static_cast<int>(components.size());
    std::copy(components.begin(), components.end(), scan.component_index);
    scan.Ss = ss, scan.Se = se, scan.Ah = ah, scan.Al = al;
    return scan;
}

// Smooth fields with grain: every coefficient band carries something.
PixelFn Grain(bool grey = false) {
    return [grey](int x, int y, std::uint8_t* px) {
        const unsigned noise =
            (static_cast<unsigned>(x) * 7919u ^ static_cast<unsigned>(y) * 104729u) * 2654435761u;
        px[0] = static_cast<std::uint8_t>(x * 255 / 400 + (noise >> 28));
        if (grey) return;
        px[1] = static_cast<std::uint8_t>(y * 255 / 300 + (noise >> 26 & 15));
        px[2] = static_cast<std::uint8_t>(((x / 16 + y / 16) & 1) * 160 + (noise >> 24 & 31));
    };
}

TEST(JpegDecoder, DrawsFilesInSeveralScansInBandsAsItDrawsThemWhole) {
    // Successive approximation in every kind of scan, at full colour
    // resolution, in 14 scans.
    std::vector<jpeg_scan_info> refined = {ScanOf({0, 1, 2}, 0, 0, 0, 1),
                                           ScanOf({0, 1, 2}, 0, 0, 1, 0)};
    for (int c = 0; c < 3; ++c)
        refined.insert(refined.end(), {ScanOf({c}, 1, 5, 0, 2), ScanOf({c}, 6, 63, 0, 2),
                                       ScanOf({c}, 1, 63, 2, 1), ScanOf({c}, 1, 63, 1, 0)});
    const std::vector<jpeg_scan_info> perComponent = {ScanOf({0}, 0, 63, 0, 0),
                                                      ScanOf({1, 2}, 0, 63, 0, 0)};
    const Bytes progressive = Encode(333, 250, Grain(), {.progressive = true});
    struct Case {
        const char* what;
        Bytes jpeg;
        bool whole; // complete: the same pixels as decoded whole
    };
    const Case cases[] = {
        {"progressive 4:2:0", progressive, true},
        {"with restart markers", Encode(333, 250, Grain(), {.progressive = true, .restartRows = 1}),
         true},
        {"refined at full colour resolution",
         Encode(333, 250, Grain(), {.fullColour = true, .scans = refined}), true},
        {"sequential, a scan per component", Encode(333, 250, Grain(), {.scans = perComponent}),
         true},
        {"grey", Encode(600, 400, Grain(true), {.space = JCS_GRAYSCALE, .progressive = true}),
         true},
        {"wide and low", Encode(1000, 24, Grain(), {.progressive = true}), true},
        {"cut in the middle",
         Bytes(progressive.begin(), progressive.begin() + progressive.size() / 2), false},
    };
    for (const Case& c : cases) {
        Decoded whole(111, 83), banded(111, 83);
        ASSERT_TRUE(Decode(c.jpeg, whole)) << c.what;
        ASSERT_TRUE(Decode(c.jpeg, banded, {.maxDecoderMemory = 128 << 10})) << c.what;
        if (c.whole) {
            EXPECT_EQ(banded.pixels, whole.pixels) << c.what;
        }
        for (std::size_t i = 3; i < banded.pixels.size(); i += 4)
            ASSERT_EQ(banded.pixels[i], 255) << c.what;
    }
}

TEST(JpegDecoder, RefusesFromItsHeaderAndScansBeforeDecodingThem) {
    // Half a megabyte of grainy progressive picture, decoded in bands within
    // 1 MB; with empty scans appended past the limit, or a frame claiming
    // more coefficients than allowed.
    const Bytes grainy = Encode(1024, 1024, Grain(), {.progressive = true});
    const Bytes endless = WithEmptyScans(grainy, 150);
    // A Huffman table between the scans with more codes of one bit than fit.
    Bytes badTable = grainy;
    const auto scan =
        std::search(badTable.begin(), badTable.end(), kScanMarker.begin(), kScanMarker.end());
    const auto table = std::search(scan, badTable.end(), kTableMarker.begin(), kTableMarker.end());
    ASSERT_NE(table, badTable.end());
    const auto longer = std::find_if(table + 6, table + 21, [](std::uint8_t n) { return n >= 3; });
    ASSERT_NE(longer, table + 21);
    *longer -= 3, table[5] += 3; // as many codes, three more of them one bit long
    const JpegLimits inBands{.maxDecoderMemory = 1 << 20},
        nineScans{.maxDecoderMemory = 1 << 20, .maxScans = 9},
        fewCoefficients{.maxDecoderMemory = 1 << 20, .maxCoefficientBytes = 2 << 20};
    struct Case {
        const char* what;
        const Bytes& jpeg;
        JpegLimits limits;
        bool decodes;
        double mostRead; // bytes read beside the header's first piece, in file sizes
    };
    const Case cases[] = {
        {"decoded: the scans walked, then decoded", grainy, inBands, true, 2.01},
        {"more scans than allowed", endless, inBands, false, 1.0},
        {"a table no code fits", badTable, inBands, false, 1.0},
        {"a limit of the caller's", grainy, nineScans, false, 1.0},
        {"more coefficients than allowed", grainy, fewCoefficients, false, 0.0},
    };
    ASSERT_GT(grainy.size(), 400'000u);
    for (const Case& c : cases) {
        std::uint64_t read = 0;
        const ByteReader counted{c.jpeg.size(),
                                 [&](std::uint64_t at, std::uint8_t* to, std::size_t n) {
                                     const std::size_t got = MemoryReader(c.jpeg).read(at, to, n);
                                     read += got;
                                     return got;
                                 }};
        Decoded d(64, 64);
        EXPECT_EQ(DecodeJpeg(counted, 64, 64, d.pixels.data(), 64 * 4, c.limits), c.decodes)
            << c.what;
        EXPECT_LE(static_cast<double>(read),
                  c.mostRead * static_cast<double>(c.jpeg.size()) + 65536)
            << c.what;
        if (c.decodes) {
            EXPECT_GT(static_cast<double>(read), 1.9 * static_cast<double>(c.jpeg.size()));
        }
    }
}

} // namespace
} // namespace orv::imaging
