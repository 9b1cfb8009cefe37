#include "imaging/color_grid.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ORV_GRID_SSE2 1
#endif

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
std::vector<std::uint64_t> Lanes(std::span<const std::uint8_t> grid) {
    std::vector<std::uint64_t> lanes(std::size_t{N} * N * N);
    for (std::size_t i = 0; i < lanes.size(); ++i)
        lanes[i] = std::uint64_t{grid[4 * i]} | std::uint64_t{grid[4 * i + 1]} << 16 |
                   std::uint64_t{grid[4 * i + 2]} << 32;
    return lanes;
}

// The tetrahedron of the cell that holds a pixel runs from the cell's first
// corner one step along each channel, the channel furthest into the cell
// first: its corners are the first, one step towards that channel, the far
// corner less one step towards the channel least far in, and the far corner.
// The weights are the differences of the sorted distances into the cell;
// where two distances tie, the corner between them weighs nothing, so
// either choice gives the same bytes.
constexpr int kFar = 1 + N + N * N;

void PlainRow(const std::uint64_t* grid, std::uint8_t* p, int width) {
    static const Cells cells;
    // Which channel is furthest in follows from three comparisons (two of
    // the eight outcomes cannot happen), so no branch depends on the pixel:
    // photos would mispredict most of them.
    constexpr int kOffset[3] = {1, N, N * N}; // one step along red, green, blue
    static constexpr std::uint8_t kOrder[8][3] = {{2, 1, 0}, {0, 1, 2}, {1, 2, 0}, {1, 0, 2},
                                                  {2, 0, 1}, {0, 2, 1}, {0, 1, 2}, {0, 1, 2}};
    constexpr std::uint64_t kHalf = (kStep / 2) * (1 | 1ull << 16 | 1ull << 32);
    // x / 15 is (x * 0x8889) >> 19 for every x up to 15 * 255 + 7.
    const auto level = [](std::uint64_t sum, int lane) {
        return static_cast<std::uint8_t>((((sum >> (16 * lane)) & 0xFFFF) * 0x8889) >> 19);
    };
    for (int x = 0; x < width; ++x, p += 4) {
        const std::uint8_t b = p[0], g = p[1], r = p[2];
        const int base = cells.blue[b] + cells.green[g] + cells.red[r];
        const int into[3] = {cells.at[r], cells.at[g], cells.at[b]};
        const std::uint8_t* order =
            kOrder[(into[0] >= into[1]) << 2 | (into[1] >= into[2]) << 1 | (into[0] >= into[2])];
        const int c1 = base + kOffset[order[0]];
        const int c2 = c1 + kOffset[order[1]];
        const std::uint64_t sum =
            static_cast<std::uint64_t>(kStep - into[order[0]]) * grid[base] +
            static_cast<std::uint64_t>(into[order[0]] - into[order[1]]) * grid[c1] +
            static_cast<std::uint64_t>(into[order[1]] - into[order[2]]) * grid[c2] +
            static_cast<std::uint64_t>(into[order[2]]) * grid[base + kFar] + kHalf;
        p[0] = level(sum, 0), p[1] = level(sum, 1), p[2] = level(sum, 2);
    }
}

