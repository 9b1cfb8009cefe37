// The show's background jobs as plain data (preparing the pictures of a
// change, writing the wallpaper bitmap) and how they are carried out, on
// whatever thread the workers (show_workers.h) run them: a change's pictures
// opened and drawn at their boxes' sizes, the wallpaper bitmap written. A
// result names the job it answers; the runners catch everything at their
// edge and report a failure as a result, so a job always answers.
#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/picture.h"
#include "platform/display.h"
#include "platform/pictures.h"

namespace orv::slideshow {

// The identity the engine gives each piece of background work; a result
// names the job it answers. 0 is no job.
using JobId = std::uint64_t;

// Where a picture is drawn: in twips of its monitor (kept for the next
// layout) and in the window's client pixels.
struct PictureBox {
    TwipRect twips;
    PixelRect pixels;
};

// One monitor's part of a change: the picture drawn for it, and what its box
// is laid out from.
struct MonitorJob {
    std::size_t monitor = 0;
    std::string path;
    platform::MonitorArea area;
    TwipRect current; // the box as it stands, kept when the picture cannot be read
    // The picture failed before in this show: it is not read again, and its
    // box is shown empty as a failed picture's is.
    bool knownFailed = false;
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
    std::shared_ptr<const platform::Bitmap> bitmap;
    bool failed = false; // the picture could not be read or drawn (not cancelled)
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

// What writing the wallpaper bitmap needs of the system.
class WallpaperFiles {
  public:
    virtual ~WallpaperFiles() = default;
    // The picture, its colours drawn for a file on the desktop (sRGB);
    // nullptr when it cannot be read.
    virtual std::unique_ptr<imaging::Picture> Open(const std::string& path) = 0;
    // A new file beside `target`, in its folder; nullptr when none can be
    // made there.
    virtual std::unique_ptr<platform::ReplacingFile> Replace(const std::string& target) = 0;
    // Whether the picture's reads were stopped (the job cancelled or past its
    // deadline): a drawing that ran out of data on the way is no picture.
    virtual bool Stopped() const = 0;
};

// The threads a preparation uses: two where the machine has them, so two
// monitors' pictures are prepared side by side and at most two are open.
unsigned PreparationThreads();

// Carries out a preparation: each picture is opened once and drawn once for
// each size its monitors need, and is closed once they are drawn; the
// pictures are shared out among `threads` threads (the caller's among them),
// so no more than that many are open at a time. Stops early once `cancelled`
// is set. Never throws.
PreparationResult RunPreparation(const PreparationJob& job, platform::PictureSource& source,
                                 const std::atomic<bool>& cancelled,
                                 unsigned threads = PreparationThreads()) noexcept;

// Bytes the written picture's pixels may take while it is drawn (4 a pixel).
inline constexpr std::size_t kMaxWallpaperBytes = std::size_t{64} * 1024 * 1024;

// How long the wallpaper job may read its picture: past this, or once the
// job is cancelled (a closing show cancels it after its wait), the picture's
// reads give nothing, a decode under way runs out of data and the job fails
// without writing. Drawing at the wallpaper's size takes about 2 to 3 s for
// a 300-megapixel JPEG and 7 s for a 120-megapixel progressive one in 94
// scans (on two busy cores); once the reads stop, a decode ends within about
// 1.5 s. So the job ends within about 32 s of its start whatever the
// picture, and within 2 s of a cancel.
inline constexpr std::chrono::seconds kWallpaperDeadline{30};

// Writes the job's picture as a Windows bitmap to the first target whose
// folder takes a new file, found before anything is decoded (a file made
// beside it and removed again): decoded once, upright, through the same
// decoders and budget as the show, at its own size or the largest within
// kMaxWallpaperBytes, into a file beside the target that replaces it only
// once it is complete; should that folder still refuse the bitmap, the later
// targets are tried with the same pixels. Nothing written keeps the old file
// and leaves nothing beside it. Never throws.
WallpaperResult RunWallpaperJob(const WallpaperJob& job, WallpaperFiles& files) noexcept;

} // namespace orv::slideshow
