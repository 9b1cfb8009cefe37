// The show's background workers on Windows: a runner for each kind of job
// (slideshow/show_jobs.h), each job on a thread of its own in a COM
// apartment, with the picture source and the wallpaper writer the jobs use.
// The program owns them, so a job (a wallpaper under way) outlives the
// window that started it; they are stopped and joined at the program's end.
#pragma once
#include <chrono>

#include "common/job_runner.h"
#include "slideshow/show_jobs.h"

namespace orv::win32 {

using PreparationRunner = JobRunner<slideshow::PreparationJob, slideshow::PreparationResult>;
using WallpaperRunner = JobRunner<slideshow::WallpaperJob, slideshow::WallpaperResult>;

// Each runs its jobs on threads of their own in COM's multithreaded
// apartment (they pump no messages), where WIC's objects then live; the
// threads a job starts to read ahead join it too (picture_file.cpp).
struct ShowWorkers {
    ShowWorkers();
    // Cancels every job and waits until `deadline`; true when none runs.
    bool Stop(std::chrono::steady_clock::time_point deadline);

    PreparationRunner preparations;
    WallpaperRunner wallpapers;
};

} // namespace orv::win32
