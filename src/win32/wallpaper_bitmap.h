// The files the wallpaper bitmap is written through on Windows (see
// slideshow::WriteWallpaperBitmap): the picture opened for sRGB, and a
// temporary file beside the target that is moved over it once complete.
#pragma once
#include "slideshow/show_jobs.h"

namespace orv::win32 {

class WallpaperBitmapFiles final : public slideshow::WallpaperFiles {
  public:
    std::unique_ptr<imaging::Picture> Open(const std::string& path) override;
    std::unique_ptr<platform::ReplacingFile> Replace(const std::string& target) override;
};

} // namespace orv::win32
