// Reads the orientation a camera recorded in a JPEG's EXIF block, so the
// picture can be shown upright. Used by the JPEG decoder (ReadJpegInfo,
// DecodeJpeg) and open to any caller holding a JPEG. Hostile bytes never
// lead outside the data given: whatever cannot be read reads as 1.
#pragma once
#include <cstdint>
#include <span>

#include "imaging/picture_types.h"

namespace orv::imaging {

// The orientation (1 to 8, see orientation.h) in the payload of an APP1
// segment: "Exif\0\0", then a TIFF header in either byte order, whose first
// image directory holds tag 0x0112 as a SHORT of count 1. Only that first
// directory is looked at. 1 when the tag is missing, has another type, count
// or value, or when any part of the block is damaged (offsets outside it, a
// directory inside the header, one that does not fit in the block).
int ExifOrientation(std::span<const std::uint8_t> app1);

// The orientation of the JPEG in `file`: the marker segments from the start
// of the picture up to its first scan are walked (fill bytes and stray bytes
// between segments are stepped over, as libjpeg does), and the first APP1
// segment that holds EXIF data is read, at most 64 KB of it. 1 when the file
// is not a JPEG, has no such segment, or the walk gives up (after a few
// hundred segments or a run of stray bytes).
int JpegOrientation(const ByteReader& file);

} // namespace orv::imaging
