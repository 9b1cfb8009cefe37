// Writes the fuzzers' seed files: small JPEGs of each kind the decoder meets
// (baseline, progressive, grey, CMYK, arithmetic, restart markers), most with
// an EXIF orientation, bare EXIF blocks, and pictures with embedded colour
// profiles (JPEG chunks in and out of order, a BMP V5 header) and a bare
// profile. Run by hand to renew
// tests/fuzz/corpus/: make_corpus <corpus folder>.
#include <cstdio>
#include <string>
#include <vector>

#include "support/bmp_builder.h"
#include "support/exif_block.h"
#include "support/icc_profile_maker.h"
#include "support/jpeg_encode.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace orv::testing;

void Write(const std::string& path, const Bytes& bytes) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

void Pattern(int x, int y, std::uint8_t* px) {
    px[0] = static_cast<std::uint8_t>(x * 30);
    px[1] = static_cast<std::uint8_t>(y * 20);
    px[2] = static_cast<std::uint8_t>((x ^ y) * 16);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    const Bytes camera = ExifBlock({{.tag = 0x010F, .type = 2, .count = 6, .value = 0x80},
                                    {.tag = 0x0112, .value = 6},
                                    {.tag = 0x011A, .type = 5, .count = 1, .value = 0x98}},
                                   true);
    const Bytes grey = EncodeJpeg(8, 8, [](int x, int, std::uint8_t* px) { *px = x * 30; },
                                  {.space = JCS_GRAYSCALE});
    const Bytes cmyk = EncodeJpeg(
        8, 8, [](int x, int y, std::uint8_t* px) { px[0] = px[1] = x * 30, px[2] = px[3] = y; },
        {.space = JCS_CMYK});

    Write(dir + "/jpeg/baseline_6.jpg", WithSegment(EncodeJpeg(8, 8, Pattern), 0xE1, camera));
    Write(dir + "/jpeg/progressive_8.jpg",
          WithSegment(EncodeJpeg(16, 8, Pattern, {.progressive = true}), 0xE1,
                      ExifOrientationBlock(8)));
    // Large enough that its coefficients (18 KB) do not fit the fuzz target's
    // smaller memory: decoded in bands.
    Write(dir + "/jpeg/progressive_restarts.jpg",
          EncodeJpeg(96, 64, Pattern, {.progressive = true, .restartRows = 1}));
    Write(dir + "/jpeg/grey_3.jpg", WithSegment(grey, 0xE1, ExifOrientationBlock(3, true)));
    Write(dir + "/jpeg/cmyk_5.jpg", WithSegment(cmyk, 0xE1, ExifOrientationBlock(5)));
    Write(dir + "/jpeg/arithmetic.jpg",
          EncodeJpeg(17, 9, Pattern, {.arithmetic = true, .restartRows = 1}));
    Write(dir + "/jpeg/progressive_arithmetic_2.jpg",
          WithSegment(EncodeJpeg(9, 17, Pattern, {.progressive = true, .arithmetic = true}), 0xE1,
                      ExifOrientationBlock(2)));

    Write(dir + "/exif/little_endian_7", ExifOrientationBlock(7));
    Write(dir + "/exif/big_endian_4", ExifOrientationBlock(4, true));
    Write(dir + "/exif/camera_6", camera);
    const Bytes profile = MakeRgbProfile({.primaries = kSwappedPrimaries});
    const auto pieces = SplitProfile(profile, 3);
    const Bytes small = EncodeJpeg(8, 8, Pattern);
    Write(dir + "/icc/profile.icc", profile);
    Write(dir + "/icc/one_chunk.jpg", WithSegments(small, {IccSegment(profile, 1, 1)}));
    Write(dir + "/icc/three_chunks.jpg",
          WithSegments(small, {IccSegment(pieces[1], 2, 3), IccSegment(pieces[0], 1, 3),
                               IccSegment(pieces[2], 3, 3)}));
    // A 1 x 1 BMP with a V5 header and the profile after the pixels.
    const Bytes bmp = Bmp{.headerSize = 124,
                          .width = 1,
                          .height = 1,
                          .pixels = {0x40, 0x80, 0xFF, 0},
                          .colourSpace = "MBED",
                          .colourData = profile}
                          .Write();
    Write(dir + "/icc/embedded_v5.bmp", bmp);
    return 0;
}
