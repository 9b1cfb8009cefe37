#include "imaging/orientation.h"

#include <cstring>
#include <utility>
#include <vector>

namespace orv::imaging {

bool SwapsAxes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

PixelSize UprightSize(PixelSize stored, int orientation) {
    if (SwapsAxes(orientation)) return {stored.height, stored.width};
    return stored;
}

void OrientPixels(const std::uint8_t* stored, PixelSize storedSize, std::size_t storedStride,
                  std::uint8_t* upright, std::size_t uprightStride, int orientation) {
    const int w = storedSize.width, h = storedSize.height;
    if (w <= 0 || h <= 0) return;
    if (orientation < 1 || orientation > 8) orientation = 1;
    // Stored pixel (x, y) lands at upright (ux, uy): the stored top row on
    // the edge the orientation names, the left column on the other one.
    const auto target = [&](int x, int y) -> std::pair<int, int> {
        switch (orientation) {
        case 2:
            return {w - 1 - x, y};
        case 3:
            return {w - 1 - x, h - 1 - y};
        case 4:
            return {x, h - 1 - y};
        case 5:
            return {y, x};
        case 6:
            return {h - 1 - y, x};
        case 7:
            return {h - 1 - y, w - 1 - x};
        case 8:
            return {y, w - 1 - x};
        default:
            return {x, y};
        }
    };
    // Each stored row is walked once; the step between the upright places
    // of neighbouring pixels is fixed for the whole picture.
    const auto [x0, y0] = target(0, 0);
    const auto [x1, y1] = target(w > 1 ? 1 : 0, 0);
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(uprightStride);
    const std::ptrdiff_t step = w > 1 ? (x1 - x0) * 4 + (y1 - y0) * stride : 0;
    for (int y = 0; y < h; ++y) {
        const auto [ux, uy] = target(0, y);
        std::ptrdiff_t at = uy * stride + static_cast<std::ptrdiff_t>(ux) * 4;
        const std::uint8_t* in = stored + static_cast<std::size_t>(y) * storedStride;
        if (orientation == 1 || orientation == 4) {
            std::memcpy(upright + at, in, static_cast<std::size_t>(w) * 4);
            continue;
        }
        for (int x = 0; x < w; ++x, in += 4, at += step)
            std::memcpy(upright + at, in, 4);
    }
}

bool DrawUpright(int orientation, int width, int height, std::uint8_t* dest, std::size_t stride,
                 const DrawStored& drawStored) {
    if (width <= 0 || height <= 0 || !dest) return false;
    const PixelSize box = UprightSize({width, height}, orientation);
    if (orientation < 2 || orientation > 8) return drawStored(box, dest, stride); // as stored
    const std::size_t storedStride = static_cast<std::size_t>(box.width) * 4;
    std::vector<std::uint8_t> stored(storedStride * static_cast<std::size_t>(box.height));
    if (!drawStored(box, stored.data(), storedStride)) return false;
    OrientPixels(stored.data(), box, storedStride, dest, stride, orientation);
    return true;
}

} // namespace orv::imaging
