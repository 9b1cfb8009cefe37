// Where a picture is drawn: fitted to the screen with its proportions kept,
// shrunk around the centre to the scale percentage, and shrunk again to the
// preview monitor's width in preview mode. Pure arithmetic in twips, with the
// box held in single precision and halves rounded to the even neighbour.
#pragma once
#include <optional>

#include "platform/slideshow_view.h"

namespace orv::slideshow {

// Width in twips that the preview monitor's screen area is taken to have.
inline constexpr float kPreviewWidth = 2270.0f;

// The picture box for a picture of natural size `natural` on a screen of
// sw x sh twips. `current` is the box as it stands; without a picture (it
// could not be loaded) the fitting step is skipped and the box's own size is
// carried through the later steps.
TwipRect LayoutPicture(float sw, float sh, const std::optional<platform::PictureSize>& natural,
                       int scalePercentage, bool previewMode, const TwipRect& current);

} // namespace orv::slideshow
