#include "imaging/image_scale.h"

#include "imaging/row_filter_behind.h"
#include "imaging/row_read_ahead.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ORV_SCALE_SSE2 1
#endif

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

// The row operations, one set plain and one vectorised. Both do the same
// float operations in the same order for each byte, so they agree to the
// bit. The accumulated row `acc` has a float to spare at its end, which the
// vectorised blend of three-byte pixels reads and ignores.
struct RowCode {
    // acc = w * src; acc += w * src; sum += src; acc += w * sum.
    void (*weigh)(float* acc, const std::uint8_t* src, float w, std::size_t n);
    void (*addWeighed)(float* acc, const std::uint8_t* src, float w, std::size_t n);
    void (*addBytes)(std::uint16_t* sum, const std::uint8_t* src, std::size_t n);
    void (*addWeighedSums)(float* acc, const std::uint16_t* sum, float w, std::size_t n);
    // One output row from the vertically blended source row `acc`.
    void (*blend3)(const float* acc, const AxisTaps& taps, int width, std::uint8_t* out);
    void (*blend4)(const float* acc, const AxisTaps& taps, int width, std::uint8_t* out);
};

void PlainWeigh(float* acc, const std::uint8_t* src, float w, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x)
        acc[x] = w * src[x];
}

void PlainAddWeighed(float* acc, const std::uint8_t* src, float w, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x)
        acc[x] += w * src[x];
}

void PlainAddBytes(std::uint16_t* sum, const std::uint8_t* src, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x)
        sum[x] = static_cast<std::uint16_t>(sum[x] + src[x]);
}

void PlainAddWeighedSums(float* acc, const std::uint16_t* sum, float w, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x)
        acc[x] += w * sum[x];
}

template <int Bpp>
void PlainBlend(const float* acc, const AxisTaps& taps, int width, std::uint8_t* out) {
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

constexpr RowCode kPlain = {PlainWeigh,          PlainAddWeighed, PlainAddBytes,
                            PlainAddWeighedSums, PlainBlend<3>,   PlainBlend<4>};

#ifdef ORV_SCALE_SSE2
// Sixteen bytes as four vectors of four floats.
struct Floats16 {
    __m128 f[4];
};

inline Floats16 BytesToFloats(__m128i bytes) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_unpacklo_epi8(bytes, zero), hi = _mm_unpackhi_epi8(bytes, zero);
    return {{_mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero)),
             _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero)),
             _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero)),
             _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero))}};
}

template <bool Add>
void SseWeighBytes(float* acc, const std::uint8_t* src, float w, std::size_t n) {
    const __m128 wv = _mm_set1_ps(w);
    std::size_t x = 0;
    for (; x + 16 <= n; x += 16) {
        const Floats16 v =
            BytesToFloats(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x)));
        for (int q = 0; q < 4; ++q) {
            __m128 r = _mm_mul_ps(wv, v.f[q]);
            if (Add) r = _mm_add_ps(_mm_loadu_ps(acc + x + 4 * q), r);
            _mm_storeu_ps(acc + x + 4 * q, r);
        }
    }
    if (Add)
        PlainAddWeighed(acc + x, src + x, w, n - x);
    else
        PlainWeigh(acc + x, src + x, w, n - x);
}

void SseAddBytes(std::uint16_t* sum, const std::uint8_t* src, std::size_t n) {
    const __m128i zero = _mm_setzero_si128();
    std::size_t x = 0;
    for (; x + 16 <= n; x += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        auto* s = reinterpret_cast<__m128i*>(sum + x);
        _mm_storeu_si128(s, _mm_add_epi16(_mm_loadu_si128(s), _mm_unpacklo_epi8(bytes, zero)));
        _mm_storeu_si128(s + 1,
                         _mm_add_epi16(_mm_loadu_si128(s + 1), _mm_unpackhi_epi8(bytes, zero)));
    }
    PlainAddBytes(sum + x, src + x, n - x);
}

