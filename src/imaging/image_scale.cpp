#include "imaging/image_scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace orv::imaging {
namespace {

// For each output pixel along one axis: the first source pixel it draws on
// and the weights of the source pixels from there on (`span` per output
// pixel, unused ones zero). The weights of each output pixel sum to 1.
struct AxisTaps {
    int span = 0;
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights;
};

// Source pixels an output pixel draws on at most.
int TapSpan(int source, int target) {
    return target < source ? static_cast<int>(std::ceil(static_cast<double>(source) / target)) + 1
                           : 2;
}

std::size_t TapBytes(int source, int target) {
    return static_cast<std::size_t>(target) *
           (2 * sizeof(int) + TapSpan(source, target) * sizeof(float));
}

AxisTaps MakeTaps(int source, int target) {
    AxisTaps taps;
    taps.first.resize(target);
    taps.count.resize(target);
    const double ratio = static_cast<double>(source) / target;
    taps.span = TapSpan(source, target);
    if (target < source) {
        // Shrinking: the output pixel covers [i * ratio, (i + 1) * ratio).
        taps.weights.assign(static_cast<std::size_t>(target) * taps.span, 0.0f);
        for (int i = 0; i < target; ++i) {
            const double lo = i * ratio;
            const double hi = std::min<double>((i + 1) * ratio, source);
            const int a = static_cast<int>(std::floor(lo));
            const int b = std::min(static_cast<int>(std::ceil(hi)), source);
            float* w = &taps.weights[static_cast<std::size_t>(i) * taps.span];
            double sum = 0;
            for (int k = a; k < b; ++k)
                sum += std::min<double>(k + 1, hi) - std::max<double>(k, lo);
            for (int k = a; k < b; ++k)
                w[k - a] = static_cast<float>(
                    (std::min<double>(k + 1, hi) - std::max<double>(k, lo)) / sum);
            taps.first[i] = a;
            taps.count[i] = b - a;
        }
    } else {
        // Enlarging (or the same size): blend the two source pixels nearest
        // to the output pixel's centre; the edges repeat the border pixel.
        taps.weights.assign(static_cast<std::size_t>(target) * 2, 0.0f);
        for (int i = 0; i < target; ++i) {
            const double x =
                std::clamp((i + 0.5) * ratio - 0.5, 0.0, static_cast<double>(source - 1));
            const int a = static_cast<int>(std::floor(x));
            const float f = static_cast<float>(x - a);
            taps.first[i] = a;
            taps.count[i] = a + 1 < source && f > 0 ? 2 : 1;
            taps.weights[static_cast<std::size_t>(i) * 2] = taps.count[i] == 2 ? 1.0f - f : 1.0f;
            taps.weights[static_cast<std::size_t>(i) * 2 + 1] = taps.count[i] == 2 ? f : 0.0f;
        }
    }
    return taps;
}

std::uint8_t ToByte(float v) {
    return static_cast<std::uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
}

// One output row from the vertically blended source row `acc`.
template <int Bpp>
void BlendRow(const float* acc, const AxisTaps& taps, int width, std::uint8_t* out) {
    for (int i = 0; i < width; ++i) {
        const float* w = &taps.weights[static_cast<std::size_t>(i) * taps.span];
        const float* p = acc + static_cast<std::size_t>(taps.first[i]) * Bpp;
        float b = 0, g = 0, r = 0;
        for (int k = 0; k < taps.count[i]; ++k, p += Bpp) {
            b += w[k] * p[0];
            g += w[k] * p[1];
            r += w[k] * p[2];
        }
        out[4 * i] = ToByte(b);
        out[4 * i + 1] = ToByte(g);
        out[4 * i + 2] = ToByte(r);
        out[4 * i + 3] = 255;
    }
}

} // namespace

