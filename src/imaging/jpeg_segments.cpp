#include "imaging/jpeg_segments.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <span>

#include "imaging/exif_orientation.h"

namespace orv::imaging {
namespace {

constexpr std::uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint8_t kIccIdentifier[12] = {'I', 'C', 'C', '_', 'P', 'R',
                                             'O', 'F', 'I', 'L', 'E', 0};
constexpr std::size_t kIccChunkHeader = sizeof kIccIdentifier + 2; // identifier, sequence, count
constexpr std::size_t kMaxExifBytes = 64 * 1024;

// A real file has a dozen or two segments before its first scan (a profile
// takes at most 255 of them) and no stray bytes; past these the file is
// taken as hostile.
constexpr int kMaxSegments = 600;
constexpr int kMaxStrayBytes = 64 * 1024;

// Reads a file in small windows, so that walking markers byte by byte does
// not ask the reader for each byte.
class FileCursor {
  public:
    explicit FileCursor(const ByteReader& file) : file_(file) {}

    // The byte at `offset`, or -1 past the end or on a read error.
    int At(std::uint64_t offset) {
        if (offset < start_ || offset >= start_ + filled_) {
            start_ = offset;
            filled_ = ReadFileBytes(file_, offset, window_.data(), window_.size());
            if (filled_ == 0) return -1;
        }
        return window_[static_cast<std::size_t>(offset - start_)];
    }

  private:
    const ByteReader& file_;
    std::array<std::uint8_t, 512> window_{};
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
};

bool Starts(const ByteReader& file, std::uint64_t at, std::span<const std::uint8_t> with) {
    std::uint8_t head[16];
    return with.size() <= sizeof head &&
           ReadFileBytes(file, at, head, with.size()) == with.size() &&
           std::memcmp(head, with.data(), with.size()) == 0;
}

} // namespace

std::size_t ReadFileBytes(const ByteReader& file, std::uint64_t offset, std::uint8_t* dest,
                          std::size_t count) {
    std::size_t done = 0;
    while (done < count && file.read && offset + done < file.size) {
        const std::size_t n = file.read(offset + done, dest + done, count - done);
        if (n == 0) break;
        done += std::min(n, count - done);
    }
    return done;
}

JpegMarkers ReadJpegMarkers(const ByteReader& file) {
    JpegMarkers found;
    FileCursor cursor(file);
    if (cursor.At(0) != 0xFF || cursor.At(1) != 0xD8) return found;
    std::vector<IccChunk> chunks;
    bool exifSeen = false;
    std::uint64_t at = 2;
    int stray = 0;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        // A marker is 0xFF and a code, after any number of fill bytes 0xFF;
        // other bytes do not belong here and are stepped over.
        int code = cursor.At(at);
        while (code != 0xFF) {
            if (code < 0 || ++stray > kMaxStrayBytes) return found;
            code = cursor.At(++at);
        }
        while (code == 0xFF) {
            if (++stray > kMaxStrayBytes) return found;
            code = cursor.At(++at);
        }
        if (code < 0) return found;
        ++at;
        --stray;                            // the 0xFF just before the code belonged to the marker
        if (code == 0xDA || code == 0xD9) { // the first scan, or the end of the picture
            found.iccChunks = std::move(chunks);
            return found;
        }
        if (code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD8))
            continue; // a stuffed zero out of place, or a marker without a length
        const int high = cursor.At(at), low = cursor.At(at + 1);
        if (high < 0 || low < 0) return found;
        const std::uint64_t length = static_cast<std::uint64_t>(high << 8 | low);
        if (length < 2) return found;
        const std::uint64_t payload = length - 2;
        if (code == 0xE1 && !exifSeen && payload >= sizeof kExifHeader &&
            Starts(file, at + 2, kExifHeader)) {
            // A segment cut short by the end of the file is read as far as
            // it goes.
            exifSeen = true;
            std::vector<std::uint8_t> block(
                static_cast<std::size_t>(std::min(payload, std::uint64_t{kMaxExifBytes})));
            block.resize(ReadFileBytes(file, at + 2, block.data(), block.size()));
            found.orientation = ExifOrientation(block);
        } else if (code == 0xE2 && payload >= kIccChunkHeader &&
                   Starts(file, at + 2, kIccIdentifier)) {
            std::uint8_t numbers[2];
            if (ReadFileBytes(file, at + 2 + sizeof kIccIdentifier, numbers, 2) == 2)
                chunks.push_back({.sequence = numbers[0],
                                  .count = numbers[1],
                                  .offset = at + 2 + kIccChunkHeader,
                                  .size = payload - kIccChunkHeader});
        }
        at += length;
    }
    return found;
}

} // namespace orv::imaging
