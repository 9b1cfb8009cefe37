// Carries out the show's background jobs (platform/show_jobs.h) on whatever
// thread the window runs them: a change's pictures opened and drawn at their
// boxes' sizes, the wallpaper bitmap written. A result names the job it
// answers; the runners catch everything at their edge and report a failure
// as a result, so a job always answers.
#pragma once
#include <atomic>
#include <cstddef>
#include <string>

#include "platform/show_jobs.h"

namespace orv::slideshow {

// The threads a preparation uses: two where the machine has them, so two
// monitors' pictures are prepared side by side and at most two are open.
unsigned PreparationThreads();

// Carries out a preparation: each picture is opened once and drawn once for
// each size its monitors need, and is closed once they are drawn; the
// pictures are shared out among `threads` threads (the caller's among them),
// so no more than that many are open at a time. Stops early once `cancelled`
// is set. Never throws.
platform::PreparationResult RunPreparation(const platform::PreparationJob& job,
                                           platform::PictureSource& source,
                                           const std::atomic<bool>& cancelled,
                                           unsigned threads = PreparationThreads()) noexcept;

// Bytes the written picture's pixels may take while it is drawn (4 a pixel).
inline constexpr std::size_t kMaxWallpaperBytes = std::size_t{64} * 1024 * 1024;

// Writes `picture` to `target` as a Windows bitmap: decoded afresh, upright,
// through the same decoders and budget as the show, at its own size or the
// largest within kMaxWallpaperBytes, into a file beside the target that
// replaces it only once it is complete. False when a step fails; the old
// file is then kept and nothing is left beside it. Never throws.
bool WriteWallpaperBitmap(const std::string& picture, const std::string& target,
                          platform::WallpaperFiles& files) noexcept;

// Writes the bitmap to the first target that takes it. Never throws.
platform::WallpaperResult RunWallpaperJob(const platform::WallpaperJob& job,
                                          platform::WallpaperFiles& files) noexcept;

} // namespace orv::slideshow
