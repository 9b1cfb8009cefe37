// One walk over a JPEG's marker segments, from the start of the picture up to
// its first scan, for what they say beside the pixels: the orientation in the
// first EXIF block, and the chunks of an embedded ICC profile. Fill bytes and
// stray bytes between segments are stepped over, as libjpeg does; a file that
// takes more than a few hundred segments or a long run of stray bytes is
// taken as hostile and the walk gives up. Hostile bytes never lead outside
// the file. Used by the JPEG decoder and the ICC profile reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/picture_types.h"

namespace orv::imaging {

// One APP2 "ICC_PROFILE" chunk: its sequence number and the count it
// declares (both 1 to 255 in a sound file), and where its data lies.
struct IccChunk {
    int sequence = 0;
    int count = 0;
    std::uint64_t offset = 0; // of the data, after the 14-byte identifier
    std::uint64_t size = 0;
};

struct JpegMarkers {
    // From the first APP1 segment that holds EXIF data (at most 64 KB of
    // it); 1 without one.
    int orientation = 1;
    // Every ICC chunk before the first scan; nothing when the file is not a
    // JPEG or the walk gave up.
    std::optional<std::vector<IccChunk>> iccChunks;
};

JpegMarkers ReadJpegMarkers(const ByteReader& file);

// Copies up to `count` bytes from `offset`, asking the reader as often as it
// takes; how many it copied. A reader that throws reads as ended.
std::size_t ReadFileBytes(const ByteReader& file, std::uint64_t offset, std::uint8_t* dest,
                          std::size_t count);

} // namespace orv::imaging
