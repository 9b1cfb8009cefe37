#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/exif_orientation.h"
#include "support/exif_block.h"
#include "support/jpeg_encode.h"

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ExifBlock;
using testing::ExifOrientationBlock;
using testing::TiffEntry;

// A copy of the first `n` bytes, in a buffer of exactly that size so the
// address sanitizer sees any read past it.
Bytes Cut(const Bytes& b, std::size_t n) {
    return Bytes(b.begin(), b.begin() + n);
}

Bytes Patched(Bytes b, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t v : bytes)
        b.at(at++) = v;
    return b;
}

TEST(ExifOrientation, ReadsEveryValueInBothByteOrders) {
    for (bool bigEndian : {false, true})
        for (int orientation = 1; orientation <= 8; ++orientation)
            EXPECT_EQ(ExifOrientation(ExifOrientationBlock(orientation, bigEndian)), orientation)
                << orientation << (bigEndian ? " big-endian" : " little-endian");

    // As cameras write it: make and model first, offsets to text elsewhere.
    const std::vector<TiffEntry> camera = {
        {.tag = 0x010F, .type = 2, .count = 6, .value = 0x80},
        {.tag = 0x0110, .type = 2, .count = 9, .value = 0x88},
        {.tag = 0x0112, .value = 6},
        {.tag = 0x011A, .type = 5, .count = 1, .value = 0x98},
    };
    EXPECT_EQ(ExifOrientation(ExifBlock(camera, true)), 6);
    EXPECT_EQ(ExifOrientation(ExifBlock(camera, false)), 6);
}

TEST(ExifOrientation, ReadsAnythingDamagedOrMissingAsUpright) {
    const Bytes good = ExifOrientationBlock(8); // 6 + 8 header + 2 + 12 + 4 bytes
    ASSERT_EQ(ExifOrientation(good), 8);
    const Bytes big = ExifOrientationBlock(8, true);
    ASSERT_EQ(ExifOrientation(big), 8);
    constexpr std::size_t kDirectory = 6 + 8, kEntry = kDirectory + 2;
    struct Case {
        const char* what;
        Bytes block;
    };
    const Case cases[] = {
        {"empty", {}},
        {"only the EXIF header", Cut(good, 6)},
        {"not EXIF", Patched(good, 0, {'E', 'x', 'i', 'x'})},
        {"XMP", Bytes{'h', 't', 't', 'p', ':', '/', '/', 'n', 's', '.'}},
        {"cut inside the TIFF header", Cut(good, 12)},
        {"unknown byte order", Patched(good, 6, {'I', 'M'})},
        {"TIFF number not 42", Patched(good, 8, {43, 0})},
        {"big-endian number read little-endian", Patched(good, 6, {'M', 'M'})},
        {"no entries", ExifBlock({})},
        {"other tags only", ExifBlock({{.tag = 0x0110, .type = 2, .count = 3, .value = 0x414243}})},
        {"value 0", ExifOrientationBlock(0)},
        {"value 9", ExifOrientationBlock(9)},
        {"value 0x0106", ExifOrientationBlock(0x106)},
        {"type LONG", ExifBlock({{.type = 4, .value = 6}})},
        {"count 2", ExifBlock({{.count = 2, .value = 6}})},
        {"count 0", ExifBlock({{.count = 0, .value = 6}})},
        {"directory past the end", Patched(good, 10, {0x40, 0, 0, 0})},
        {"directory at the very end", Patched(good, 10, {25, 0, 0, 0})},
        {"directory far out", Patched(good, 10, {0xF0, 0xFF, 0xFF, 0xFF})},
        {"directory pointing at its own offset", Patched(good, 10, {4, 0, 0, 0})},
        {"directory inside the header", Patched(good, 10, {0, 0, 0, 0})},
        {"big-endian directory far out", Patched(big, 10, {0xFF, 0xFF, 0xFF, 0xF0})},
        {"entry count 65535", Patched(good, kDirectory, {0xFF, 0xFF})},
        {"entry count one too many", Patched(good, kDirectory, {2, 0})},
        {"cut inside the entry count", Cut(good, kDirectory + 1)},
        {"cut inside the entry", Cut(good, kEntry + 9)},
        {"cut inside the value", Cut(good, kEntry + 11)},
        {"cut inside a later entry",
         Cut(ExifBlock({{.value = 6}, {.tag = 0x011A, .type = 5, .value = 0x40}}), kEntry + 20)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExifOrientation(c.block), 1) << c.what;
    // A directory at offset 4 would start with its own offset as its count
    // (4) and find an orientation entry the block hides at offset 18.
    Bytes self = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 4, 0, 0, 0};
    self.resize(6 + 54);
    const std::uint8_t entry[] = {0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0};
    std::copy(std::begin(entry), std::end(entry), self.begin() + 6 + 18);
    EXPECT_EQ(ExifOrientation(self), 1);
    // Only the first directory counts: one pointing on to a second
    // directory that has the tag reads as 1.
    Bytes chained = ExifBlock({{.tag = 0x0110, .type = 2, .count = 3}});
    const Bytes second = ExifOrientationBlock(6);
    chained.insert(chained.end(), second.begin() + kDirectory, second.end());
    chained = Patched(chained, chained.size() - second.size() + kDirectory - 4, {26, 0, 0, 0});
    EXPECT_EQ(ExifOrientation(chained), 1);
}

