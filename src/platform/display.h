// The monitors a show covers, as the core lays them out.
#pragma once
#include "common/twips.h"

namespace orv::platform {

// A monitor: its place in the window's client pixels, its own dots per
// inch, and whether it is the primary one. A preview has one, the host
// window's client area at the host's scale, at the window's origin.
struct MonitorArea {
    PixelRect bounds;
    int dpi = 96;
    bool primary = false;
};

} // namespace orv::platform
