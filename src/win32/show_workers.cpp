#include "win32/show_workers.h"

#include "slideshow/show_jobs.h"
#include "win32/picture_file.h"
#include "win32/unique_handle.h"
#include "win32/wallpaper_bitmap.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

class OpenPictureFile final : public platform::OpenPicture {
  public:
    explicit OpenPictureFile(std::unique_ptr<PictureFile> file) : file_(std::move(file)) {}
    platform::PictureSize NaturalSize() const override {
        const SIZE size = file_->NaturalSize();
        return {static_cast<double>(size.cx), static_cast<double>(size.cy)};
    }
    std::shared_ptr<const platform::Bitmap> Render(int width, int height) override {
        auto bitmap = std::make_shared<ScaledBitmap>(file_->Render(width, height));
        if (!*bitmap) return nullptr;
        return bitmap;
    }

  private:
    std::unique_ptr<PictureFile> file_;
};

class PictureFiles final : public platform::PictureSource {
  public:
    std::unique_ptr<platform::OpenPicture> Open(const std::string& path,
                                                const std::atomic<bool>& cancelled) override {
        // The preparation may share its pictures out among threads of its own.
        thread_local const ComApartment com;
        std::unique_ptr<PictureFile> file = PictureFile::Open(Wide(path), &cancelled);
        if (!file) return nullptr;
        return std::make_unique<OpenPictureFile>(std::move(file));
    }
};

class WallpaperFiles final : public platform::WallpaperWriter {
  public:
    bool Write(const std::string& picture, const std::string& target) override {
        return SaveAsWindowsBitmap(Wide(picture), Wide(target));
    }
};

} // namespace

PreparationRunner MakePreparationRunner() {
    return PreparationRunner(
        [](const platform::PreparationJob& job, const std::atomic<bool>& cancelled) {
            const ComApartment com;
            PictureFiles files;
            return slideshow::RunPreparation(job, files, cancelled);
        });
}

WallpaperRunner MakeWallpaperRunner() {
    return WallpaperRunner([](const platform::WallpaperJob& job, const std::atomic<bool>&) {
        const ComApartment com;
        WallpaperFiles files;
        return slideshow::RunWallpaperJob(job, files);
    });
}

} // namespace orv::win32
