// What the show's jobs need of Windows: each job's thread in COM's
// multithreaded apartment (the jobs pump no messages; WIC's objects live
// there, and the threads a job starts to read ahead join it too,
// picture_file.cpp), the picture files and the wallpaper's files.
#pragma once
#include "slideshow/show_workers.h"

namespace orv::win32 {

class Win32JobSystem final : public slideshow::JobSystem {
  public:
    std::shared_ptr<void> EnterJobThread() override;
    platform::PictureSource& Pictures() override;
    std::unique_ptr<slideshow::WallpaperFiles> WallpaperFilesFor(StopSignal stop) override;
};

} // namespace orv::win32
