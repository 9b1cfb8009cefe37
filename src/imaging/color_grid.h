// A colour conversion applied through samples of it: the colour system
// converts the colours of an 18 x 18 x 18 grid once (every 15th level of
// each channel), and each pixel of a picture is interpolated between the
// converted corners of its grid cell (tetrahedral interpolation, as colour
// systems apply their own precomputed tables). Converting a picture this
// way costs a few nanoseconds a pixel, where converting each pixel through
// the colour system costs about a hundred under Wine; large pictures are
// shared with a second core, and the decoders apply the grid to each row as
// they write it. Used by the colour management; free of platform types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

namespace orv::imaging {

constexpr int kColorGridPoints = 18;
constexpr int kColorGridStep = 255 / (kColorGridPoints - 1); // 15

// The grid's colours as 4-byte pixels (B, G, R, 255), red varying fastest,
// then green, then blue: the colour (15 r, 15 g, 15 b) at index
// (b * 18 + g) * 18 + r.
std::vector<std::uint8_t> ColorGridSamples();

// Which code applies a grid: the fastest the processor has (SSE2 on x86),
// or the plain code, the reference that one is tested against. Both give the
// same bytes.
enum class GridCode { Fastest, Plain };

// A conversion ready to apply to pixels (B, G, R, A) in place; alpha is kept.
// Empty (it converts nothing) when made from no grid or one of another size.
class ColorGrid {
  public:
    ColorGrid() = default;
    // From `converted`, the samples of ColorGridSamples after the conversion.
    explicit ColorGrid(std::span<const std::uint8_t> converted);
    explicit operator bool() const { return !lanes_.empty(); }

    // One row of `width` pixels of 4 bytes (B, G, R, A) or 3 (B, G, R), on
    // this thread.
    void ApplyToRow(std::uint8_t* pixels, int width, int bytesPerPixel = 4,
                    GridCode code = GridCode::Fastest) const;
    // width x height pixels, rows `stride` bytes apart; large pictures are
    // shared with a second core.
    void Apply(std::uint8_t* pixels, int width, int height, std::size_t stride) const;

  private:
    // Each sample's channels in 16-bit lanes of one number (see the code).
    std::vector<std::uint64_t> lanes_;
};

// The converted grid of the last conversion, made again only when the
// picture's profile or the target changes (photos of one camera share one).
// Safe to use from several threads; a conversion runs outside the lock.
class ColorGridCache {
  public:
    using Convert = std::function<std::vector<std::uint8_t>(std::vector<std::uint8_t> samples)>;
    // The grid from `source` to `target` (empty: sRGB). On a miss `convert`
    // turns ColorGridSamples() into it; an empty result (the colour system
    // refused) is given back and not kept.
    std::vector<std::uint8_t> Get(std::span<const std::uint8_t> source,
                                  std::span<const std::uint8_t> target, const Convert& convert);

  private:
    std::mutex lock_;
    std::vector<std::uint8_t> source_, target_, grid_;
};

} // namespace orv::imaging
