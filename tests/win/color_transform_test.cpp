#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/picture_decoder.h"
#include "support/icc_profile_maker.h"
#include "support/jpeg_encode.h"
#include "win32/color_transform.h"
#include "win32/picture_file.h"
#include "win32/wallpaper_bitmap.h"

namespace orv::win32 {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kSize = 16;

// Stored numbers: red rising to the right, green downwards, blue fixed.
void Stored(int x, int y, std::uint8_t* px) {
    px[0] = static_cast<std::uint8_t>(30 + 12 * x);
    px[1] = static_cast<std::uint8_t>(20 + 14 * y);
    px[2] = 90;
}

const Bytes kSwap = testing::MakeRgbProfile({.primaries = testing::kSwappedPrimaries});

class ColorTransformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::filesystem::path(temp) /
               ("orvandel-colour-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::wstring Write(const char* name, const Bytes& bytes) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.wstring();
    }
    // The picture drawn at its own size as B, G, R, A.
    static Bytes Draw(const std::wstring& path, ColorDestination to = ColorDestination::Screen) {
        const auto picture = PictureFile::Open(path);
        if (!picture) return {};
        picture->SetColorDestination(to);
        Bytes out(kSize * kSize * 4);
        if (!picture->RenderInto(kSize, kSize, out.data(), kSize * 4)) return {};
        return out;
    }

    std::filesystem::path dir_;
};

// Whether every pixel of `got` has the red and green of `plain` swapped
// (within a few levels: JPEG and the transform round), blue and alpha kept.
::testing::AssertionResult SwappedBack(const Bytes& got, const Bytes& plain) {
    if (got.size() != plain.size() || got.empty())
        return ::testing::AssertionFailure() << "not drawn";
    for (std::size_t i = 0; i < got.size(); i += 4) {
        const int want[4] = {plain[i], plain[i + 2], plain[i + 1], 255};
        for (int c = 0; c < 4; ++c)
            if (std::abs(got[i + c] - want[c]) > 3)
                return ::testing::AssertionFailure() << "pixel " << i / 4 << " channel " << c
                                                     << ": " << +got[i + c] << " not " << want[c];
    }
    return ::testing::AssertionSuccess();
}

TEST_F(ColorTransformTest, APictureWhoseProfileSwapsRedAndGreenIsDrawnSwappedBack) {
    const Bytes jpeg = testing::EncodeJpeg(kSize, kSize, Stored);
    const Bytes plain = Draw(Write("plain.jpg", jpeg));
    ASSERT_FALSE(plain.empty());
    // In one chunk and in three out of order; both for the show and the
    // wallpaper, whose target is sRGB too on a monitor without a profile.
    const auto pieces = testing::SplitProfile(kSwap, 3);
    const std::wstring one =
        Write("one.jpg", testing::WithSegments(jpeg, {testing::IccSegment(kSwap, 1, 1)}));
    const std::wstring three =
        Write("three.jpg", testing::WithSegments(jpeg, {testing::IccSegment(pieces[2], 3, 3),
                                                        testing::IccSegment(pieces[0], 1, 3),
                                                        testing::IccSegment(pieces[1], 2, 3)}));
    EXPECT_TRUE(SwappedBack(Draw(one), plain));
    EXPECT_TRUE(SwappedBack(Draw(three, ColorDestination::Srgb), plain));

    const std::wstring wallpaper = (dir_ / "wallpaper.bmp").wstring();
    ASSERT_TRUE(SaveAsWindowsBitmap(one, wallpaper));
    EXPECT_TRUE(SwappedBack(Draw(wallpaper), plain));
}

TEST_F(ColorTransformTest, UntaggedAndBadlyTaggedPicturesAreDrawnExactlyAsBefore) {
    const Bytes jpeg = testing::EncodeJpeg(kSize, kSize, Stored);
    const Bytes plain = Draw(Write("plain.jpg", jpeg));
    ASSERT_FALSE(plain.empty());
    Bytes decoded(plain.size());
    const auto reader = imaging::MemoryReader(jpeg);
    ASSERT_TRUE(imaging::DecodePicture(reader, *imaging::InspectPicture(reader), kSize, kSize,
                                       decoded.data(), kSize * 4));
    EXPECT_EQ(plain, decoded);
    Bytes damaged = kSwap;
    damaged[40] ^= 0xFF; // the platform, which nobody reads: still usable ...
    Bytes noSignature = kSwap;
    noSignature[36] = 'x'; // ... but not without its signature
    Bytes noCurves = kSwap;
    noCurves.resize(132 + 12 * 5); // the tags that make it a display profile cut off
    noCurves[0] = 0, noCurves[1] = 0, noCurves[2] = 0,
    noCurves[3] = static_cast<std::uint8_t>(noCurves.size());
    noCurves[131] = 1;
    const Bytes cases[] = {noSignature, noCurves};
    for (const Bytes& profile : cases) {
        const std::wstring path =
            Write("bad.jpg", testing::WithSegments(jpeg, {testing::IccSegment(profile, 1, 1)}));
        EXPECT_EQ(Draw(path), plain);
    }
    EXPECT_TRUE(
        SwappedBack(Draw(Write("platform.jpg",
                               testing::WithSegments(jpeg, {testing::IccSegment(damaged, 1, 1)}))),
                    plain));
}

TEST_F(ColorTransformTest, ConvertsRowsThatArePaddedAndLeavesThePaddingAlone) {
    Bytes pixels(kSize * (kSize * 4 + 8), 0xAB), plain;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            std::uint8_t* p = &pixels[y * (kSize * 4 + 8) + x * 4];
            Stored(x, y, p);
            p[3] = 255;
            plain.insert(plain.end(), p, p + 4);
        }
    ASSERT_TRUE(
        ConvertColors(kSwap, ColorDestination::Srgb, pixels.data(), kSize, kSize, kSize * 4 + 8));
    Bytes converted;
    for (int y = 0; y < kSize; ++y) {
        const std::uint8_t* row = &pixels[y * (kSize * 4 + 8)];
        converted.insert(converted.end(), row, row + kSize * 4);
        EXPECT_EQ(Bytes(row + kSize * 4, row + kSize * 4 + 8), Bytes(8, 0xAB));
    }
    EXPECT_TRUE(SwappedBack(converted, plain));
}

} // namespace
} // namespace orv::win32
