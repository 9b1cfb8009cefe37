// Where things are drawn on each monitor. A picture is fitted to its monitor
// with its proportions kept, shrunk around the centre to the scale
// percentage, and shrunk again to the preview monitor's width in preview
// mode: arithmetic in the monitor's own twips, with the box held in single
// precision and halves rounded to the even neighbour, then turned into the
// window's pixels. The clock sits at the primary monitor's lower right.
#pragma once
#include <optional>
#include <vector>

#include "platform/display.h"
#include "platform/pictures.h"
#include "slideshow/scene.h"

namespace orv::slideshow {

// Width in twips that the preview monitor's screen area is taken to have.
inline constexpr float kPreviewWidth = 2270.0f;

// The picture box for a picture of natural size `natural` on a screen of
// sw x sh twips. `current` is the box as it stands; without a picture (it
// could not be loaded) the fitting step is skipped and the box's own size is
// carried through the later steps.
TwipRect LayoutPicture(float sw, float sh, const std::optional<platform::PictureSize>& natural,
                       int scalePercentage, bool previewMode, const TwipRect& current);

// The monitor's size in its own twips.
struct TwipSize {
    float width = 0, height = 0;
};
TwipSize MonitorTwips(const platform::MonitorArea& monitor);

// A rectangle in the monitor's twips as the window's client pixels.
PixelRect ToClient(const platform::MonitorArea& monitor, const TwipRect& rect);

// The clock's box on the primary monitor: as designed (855 x 255 twips, 850
// and 250 from the right and bottom edges), made wide and high enough for
// `text`, the pixels its time takes, and moved left and up as far as needed
// to stay on the monitor.
PixelRect ClockBox(const platform::MonitorArea& primary, PixelSize text);
// The paused sign's box on the primary monitor: at its lower left corner, as
// high as the clock's and as wide as `text`, the pixels the sign takes.
PixelRect PausedBox(const platform::MonitorArea& primary, PixelSize text);

// The monitors as the show lays them out, in the window's client pixels
// (`origin` is the client area's top left on the screen): the primary first,
// the others in the order the system reported them. When the system reports
// none, `primaryScreen` alone; when it marks none as primary, the first is.
// A preview lays out as the primary monitor alone would, at its origin, but
// at the dots per inch of the window it is shown in, `previewDpi` (when
// known, above 0): its picture then fills that window's area at any scale.
std::vector<platform::MonitorArea> ShowMonitors(std::vector<platform::MonitorArea> reported,
                                                const platform::MonitorArea& primaryScreen,
                                                bool fullScreen, ScreenPoint origin,
                                                int previewDpi);

// The rectangle that holds every monitor reported (the primary screen when
// none is): what a full-screen show covers, in screen pixels.
PixelRect CoveringRect(const std::vector<platform::MonitorArea>& reported,
                       const platform::MonitorArea& primaryScreen);

} // namespace orv::slideshow
