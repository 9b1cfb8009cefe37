// JPEG pictures through libjpeg-turbo, decoded straight to the size at which
// they are drawn: the decoder shrinks while decoding (its scaled inverse DCT,
// by 1/8 up to 8/8) to about twice the target, and the area-averaging scaler
// takes it to the exact size. Rows stream from the
// decoder into the scaler, so a large photo is never held whole. Used by the
// Windows picture loader; free of platform types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "imaging/picture_types.h"

namespace orv::imaging {

// The picture's size when `bytes` hold a JPEG that this decoder draws: colour
// (YCbCr or RGB) or grey. Nothing for anything else (not a JPEG, a damaged
// header, CMYK), which is left to another decoder.
std::optional<PixelSize> JpegSize(std::span<const std::uint8_t> bytes);

// The size, in eighths of the picture, at which the decoder decodes it for a
// width x height target: the smallest that is at least twice the target,
// else the full size (8). Shrinking by less than two in the scaler would
// blur: each output pixel would be a blend of two source pixels, like a
// linear filter (about 3 dB worse on photos).
int JpegDecodeEighths(PixelSize picture, int width, int height);

// Decodes the JPEG in `bytes` scaled to exactly width x height into `dest`
// as 4-byte pixels (B, G, R, 255), rows `stride` bytes apart. Damaged data
// after a good header decodes as far as it goes, as other viewers do. False
// when the picture cannot be decoded at all, memory runs out or a size is
// not positive, and for a progressive file of more than 100 scans (real
// photos have about ten).
bool DecodeJpeg(std::span<const std::uint8_t> bytes, int width, int height, std::uint8_t* dest,
                std::size_t stride);

} // namespace orv::imaging
