// JPEG pictures through libjpeg-turbo, decoded straight to the size at which
// they are drawn and turned upright by their EXIF orientation: the decoder
// shrinks while decoding (its scaled inverse DCT, by 1/8 up to 8/8) to about
// twice the target, and the area-averaging scaler takes it to the exact size.
// The file is read through a ByteReader as the decoder needs it and rows
// stream from the decoder into the scaler, so a large photo is never held
// whole. Used by the Windows picture loader; free of platform types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "imaging/jpeg_segments.h"
#include "imaging/picture_types.h"

namespace orv::imaging {

// What a decode may cost.
struct JpegLimits {
    // libjpeg's working memory, and the bound for the picture-sized buffers
    // around it. A file in several scans (progressive, or one scan per
    // component) needs every coefficient of the picture before its first row
    // comes out, about 2 to 6 bytes a pixel. When they fit this, libjpeg
    // keeps them all; otherwise they are decoded a band of block rows at a
    // time (jpeg_bands.h): every scan's data for the band, then the band's
    // rows, in half this memory. An arithmetic-coded file over it keeps its
    // coefficients in scratch files (below) instead, and without them is
    // refused before anything is allocated. A baseline file needs only a
    // few rows at any size. The box-sized buffer that an oriented picture is
    // turned in (target width x height x 4) must fit too.
    std::size_t maxDecoderMemory = std::size_t{192} * 1024 * 1024;
    // A progressive file is read scan by scan before its first row comes
    // out, and every scan walks every block, even an empty one: real photos
    // have about ten scans, a hostile file thousands. One decoded in bands
    // is refused from its scan headers, before any is decoded.
    int maxScans = 100;
    // A file in several scans whose coefficients would take more than this
    // is refused from its header (2 GB: a photo of 350 megapixels in full
    // colour resolution, 700 in 4:2:0): with maxScans it bounds the time a
    // decode takes.
    std::uint64_t maxCoefficientBytes = std::uint64_t{2} << 30;
    // Where an arithmetic-coded file's coefficients go that do not fit
    // maxDecoderMemory; none: the file is refused. Its scans may move at
    // most scratchTraffic times its coefficients through the files (real
    // photos move about ten times).
    ScratchFiles scratch{};
    int scratchTraffic = 24;
};

struct JpegInfo {
    PixelSize stored;    // as the file stores it
    PixelSize upright;   // as it is shown: stored, turned by the orientation
    int orientation = 1; // 1 to 8, see orientation.h
    // True when DecodeJpeg draws the picture: colour (YCbCr or RGB) or grey.
    // False for CMYK, YCCK and other colour spaces: the caller hands those
    // to another decoder and turns its result upright itself, e.g. by having
    // it decode at the stored-orientation box (width and height swapped when
    // SwapsAxes(orientation)) and passing that to OrientPixels.
    bool drawable = false;
    // The chunks of an embedded ICC profile, found by the same walk over the
    // file's segments as the orientation (jpeg_segments.h).
    std::optional<std::vector<IccChunk>> iccChunks;
};

// The header of the JPEG in `file`. Nothing when it is not a JPEG or its
// header is damaged.
std::optional<JpegInfo> ReadJpegInfo(const ByteReader& file);

// The size, in eighths of the picture, at which the decoder decodes it for a
// width x height target (both in the stored orientation): the smallest that
// is at least twice the target, else the full size (8). Shrinking by less
// than two in the scaler would blur: each output pixel would be a blend of
// two source pixels, like a linear filter (about 3 dB worse on photos).
int JpegDecodeEighths(PixelSize picture, int width, int height);

// Decodes the drawable JPEG in `file` upright and scaled to exactly width x
// height (the upright size) into `dest` as 4-byte pixels (B, G, R, 255),
// rows `stride` bytes apart. Damaged data after a good header decodes as far
// as it goes, as other viewers do. False when the picture cannot be decoded
// at all or is not drawable, a size is not positive, it would take more than
// `limits` allow, or memory runs out; `dest` may then be partly written.
// `file` is read during the call only, in chunks of up to 1 MB. `orientation` is
// the picture's as ReadJpegInfo found it, so the file's segments are not
// walked again; 0 has it read from the file. Each scaled row goes through
// `filter` before it is turned upright (see ScaleImage).
bool DecodeJpeg(const ByteReader& file, int width, int height, std::uint8_t* dest,
                std::size_t stride, const JpegLimits& limits = {}, int orientation = 0,
                const RowFilter& filter = {});

} // namespace orv::imaging
