// The show's jobs on Windows: the picture source and the wallpaper writer
// that the core's job runners (slideshow/show_jobs.h) use on a worker
// thread, and the runners that the slideshow window owns.
#pragma once
#include "common/job_runner.h"
#include "platform/show_jobs.h"

namespace orv::win32 {

using PreparationRunner = JobRunner<platform::PreparationJob, platform::PreparationResult>;
using WallpaperRunner = JobRunner<platform::WallpaperJob, platform::WallpaperResult>;

// Each runs its jobs on threads of their own in COM's multithreaded
// apartment (they pump no messages), where WIC's objects then live; the
// threads a job starts to read ahead join it too (picture_file.cpp).
PreparationRunner MakePreparationRunner();
WallpaperRunner MakeWallpaperRunner();

} // namespace orv::win32
