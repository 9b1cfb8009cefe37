// The five settings as plain data: read from the settings store at the
// start (stored_settings.h), handed by value to the window of the mode that
// runs, and given back by the settings dialog to be checked and saved.
#pragma once
#include <cstdint>
#include <string>

#include "common/paths.h"

namespace orv::saver {

struct Settings {
    std::string path;           // the pictures folder
    std::int16_t time = 0;      // seconds per picture
    std::int16_t showClock = 0; // 0: no clock
    std::int16_t scalePercentage = 0;
    std::string musicFile; // a music file, an M3U playlist, or empty

    bool IsPlaylist() const { return IsPlaylistName(musicFile); }
    bool operator==(const Settings&) const = default;
};

} // namespace orv::saver
