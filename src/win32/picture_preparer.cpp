#include "win32/picture_preparer.h"

#include <map>
#include <thread>
#include <tuple>

#include "win32/unique_handle.h"
#include "win32/wallpaper_bitmap.h"
#include "win32/wide.h"

namespace orv::win32 {

std::shared_ptr<PicturePreparation>
PicturePreparation::Start(std::vector<platform::PictureRequest> requests, HWND window,
                          UINT message) {
    auto job = std::make_shared<PicturePreparation>();
    job->requests_ = std::move(requests);
    job->window_ = window;
    job->message_ = message;
    std::thread([job] { job->Run(); }).detach();
    return job;
}

void PicturePreparation::Run() {
    const ComApartment com;
    std::vector<PreparedBitmap> results;
    // One decode a picture and size: (path, width, height) -> bitmap.
    std::map<std::tuple<std::string, int, int>, std::shared_ptr<ScaledBitmap>> drawn;
    // A picture stays open only while a later monitor still needs it, so
    // one change holds one open picture at a time, as with one monitor.
    std::map<std::string, std::unique_ptr<PictureFile>> opened;
    std::map<std::string, int> usesLeft;
    for (const auto& request : requests_)
        ++usesLeft[request.path];
    try {
        for (const auto& request : requests_) {
            if (cancelled_) return;
            auto [at, inserted] = opened.try_emplace(request.path);
            if (inserted) at->second = PictureFile::Open(Wide(request.path), &cancelled_);
            PictureFile* picture = at->second.get();
            std::optional<platform::PictureSize> natural;
            if (picture) {
                const SIZE size = picture->NaturalSize();
                natural = platform::PictureSize{static_cast<double>(size.cx),
                                                static_cast<double>(size.cy)};
            }
            PreparedBitmap result;
            result.picture = {request.monitor, request.layout(natural), false};
            const PixelRect& box = result.picture.box.pixels;
            if (picture && box.width > 0 && box.height > 0) {
                auto& bitmap = drawn[{request.path, box.width, box.height}];
                if (!bitmap)
                    bitmap = std::make_shared<ScaledBitmap>(picture->Render(box.width, box.height));
                if (*bitmap) {
                    result.bitmap = bitmap;
                    result.picture.drawn = true;
                }
            }
            results.push_back(std::move(result));
            if (--usesLeft[request.path] == 0) opened.erase(request.path);
        }
    } catch (const std::exception&) {
        // Out of memory on the way: what is left stays empty.
    }
    if (cancelled_) return;
    {
        const std::lock_guard lock(mutex_);
        results_ = std::move(results);
    }
    PostMessageW(window_, message_, 0, 0);
}

std::vector<PreparedBitmap> PicturePreparation::TakeResults() {
    const std::lock_guard lock(mutex_);
    return std::move(results_);
}

void StartWallpaperBitmap(std::string picture, std::vector<std::string> targets, HWND window,
                          UINT message) {
    std::thread([picture = std::move(picture), targets = std::move(targets), window, message] {
        const ComApartment com;
        auto written = std::make_unique<std::optional<std::string>>();
        for (const auto& target : targets)
            if (SaveAsWindowsBitmap(Wide(picture), Wide(target))) {
                *written = target;
                break;
            }
        if (PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(written.get())))
            written.release();
    }).detach();
}

} // namespace orv::win32
