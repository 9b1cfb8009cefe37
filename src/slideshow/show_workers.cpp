#include "slideshow/show_workers.h"

namespace orv::slideshow {

ShowWorkers::ShowWorkers(JobSystem& system)
    : preparations_([&system](const PreparationJob& job, const std::atomic<bool>& cancelled) {
          const std::shared_ptr<void> thread = system.EnterJobThread();
          return RunPreparation(job, system.Pictures(), cancelled);
      }),
      wallpapers_([&system](const WallpaperJob& job, const std::atomic<bool>& cancelled) {
          const std::shared_ptr<void> thread = system.EnterJobThread();
          // The job's reads end at its deadline, whatever the picture.
          const auto files = system.WallpaperFilesFor(
              {&cancelled, std::chrono::steady_clock::now() + kWallpaperDeadline});
          return files ? RunWallpaperJob(job, *files) : WallpaperResult{job.id, {}};
      }) {}

void ShowWorkers::Cancel(JobId job) {
    preparations_.Cancel(job);
    wallpapers_.Cancel(job);
}

std::vector<ShowEvent> ShowWorkers::TakeFinished() {
    std::vector<ShowEvent> events;
    for (PreparationResult& r : preparations_.TakeFinished())
        events.emplace_back(PreparationDone{std::move(r)});
    for (WallpaperResult& r : wallpapers_.TakeFinished())
        events.emplace_back(WallpaperDone{std::move(r)});
    return events;
}

void ShowWorkers::SetNotifier(const std::function<void()>& notify) {
    preparations_.SetNotifier(notify);
    wallpapers_.SetNotifier(notify);
}

bool ShowWorkers::Stop(std::chrono::steady_clock::time_point deadline) {
    const bool prepared = preparations_.Stop(deadline);
    return wallpapers_.Stop(deadline) && prepared;
}

} // namespace orv::slideshow
