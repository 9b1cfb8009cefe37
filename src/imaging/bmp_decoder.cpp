#include "imaging/bmp_decoder.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/image_scale.h"

namespace orv::imaging {
namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;       // OS/2 1.x: 16-bit sizes, 3-byte palette
constexpr std::uint32_t kInfoHeaderSize = 40;       // Windows
constexpr std::uint32_t kLargestHeader = 124;       // Windows V5
constexpr std::size_t kRleChunk = 64 * 1024;        // RLE data is read this much at a time
constexpr std::size_t kBandBytes = 2 * 1024 * 1024; // about this much of a picture per band
constexpr int kMaxBandRows = 64;
constexpr std::size_t kSmallAllocations = 4096; // the scaler's row reader and the like

// The compression field's values in Windows headers; OS/2 headers use 3 and 4
// for Huffman and RLE24 instead.
enum : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kJpeg = 4,
    kPng = 5,
    kAlphaBitFields = 6,
};

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Windows headers of 40, 52 (V2), 56 (V3), 108 (V4) and 124 (V5) bytes; any
// other size from 16 to 64 is an OS/2 2.x header, full or shortened.
bool IsWindowsHeader(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool IsOs2Header(std::uint32_t size) {
    return size == kCoreHeaderSize || (size >= 16 && size <= 64 && !IsWindowsHeader(size));
}

// Source rows asked for at a time: a band of about kBandBytes.
int BandRows(const BmpInfo& info) {
    const std::uint64_t row =
        std::max<std::uint64_t>(static_cast<std::uint64_t>(info.size.width) * 3, info.rowBytes);
    return static_cast<int>(
        std::clamp<std::uint64_t>(kBandBytes / std::max<std::uint64_t>(row, 1), 1, kMaxBandRows));
}

// One colour channel of a 16- or 32-bit pixel, scaled from its mask's width
// to 8 bits (a 5-bit 31 and a 10-bit 1023 both give 255).
class Channel {
  public:
    explicit Channel(std::uint32_t mask) : mask_(mask) {
        if (!mask) return;
        shift_ = std::countr_zero(mask);
        const std::uint32_t max = mask >> shift_;
        byte_ = max == 255;
        scale_ = 255.0 / max;
    }
    int operator()(std::uint32_t pixel) const {
        if (byte_) return static_cast<int>((pixel >> shift_) & 0xFF);
        // Exact: v * 255 / max never lies halfway between two integers when
        // max is 2^n - 1, and double keeps far more than the 40 bits needed.
        return static_cast<int>(((pixel & mask_) >> shift_) * scale_ + 0.5);
    }

  private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    bool byte_ = false;
    double scale_ = 0;
};

// Turns stored rows into B, G, R rows for the scaler.
class RowConverter {
  public:
    RowConverter(const BmpInfo& info, bool premultiply)
        : info_(info), red_(info.masks[0]), green_(info.masks[1]), blue_(info.masks[2]),
          alpha_(info.masks[3]), premultiply_(premultiply) {
        plainBytes_ = info.bitsPerPixel == 32 && !premultiply && info.masks[0] == 0xFF0000 &&
                      info.masks[1] == 0xFF00 && info.masks[2] == 0xFF;
    }

    void operator()(const std::uint8_t* raw, std::uint8_t* out) const {
        const int width = info_.size.width;
        switch (info_.bitsPerPixel) {
        case 24:
            std::memcpy(out, raw, static_cast<std::size_t>(width) * 3);
            return;
        case 16:
        case 32:
            if (plainBytes_) {
                for (int x = 0; x < width; ++x, raw += 4, out += 3) {
                    out[0] = raw[0];
                    out[1] = raw[1];
                    out[2] = raw[2];
                }
                return;
            }
            for (int x = 0; x < width; ++x, out += 3) {
                const std::uint32_t pixel = info_.bitsPerPixel == 16 ? U16(raw) : U32(raw);
                raw += info_.bitsPerPixel / 8;
                int b = blue_(pixel), g = green_(pixel), r = red_(pixel);
                if (premultiply_) {
                    const int a = alpha_(pixel);
                    b = (b * a + 127) / 255;
                    g = (g * a + 127) / 255;
                    r = (r * a + 127) / 255;
                }
                out[0] = static_cast<std::uint8_t>(b);
                out[1] = static_cast<std::uint8_t>(g);
                out[2] = static_cast<std::uint8_t>(r);
            }
            return;
        default: {
            // Palette indexes, the leftmost pixel in the high bits.
            const int bits = info_.bitsPerPixel;
            const unsigned indexMask = (1u << bits) - 1;
            int x = 0;
            for (const std::uint8_t* byte = raw; x < width; ++byte)
                for (int shift = 8 - bits; shift >= 0 && x < width; shift -= bits, ++x, out += 3) {
                    const std::uint8_t* colour =
                        &info_.palette[static_cast<std::size_t>((*byte >> shift) & indexMask) * 3];
                    out[0] = colour[0];
                    out[1] = colour[1];
                    out[2] = colour[2];
                }
        }
        }
    }

  private:
    const BmpInfo& info_;
    Channel red_, green_, blue_, alpha_;
    bool premultiply_;
    bool plainBytes_ = false;
};

// Reads `count` stored rows from row `first` on (in file order) into `raw`
// and returns how many bytes the file had; the bytes past those read as zero.
std::size_t ReadStoredRows(const ByteReader& file, const BmpInfo& info, int first, int count,
                           std::uint8_t* raw) {
    const std::size_t want = static_cast<std::size_t>(count * info.rowBytes);
    const std::size_t got = file.read(info.pixelOffset + first * info.rowBytes, raw, want);
    if (got < want) std::memset(raw + got, 0, want - got);
    return got;
}

// Whether any pixel of an uncompressed file with an alpha mask has a non-zero
// alpha; stops at the first.
bool AnyAlpha(const ByteReader& file, const BmpInfo& info, std::vector<std::uint8_t>& raw,
              int band) {
    const int bytesPerPixel = info.bitsPerPixel / 8;
    for (int first = 0; first < info.size.height; first += band) {
        const int count = std::min(band, info.size.height - first);
        ReadStoredRows(file, info, first, count, raw.data());
        for (int y = 0; y < count; ++y) {
            const std::uint8_t* p = raw.data() + y * info.rowBytes;
            for (int x = 0; x < info.size.width; ++x, p += bytesPerPixel)
                if ((bytesPerPixel == 2 ? U16(p) : U32(p)) & info.masks[3]) return true;
        }
    }
    return false;
}

// The file's bytes from `offset` on, one at a time, read in chunks.
class ChunkedReader {
  public:
    ChunkedReader(const ByteReader& file, std::uint64_t offset)
        : file_(file), next_(offset), chunk_(kRleChunk) {}
    bool Next(std::uint8_t& byte) {
        if (pos_ == end_) {
            end_ = next_ < file_.size ? file_.read(next_, chunk_.data(), chunk_.size()) : 0;
            next_ += end_;
            pos_ = 0;
            if (end_ == 0) return false;
        }
        byte = chunk_[pos_++];
        return true;
    }

  private:
    const ByteReader& file_;
    std::uint64_t next_;
    std::vector<std::uint8_t> chunk_;
    std::size_t pos_ = 0, end_ = 0;
};

// RLE4 and RLE8 data decoded band by band, bottom row first as stored.
class RleDecoder {
  public:
    RleDecoder(const ByteReader& file, const BmpInfo& info)
        : info_(info), in_(file, info.pixelOffset),
          four_(info.compression == BmpCompression::Rle4) {}

    // Rows [first, first + count) counted from the bottom, as B, G, R; they
    // must follow the rows asked for before.
    bool ReadRows(int first, int count, std::uint8_t* rows, std::size_t stride) {
        if (first != nextRow_) return false;
        nextRow_ = first + count;
        const int width = info_.size.width;
        for (int i = 0; i < count; ++i)
            std::memset(rows + i * stride, 0, static_cast<std::size_t>(width) * 3);
        const int end = first + count;
        const auto put = [&](int index) {
            if (x_ >= width) return;
            std::memcpy(rows + (y_ - first) * stride + x_ * 3,
                        &info_.palette[static_cast<std::size_t>(index) * 3], 3);
            ++x_;
        };
        std::uint8_t n = 0, value = 0;
        while (!finished_ && y_ < end) {
            if (!in_.Next(n) || !in_.Next(value)) {
                finished_ = true;
                break;
            }
            if (n > 0) { // a run of one index (RLE4: two, alternating)
                for (int k = 0; k < n && x_ < width; ++k)
                    put(four_ ? (k % 2 ? value & 0x0F : value >> 4) : value);
                continue;
            }
            switch (value) {
            case 0: // end of line
                x_ = 0;
                ++y_;
                break;
            case 1: // end of bitmap
                finished_ = true;
                break;
            case 2: { // move right and up
                std::uint8_t dx = 0, dy = 0;
                if (!in_.Next(dx) || !in_.Next(dy)) {
                    finished_ = true;
                    break;
                }
                x_ = std::min(x_ + dx, width);
                y_ += dy;
                break;
            }
            default: { // `value` indexes stored as they are, padded to 16 bits
                const int bytes = four_ ? (value + 1) / 2 : value;
                std::uint8_t byte = 0;
                for (int k = 0; k < bytes; ++k) {
                    if (!in_.Next(byte)) {
                        finished_ = true;
                        break;
                    }
                    if (four_) {
                        put(byte >> 4);
                        if (2 * k + 1 < value) put(byte & 0x0F);
                    } else {
                        put(byte);
                    }
                }
                if (bytes % 2 && !finished_) in_.Next(byte);
            }
            }
            if (y_ >= info_.size.height) finished_ = true;
        }
        return true;
    }

  private:
    const BmpInfo& info_;
    ChunkedReader in_;
    bool four_;
    int x_ = 0, y_ = 0, nextRow_ = 0;
    bool finished_ = false;
};

} // namespace

