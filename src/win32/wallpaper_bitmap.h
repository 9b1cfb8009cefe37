// The files the wallpaper bitmap is written through on Windows (see
// slideshow::RunWallpaperJob): the picture opened for sRGB, and a temporary
// file beside the target that is moved over it once complete. The picture
// reads as ended once the job is cancelled or its deadline has come.
#pragma once
#include "common/transfer.h"
#include "slideshow/show_jobs.h"

namespace orv::win32 {

class WallpaperBitmapFiles final : public slideshow::WallpaperFiles {
  public:
    explicit WallpaperBitmapFiles(StopSignal stop = {}) : stop_(stop) {}

    std::unique_ptr<imaging::Picture> Open(const std::string& path) override;
    std::unique_ptr<platform::ReplacingFile> Replace(const std::string& target) override;
    bool Stopped() const override { return stop_.Stopped(); }

  private:
    StopSignal stop_;
};

} // namespace orv::win32
