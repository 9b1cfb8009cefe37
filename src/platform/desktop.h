// Desktop-wide services: the mouse cursor, the screen-saver running flag,
// the password switch and check, and the wallpaper.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::platform {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Raises (true) or lowers (false) the cursor display counter by one.
    virtual void ShowCursor(bool show) = 0;
};

} // namespace orv::platform