#ifdef ORV_GRID_SSE2
// Four pixels at a time: cells, distances and corner indices in 32-bit
// lanes, the corners fetched one by one, weighed and summed in 16-bit lanes.
// The same arithmetic as PlainRow, so the same bytes.
void Sse2Row(const std::uint64_t* grid, std::uint8_t* p, int width) {
    const __m128i ones = _mm_set1_epi32(-1);
    const __m128i byteMask = _mm_set1_epi32(0xFF);
    const __m128i lastCell = _mm_set1_epi32(N - 2);
    const __m128i step = _mm_set1_epi32(kStep);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i half = _mm_set1_epi16(kStep / 2);
    const __m128i by15 = _mm_set1_epi16(static_cast<short>(0x8889));
    // Picks `a` where `mask` is set, else `b`.
    const auto pick = [](__m128i mask, __m128i a, __m128i b) {
        return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
    };
    // A level's cell: level / 15 is (level * 137) >> 11 for every level up
    // to 255; the top level lies in the last cell. Lanes hold values below
    // 2^15, so the 16-bit operations act on 32-bit lanes alike.
    const auto cellOf = [&](__m128i v) {
        return _mm_min_epi16(_mm_srli_epi32(_mm_mullo_epi16(v, _mm_set1_epi32(137)), 11), lastCell);
    };
    int x = 0;
    for (; x + 4 <= width; x += 4, p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_and_si128(v, byteMask);
        const __m128i g = _mm_and_si128(_mm_srli_epi32(v, 8), byteMask);
        const __m128i r = _mm_and_si128(_mm_srli_epi32(v, 16), byteMask);
        const __m128i cb = cellOf(b), cg = cellOf(g), cr = cellOf(r);
        const __m128i fb = _mm_sub_epi32(b, _mm_mullo_epi16(cb, step));
        const __m128i fg = _mm_sub_epi32(g, _mm_mullo_epi16(cg, step));
        const __m128i fr = _mm_sub_epi32(r, _mm_mullo_epi16(cr, step));
        const __m128i base =
            _mm_add_epi32(cr, _mm_add_epi32(_mm_mullo_epi16(cg, _mm_set1_epi32(N)),
                                            _mm_mullo_epi16(cb, _mm_set1_epi32(N * N))));
        const __m128i hi = _mm_max_epi16(_mm_max_epi16(fr, fg), fb);
        const __m128i lo = _mm_min_epi16(_mm_min_epi16(fr, fg), fb);
        const __m128i mid =
            _mm_sub_epi32(_mm_add_epi32(fr, _mm_add_epi32(fg, fb)), _mm_add_epi32(hi, lo));
        // Furthest in: red on ties with it, then green; least far in: blue
        // on ties, then green. They differ even when all three tie.
        const __m128i redHi =
            _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi32(fg, fr), _mm_cmpgt_epi32(fb, fr)), ones);
        const __m128i greenHi =
            _mm_andnot_si128(_mm_or_si128(redHi, _mm_cmpgt_epi32(fb, fg)), ones);
        const __m128i blueLo =
            _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi32(fb, fg), _mm_cmpgt_epi32(fb, fr)), ones);
        const __m128i greenLo =
            _mm_andnot_si128(_mm_or_si128(blueLo, _mm_cmpgt_epi32(fg, fr)), ones);
        const __m128i towardsHi =
            pick(redHi, _mm_set1_epi32(1), pick(greenHi, _mm_set1_epi32(N), _mm_set1_epi32(N * N)));
        const __m128i towardsLo = pick(blueLo, _mm_set1_epi32(N * N),
                                       pick(greenLo, _mm_set1_epi32(N), _mm_set1_epi32(1)));
        const __m128i far = _mm_add_epi32(base, _mm_set1_epi32(kFar));
        alignas(16) std::int32_t corner[4][4];
        _mm_store_si128(reinterpret_cast<__m128i*>(corner[0]), base);
        _mm_store_si128(reinterpret_cast<__m128i*>(corner[1]), _mm_add_epi32(base, towardsHi));
        _mm_store_si128(reinterpret_cast<__m128i*>(corner[2]), _mm_sub_epi32(far, towardsLo));
        _mm_store_si128(reinterpret_cast<__m128i*>(corner[3]), far);
        const __m128i weights[4] = {_mm_sub_epi32(step, hi), _mm_sub_epi32(hi, mid),
                                    _mm_sub_epi32(mid, lo), lo};
        __m128i sum01 = half, sum23 = half; // pixels 0 and 1, 2 and 3
        for (int c = 0; c < 4; ++c) {
            // Each pixel's weight in the four 16-bit lanes of its corner.
            const __m128i w16 = _mm_packs_epi32(weights[c], weights[c]);
            const __m128i w = _mm_unpacklo_epi16(w16, w16);
            const auto at = [&](int k) { return static_cast<long long>(grid[corner[c][k]]); };
            sum01 = _mm_add_epi16(
                sum01, _mm_mullo_epi16(_mm_set_epi64x(at(1), at(0)), _mm_unpacklo_epi32(w, w)));
            sum23 = _mm_add_epi16(
                sum23, _mm_mullo_epi16(_mm_set_epi64x(at(3), at(2)), _mm_unpackhi_epi32(w, w)));
        }
        // x / 15 as in PlainRow; the fourth lane of each corner is zero.
        const __m128i out = _mm_packus_epi16(_mm_srli_epi16(_mm_mulhi_epu16(sum01, by15), 3),
                                             _mm_srli_epi16(_mm_mulhi_epu16(sum23, by15), 3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_or_si128(out, _mm_and_si128(v, alpha)));
    }
    PlainRow(grid, p, width - x);
}
#endif

void ApplyToRows(const std::uint64_t* grid, std::uint8_t* pixels, int width, int firstRow,
                 int endRow, std::size_t stride, GridCode code) {
    for (int y = firstRow; y < endRow; ++y) {
        std::uint8_t* row = pixels + static_cast<std::size_t>(y) * stride;
#ifdef ORV_GRID_SSE2
        if (code == GridCode::Fastest) {
            Sse2Row(grid, row, width);
            continue;
        }
#endif
        (void)code;
        PlainRow(grid, row, width);
    }
}

} // namespace

ColorGrid::ColorGrid(std::span<const std::uint8_t> converted) {
    if (converted.size() == kSamples) lanes_ = Lanes(converted);
}

void ColorGrid::ApplyToRow(std::uint8_t* pixels, int width, int bytesPerPixel,
                           GridCode code) const {
    if (!*this || !pixels || width <= 0) return;
    if (bytesPerPixel == 4) return ApplyToRows(lanes_.data(), pixels, width, 0, 1, 0, code);
    if (bytesPerPixel != 3) return;
    // Three-byte pixels go through four-byte ones, a piece of the row at a time.
    constexpr int kPiece = 256;
    std::uint8_t wide[kPiece * 4];
    for (int x = 0; x < width; x += kPiece) {
        const int n = std::min(kPiece, width - x);
        std::uint8_t* p = pixels + static_cast<std::size_t>(x) * 3;
        for (int i = 0; i < n; ++i)
            std::copy_n(p + 3 * i, 3, wide + 4 * i), wide[4 * i + 3] = 255;
        ApplyToRows(lanes_.data(), wide, n, 0, 1, 0, code);
        for (int i = 0; i < n; ++i)
            std::copy_n(wide + 4 * i, 3, p + 3 * i);
    }
}

void ColorGrid::Apply(std::uint8_t* pixels, int width, int height, std::size_t stride) const {
    if (!*this || !pixels || width <= 0 || height <= 0) return;
    // Large pictures are shared with a second core, half the rows each.
    const bool share = std::thread::hardware_concurrency() >= 2 &&
                       static_cast<long long>(width) * height >= 256 * 1024;
    const int half = share ? height / 2 : 0;
    std::thread helper;
    if (half > 0) {
        try {
            helper = std::thread(ApplyToRows, lanes_.data(), pixels, width, 0, half, stride,
                                 GridCode::Fastest);
        } catch (const std::system_error&) {
            ApplyToRows(lanes_.data(), pixels, width, 0, half, stride, GridCode::Fastest);
        }
    }
    ApplyToRows(lanes_.data(), pixels, width, half, height, stride, GridCode::Fastest);
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
