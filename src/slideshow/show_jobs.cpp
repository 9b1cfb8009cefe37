#include "slideshow/show_jobs.h"

#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "imaging/bmp_writer.h"
#include "slideshow/layout.h"

namespace orv::slideshow {

namespace {

PictureBox BoxFor(const PreparationJob& job, const MonitorJob& monitor,
                  const std::optional<platform::PictureSize>& natural) {
    const TwipSize size = MonitorTwips(monitor.area);
    PictureBox box;
    box.twips = LayoutPicture(size.width, size.height, natural, job.scalePercentage, job.preview,
                              monitor.current);
    box.pixels = ToClient(monitor.area, box.twips);
    return box;
}

// One picture opened, and drawn once for each size its monitors need.
std::vector<PreparedPicture> DrawPicture(const PreparationJob& job, const std::string& path,
                                         const std::vector<const MonitorJob*>& monitors,
                                         platform::PictureSource& source,
                                         const std::atomic<bool>& cancelled) {
    std::vector<PreparedPicture> out;
    const std::unique_ptr<platform::DrawablePicture> picture = source.Open(path, cancelled);
    std::optional<platform::PictureSize> natural;
    if (picture) natural = picture->NaturalSize();
    std::map<std::pair<int, int>, std::shared_ptr<const platform::Bitmap>> drawn;
    for (const MonitorJob* monitor : monitors) {
        PreparedPicture prepared{monitor->monitor, BoxFor(job, *monitor, natural), nullptr};
        const PixelRect& box = prepared.box.pixels;
        if (picture && box.width > 0 && box.height > 0) {
            auto [at, fresh] = drawn.try_emplace({box.width, box.height});
            if (fresh && !cancelled) at->second = picture->Render(box.width, box.height);
            prepared.bitmap = at->second;
        }
        // What a cancelled job could not read says nothing of the picture.
        prepared.failed =
            !cancelled && (!picture || (box.width > 0 && box.height > 0 && !prepared.bitmap));
        out.push_back(std::move(prepared));
    }
    return out;
}

} // namespace

unsigned PreparationThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
}

PreparationResult RunPreparation(const PreparationJob& job, platform::PictureSource& source,
                                 const std::atomic<bool>& cancelled, unsigned threads) noexcept {
    PreparationResult result{job.id, {}};
    try {
        // The monitors grouped by picture, in the order the pictures first
        // appear: each picture is open only while its own monitors are drawn.
        std::vector<std::string> order;
        std::map<std::string, std::vector<const MonitorJob*>> byPath;
        std::map<std::size_t, PreparedPicture> byMonitor;
        for (const MonitorJob& monitor : job.monitors) {
            if (monitor.knownFailed) {
                byMonitor[monitor.monitor] = {monitor.monitor, BoxFor(job, monitor, std::nullopt),
                                              nullptr, true};
                continue;
            }
            auto& group = byPath[monitor.path];
            if (group.empty()) order.push_back(monitor.path);
            group.push_back(&monitor);
        }
        // The pictures shared out among the threads, each taking the next
        // picture left; the calling thread is one of them.
        std::vector<std::vector<PreparedPicture>> drawn(order.size());
        std::atomic<std::size_t> next{0};
        std::atomic<bool> failed{false};
        const auto work = [&]() noexcept {
            try {
                while (!cancelled && !failed) {
                    const std::size_t i = next++;
                    if (i >= order.size()) break;
                    drawn[i] = DrawPicture(job, order[i], byPath.at(order[i]), source, cancelled);
                }
            } catch (...) {
                failed = true; // out of memory on the way: the change shows empty boxes
            }
        };
        std::vector<std::thread> helpers;
        const std::size_t wanted = std::min<std::size_t>(std::max(threads, 1u), order.size());
        try {
            while (helpers.size() + 1 < wanted)
                helpers.emplace_back(work);
        } catch (const std::system_error&) {
            // No more threads: the ones there are do the rest.
        }
        work();
        for (std::thread& helper : helpers)
            helper.join();
        if (cancelled || failed) return {job.id, {}};
        for (auto& picture : drawn)
            for (auto& prepared : picture)
                byMonitor[prepared.monitor] = std::move(prepared);
        for (const MonitorJob& monitor : job.monitors)
            result.pictures.push_back(std::move(byMonitor[monitor.monitor]));
    } catch (...) {
        result.pictures.clear();
    }
    return result;
}

namespace {

// The picture decoded once, at the wallpaper's size: its pixels, 4 bytes
// each, rows `stride` apart; nothing when it cannot be drawn.
struct WallpaperPixels {
    std::vector<std::uint8_t> pixels;
    imaging::PixelSize size;
    std::size_t stride = 0;
};

std::optional<WallpaperPixels> DrawWallpaper(const std::string& picture, WallpaperFiles& files) {
    // Closed before the file is written.
    const std::unique_ptr<imaging::Picture> source = files.Open(picture);
    if (!source) return std::nullopt;
    WallpaperPixels drawn;
    drawn.size = imaging::WallpaperSize(source->NaturalSize(), kMaxWallpaperBytes);
    drawn.stride = static_cast<std::size_t>(drawn.size.width) * 4;
    drawn.pixels.resize(drawn.stride * static_cast<std::size_t>(drawn.size.height));
    if (!source->RenderInto(drawn.size.width, drawn.size.height, drawn.pixels.data(),
                            drawn.stride) ||
        files.Stopped())
        return std::nullopt;
    return drawn;
}

bool WriteTo(const std::string& target, const WallpaperPixels& drawn, WallpaperFiles& files) {
    if (target.empty()) return false;
    const std::unique_ptr<platform::ReplacingFile> file = files.Replace(target);
    if (!file) return false;
    const auto sink = [&file](const std::uint8_t* bytes, std::size_t count) {
        return file->Write(bytes, count);
    };
    return imaging::WriteBmp(sink, drawn.pixels.data(), drawn.size.width, drawn.size.height,
                             drawn.stride) &&
           file->Commit();
}

} // namespace

WallpaperResult RunWallpaperJob(const WallpaperJob& job, WallpaperFiles& files) noexcept {
    WallpaperResult result{job.id, std::nullopt};
    try {
        // The target is chosen before anything is decoded: the first whose
        // folder takes a new file (the Windows folder is closed to a user who
        // is not an administrator). The file made to find out goes at once.
        const auto takes = [&files](const std::string& target) {
            return !target.empty() && files.Replace(target) != nullptr;
        };
        const auto first = std::find_if(job.targets.begin(), job.targets.end(), takes);
        if (first == job.targets.end()) return result;
        const std::optional<WallpaperPixels> drawn = DrawWallpaper(job.picture, files);
        if (!drawn) return result;
        // Should the chosen folder still refuse the bitmap, the next target
        // takes the same pixels.
        for (auto target = first; target != job.targets.end(); ++target)
            if (WriteTo(*target, *drawn, files)) {
                result.written = *target;
                break;
            }
    } catch (...) {
        result.written.reset();
    }
    return result;
}

} // namespace orv::slideshow
