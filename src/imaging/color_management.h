// Colour management of the drawn pictures: a picture with an embedded ICC
// profile is converted, as it is scaled to its box, to the monitor's profile
// when the user set one, or to sRGB (the show), or always to sRGB (the
// wallpaper). Untagged pictures are left exactly as they are. The system's
// colour management (ColorSystem; mscms on Windows) converts a grid of
// colours once for each profile and target (color_grid.h), and the pictures
// are interpolated from it. Free of platform types.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/color_grid.h"

namespace orv::imaging {

// Where the converted pixels are shown.
enum class ColorDestination {
    Screen, // the primary monitor: its own profile when the user set one, else sRGB
    Srgb,   // sRGB always, as a file for the desktop is
};

// What the conversion asks of the system.
class ColorSystem {
  public:
    virtual ~ColorSystem() = default;
    // The path of the profile the system has for the primary monitor (its
    // standard sRGB profile when the user set none); empty when it names none.
    virtual std::string MonitorProfilePath() = 0;
    // The profile file at `path`, when it can be read and holds at most
    // kMaxIccProfileBytes; empty otherwise.
    virtual std::vector<std::uint8_t> ReadProfile(const std::string& path) = 0;
    // `samples` (4-byte pixels B, G, R, A) converted from the profile
    // `source` to `target` (empty: sRGB); empty when the system refuses
    // either profile or the conversion.
    virtual std::vector<std::uint8_t> Convert(std::span<const std::uint8_t> source,
                                              std::span<const std::uint8_t> target,
                                              std::vector<std::uint8_t> samples) = 0;
};

// The conversion of a picture whose profile is `profile` (checked with
// IsUsableProfile) for `destination`, through `cache`. Empty, so the picture
// is drawn as sRGB, for an untagged picture and when the system refuses: a
// picture never fails for its profile.
ColorGrid PrepareColorConversion(std::span<const std::uint8_t> profile,
                                 ColorDestination destination, ColorSystem& system,
                                 ColorGridCache& cache);

} // namespace orv::imaging
