// Which decoder draws a picture file and how much it may cost. JPEG (colour
// or grey) and BMP are drawn by our own decoders, straight to the drawn size
// and upright; everything else (GIF, CMYK JPEG, PNG inside a BMP) is left to
// the system's decoder, whose result the caller turns upright with
// OrientPixels. A file whose header is damaged or claims more than the
// budget allows is refused before anything is allocated. Used by the picture
// opener (picture.h) and the wallpaper writer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/picture_types.h"

namespace orv::imaging {

enum class Decoder { Jpeg, Bmp, System };

struct PictureInfo {
    Decoder decoder = Decoder::System;
    // Our decoders know the size from the header; the system's decoder tells
    // it once it has read the file (both zero until then).
    PixelSize stored;
    PixelSize upright;
    int orientation = 1; // see orientation.h
    // The ICC profile embedded in a JPEG or BMP of our decoders, checked
    // (icc_profile.h); empty for untagged pictures, which are sRGB.
    std::vector<std::uint8_t> iccProfile;
};

// What one picture may cost: the decoder's and the scaler's working memory
// and the picture-sized buffers around them; the box-sized result is the
// caller's. Everything one change holds stays under about 256 MB.
struct DecodeBudget {
    std::size_t workingBytes = std::size_t{192} * 1024 * 1024;
    // Where an arithmetic-coded JPEG's coefficients go that do not fit (see
    // JpegLimits); none: such a picture is refused.
    ScratchFiles scratch{};
};

// Looks at the file's signature and headers. Nothing when the file is
// refused: a JPEG or BMP whose header is damaged or absurd (no decoder draws
// those), or an empty file.
std::optional<PictureInfo> InspectPicture(const ByteReader& file);

// Draws a picture of our own decoders scaled to exactly width x height (the
// upright size) into `dest` as 4-byte pixels (B, G, R, 255), rows `stride`
// bytes apart, top row first, each row through `filter` as it is drawn (see
// ScaleImage). False when it cannot be drawn or would cost more than the
// budget.
bool DecodePicture(const ByteReader& file, const PictureInfo& info, int width, int height,
                   std::uint8_t* dest, std::size_t stride, const DecodeBudget& budget = {},
                   const RowFilter& filter = {});

// Whether the system's decoder may decode a picture of `stored` pixels whole
// (it holds about 4 bytes a pixel, and a converted copy of a row band) and
// the scaler take it to `box` within the budget.
bool SystemDecodeFits(PixelSize stored, PixelSize box, const DecodeBudget& budget = {});

// The size a picture of `upright` pixels is written at as the wallpaper: its
// own, or shrunk with its proportions kept until its 4-byte pixels fit
// `maxBytes`; at least 1 x 1.
PixelSize WallpaperSize(PixelSize upright, std::size_t maxBytes);

} // namespace orv::imaging
