// The music-file picker: the platform's open-file dialog with the four music
// filters (MP3 preselected), starting in the program's folder. The settings
// dialog's browse button calls it.
#pragma once
#include <cstdint>
#include <string>

#include "platform/environment.h"
#include "platform/pickers.h"

namespace orv::pickers {

// The chosen file's full path (an existing file, or a new name the user
// agreed to create when the dialog asked), or the empty text when the user
// cancelled or the dialog failed.
std::string PickMusicFile(platform::Pickers& pickers, const platform::Environment& environment,
                          std::intptr_t owner);

// The filters as the open-file dialog reads them: each description and
// pattern followed by a NUL, and one more NUL at the end.
std::string FilterList(const platform::FileTypes& types);

} // namespace orv::pickers
