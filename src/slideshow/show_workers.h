// The show's background jobs (show_jobs.h) on threads of their own: the
// pictures prepared ahead and the wallpaper written. The driver starts and
// cancels them and hands their results to the engine. The program owns the
// workers, so a job (a wallpaper under way) outlives the window that started
// it; they are stopped and joined at the program's end. What a job needs of
// the system comes through a JobSystem.
#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "common/job_runner.h"
#include "common/transfer.h"
#include "platform/pictures.h"
#include "slideshow/show_engine.h"
#include "slideshow/show_jobs.h"

namespace orv::slideshow {

class JobSystem {
  public:
    virtual ~JobSystem() = default;
    // Made on a job's thread before the job runs, released after it (the
    // system's COM, say).
    virtual std::shared_ptr<void> EnterJobThread() = 0;
    // The show's pictures; a preparation opens them on several threads at once.
    virtual platform::PictureSource& Pictures() = 0;
    // The files of one wallpaper job, which read as ended once `stop` says so.
    virtual std::unique_ptr<WallpaperFiles> WallpaperFilesFor(StopSignal stop) = 0;
};

// Where the driver sends the jobs and takes their results.
class ShowJobs {
  public:
    virtual ~ShowJobs() = default;
    virtual void Start(const PreparationJob& job) = 0;
    virtual void Start(const WallpaperJob& job) = 0;
    virtual void Cancel(JobId job) = 0;
    // What has finished since the last call, as the engine's events, in the
    // order the jobs of each kind started.
    virtual std::vector<ShowEvent> TakeFinished() = 0;
};

class ShowWorkers final : public ShowJobs {
  public:
    explicit ShowWorkers(JobSystem& system);

    void Start(const PreparationJob& job) override { preparations_.Start(job); }
    void Start(const WallpaperJob& job) override { wallpapers_.Start(job); }
    void Cancel(JobId job) override;
    std::vector<ShowEvent> TakeFinished() override;
    // Called on a job's thread when it has finished; it must not block.
    void SetNotifier(const std::function<void()>& notify);
    // Cancels every job and waits until `deadline`; true when none runs.
    bool Stop(std::chrono::steady_clock::time_point deadline);

  private:
    JobRunner<PreparationJob, PreparationResult> preparations_;
    JobRunner<WallpaperJob, WallpaperResult> wallpapers_;
};

} // namespace orv::slideshow
