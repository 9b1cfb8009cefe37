#include "win32/show_workers.h"

#include "win32/picture_file.h"
#include "win32/unique_handle.h"
#include "win32/wallpaper_bitmap.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

class PictureFiles final : public platform::PictureSource {
  public:
    std::unique_ptr<platform::DrawablePicture> Open(const std::string& path,
                                                    const std::atomic<bool>& cancelled) override {
        // The preparation may share its pictures out among threads of its own.
        thread_local const ComApartment com(COINIT_MULTITHREADED);
        return PictureFile::Open(Wide(path), {&cancelled});
    }
};

slideshow::PreparationResult Prepare(const slideshow::PreparationJob& job,
                                     const std::atomic<bool>& cancelled) {
    const ComApartment com(COINIT_MULTITHREADED);
    PictureFiles files;
    return slideshow::RunPreparation(job, files, cancelled);
}

slideshow::WallpaperResult WriteWallpaper(const slideshow::WallpaperJob& job,
                                          const std::atomic<bool>& cancelled) {
    const ComApartment com(COINIT_MULTITHREADED);
    WallpaperBitmapFiles files(
        {&cancelled, std::chrono::steady_clock::now() + slideshow::kWallpaperDeadline});
    return slideshow::RunWallpaperJob(job, files);
}

} // namespace

ShowWorkers::ShowWorkers() : preparations(Prepare), wallpapers(WriteWallpaper) {}

bool ShowWorkers::Stop(std::chrono::steady_clock::time_point deadline) {
    const bool prepared = preparations.Stop(deadline);
    return wallpapers.Stop(deadline) && prepared;
}

} // namespace orv::win32
