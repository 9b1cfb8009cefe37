#include "imaging/color_grid.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orv::imaging {
namespace {

constexpr int N = kColorGridPoints;
constexpr int kStep = kColorGridStep;
constexpr std::size_t kSamples = std::size_t{N} * N * N * 4;

// For each level: the cell it lies in (0 to 16) and where in it (0 to 15).
struct Cells {
    std::array<std::uint8_t, 256> cell{}, at{};
    Cells() {
        for (int v = 0; v < 256; ++v) {
            cell[v] = static_cast<std::uint8_t>(std::min(v / kStep, N - 2));
            at[v] = static_cast<std::uint8_t>(v - kStep * cell[v]);
        }
    }
};

} // namespace

std::vector<std::uint8_t> ColorGridSamples() {
    std::vector<std::uint8_t> samples(kSamples);
    std::size_t i = 0;
    for (int b = 0; b < N; ++b)
        for (int g = 0; g < N; ++g)
            for (int r = 0; r < N; ++r, i += 4) {
                samples[i] = static_cast<std::uint8_t>(b * kStep);
                samples[i + 1] = static_cast<std::uint8_t>(g * kStep);
                samples[i + 2] = static_cast<std::uint8_t>(r * kStep);
                samples[i + 3] = 255;
            }
    return samples;
}

void ApplyColorGrid(std::span<const std::uint8_t> converted, std::uint8_t* pixels, int width,
                    int height, std::size_t stride) {
    if (converted.size() != kSamples || !pixels) return;
    static const Cells cells;
    // Steps through the grid along red, green and blue, in samples' bytes.
    constexpr int kRed = 4, kGreen = 4 * N, kBlue = 4 * N * N;
    const std::uint8_t* grid = converted.data();
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x, p += 4) {
            const std::uint8_t b = p[0], g = p[1], r = p[2];
            const std::uint8_t* base =
                grid + cells.cell[b] * kBlue + cells.cell[g] * kGreen + cells.cell[r] * kRed;
            // The tetrahedron of the cell that holds the pixel: from the
            // cell's first corner, one step along each channel, the channel
            // furthest into the cell first.
            std::pair<int, int> steps[3] = {
                {cells.at[r], kRed}, {cells.at[g], kGreen}, {cells.at[b], kBlue}};
            if (steps[0].first < steps[1].first) std::swap(steps[0], steps[1]);
            if (steps[1].first < steps[2].first) std::swap(steps[1], steps[2]);
            if (steps[0].first < steps[1].first) std::swap(steps[0], steps[1]);
            const std::uint8_t* c1 = base + steps[0].second;
            const std::uint8_t* c2 = c1 + steps[1].second;
            const std::uint8_t* c3 = c2 + steps[2].second;
            const int w0 = kStep - steps[0].first, w1 = steps[0].first - steps[1].first,
                      w2 = steps[1].first - steps[2].first, w3 = steps[2].first;
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<std::uint8_t>(
                    (w0 * base[c] + w1 * c1[c] + w2 * c2[c] + w3 * c3[c] + kStep / 2) / kStep);
        }
    }
}

std::vector<std::uint8_t> ColorGridCache::Get(std::span<const std::uint8_t> source,
                                              std::span<const std::uint8_t> target,
                                              const Convert& convert) {
    const auto same = [](std::span<const std::uint8_t> a, const std::vector<std::uint8_t>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    };
    {
        const std::lock_guard hold(lock_);
        if (!grid_.empty() && same(source, source_) && same(target, target_)) return grid_;
    }
    std::vector<std::uint8_t> grid = convert(ColorGridSamples());
    if (grid.size() != kSamples) return {};
    const std::lock_guard hold(lock_);
    source_.assign(source.begin(), source.end());
    target_.assign(target.begin(), target.end());
    grid_ = grid;
    return grid;
}

} // namespace orv::imaging
