#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/color_grid.h"
#include "imaging/icc_profile.h"
#include "imaging/picture_decoder.h"
#include "support/bmp_builder.h"
#include "support/icc_profile_maker.h"
#include "support/jpeg_encode.h"

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::IccSegment;

const Bytes kProfile = testing::MakeRgbProfile({.primaries = testing::kSwappedPrimaries});

Bytes SmallJpeg() {
    return testing::EncodeJpeg(8, 8, [](int x, int y, std::uint8_t* px) {
        px[0] = px[1] = px[2] = static_cast<std::uint8_t>(x * y);
    });
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v, bool big) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (big ? 24 - 8 * i : 8 * i));
}

TEST(IccProfile, JpegChunksAreReassembledOnlyFromACompleteConsistentSet) {
    const auto pieces = testing::SplitProfile(kProfile, 3);
    struct Case {
        const char* name;
        std::vector<std::array<int, 3>> segments; // piece, sequence, count
        std::size_t cutAfter = 0;                 // bytes of the last segment kept; 0: all
        bool found;
    };
    const Case cases[] = {
        {"in order", {{0, 1, 3}, {1, 2, 3}, {2, 3, 3}}, 0, true},
        {"out of order", {{2, 3, 3}, {0, 1, 3}, {1, 2, 3}}, 0, true},
        {"a missing chunk", {{0, 1, 3}, {2, 3, 3}}, 0, false},
        {"a duplicate chunk", {{0, 1, 3}, {1, 2, 3}, {1, 2, 3}, {2, 3, 3}}, 0, false},
        {"a duplicate in place of another", {{0, 1, 3}, {0, 1, 3}, {2, 3, 3}}, 0, false},
        {"counts that differ", {{0, 1, 3}, {1, 2, 4}, {2, 3, 3}}, 0, false},
        {"an oversized count", {{0, 1, 255}, {1, 2, 255}, {2, 3, 255}}, 0, false},
        {"a count of zero", {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}, 0, false},
        {"a chunk crossing the end of the file", {{0, 1, 3}, {1, 2, 3}, {2, 3, 3}}, 100, false},
    };
    for (const Case& c : cases) {
        std::vector<Bytes> segments;
        for (const auto& [piece, sequence, count] : c.segments)
            segments.push_back(IccSegment(pieces[piece], sequence, count));
        Bytes file = testing::WithSegments(SmallJpeg(), segments);
        if (c.cutAfter) {
            std::size_t end = 2;
            for (const Bytes& s : segments)
                end += s.size();
            file.resize(end - segments.back().size() + c.cutAfter);
        }
        EXPECT_EQ(ReadJpegIccProfile(MemoryReader(file)), c.found ? kProfile : Bytes{}) << c.name;
    }
    // A single chunk among other APP2 segments, and a damaged profile.
    const Bytes other = {0xFF, 0xE2, 0, 8, 'F', 'P', 'X', 'R', 0, 0};
    EXPECT_EQ(ReadJpegIccProfile(MemoryReader(
                  testing::WithSegments(SmallJpeg(), {other, IccSegment(kProfile, 1, 1), other}))),
              kProfile);
    Bytes damaged = kProfile;
    damaged[36] = 'x';
    EXPECT_TRUE(ReadJpegIccProfile(
                    MemoryReader(testing::WithSegments(SmallJpeg(), {IccSegment(damaged, 1, 1)})))
                    .empty());
    // More than the largest profile taken, though every chunk is in the file.
    std::vector<IccChunk> huge;
    for (int i = 1; i <= 255; ++i)
        huge.push_back({.sequence = i, .count = 255, .offset = 20, .size = 65519});
    EXPECT_FALSE(OrderIccChunks(huge, std::uint64_t{1} << 30));
}

// A V5 bitmap of one pixel whose colour space is `type`, the profile (or a
// path) after the pixels at `offset` from the info header.
Bytes V5Bitmap(const char* type, const Bytes& data, std::uint32_t offset = 0) {
    return testing::Bmp{.headerSize = 124,
                        .width = 1,
                        .height = 1,
                        .pixels = Bytes(4, 0),
                        .colourSpace = type,
                        .colourData = data,
                        .colourDataOffset = offset}
        .Write();
}