void SseAddWeighedSums(float* acc, const std::uint16_t* sum, float w, std::size_t n) {
    const __m128 wv = _mm_set1_ps(w);
    const __m128i zero = _mm_setzero_si128();
    std::size_t x = 0;
    for (; x + 8 <= n; x += 8) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sum + x));
        const __m128 lo = _mm_cvtepi32_ps(_mm_unpacklo_epi16(s, zero));
        const __m128 hi = _mm_cvtepi32_ps(_mm_unpackhi_epi16(s, zero));
        _mm_storeu_ps(acc + x, _mm_add_ps(_mm_loadu_ps(acc + x), _mm_mul_ps(wv, lo)));
        _mm_storeu_ps(acc + x + 4, _mm_add_ps(_mm_loadu_ps(acc + x + 4), _mm_mul_ps(wv, hi)));
    }
    PlainAddWeighedSums(acc + x, sum + x, w, n - x);
}

// Output pixel i as four lanes (B, G, R and one ignored), rounded and
// clamped as ToByte does, as 32-bit integers.
template <int Bpp> inline __m128i BlendPixel(const float* acc, const AxisTaps& taps, int i) {
    const float* w = &taps.weights[static_cast<std::size_t>(i) * taps.span];
    const float* p = acc + static_cast<std::size_t>(taps.first[i]) * Bpp;
    __m128 v = _mm_setzero_ps();
    for (int k = 0; k < taps.count[i]; ++k, p += Bpp)
        v = _mm_add_ps(v, _mm_mul_ps(_mm_set1_ps(w[k]), _mm_loadu_ps(p)));
    v = _mm_min_ps(_mm_max_ps(_mm_add_ps(v, _mm_set1_ps(0.5f)), _mm_setzero_ps()),
                   _mm_set1_ps(255.0f));
    return _mm_cvttps_epi32(v);
}

template <int Bpp>
void SseBlend(const float* acc, const AxisTaps& taps, int width, std::uint8_t* out) {
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 4 <= width; i += 4) {
        const __m128i a =
            _mm_packs_epi32(BlendPixel<Bpp>(acc, taps, i), BlendPixel<Bpp>(acc, taps, i + 1));
        const __m128i b =
            _mm_packs_epi32(BlendPixel<Bpp>(acc, taps, i + 2), BlendPixel<Bpp>(acc, taps, i + 3));
        const __m128i px = _mm_or_si128(_mm_and_si128(_mm_packus_epi16(a, b), colour), opaque);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), px);
    }
    for (; i < width; ++i) {
        const __m128i one = _mm_packs_epi32(BlendPixel<Bpp>(acc, taps, i), _mm_setzero_si128());
        const __m128i px =
            _mm_or_si128(_mm_and_si128(_mm_packus_epi16(one, _mm_setzero_si128()), colour), opaque);
        const int value = _mm_cvtsi128_si32(px);
        std::memcpy(out + 4 * i, &value, 4);
    }
}

constexpr RowCode kSse2 = {SseWeighBytes<false>, SseWeighBytes<true>, SseAddBytes,
                           SseAddWeighedSums,    SseBlend<3>,         SseBlend<4>};
#endif

const RowCode& CodeFor(ScaleCode code) {
#ifdef ORV_SCALE_SSE2
    if (code == ScaleCode::Fastest) return kSse2;
#endif
    (void)code;
    return kPlain;
}

