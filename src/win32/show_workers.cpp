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

} // namespace

std::shared_ptr<void> Win32JobSystem::EnterJobThread() {
    return std::make_shared<ComApartment>(COINIT_MULTITHREADED);
}

platform::PictureSource& Win32JobSystem::Pictures() {
    static PictureFiles files;
    return files;
}

std::unique_ptr<slideshow::WallpaperFiles> Win32JobSystem::WallpaperFilesFor(StopSignal stop) {
    return std::make_unique<WallpaperBitmapFiles>(stop);
}

} // namespace orv::win32
