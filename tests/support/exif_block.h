// Hand-made EXIF data for the tests of the JPEG decoder and of the picture
// loader: an APP1 payload with a chosen first directory, and a JPEG with a
// segment put in after its JFIF header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::testing {

struct TiffEntry {
    std::uint16_t tag = 0x0112; // orientation
    std::uint16_t type = 3;     // SHORT
    std::uint32_t count = 1;
    std::uint32_t value = 1; // a SHORT of count 1 goes in the field's first two bytes
};

// "Exif\0\0", a TIFF header in the given byte order and a first directory
// holding `entries` at offset 8, with no directory after it.
inline std::vector<std::uint8_t> ExifBlock(const std::vector<TiffEntry>& entries,
                                           bool bigEndian = false) {
    std::vector<std::uint8_t> out = {'E', 'x', 'i', 'f', 0, 0};
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
            out.push_back(static_cast<std::uint8_t>(v >> shift));
        }
    };
    out.push_back(bigEndian ? 'M' : 'I');
    out.push_back(bigEndian ? 'M' : 'I');
    put(42, 2);
    put(8, 4);
    put(static_cast<std::uint32_t>(entries.size()), 2);
    for (const TiffEntry& e : entries) {
        put(e.tag, 2);
        put(e.type, 2);
        put(e.count, 4);
        if (e.type == 3 && e.count == 1) {
            put(e.value, 2);
            put(0, 2);
        } else {
            put(e.value, 4);
        }
    }
    put(0, 4);
    return out;
}

inline std::vector<std::uint8_t> ExifOrientationBlock(int orientation, bool bigEndian = false) {
    return ExifBlock({{.value = static_cast<std::uint32_t>(orientation)}}, bigEndian);
}

// `jpeg` with a segment of `marker` (e.g. 0xE1 for APP1) holding `payload`
// after the start marker and the JFIF APP0 segment, if there is one.
inline std::vector<std::uint8_t> WithSegment(std::vector<std::uint8_t> jpeg, std::uint8_t marker,
                                             const std::vector<std::uint8_t>& payload) {
    std::size_t at = 2;
    if (jpeg.size() > 6 && jpeg[2] == 0xFF && jpeg[3] == 0xE0) at = 4 + (jpeg[4] << 8 | jpeg[5]);
    const std::size_t length = payload.size() + 2;
    std::vector<std::uint8_t> segment = {0xFF, marker, static_cast<std::uint8_t>(length >> 8),
                                         static_cast<std::uint8_t>(length)};
    segment.insert(segment.end(), payload.begin(), payload.end());
    jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(at), segment.begin(), segment.end());
    return jpeg;
}

} // namespace orv::testing
