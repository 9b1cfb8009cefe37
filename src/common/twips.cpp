#include "common/twips.h"

#include <cmath>

namespace orv {

int TwipsToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

PixelRect ToPixels(const TwipRect& rect, double twipsPerPixelX, double twipsPerPixelY) {
    const int x = TwipsToPixels(rect.left, twipsPerPixelX);
    const int y = TwipsToPixels(rect.top, twipsPerPixelY);
    return {x, y, TwipsToPixels(static_cast<double>(rect.left) + rect.width, twipsPerPixelX) - x,
            TwipsToPixels(static_cast<double>(rect.top) + rect.height, twipsPerPixelY) - y};
}

} // namespace orv