bool ScaleRows(const ScaleSource& source, int width, int height, std::uint8_t* dest,
               std::size_t stride, int bandRows, ScaleCode code, const RowFilter& filter) {
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 || !dest ||
        !source.readRows || (source.bytesPerPixel != 3 && source.bytesPerPixel != 4) ||
        stride < static_cast<std::size_t>(width) * 4)
        return false;
    try {
        const AxisTaps across = MakeTaps(source.width, width);
        const AxisTaps down = MakeTaps(source.height, height);
        const int band = std::max(1, bandRows);
        const RowCode& run = CodeFor(code);
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

        std::vector<float> acc(rowBytes + 1);
        std::vector<std::uint16_t> sum(rowBytes);
        // Large outputs are filtered behind the scaler on a second core.
        std::optional<RowFilterBehind> behind;
        if (filter && FilterBehindPays(source.width, source.height, width, height)) {
            try {
                behind.emplace(filter, width, height);
            } catch (const std::system_error&) {
            }
        }
        for (int j = 0; j < height; ++j) {
            const int a = down.first[j], count = down.count[j];
            const float* w = &down.weights[static_cast<std::size_t>(j) * down.span];
            // The next output row starts at or after this one's first row.
            const int keep = j + 1 < height ? down.first[j + 1] : source.height;
            auto row = [&](int k) { return sourceRow(a + k, keep); };
            const std::uint8_t* src = row(0);
            if (!src) return false;
            run.weigh(acc.data(), src, w[0], rowBytes);
            // When shrinking, the rows between the first and the last are
            // wholly covered and weigh the same: they are summed as integers
            // (which cannot overflow for up to 257 rows) and weighed once.
            const int inner = count - 2;
            if (inner >= 2 && inner <= 257) {
                if (!(src = row(1))) return false;
                std::copy_n(src, rowBytes, sum.begin());
                for (int k = 2; k <= inner; ++k) {
                    if (!(src = row(k))) return false;
                    run.addBytes(sum.data(), src, rowBytes);
                }
                run.addWeighedSums(acc.data(), sum.data(), w[1], rowBytes);
                if (!(src = row(count - 1))) return false;
                run.addWeighed(acc.data(), src, w[count - 1], rowBytes);
            } else {
                for (int k = 1; k < count; ++k) {
                    if (!(src = row(k))) return false;
                    run.addWeighed(acc.data(), src, w[k], rowBytes);
                }
            }
            // A bottom-up source is scaled as the picture upside down, which
            // its bottom-up output turns the right way up again.
            std::uint8_t* out = dest + (source.bottomUp ? height - 1 - j : j) * stride;
            if (source.bytesPerPixel == 3)
                run.blend3(acc.data(), across, width, out);
            else
                run.blend4(acc.data(), across, width, out);
            if (behind)
                behind->Written(out);
            else if (filter)
                filter(out, width, 4);
        }
        return !behind || behind->Finish();
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

bool ScaleImage(const ScaleSource& given, int width, int height, std::uint8_t* dest,
                std::size_t stride, int bandRows, ScaleCode code, const RowFilter& givenFilter) {
    // An enlarged picture has fewer pixels before scaling than after: its
    // rows are filtered as they are read (ahead, where they are read ahead).
    ScaleSource source = given;
    RowFilter filter = givenFilter;
    if (filter && source.readRows &&
        static_cast<double>(width) * height > static_cast<double>(source.width) * source.height) {
        source.readRows = [&given, &givenFilter](int first, int count, std::uint8_t* rows,
                                                 std::size_t at) {
            if (!given.readRows(first, count, rows, at)) return false;
            for (int y = 0; y < count; ++y)
                givenFilter(rows + y * at, given.width, given.bytesPerPixel);
            return true;
        };
        filter = nullptr;
    }
    if (code == ScaleCode::Fastest && source.readRows && source.width > 0 && source.height > 0 &&
        ReadAheadPays(source.width, source.height)) {
        std::optional<RowReadAhead> ahead;
        try {
            ahead.emplace(source, bandRows);
        } catch (const std::exception&) {
            return ScaleRows(source, width, height, dest, stride, bandRows, code, filter);
        }
        ScaleSource through = source;
        through.readRows = [&ahead](int first, int count, std::uint8_t* rows, std::size_t at) {
            return ahead->Read(first, count, rows, at);
        };
        return ScaleRows(through, width, height, dest, stride, bandRows, code, filter);
    }
    return ScaleRows(source, width, height, dest, stride, bandRows, code, filter);
}

std::size_t ScaleImageMemory(int sourceWidth, int sourceHeight, int bytesPerPixel, int width,
                             int height, int bandRows) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return 0;
    const std::size_t rowBytes = static_cast<std::size_t>(sourceWidth) * bytesPerPixel;
    const std::size_t window = rowBytes * (std::max(1, bandRows) + 2);
    return TapBytes(sourceWidth, width) + TapBytes(sourceHeight, height) + window +
           rowBytes * (sizeof(float) + sizeof(std::uint16_t)) + sizeof(float) +
           (ReadAheadPays(sourceWidth, sourceHeight) ? ReadAheadMemory(rowBytes, bandRows) : 0);
}

bool ScaleIsVectorised() {
#ifdef ORV_SCALE_SSE2
    return true;
#else
    return false;
#endif
}

} // namespace orv::imaging
