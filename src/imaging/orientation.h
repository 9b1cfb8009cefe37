// The eight ways a camera may store a picture relative to how it is shown
// (the EXIF/TIFF orientation tag, 1 to 8), and turning stored pixels upright.
// Used by the JPEG decoder after it has decoded at box size, and meant for
// any other decoder whose pictures carry an orientation.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

#include "imaging/picture_types.h"

namespace orv::imaging {

// Orientation values as the tag defines them, by where the stored picture's
// top row and left column are seen:
//   1 top row at the top, left column on the left (as stored)
//   2 top row at the top, left column on the right (mirrored left-right)
//   3 top row at the bottom, left column on the right (turned 180 degrees)
//   4 top row at the bottom, left column on the left (mirrored top-bottom)
//   5 top row on the left, left column at the top (transposed)
//   6 top row on the right, left column at the top (turn 90 clockwise)
//   7 top row on the right, left column at the bottom (transversed)
//   8 top row on the left, left column at the bottom (turn 90 counter-clockwise)
// Any other value is treated as 1.

// True for 5 to 8: the upright picture's width is the stored height.
bool SwapsAxes(int orientation);

// The size the picture is shown at.
PixelSize UprightSize(PixelSize stored, int orientation);

// Writes the stored picture of 4-byte pixels, turned and mirrored as
// `orientation` says, into `upright`, which must hold
// UprightSize(storedSize, orientation) pixels with rows `uprightStride`
// bytes apart. The two must not overlap.
void OrientPixels(const std::uint8_t* stored, PixelSize storedSize, std::size_t storedStride,
                  std::uint8_t* upright, std::size_t uprightStride, int orientation);

// Draws a picture upright at width x height into `dest` (rows `stride`
// bytes apart) through `drawStored`, a decoder of the stored picture at a
// size it is given: straight into `dest` for orientation 1, else into a
// buffer of the stored size that is then turned. False when the size is
// empty or `drawStored` fails.
using DrawStored = std::function<bool(PixelSize size, std::uint8_t* pixels, std::size_t stride)>;
bool DrawUpright(int orientation, int width, int height, std::uint8_t* dest, std::size_t stride,
                 const DrawStored& drawStored);

} // namespace orv::imaging
