#include "imaging/exif_orientation.h"

#include <algorithm>
#include <array>
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

// Reads a file through a ByteReader in small windows, so walking markers
// byte by byte does not ask the reader for each byte.
class FileCursor {
  public:
    explicit FileCursor(const ByteReader& file) : file_(file) {}

    // The byte at `offset`, or -1 past the end or on a read error.
    int At(std::uint64_t offset) {
        if (offset < start_ || offset >= start_ + filled_) {
            start_ = offset;
            filled_ = Read(offset, window_.data(), window_.size());
            if (filled_ == 0) return -1;
        }
        return window_[static_cast<std::size_t>(offset - start_)];
    }

    // Copies up to `count` bytes from `offset` on, asking the reader as
    // often as it takes; how many it copied.
    std::size_t Read(std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
        std::size_t done = 0;
        try {
            while (done < count && file_.read && offset + done < file_.size) {
                const std::size_t n = file_.read(offset + done, dest + done, count - done);
                if (n == 0) break;
                done += std::min(n, count - done);
            }
        } catch (const std::exception&) {
        }
        return done;
    }

  private:
    const ByteReader& file_;
    std::array<std::uint8_t, 512> window_{};
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
};

// A real file has a dozen or two segments before its first scan and no
// stray bytes; past these the file is taken as hostile.
constexpr int kMaxSegments = 500;
constexpr int kMaxStrayBytes = 64 * 1024;

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
    FileCursor cursor(file);
    if (cursor.At(0) != 0xFF || cursor.At(1) != 0xD8) return 1;
    std::uint64_t at = 2;
    int stray = 0;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        // A marker is 0xFF and a code; any number of 0xFF may come first.
        // Other bytes do not belong here; libjpeg steps over them too.
        int code = cursor.At(at);
        while (code != 0xFF) {
            if (code < 0 || ++stray > kMaxStrayBytes) return 1;
            code = cursor.At(++at);
        }
        while (code == 0xFF) {
            if (++stray > kMaxStrayBytes) return 1;
            code = cursor.At(++at);
        }
        if (code < 0) return 1;
        ++at;
        --stray; // the 0xFF just before the code belonged to the marker
        if (code == 0xDA || code == 0xD9) return 1; // first scan or end: no EXIF before it
        if (code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD8))
            continue; // a stuffed zero out of place, or a marker without a length
        const int high = cursor.At(at), low = cursor.At(at + 1);
        if (high < 0 || low < 0) return 1;
        const std::size_t length = static_cast<std::size_t>(high << 8 | low);
        if (length < 2) return 1;
        const std::size_t payload = length - 2;
        if (code == 0xE1 && payload >= sizeof kExifHeader) {
            std::uint8_t start[sizeof kExifHeader];
            if (cursor.Read(at + 2, start, sizeof start) == sizeof start &&
                std::memcmp(start, kExifHeader, sizeof start) == 0) {
                // A segment cut short by the end of the file is read as far
                // as it goes.
                std::vector<std::uint8_t> block(payload);
                block.resize(cursor.Read(at + 2, block.data(), block.size()));
                return ExifOrientation(block);
            }
        }
        at += length;
    }
    return 1;
}

} // namespace orv::imaging
