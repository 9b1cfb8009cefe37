#include "slideshow/layout.h"

#include <cmath>

namespace orv::slideshow {

double RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5) return lower;
    if (diff > 0.5) return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

platform::TwipRect LayoutPicture(float sw, float sh,
                                 const std::optional<platform::PictureSize>& natural,
                                 int scalePercentage, bool previewMode,
                                 const platform::TwipRect& current) {
    platform::TwipRect box = current;
    box.top = 0;
    box.left = 0;
    const double w = natural ? RoundHalfEven(natural->width) : 0;
    const double h = natural ? RoundHalfEven(natural->height) : 0;
    // A picture without a size (or rounding to none) cannot be fitted.
    if (w > 0 && h > 0) {
        const double aspect = h / w;
        if (static_cast<double>(sh) / sw > aspect) {
            box.width = sw;
            box.height = static_cast<float>(h * (static_cast<double>(box.width) / w));
            box.top = static_cast<float>(RoundHalfEven((static_cast<double>(sh) - box.height) / 2));
        } else {
            box.height = sh;
            box.width = static_cast<float>(w * (static_cast<double>(box.height) / h));
            box.left = static_cast<float>(RoundHalfEven((static_cast<double>(sw) - box.width) / 2));
        }
    }
    if (scalePercentage < 100) {
        box.height = static_cast<float>(static_cast<double>(box.height) * scalePercentage / 100);
        box.width = static_cast<float>(static_cast<double>(box.width) * scalePercentage / 100);
        box.top = static_cast<float>(RoundHalfEven((static_cast<double>(sh) - box.height) / 2));
        box.left = static_cast<float>(RoundHalfEven((static_cast<double>(sw) - box.width) / 2));
    }
    if (previewMode) {
        const double f = static_cast<double>(kPreviewWidth) / sw;
        box.width = static_cast<float>(box.width * f);
        box.height = static_cast<float>(box.height * f);
        box.top = static_cast<float>(box.top * f);
        box.left = static_cast<float>(box.left * f);
    }
    return box;
}

} // namespace orv::slideshow
