#include "slideshow/layout.h"

#include <algorithm>

#include "common/numeric.h"
#include "slideshow/design.h"

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

TwipSize MonitorTwips(const platform::MonitorArea& monitor) {
    const float tpp = TwipsPerPixel(monitor.dpi);
    return {static_cast<float>(monitor.bounds.width) * tpp,
            static_cast<float>(monitor.bounds.height) * tpp};
}

PixelRect ToClient(const platform::MonitorArea& monitor, const TwipRect& rect) {
    const float tpp = TwipsPerPixel(monitor.dpi);
    PixelRect px = ToPixels(rect, tpp, tpp);
    px.x += monitor.bounds.x;
    px.y += monitor.bounds.y;
    return px;
}

PixelRect ClockBox(const platform::MonitorArea& primary, PixelSize text) {
    const TwipSize screen = MonitorTwips(primary);
    PixelRect box = ToClient(primary, {screen.width - kClockRightGap,
                                       screen.height - kClockBottomGap, kClockWidth, kClockHeight});
    // One pixel of room after the text, as at the designed size.
    box.width = std::max(box.width, text.width + 1);
    box.height = std::max(box.height, text.height);
    const int right = primary.bounds.x + primary.bounds.width;
    const int bottom = primary.bounds.y + primary.bounds.height;
    box.x = std::min(box.x, right - box.width);
    box.y = std::min(box.y, bottom - box.height);
    return box;
}

PixelRect PausedBox(const platform::MonitorArea& primary, PixelSize text) {
    const PixelRect clock = ClockBox(primary, {0, text.height});
    return {primary.bounds.x, clock.y, text.width + 1, clock.height};
}

std::vector<platform::MonitorArea> ShowMonitors(std::vector<platform::MonitorArea> reported,
                                                const platform::MonitorArea& primaryScreen,
                                                bool fullScreen, ScreenPoint origin,
                                                int previewDpi) {
    if (reported.empty()) reported.push_back(primaryScreen);
    std::stable_partition(reported.begin(), reported.end(),
                          [](const platform::MonitorArea& m) { return m.primary; });
    reported.front().primary = true;
    if (!fullScreen) {
        platform::MonitorArea primary = reported.front();
        primary.bounds.x = primary.bounds.y = 0;
        if (previewDpi > 0) primary.dpi = previewDpi;
        return {primary};
    }
    for (platform::MonitorArea& m : reported) {
        m.bounds.x -= origin.x;
        m.bounds.y -= origin.y;
    }
    return reported;
}

PixelRect CoveringRect(const std::vector<platform::MonitorArea>& reported,
                       const platform::MonitorArea& primaryScreen) {
    if (reported.empty()) return primaryScreen.bounds;
    int left = reported[0].bounds.x, top = reported[0].bounds.y;
    int right = left + reported[0].bounds.width, bottom = top + reported[0].bounds.height;
    for (const platform::MonitorArea& m : reported) {
        left = std::min(left, m.bounds.x);
        top = std::min(top, m.bounds.y);
        right = std::max(right, m.bounds.x + m.bounds.width);
        bottom = std::max(bottom, m.bounds.y + m.bounds.height);
    }
    return {left, top, right - left, bottom - top};
}

} // namespace orv::slideshow