TEST(IccProfile, BmpTakesOnlyAnEmbeddedProfileInsideTheFile) {
    const std::string path = "C:\\Windows\\System32\\spool\\drivers\\color\\sRGB.icm";
    const Bytes linked(path.begin(), path.end());
    struct Case {
        const char* name;
        Bytes file;
        bool found;
    } const cases[] = {
        {"embedded", V5Bitmap("MBED", kProfile), true},
        {"linked", V5Bitmap("LINK", linked), false},
        {"a profile past the end", V5Bitmap("MBED", kProfile, 124 + 4 + 8), false},
        {"sRGB", V5Bitmap("sRGB", kProfile), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadBmpIccProfile(MemoryReader(c.file)), c.found ? kProfile : Bytes{}) << c.name;
        const auto info = InspectPicture(MemoryReader(c.file));
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(info->iccProfile, c.found ? kProfile : Bytes{}) << c.name;
    }
    const Bytes jpeg = testing::WithSegments(SmallJpeg(), {IccSegment(kProfile, 1, 1)});
    EXPECT_EQ(InspectPicture(MemoryReader(jpeg))->iccProfile, kProfile);
}

TEST(IccProfile, OnlyProfilesTheConversionCanHandleAreUsable) {
    struct Case {
        const char* name;
        std::function<void(Bytes&)> change;
        bool source, display;
    };
    const auto big = [](std::size_t at, std::uint32_t v) {
        return [at, v](Bytes& b) { Put32(b, at, v, true); };
    };
    const Case cases[] = {
        {"sound", [](Bytes&) {}, true, true},
        {"version 4", [](Bytes& b) { b[8] = 4; }, true, true},
        {"a scanner's", big(12, 0x73636E72), true, false},
        {"a printer's", big(12, 0x70727472), false, false},
        {"CMYK data", big(16, 0x434D594B), false, false},
        {"grey data", big(16, 0x47524159), false, false},
        {"no signature", big(36, 0), false, false},
        {"a declared size too large", big(0, 0x100000), false, false},
        {"version 5", [](Bytes& b) { b[8] = 5; }, false, false},
        {"a tag past the end", big(132 + 4, 0x10000), false, false},
        {"too many tags", big(128, 0x1000000), false, false},
        {"cut to its header", [](Bytes& b) { b.resize(128), Put32(b, 0, 128, true); }, false,
         false},
    };
    for (const Case& c : cases) {
        Bytes profile = kProfile;
        c.change(profile);
        EXPECT_EQ(IsUsableProfile(profile, ProfileUse::PictureSource), c.source) << c.name;
        EXPECT_EQ(IsUsableProfile(profile, ProfileUse::DisplayTarget), c.display) << c.name;
    }
}

TEST(IccProfile, TheMonitorsProfileIsTheTargetOnlyWhenTheUserSetAUsableOne) {
    Bytes scanner = kProfile;
    Put32(scanner, 12, 0x73636E72, true);
    struct Case {
        const char* path;
        Bytes profile;
        ColorTarget target;
    } const cases[] = {
        {"", {}, ColorTarget::Srgb},
        {"C:\\windows\\system32\\spool\\drivers\\color\\sRGB Color Space Profile.icm", kProfile,
         ColorTarget::Srgb},
        {"C:/color/SRGB COLOR SPACE PROFILE.ICM", kProfile, ColorTarget::Srgb},
        {"C:\\color\\Studio display.icm", kProfile, ColorTarget::Monitor},
        {"C:\\color\\unreadable.icm", {}, ColorTarget::Srgb},
        {"C:\\color\\scanner.icm", scanner, ColorTarget::Srgb},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseColorTarget(c.path, c.profile), c.target) << c.path;
}

} // namespace
} // namespace orv::imaging

namespace orv::imaging {
namespace {

TEST(ColorGrid, ConversionsThatTheGridHoldsExactlyComeOutExactly) {
    struct Case {
        const char* name;
        int from[3]; // which channel of the sample each output channel takes
    } const cases[] = {{"identity", {0, 1, 2}}, {"red and green swapped", {0, 2, 1}}};
    for (const Case& c : cases) {
        Bytes grid = ColorGridSamples();
        for (std::size_t i = 0; i < grid.size(); i += 4) {
            const Bytes sample(grid.begin() + i, grid.begin() + i + 4);
            for (int k = 0; k < 3; ++k)
                grid[i + k] = sample[c.from[k]];
        }
        Bytes pixels, want;
        for (int v = 0; v < 256; ++v) {
            const std::uint8_t px[4] = {static_cast<std::uint8_t>(v),
                                        static_cast<std::uint8_t>(v * 7),
                                        static_cast<std::uint8_t>(255 - v * 3), 17};
            pixels.insert(pixels.end(), px, px + 4);
            want.insert(want.end(), {px[c.from[0]], px[c.from[1]], px[c.from[2]], 17});
        }
        ColorGrid(grid).Apply(pixels.data(), 16, 16, 16 * 4);
        EXPECT_EQ(pixels, want) << c.name;
    }
}

} // namespace
} // namespace orv::imaging
