#include "imaging/color_grid.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <thread>
#include <vector>

namespace orv::imaging {
namespace {

constexpr int N = kColorGridPoints;
constexpr int kStep = kColorGridStep;
constexpr std::size_t kSamples = std::size_t{N} * N * N * 4;

// For each level: where in its cell it lies (0 to 15), and the grid points
// from the grid's start to its cell along red, green and blue.
struct Cells {
    std::array<std::uint8_t, 256> at{};
    std::array<int, 256> red{}, green{}, blue{};
    Cells() {
        for (int v = 0; v < 256; ++v) {
            const int cell = std::min(v / kStep, N - 2);
            at[v] = static_cast<std::uint8_t>(v - kStep * cell);
            red[v] = cell, green[v] = cell * N, blue[v] = cell * N * N;
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

namespace {

// The grid's colours with their three channels in 16-bit lanes of one
// number (blue, green, red from the lowest), so a corner is weighed with one
// multiplication: the weights of a pixel sum to 15 and a channel to at most
// 255, so no lane ever carries into the next.
std::vector<std::uint64_t> Lanes(const std::uint8_t* grid) {
    std::vector<std::uint64_t> lanes(std::size_t{N} * N * N);
    for (std::size_t i = 0; i < lanes.size(); ++i)
        lanes[i] = std::uint64_t{grid[4 * i]} | std::uint64_t{grid[4 * i + 1]} << 16 |
                   std::uint64_t{grid[4 * i + 2]} << 32;
    return lanes;
}

void ApplyToRows(const std::uint64_t* grid, std::uint8_t* pixels, int width, int firstRow,
                 int endRow, std::size_t stride) {
    static const Cells cells;
    // The tetrahedron of the cell that holds a pixel: from the cell's first
    // corner, one step along each channel, the channel furthest into the
    // cell first. Which channel that is follows from three comparisons
    // (two of the eight outcomes cannot happen), so no branch depends on the
    // pixel: photos would mispredict most of them.
    constexpr int kOffset[3] = {1, N, N * N}; // one step along red, green, blue
    static constexpr std::uint8_t kOrder[8][3] = {{2, 1, 0}, {0, 1, 2}, {1, 2, 0}, {1, 0, 2},
                                                  {2, 0, 1}, {0, 2, 1}, {0, 1, 2}, {0, 1, 2}};
    constexpr std::uint64_t kHalf = (kStep / 2) * (1 | 1ull << 16 | 1ull << 32);
    // x / 15 is (x * 0x8889) >> 19 for every x up to 15 * 255 + 7.
    const auto level = [](std::uint64_t sum, int lane) {
        return static_cast<std::uint8_t>((((sum >> (16 * lane)) & 0xFFFF) * 0x8889) >> 19);
    };
    for (int y = firstRow; y < endRow; ++y) {
        std::uint8_t* p = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x, p += 4) {
            const std::uint8_t b = p[0], g = p[1], r = p[2];
            const int base = cells.blue[b] + cells.green[g] + cells.red[r];
            const int into[3] = {cells.at[r], cells.at[g], cells.at[b]};
            const std::uint8_t* order = kOrder[(into[0] >= into[1]) << 2 |
                                               (into[1] >= into[2]) << 1 | (into[0] >= into[2])];
            const int c1 = base + kOffset[order[0]];
            const int c2 = c1 + kOffset[order[1]];
            const int c3 = c2 + kOffset[order[2]];
            const std::uint64_t sum =
                static_cast<std::uint64_t>(kStep - into[order[0]]) * grid[base] +
                static_cast<std::uint64_t>(into[order[0]] - into[order[1]]) * grid[c1] +
                static_cast<std::uint64_t>(into[order[1]] - into[order[2]]) * grid[c2] +
                static_cast<std::uint64_t>(into[order[2]]) * grid[c3] + kHalf;
            p[0] = level(sum, 0), p[1] = level(sum, 1), p[2] = level(sum, 2);
        }
    }
}

} // namespace

void ApplyColorGrid(std::span<const std::uint8_t> converted, std::uint8_t* pixels, int width,
                    int height, std::size_t stride) {
    if (converted.size() != kSamples || !pixels || width <= 0 || height <= 0) return;
    // Large pictures are shared with a second core, half the rows each.
    const bool share = std::thread::hardware_concurrency() >= 2 &&
                       static_cast<long long>(width) * height >= 256 * 1024;
    const int half = share ? height / 2 : 0;
    const std::vector<std::uint64_t> lanes = Lanes(converted.data());
    std::thread helper;
    if (half > 0) {
        try {
            helper = std::thread(ApplyToRows, lanes.data(), pixels, width, 0, half, stride);
        } catch (const std::system_error&) {
            ApplyToRows(lanes.data(), pixels, width, 0, half, stride);
        }
    }
    ApplyToRows(lanes.data(), pixels, width, half, height, stride);
    if (helper.joinable()) helper.join();
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
