// Carries out the show's background jobs (platform/show_jobs.h) on whatever
// thread the window runs them: a change's pictures opened and drawn at their
// boxes' sizes, the wallpaper bitmap written. A result names the job it
// answers; the runners catch everything at their edge and report a failure
// as a result, so a job always answers.
#pragma once
#include <atomic>

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

// Writes the bitmap to the first target that takes it. Never throws.
platform::WallpaperResult RunWallpaperJob(const platform::WallpaperJob& job,
                                          platform::WallpaperWriter& writer) noexcept;

} // namespace orv::slideshow
