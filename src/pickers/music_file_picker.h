// The music-file picker: the platform's open-file dialog with the four music
// filters (MP3 preselected), starting in the program's folder. The settings
// dialog's browse button calls it.
#pragma once
#include <cstdint>
#include <string>

#include "platform/environment.h"
#include "platform/pickers.h"

namespace orv::pickers {

// The chosen file's full path, or the empty text when the user cancelled or
// the dialog failed.
std::string PickMusicFile(platform::Pickers& pickers, const platform::Environment& environment,
                          std::intptr_t owner);

} // namespace orv::pickers
