// The coefficients of a JPEG in several scans (progressive, or one scan per
// component) that do not fit the decoding memory, decoded a band of block
// rows at a time instead of kept whole: one walk over the file finds every
// scan and the tables it uses, then each band takes every scan's data for its
// rows in file order, each scan going on where it stopped for the band above.
// Nothing goes to scratch files and each scan's data is read once. The JPEG
// decoder (jpeg_decoder.cpp) hands the bands to libjpeg in place of its
// whole-picture coefficient arrays; libjpeg draws the rows from them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/picture_types.h"

struct jpeg_decompress_struct;

namespace orv::imaging {

struct JpegLimits;

class CoefficientBands {
  public:
    virtual ~CoefficientBands() = default;

    // Walks the scans of the file whose header `header` has read. Nothing
    // when the file cannot be decoded in bands within `limits`: arithmetic
    // coding, a scan with impossible parameters or a table never defined,
    // more scans than maxScans, coefficients beyond maxCoefficientBytes, or
    // not even one row of blocks fitting maxDecoderMemory. This reads the
    // file once and decodes nothing; the bands' memory is taken here.
    static std::unique_ptr<CoefficientBands>
    Open(const ByteReader& file, const jpeg_decompress_struct& header, const JpegLimits& limits);

    // Where the first scan's entropy data starts: libjpeg reads the file up
    // to here (and then an end marker) for the header and its set-up.
    virtual std::uint64_t HeaderEnd() const = 0;
    // Takes the place of libjpeg's coefficient arrays in `info`, which has
    // read the cut file's header and not yet started; its client_data must
    // point at a JpegClient (jpeg_memory.h) whose bands are these.
    virtual void Install(jpeg_decompress_struct& info) = 0;
};

} // namespace orv::imaging