bool ScaleImage(const ScaleSource& source, int width, int height, std::uint8_t* dest,
                std::size_t stride, int bandRows) {
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 || !dest ||
        !source.readRows || (source.bytesPerPixel != 3 && source.bytesPerPixel != 4) ||
        stride < static_cast<std::size_t>(width) * 4)
        return false;
    try {
        const AxisTaps across = MakeTaps(source.width, width);
        const AxisTaps down = MakeTaps(source.height, height);
        const int band = std::max(1, bandRows);
        const std::size_t rowBytes = static_cast<std::size_t>(source.width) * source.bytesPerPixel;

        // A window of source rows: rows [winFirst, winFirst + winCount) sit
        // in the buffer from slot `slot` on. Each row is asked for just
        // before it is used, and rows that no later output row needs are
        // dropped, so the window holds two rows plus a band however many
        // rows an output row covers. The buffer is compacted only when a
        // band no longer fits.
        const int capacity = band + 2;
        std::vector<std::uint8_t> rows(rowBytes * capacity);
        int winFirst = 0, winCount = 0, slot = 0;
        // Source row y, valid until the next call; rows before `keep` may be
        // dropped. Null when the source fails.
        auto sourceRow = [&](int y, int keep) -> const std::uint8_t* {
            const int drop = std::clamp(std::min(y, keep) - winFirst, 0, winCount);
            slot += drop;
            winCount -= drop;
            winFirst += drop;
            if (winCount == 0) {
                slot = 0;
                winFirst = std::max(std::min(y, keep), winFirst);
            }
            if (y < winFirst) return nullptr; // dropped already: never happens
            while (winFirst + winCount <= y) {
                const int next = winFirst + winCount;
                const int wanted = std::min(band, source.height - next);
                if (slot + winCount + wanted > capacity) {
                    std::memmove(rows.data(), rows.data() + slot * rowBytes, winCount * rowBytes);
                    slot = 0;
                }
                const int n = std::min(wanted, capacity - slot - winCount);
                if (!source.readRows(next, n, rows.data() + (slot + winCount) * rowBytes, rowBytes))
                    return nullptr;
                winCount += n;
            }
            return rows.data() + (slot + y - winFirst) * rowBytes;
        };

        std::vector<float> acc(rowBytes);
        std::vector<std::uint16_t> sum(rowBytes);
        for (int j = 0; j < height; ++j) {
            const int a = down.first[j], count = down.count[j];
            const float* w = &down.weights[static_cast<std::size_t>(j) * down.span];
            // The next output row starts at or after this one's first row.
            const int keep = j + 1 < height ? down.first[j + 1] : source.height;
            auto row = [&](int k) { return sourceRow(a + k, keep); };
            const std::uint8_t* src = row(0);
            if (!src) return false;
            for (std::size_t x = 0; x < rowBytes; ++x)
                acc[x] = w[0] * src[x];
            // When shrinking, the rows between the first and the last are
            // wholly covered and weigh the same: they are summed as integers
            // (which cannot overflow for up to 257 rows) and weighed once.
            const int inner = count - 2;
            if (inner >= 2 && inner <= 257) {
                if (!(src = row(1))) return false;
                std::copy_n(src, rowBytes, sum.begin());
                for (int k = 2; k <= inner; ++k) {
                    if (!(src = row(k))) return false;
                    for (std::size_t x = 0; x < rowBytes; ++x)
                        sum[x] = static_cast<std::uint16_t>(sum[x] + src[x]);
                }
                const float wi = w[1];
                for (std::size_t x = 0; x < rowBytes; ++x)
                    acc[x] += wi * sum[x];
                if (!(src = row(count - 1))) return false;
                const float wl = w[count - 1];
                for (std::size_t x = 0; x < rowBytes; ++x)
                    acc[x] += wl * src[x];
            } else {
                for (int k = 1; k < count; ++k) {
                    if (!(src = row(k))) return false;
                    const float wk = w[k];
                    for (std::size_t x = 0; x < rowBytes; ++x)
                        acc[x] += wk * src[x];
                }
            }
            // A bottom-up source is scaled as the picture upside down, which
            // its bottom-up output turns the right way up again.
            std::uint8_t* out = dest + (source.bottomUp ? height - 1 - j : j) * stride;
            if (source.bytesPerPixel == 3)
                BlendRow<3>(acc.data(), across, width, out);
            else
                BlendRow<4>(acc.data(), across, width, out);
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::size_t ScaleImageMemory(int sourceWidth, int sourceHeight, int bytesPerPixel, int width,
                             int height, int bandRows) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return 0;
    const std::size_t rowBytes = static_cast<std::size_t>(sourceWidth) * bytesPerPixel;
    const std::size_t window = rowBytes * (std::max(1, bandRows) + 2);
    return TapBytes(sourceWidth, width) + TapBytes(sourceHeight, height) + window +
           rowBytes * (sizeof(float) + sizeof(std::uint16_t));
}

} // namespace orv::imaging
