// Scratch files for the picture decoders: new files in the user's temporary
// folder that the system deletes when their handle closes, also when the
// process is killed (FILE_FLAG_DELETE_ON_CLOSE); marked temporary, so they
// stay in the file cache while memory allows. Used for the pictures the
// show and the wallpaper draw.
#pragma once
#include <memory>

#include "imaging/picture_decoder.h"

namespace orv::win32 {

// Nothing when the folder has no room or cannot be written.
std::unique_ptr<imaging::ScratchFile> OpenScratchFile();

// The budget of one picture: the default, with scratch files.
imaging::DecodeBudget PictureBudget();

} // namespace orv::win32
