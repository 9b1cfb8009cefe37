#include "imaging/color_grid.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <thread>

namespace orv::imaging {
namespace {

constexpr int N = kColorGridPoints;
constexpr int kStep = kColorGridStep;
constexpr std::size_t kSamples = std::size_t{N} * N * N * 4;

// For each level: where in its cell it lies (0 to 15), and the bytes from
// the grid's start to its cell along red, green and blue.
struct Cells {
    std::array<std::uint8_t, 256> at{};
    std::array<int, 256> red{}, green{}, blue{};
    Cells() {
        for (int v = 0; v < 256; ++v) {
            const int cell = std::min(v / kStep, N - 2);
            at[v] = static_cast<std::uint8_t>(v - kStep * cell);
            red[v] = cell * 4, green[v] = cell * 4 * N, blue[v] = cell * 4 * N * N;
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

void ApplyToRows(const std::uint8_t* grid, std::uint8_t* pixels, int width, int firstRow,
                 int endRow, std::size_t stride) {
    static const Cells cells;
    // Steps through the grid along red, green and blue, in samples' bytes.
    constexpr int kRed = 4, kGreen = 4 * N, kBlue = 4 * N * N;
    // The tetrahedron of the cell that holds a pixel: from the cell's first
    // corner, one step along each channel, the channel furthest into the
    // cell first. Which channel that is follows from three comparisons
    // (two of the eight outcomes cannot happen), so no branch depends on the
    // pixel: photos would mispredict most of them.
    constexpr int kOffset[3] = {kRed, kGreen, kBlue};
    static constexpr std::uint8_t kOrder[8][3] = {{2, 1, 0}, {0, 1, 2}, {1, 2, 0}, {1, 0, 2},
                                                  {2, 0, 1}, {0, 2, 1}, {0, 1, 2}, {0, 1, 2}};
    for (int y = firstRow; y < endRow; ++y) {
        std::uint8_t* p = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x, p += 4) {
            const std::uint8_t b = p[0], g = p[1], r = p[2];
            const std::uint8_t* base = grid + cells.blue[b] + cells.green[g] + cells.red[r];
            const int into[3] = {cells.at[r], cells.at[g], cells.at[b]};
            const std::uint8_t* order = kOrder[(into[0] >= into[1]) << 2 |
                                               (into[1] >= into[2]) << 1 | (into[0] >= into[2])];
            const std::uint8_t* c1 = base + kOffset[order[0]];
            const std::uint8_t* c2 = c1 + kOffset[order[1]];
            const std::uint8_t* c3 = c2 + kOffset[order[2]];
            const int w0 = kStep - into[order[0]], w1 = into[order[0]] - into[order[1]],
                      w2 = into[order[1]] - into[order[2]], w3 = into[order[2]];
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<std::uint8_t>(
                    (w0 * base[c] + w1 * c1[c] + w2 * c2[c] + w3 * c3[c] + kStep / 2) / kStep);
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
    std::thread helper;
    if (half > 0) {
        try {
            helper = std::thread(ApplyToRows, converted.data(), pixels, width, 0, half, stride);
        } catch (const std::system_error&) {
            ApplyToRows(converted.data(), pixels, width, 0, half, stride);
        }
    }
    ApplyToRows(converted.data(), pixels, width, half, height, stride);
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
