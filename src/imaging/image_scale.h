// Resamples a picture to an exact size with good quality: each output pixel
// is the area average of the source pixels it covers when shrinking, and a
// linear blend of its neighbours when enlarging. Source rows are pulled in
// bands, in the order the source stores them (top down, or bottom up for
// bitmaps stored that way), each row once, and only about a band of them is
// held at a time, whatever the sizes. Used by the picture decoders; free of
// platform types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/picture_types.h"

namespace orv::imaging {

// Source pixels are 3 bytes (B, G, R) or 4 bytes (B, G, R, unused) each.
struct ScaleSource {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;
    // Rows are numbered from the bottom: readRows(0, ...) starts with the
    // bottom row, and the output is written bottom row first.
    bool bottomUp = false;
    // Copies rows [firstRow, firstRow + rowCount) into `dest`, rows `stride`
    // bytes apart. False when the rows cannot be read; scaling then stops.
    std::function<bool(int firstRow, int rowCount, std::uint8_t* dest, std::size_t stride)>
        readRows;
    // Run first on any other thread that reads rows (the system's decoder
    // wants its threads prepared); what it returns is held until that thread
    // has read its last row. Nothing when any thread may read as it is.
    std::function<std::shared_ptr<void>()> prepareThread;
};

// Which row code ScaleImage runs: the fastest the processor has (SSE2 on
// x86), or the plain code, the reference that one is tested against. Both
// give the same bytes.
enum class ScaleCode { Fastest, Plain };

// Writes the picture scaled to width x height into `dest` as 4-byte pixels
// (B, G, R, 255), rows `stride` bytes apart, top row first, each row through
// `filter` when one is given (for large outputs on a second core, behind the
// scaler, where the machine has one). `bandRows` is how many source rows are asked
// for at a time. False (dest partly written) when a size is not positive,
// the source fails or memory runs out.
bool ScaleImage(const ScaleSource& source, int width, int height, std::uint8_t* dest,
                std::size_t stride, int bandRows = 64, ScaleCode code = ScaleCode::Fastest,
                const RowFilter& filter = {});

// True when ScaleCode::Fastest runs other code than ScaleCode::Plain.
bool ScaleIsVectorised();

// The bytes ScaleImage allocates for these sizes (its tap tables, its row
// window and its sums), for callers that bound their working memory.
std::size_t ScaleImageMemory(int sourceWidth, int sourceHeight, int bytesPerPixel, int width,
                             int height, int bandRows = 64);

} // namespace orv::imaging
