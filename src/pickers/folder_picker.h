// The picture-folder picker: the shell's folder browser from the desktop.
// The settings dialog's browse button calls it.
#pragma once
#include <cstdint>
#include <string>

#include "platform/pickers.h"

namespace orv::pickers {

// The chosen folder's path, or the empty text when the user cancelled or the
// choice has no file-system path.
std::string PickPicturesFolder(platform::Pickers& pickers, std::intptr_t owner);

} // namespace orv::pickers
