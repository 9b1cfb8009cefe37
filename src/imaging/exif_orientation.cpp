#include "imaging/exif_orientation.h"

#include "imaging/jpeg_segments.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

namespace orv::imaging {
namespace {

constexpr std::uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kTiffHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;

// Reads 16- and 32-bit numbers of a TIFF block in its byte order. Callers
// check that the bytes are inside the block first.
struct TiffBlock {
    std::span<const std::uint8_t> bytes;
    bool bigEndian = false;

    std::uint16_t U16(std::size_t at) const {
        const std::uint8_t* p = bytes.data() + at;
        return static_cast<std::uint16_t>(bigEndian ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
    }
    std::uint32_t U32(std::size_t at) const {
        const std::uint8_t* p = bytes.data() + at;
        return bigEndian ? std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 |
                               std::uint32_t{p[2]} << 8 | p[3]
                         : std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 |
                               std::uint32_t{p[1]} << 8 | p[0];
    }
};

} // namespace

int ExifOrientation(std::span<const std::uint8_t> app1) {
    if (app1.size() < sizeof kExifHeader ||
        std::memcmp(app1.data(), kExifHeader, sizeof kExifHeader) != 0)
        return 1;
    TiffBlock tiff{app1.subspan(sizeof kExifHeader)};
    const std::size_t size = tiff.bytes.size();
    if (size < kTiffHeaderSize) return 1;
    const std::uint8_t* header = tiff.bytes.data();
    if (header[0] == 'I' && header[1] == 'I')
        tiff.bigEndian = false;
    else if (header[0] == 'M' && header[1] == 'M')
        tiff.bigEndian = true;
    else
        return 1;
    if (tiff.U16(2) != 42) return 1;

    // The first directory: an entry count, then that many 12-byte entries,
    // all of them inside the block and after the header.
    const std::uint32_t directory = tiff.U32(4);
    if (directory < kTiffHeaderSize || directory > size || size - directory < 2) return 1;
    const std::size_t count = tiff.U16(directory);
    if ((size - directory - 2) / kEntrySize < count) return 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directory + 2 + i * kEntrySize;
        if (tiff.U16(entry) != kOrientationTag) continue;
        // Type, count, then the value, which a SHORT holds in the first two
        // bytes of the 4-byte value field.
        if (tiff.U16(entry + 2) != kShortType || tiff.U32(entry + 4) != 1) return 1;
        const int value = tiff.U16(entry + 8);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

int JpegOrientation(const ByteReader& file) {
    return ReadJpegMarkers(file).orientation;
}

} // namespace orv::imaging
