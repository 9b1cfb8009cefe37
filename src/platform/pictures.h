// What the show's background work needs of the system: a source that opens
// a picture file, the opened picture that tells its upright size and draws
// itself at a box's size, the drawn bitmap (which the core only hands on to
// the window), and a file that replaces its target once it is complete.
// Used from worker threads: an implementation keeps no state between calls.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace orv::platform {

// Natural size of a picture in pixels, upright.
struct PictureSize {
    double width = 0, height = 0;
};

// A picture drawn at its box's size, ready to be put on the screen.
class Bitmap {
  public:
    virtual ~Bitmap() = default;
};

// A picture file opened for drawing.
class DrawablePicture {
  public:
    virtual ~DrawablePicture() = default;
    virtual PictureSize NaturalSize() const = 0;
    // The picture upright at exactly width x height; nullptr on failure.
    virtual std::shared_ptr<const Bitmap> Render(int width, int height) = 0;
};

class PictureSource {
  public:
    virtual ~PictureSource() = default;
    // nullptr when the file cannot be read. Once `cancelled` is set the file
    // reads as ended, so work under way stops soon.
    virtual std::unique_ptr<DrawablePicture> Open(const std::string& path,
                                                  const std::atomic<bool>& cancelled) = 0;
};

// A new file that takes its target's place once it is complete: written in
// pieces, then committed (flushed to the disk and moved over the target);
// removed again when it is dropped uncommitted or its commit fails.
class ReplacingFile {
  public:
    virtual ~ReplacingFile() = default;
    virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
    virtual bool Commit() = 0;
};

} // namespace orv::platform
