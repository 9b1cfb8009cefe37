#include "imaging/color_management.h"

#include <exception>

#include "imaging/icc_profile.h"

namespace orv::imaging {

ColorGrid PrepareColorConversion(std::span<const std::uint8_t> profile,
                                 ColorDestination destination, ColorSystem& system,
                                 ColorGridCache& cache) {
    if (profile.empty()) return {};
    try {
        std::vector<std::uint8_t> target; // empty: sRGB
        if (destination == ColorDestination::Screen) {
            const std::string path = system.MonitorProfilePath();
            if (!path.empty()) target = system.ReadProfile(path);
            if (ChooseColorTarget(path, target) != ColorTarget::Monitor) target.clear();
        }
        return ColorGrid(cache.Get(profile, target, [&](std::vector<std::uint8_t> samples) {
            return system.Convert(profile, target, std::move(samples));
        }));
    } catch (const std::exception&) {
        return {}; // no room for the grid: drawn as sRGB
    }
}

} // namespace orv::imaging
