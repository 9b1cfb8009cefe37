// Writes a picture held as 4-byte pixels as a Windows bitmap file (24 bits,
// rows stored bottom up, as every program reads them). The wallpaper writer
// (slideshow::RunWallpaperJob) calls it with a sink that writes to a
// temporary file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

namespace orv::imaging {

// Receives the file's bytes in order; false stops the writing.
using ByteSink = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;

// The picture of width x height pixels (B, G, R, unused), rows `stride`
// bytes apart, top row first. False when a size is not positive, the file
// would pass 4 GB or the sink fails.
bool WriteBmp(const ByteSink& sink, const std::uint8_t* pixels, int width, int height,
              std::size_t stride);

} // namespace orv::imaging
