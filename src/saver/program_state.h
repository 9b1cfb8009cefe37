// The state the program keeps between its windows: the one screen-saver
// object (released by the window that closes) and the Windows folder.
// Start-up fills it; the slideshow, the music and the settings dialog use it.
#pragma once
#include <memory>
#include <string>

#include "saver/screen_saver.h"

namespace orv::saver {

struct ProgramState {
    std::unique_ptr<ScreenSaver> saver;
    std::string windowsFolder;

    // Whether the configured music is a playlist (false once the screen-saver
    // object is gone).
    bool PlaylistConfigured() const { return saver && saver->IsPlaylist(); }
};

} // namespace orv::saver
