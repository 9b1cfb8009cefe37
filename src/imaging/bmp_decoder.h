// BMP pictures of the kinds Windows and OS/2 programs write, decoded straight
// to the size at which they are drawn: pixel rows are read from the file as
// the area-averaging scaler asks for them (RLE data in chunks, in file order),
// so a large bitmap is never held whole. Used by the Windows picture loader;
// free of platform types.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "imaging/picture_types.h"

namespace orv::imaging {

enum class BmpCompression { None, Rle8, Rle4, BitFields };

// Why ReadBmpInfo gave nothing.
enum class BmpRefusal {
    // No "BM" signature.
    NotBmp,
    // A BMP of a kind left to another decoder: JPEG or PNG inside, OS/2
    // Huffman or RLE24 data, 64-bit pixels, an unknown header size or
    // compression.
    OtherKind,
    // Broken or absurd headers (a size that is not positive or larger than
    // kMaxBmpSide / kMaxBmpPixels, planes other than 1, a depth that does not
    // fit the compression, top-down RLE), headers cut short, or no pixel data
    // at all. Nobody draws these: refuse them.
    Damaged,
};

// Pictures larger than this either way, or with more pixels in all (16384 x
// 16384, an 800 MB file at 24 bits), are refused before anything is
// allocated. Every pixel a file claims passes through the scaler, present or
// not, so this also bounds the time a damaged file can take (about a second).
constexpr int kMaxBmpSide = 1 << 20;
constexpr std::int64_t kMaxBmpPixels = std::int64_t{1} << 28;

struct BmpInfo {
    PixelSize size;       // positive, also for top-down files
    int bitsPerPixel = 0; // 1, 2, 4, 8, 16, 24 or 32
    BmpCompression compression = BmpCompression::None;
    bool topDown = false;
    // 16- and 32-bit pixels: the red, green, blue and alpha masks, the
    // defaults (5-5-5, 8-8-8) filled in; alpha 0 unless the file declares an
    // alpha channel (bit fields with an alpha mask).
    std::array<std::uint32_t, 4> masks{};
    // Up to 8 bits a pixel: the colours as B, G, R; entries the file does
    // not give (short palettes, indexes past them) are black.
    int paletteSize = 0;
    std::array<std::uint8_t, 256 * 3> palette{};
    // Where the pixel data starts, taken from the headers when the file's own
    // offset is zero or points into the headers or past the end.
    std::uint64_t pixelOffset = 0;
    // Uncompressed: bytes a stored row takes, padding included.
    std::uint64_t rowBytes = 0;
};

// The headers of the BMP in `file`, checked: nothing (and the reason in
// `why`, when given) for anything this decoder does not draw. Reads only the
// headers and the palette.
std::optional<BmpInfo> ReadBmpInfo(const ByteReader& file, BmpRefusal* why = nullptr);

// The working memory DecodeBmp needs to draw `info` at width x height: the
// scaler's tables and row window and the decoder's own buffers, not `dest`.
std::size_t BmpDecodeMemory(const BmpInfo& info, int width, int height);

// Decodes the BMP in `file` scaled to exactly width x height into `dest` as
// 4-byte pixels (B, G, R, 255), rows `stride` bytes apart, top row first.
// Pixel data cut short or damaged RLE data draws as far as it goes, the rest
// black, as are RLE pixels the data skips and palette indexes past the
// palette. RLE runs past the end of a row are cut there. 32-bit and 16-bit
// files with an alpha mask are drawn on black (premultiplied) when any pixel
// has a non-zero alpha; a file whose alpha is zero throughout is opaque (many
// programs write zero there), which is found by reading the pixel data up to
// the first non-zero alpha before drawing. False (dest partly written) when
// ReadBmpInfo refuses the file, a size is not positive, more than
// `memoryLimit` bytes of working memory would be needed (BmpDecodeMemory) or
// memory runs out. Each row goes through `filter` (see ScaleImage).
bool DecodeBmp(const ByteReader& file, int width, int height, std::uint8_t* dest,
               std::size_t stride, std::size_t memoryLimit, const RowFilter& filter = {});

} // namespace orv::imaging
