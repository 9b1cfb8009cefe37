#include "win32/show_workers.h"

#include "win32/picture_file.h"
#include "win32/unique_handle.h"
#include "win32/wallpaper_bitmap.h"
#include "win32/wide.h"

namespace orv::win32 {

std::unique_ptr<platform::DrawablePicture> PictureFiles::Open(const std::string& path,
                                                              const std::atomic<bool>& cancelled) {
    // The preparation may share its pictures out among threads of its own.
    thread_local const ComApartment com(COINIT_MULTITHREADED);
    return PictureFile::Open(Wide(path), {&cancelled});
}

std::shared_ptr<void> Win32JobSystem::EnterJobThread() {
    return std::make_shared<ComApartment>(COINIT_MULTITHREADED);
}

std::unique_ptr<slideshow::WallpaperFiles> Win32JobSystem::WallpaperFilesFor(StopSignal stop) {
    return std::make_unique<WallpaperBitmapFiles>(stop);
}

} // namespace orv::win32