int OrientationOf(const Bytes& jpeg) {
    return JpegOrientation(MemoryReader(jpeg));
}

TEST(ExifOrientation, FindsTheExifSegmentOfAJpeg) {
    const Bytes plain =
        testing::EncodeJpeg(16, 8, [](int, int, std::uint8_t* px) { px[0] = px[1] = px[2] = 100; });
    ASSERT_EQ(plain[3], 0xE0) << "the encoder writes a JFIF header";
    const Bytes exif = ExifOrientationBlock(6, true);
    const Bytes xmp = {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', '.', 0};
    const Bytes withExif = testing::WithSegment(plain, 0xE1, exif);
    EXPECT_EQ(OrientationOf(withExif), 6);
    EXPECT_EQ(OrientationOf(plain), 1);
    EXPECT_EQ(OrientationOf(testing::WithSegment(withExif, 0xE1, xmp)), 6) << "XMP first";
    EXPECT_EQ(OrientationOf(testing::WithSegment(plain, 0xE1, xmp)), 1) << "XMP only";
    EXPECT_EQ(OrientationOf(testing::WithSegment(testing::WithSegment(plain, 0xE1, exif), 0xE1,
                                                 ExifOrientationBlock(3))),
              3)
        << "the first EXIF segment counts";

    // Fill bytes, a stray byte and standalone markers before the segment.
    Bytes padded = withExif;
    const std::size_t app1 = 4 + (plain[4] << 8 | plain[5]);
    padded.insert(padded.begin() + app1, {0xFF, 0xFF, 0x00, 0xFF, 0xD0, 0xFF, 0x01, 0xFF, 0xFF});
    EXPECT_EQ(OrientationOf(padded), 6);

    // After the first scan nothing is looked for.
    Bytes late = plain;
    const Bytes segment = testing::WithSegment({0xFF, 0xD8}, 0xE1, exif);
    late.insert(late.end() - 2, segment.begin() + 2, segment.end());
    EXPECT_EQ(OrientationOf(late), 1);

    // Not a JPEG, or cut anywhere up to the end of the directory's entries:
    // never more than the file is read.
    EXPECT_EQ(OrientationOf(Patched(withExif, 0, {0xFF, 0xD9})), 1);
    for (std::size_t n = 0; n < app1 + 4 + exif.size() - 4; ++n)
        EXPECT_EQ(OrientationOf(Cut(withExif, n)), 1) << "cut at " << n;

    // Thousands of empty segments: the walk gives up early.
    Bytes crowded = {0xFF, 0xD8};
    for (int i = 0; i < 5000; ++i)
        crowded.insert(crowded.end(), {0xFF, 0xE2, 0x00, 0x02});
    crowded.insert(crowded.end(), withExif.begin() + 2, withExif.end());
    EXPECT_EQ(OrientationOf(crowded), 1);
}

} // namespace
} // namespace orv::imaging
