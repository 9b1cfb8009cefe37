// The slideshow window's controls as designed: the clock's box and font, the
// labels' default font and the preview's picture box. The
// engine places them; the window that draws them starts from these values.
#pragma once
#include <cstdint>

#include "common/twips.h"

namespace orv::slideshow {

inline constexpr float kClockWidth = 855, kClockHeight = 255;
// The clock's distance from the screen's right and bottom edges.
inline constexpr float kClockRightGap = 850, kClockBottomGap = 250;
inline constexpr float kClockFontPoints = 9.75f;
// The widest time the clock shows, for the room its box needs.
inline constexpr const char* kWidestClockText = "88:88:88 ";
// The sign of a paused show, in the clock's font and colours.
inline constexpr const char* kPausedText = " Paused ";
inline constexpr float kLabelFontPoints = 8.25f;
inline constexpr TwipRect kPreviewBox{0, 0, 2400, 1800};
// The timers as designed: the first picture 100 ms after the load, the
// clock every second.
inline constexpr std::uint32_t kFirstPictureMs = 100, kClockMs = 1000;

} // namespace orv::slideshow
