#include "slideshow/show_jobs.h"

#include <map>
#include <utility>

#include "slideshow/layout.h"

namespace orv::slideshow {

using platform::MonitorJob;
using platform::PreparationJob;
using platform::PreparationResult;
using platform::PreparedPicture;
using platform::WallpaperJob;
using platform::WallpaperResult;

namespace {

platform::PictureBox BoxFor(const PreparationJob& job, const MonitorJob& monitor,
                            const std::optional<platform::PictureSize>& natural) {
    const TwipSize size = MonitorTwips(monitor.area);
    platform::PictureBox box;
    box.twips = LayoutPicture(size.width, size.height, natural, job.scalePercentage, job.preview,
                              monitor.current);
    box.pixels = ToClient(monitor.area, box.twips);
    return box;
}

} // namespace

PreparationResult RunPreparation(const PreparationJob& job, platform::PictureSource& source,
                                 const std::atomic<bool>& cancelled) noexcept {
    PreparationResult result{job.id, {}};
    try {
        // The monitors grouped by picture, in the order the pictures first
        // appear: each picture is open only while its own monitors are drawn.
        std::vector<std::string> order;
        std::map<std::string, std::vector<const MonitorJob*>> byPath;
        for (const MonitorJob& monitor : job.monitors) {
            auto& group = byPath[monitor.path];
            if (group.empty()) order.push_back(monitor.path);
            group.push_back(&monitor);
        }
        std::map<std::size_t, PreparedPicture> prepared;
        for (const std::string& path : order) {
            if (cancelled) return {job.id, {}};
            const std::unique_ptr<platform::OpenPicture> picture = source.Open(path, cancelled);
            std::optional<platform::PictureSize> natural;
            if (picture) natural = picture->NaturalSize();
            // One drawing for each size: (width, height) -> bitmap.
            std::map<std::pair<int, int>, std::shared_ptr<const platform::Bitmap>> drawn;
            for (const MonitorJob* monitor : byPath[path]) {
                PreparedPicture out{monitor->monitor, BoxFor(job, *monitor, natural), nullptr};
                const PixelRect& box = out.box.pixels;
                if (picture && box.width > 0 && box.height > 0) {
                    auto [at, fresh] = drawn.try_emplace({box.width, box.height});
                    if (fresh && !cancelled) at->second = picture->Render(box.width, box.height);
                    out.bitmap = at->second;
                }
                prepared[monitor->monitor] = std::move(out);
            }
        }
        if (cancelled) return {job.id, {}};
        for (const MonitorJob& monitor : job.monitors)
            result.pictures.push_back(std::move(prepared[monitor.monitor]));
    } catch (...) {
        // Out of memory on the way: the change shows empty boxes.
        result.pictures.clear();
    }
    return result;
}

WallpaperResult RunWallpaperJob(const WallpaperJob& job,
                                platform::WallpaperWriter& writer) noexcept {
    WallpaperResult result{job.id, std::nullopt};
    try {
        for (const std::string& target : job.targets)
            if (writer.Write(job.picture, target)) {
                result.written = target;
                break;
            }
    } catch (...) {
        result.written.reset();
    }
    return result;
}

} // namespace orv::slideshow
