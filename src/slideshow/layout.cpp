#include "slideshow/layout.h"

#include "common/numeric.h"

namespace orv::slideshow {

TwipRect LayoutPicture(float sw, float sh, const std::optional<platform::PictureSize>& natural,
                       int scalePercentage, bool previewMode, const TwipRect& current) {
    TwipRect box = current;
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