std::optional<BmpInfo> ReadBmpInfo(const ByteReader& file, BmpRefusal* why) {
    const auto refuse = [why](BmpRefusal reason) -> std::optional<BmpInfo> {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (!file.read) return refuse(BmpRefusal::NotBmp);
    // The file header, the info header and the masks that may follow it.
    std::uint8_t head[kFileHeaderSize + kLargestHeader + 16] = {};
    const std::size_t got = file.read(0, head, std::min<std::uint64_t>(file.size, sizeof head));
    if (got < 2 || head[0] != 'B' || head[1] != 'M') return refuse(BmpRefusal::NotBmp);
    if (got < kFileHeaderSize + 4) return refuse(BmpRefusal::Damaged);
    const std::uint32_t headerSize = U32(head + kFileHeaderSize);
    if (!IsWindowsHeader(headerSize) && !IsOs2Header(headerSize))
        return refuse(BmpRefusal::OtherKind);
    if (got < kFileHeaderSize + headerSize) return refuse(BmpRefusal::Damaged);
    // The info header alone; fields a shortened OS/2 header leaves out are 0.
    std::uint8_t h[kLargestHeader] = {};
    std::memcpy(h, head + kFileHeaderSize, headerSize);

    BmpInfo info;
    const bool core = headerSize == kCoreHeaderSize;
    std::int64_t width = 0, height = 0;
    std::uint32_t planes = 0, compression = kRgb, coloursUsed = 0;
    if (core) {
        width = U16(h + 4);
        height = U16(h + 6);
        planes = U16(h + 8);
        info.bitsPerPixel = U16(h + 10);
    } else {
        width = static_cast<std::int32_t>(U32(h + 4));
        height = static_cast<std::int32_t>(U32(h + 8));
        planes = U16(h + 12);
        info.bitsPerPixel = U16(h + 14);
        compression = U32(h + 16);
        coloursUsed = U32(h + 32);
    }

    bool alphaBitFields = false;
    switch (compression) {
    case kRgb:
        break;
    case kRle8:
        info.compression = BmpCompression::Rle8;
        break;
    case kRle4:
        info.compression = BmpCompression::Rle4;
        break;
    case kBitFields:
    case kAlphaBitFields:
        // In OS/2 headers these are Huffman and RLE24 data.
        if (IsOs2Header(headerSize)) return refuse(BmpRefusal::OtherKind);
        info.compression = BmpCompression::BitFields;
        alphaBitFields = compression == kAlphaBitFields;
        break;
    case kJpeg:
    case kPng:
    default: // and kinds this decoder does not know
        return refuse(BmpRefusal::OtherKind);
    }
    const int bpp = info.bitsPerPixel;
    if (bpp == 64) return refuse(BmpRefusal::OtherKind);
    const bool knownDepth =
        bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    const bool depthFits = info.compression == BmpCompression::Rle8        ? bpp == 8
                           : info.compression == BmpCompression::Rle4      ? bpp == 4
                           : info.compression == BmpCompression::BitFields ? bpp == 16 || bpp == 32
                                                                           : true;
    if (planes != 1 || !knownDepth || !depthFits) return refuse(BmpRefusal::Damaged);

    info.topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height == 0 || width > kMaxBmpSide || height > kMaxBmpSide ||
        width * height > kMaxBmpPixels)
        return refuse(BmpRefusal::Damaged);
    if (info.topDown && info.compression != BmpCompression::None &&
        info.compression != BmpCompression::BitFields)
        return refuse(BmpRefusal::Damaged); // RLE is stored bottom-up only
    info.size = {static_cast<int>(width), static_cast<int>(height)};

    // Masks: in V2 and later headers, else after a 40-byte header.
    std::uint64_t maskBytes = 0;
    if (info.compression == BmpCompression::BitFields) {
        const std::uint8_t* masks = h + kInfoHeaderSize;
        if (headerSize == kInfoHeaderSize) {
            maskBytes = alphaBitFields ? 16 : 12;
            if (got < kFileHeaderSize + headerSize + maskBytes) return refuse(BmpRefusal::Damaged);
            masks = head + kFileHeaderSize + kInfoHeaderSize;
        }
        info.masks = {U32(masks), U32(masks + 4), U32(masks + 8), 0};
        if (alphaBitFields || headerSize >= 56) info.masks[3] = U32(masks + 12);
    } else if (bpp == 16) {
        info.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (bpp == 32) {
        info.masks = {0xFF0000, 0xFF00, 0xFF, 0};
    }

    // The palette, and the pixel data after it. A palette longer than the
    // space before the file's pixel offset is cut to that space.
    const std::uint64_t paletteStart = kFileHeaderSize + headerSize + maskBytes;
    const std::uint64_t entryBytes = core ? 3 : 4;
    std::uint64_t entries = coloursUsed; // true colour: an optional table to step over
    if (bpp <= 8) {
        const std::uint32_t most = 1u << bpp;
        entries = core || coloursUsed == 0 || coloursUsed > most ? most : coloursUsed;
    }
    const std::uint64_t computedOffset = paletteStart + entries * entryBytes;
    const std::uint64_t fileOffset = U32(head + 10);
    if (fileOffset >= paletteStart && fileOffset < file.size) {
        info.pixelOffset = fileOffset;
        if (bpp <= 8 && fileOffset < computedOffset)
            entries = (fileOffset - paletteStart) / entryBytes;
    } else {
        info.pixelOffset = computedOffset;
    }
    if (info.pixelOffset >= file.size) return refuse(BmpRefusal::Damaged);

    if (bpp <= 8) {
        std::uint8_t palette[256 * 4];
        const std::size_t bytes = static_cast<std::size_t>(entries * entryBytes);
        const std::size_t read = file.read(paletteStart, palette, bytes);
        info.paletteSize = static_cast<int>(read / entryBytes);
        for (int i = 0; i < info.paletteSize; ++i)
            std::memcpy(&info.palette[static_cast<std::size_t>(i) * 3], palette + i * entryBytes,
                        3);
    }
    if (info.compression == BmpCompression::None || info.compression == BmpCompression::BitFields)
        info.rowBytes = (static_cast<std::uint64_t>(width) * bpp + 31) / 32 * 4;
    return info;
}

std::size_t BmpDecodeMemory(const BmpInfo& info, int width, int height) {
    const int band = BandRows(info);
    const std::size_t own = info.rowBytes ? band * info.rowBytes : kRleChunk;
    return ScaleImageMemory(info.size.width, info.size.height, 3, width, height, band) + own +
           kSmallAllocations;
}

bool DecodeBmp(const ByteReader& file, int width, int height, std::uint8_t* dest,
               std::size_t stride, std::size_t memoryLimit, const RowFilter& filter) {
    if (width <= 0 || height <= 0 || !dest) return false;
    const std::optional<BmpInfo> info = ReadBmpInfo(file);
    if (!info || BmpDecodeMemory(*info, width, height) > memoryLimit) return false;
    try {
        const int band = BandRows(*info);
        ScaleSource source;
        source.width = info->size.width;
        source.height = info->size.height;
        source.bytesPerPixel = 3;
        source.bottomUp = !info->topDown;

        if (!info->rowBytes) {
            RleDecoder rle(file, *info);
            source.readRows = [&](int first, int count, std::uint8_t* rows, std::size_t step) {
                return rle.ReadRows(first, count, rows, step);
            };
            return ScaleImage(source, width, height, dest, stride, band, ScaleCode::Fastest,
                              filter);
        }

        std::vector<std::uint8_t> raw(static_cast<std::size_t>(band * info->rowBytes));
        const bool premultiply = info->masks[3] && AnyAlpha(file, *info, raw, band);
        const RowConverter convert(*info, premultiply);
        source.readRows = [&](int first, int count, std::uint8_t* rows, std::size_t step) {
            if (count > band) return false;
            const std::size_t got = ReadStoredRows(file, *info, first, count, raw.data());
            for (int y = 0; y < count; ++y) {
                std::uint8_t* row = rows + y * step;
                // Pixels the file is too short to hold are black.
                const std::uint64_t start = y * info->rowBytes;
                const std::uint64_t held = got > start ? got - start : 0;
                const std::uint64_t whole = std::min<std::uint64_t>(
                    held * 8 / info->bitsPerPixel, static_cast<std::uint64_t>(info->size.width));
                if (whole > 0) convert(raw.data() + start, row);
                std::memset(row + whole * 3, 0, (info->size.width - whole) * 3);
            }
            return true;
        };
        return ScaleImage(source, width, height, dest, stride, band, ScaleCode::Fastest, filter);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace orv::imaging
