// What the show's jobs need of Windows: each job's thread in COM's
// multithreaded apartment (the jobs pump no messages; WIC's objects live
// there, and the threads a job starts to read ahead join it too,
// picture_file.cpp), the picture files and the wallpaper's files.
#pragma once
#include "slideshow/show_workers.h"

namespace orv::win32 {

// The show's pictures, opened on a job's thread or on one it starts.
class PictureFiles final : public platform::PictureSource {
  public:
    std::unique_ptr<platform::DrawablePicture> Open(const std::string& path,
                                                    const std::atomic<bool>& cancelled) override;
};

// Lives as long as the services: a job still running when the program ends
// uses it to the last.
class Win32JobSystem final : public slideshow::JobSystem {
  public:
    std::shared_ptr<void> EnterJobThread() override;
    platform::PictureSource& Pictures() override { return pictures_; }
    std::unique_ptr<slideshow::WallpaperFiles> WallpaperFilesFor(StopSignal stop) override;

  private:
    PictureFiles pictures_;
};

} // namespace orv::win32
