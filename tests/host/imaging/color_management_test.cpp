#include "imaging/color_management.h"

#include <gtest/gtest.h>

#include "support/icc_profile_maker.h"

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A colour system whose monitor has `monitorPath` (and `monitorBytes` in
// it), which swaps red and green, or refuses every conversion.
struct FakeColorSystem : ColorSystem {
    std::string monitorPath;
    Bytes monitorBytes;
    bool refuses = false;
    int monitorAsked = 0;
    std::vector<Bytes> targets; // of each conversion asked for

    std::string MonitorProfilePath() override { return ++monitorAsked, monitorPath; }
    Bytes ReadProfile(const std::string&) override { return monitorBytes; }
    Bytes Convert(std::span<const std::uint8_t>, std::span<const std::uint8_t> target,
                  Bytes samples) override {
        targets.emplace_back(target.begin(), target.end());
        if (refuses) return {};
        for (std::size_t i = 0; i < samples.size(); i += 4)
            std::swap(samples[i + 1], samples[i + 2]);
        return samples;
    }
};

TEST(ColorManagement, ConvertsTaggedPicturesToTheUsersMonitorProfileOrElseSrgb) {
    const Bytes tagged = testing::MakeRgbProfile({});
    const Bytes display = testing::MakeRgbProfile({.gamma = 1.8});
    const std::string standard = "C:\\color\\sRGB Color Space Profile.icm", own = "C:\\own.icm";
    struct Case {
        const char* name;
        Bytes profile;
        ColorDestination destination;
        std::string monitorPath;
        Bytes monitorBytes;
        bool refuses;
        std::vector<Bytes> targets;
        bool converts;
    } const cases[] = {
        {"untagged", {}, ColorDestination::Screen, own, display, false, {}, false},
        {"user's monitor", tagged, ColorDestination::Screen, own, display, false, {display}, true},
        {"standard sRGB", tagged, ColorDestination::Screen, standard, display, false, {{}}, true},
        {"no monitor profile", tagged, ColorDestination::Screen, "", {}, false, {{}}, true},
        {"unreadable", tagged, ColorDestination::Screen, own, {}, false, {{}}, true},
        {"wallpaper", tagged, ColorDestination::Srgb, own, display, false, {{}}, true},
        {"refused", tagged, ColorDestination::Screen, own, display, true, {display}, false},
    };
    for (const Case& c : cases) {
        FakeColorSystem system;
        system.monitorPath = c.monitorPath;
        system.monitorBytes = c.monitorBytes;
        system.refuses = c.refuses;
        ColorGridCache cache;
        const ColorGrid grid = PrepareColorConversion(c.profile, c.destination, system, cache);
        EXPECT_EQ(system.targets, c.targets) << c.name;
        EXPECT_EQ(system.monitorAsked > 0,
                  c.destination == ColorDestination::Screen && !c.profile.empty())
            << c.name;
        std::uint8_t pixel[4] = {30, 60, 90, 255};
        grid.ApplyToRow(pixel, 1);
        EXPECT_EQ(pixel[1], c.converts ? 90 : 60) << c.name;
    }
}

} // namespace
} // namespace orv::imaging
