// The show's background work as plain data: the jobs the core describes
// (preparing the pictures of a change, writing the wallpaper bitmap), their
// results, and what a worker thread needs of the system to carry them out: a
// source that opens a picture file, the open picture that tells its upright
// size and draws itself at a box's size, the drawn bitmap (which the core
// only hands on to the window) and the files the wallpaper is written
// through. Sources and files are used from worker threads: an implementation
// keeps no state between calls. slideshow/show_jobs.h carries the jobs out.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/twips.h"
#include "imaging/picture.h"

namespace orv::platform {

// The identity the core gives each piece of background work; a result names
// the job it answers. 0 is no job.
using JobId = std::uint64_t;

// A monitor the show covers: its place in the window's client pixels, its
// own dots per inch, and whether it is the primary one. A preview has one,
// with the primary monitor's size and scale, at the window's origin.
struct MonitorArea {
    PixelRect bounds;
    int dpi = 96;
    bool primary = false;
};

// Natural size of a picture in pixels, upright.
struct PictureSize {
    double width = 0, height = 0;
};

// Where a picture is drawn: in twips of its monitor (kept for the next
// layout) and in the window's client pixels.
struct PictureBox {
    TwipRect twips;
    PixelRect pixels;
};

// A picture drawn at its box's size, ready to be put on the screen.
class Bitmap {
  public:
    virtual ~Bitmap() = default;
};

class OpenPicture {
  public:
    virtual ~OpenPicture() = default;
    virtual PictureSize NaturalSize() const = 0;
    // The picture upright at exactly width x height; nullptr on failure.
    virtual std::shared_ptr<const Bitmap> Render(int width, int height) = 0;
};

class PictureSource {
  public:
    virtual ~PictureSource() = default;
    // nullptr when the file cannot be read. Once `cancelled` is set the file
    // reads as ended, so work under way stops soon.
    virtual std::unique_ptr<OpenPicture> Open(const std::string& path,
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

// What writing the wallpaper bitmap needs of the system.
class WallpaperFiles {
  public:
    virtual ~WallpaperFiles() = default;
    // The picture, its colours drawn for a file on the desktop (sRGB);
    // nullptr when it cannot be read.
    virtual std::unique_ptr<imaging::Picture> OpenPicture(const std::string& path) = 0;
    // A new file beside `target`, in its folder; nullptr when none can be
    // made there.
    virtual std::unique_ptr<ReplacingFile> Replace(const std::string& target) = 0;
};

// One monitor's part of a change: the picture drawn for it, and what its box
// is laid out from.
struct MonitorJob {
    std::size_t monitor = 0;
    std::string path;
    MonitorArea area;
    TwipRect current; // the box as it stands, kept when the picture cannot be read
};

struct PreparationJob {
    JobId id = 0;
    int scalePercentage = 100;
    bool preview = false;
    std::vector<MonitorJob> monitors;
};

// What a monitor gets: its new box, and the picture drawn for it (none when
// it could not be read or drawn: the box is then shown empty).
struct PreparedPicture {
    std::size_t monitor = 0;
    PictureBox box;
    std::shared_ptr<const Bitmap> bitmap;
};

struct PreparationResult {
    JobId id = 0;
    // Every monitor of the job, in its order, unless the job was cancelled
    // or failed on the way (a monitor missing here is shown empty).
    std::vector<PreparedPicture> pictures;
};

struct WallpaperJob {
    JobId id = 0;
    std::string picture;
    std::vector<std::string> targets; // tried in this order
};

struct WallpaperResult {
    JobId id = 0;
    std::optional<std::string> written; // the target that took it, if any
};

} // namespace orv::platform
