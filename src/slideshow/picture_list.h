// The picture list of a show: the plain files of one folder whose names end
// in ".jpg", ".gif", ".bmp" or "jpeg" (any case), as folder + name paths.
// Element 0 stays empty, so the list's upper bound is the picture count.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace orv::slideshow {

// Whether a file name has one of the picture endings (names of four
// characters or fewer never do).
bool IsPictureName(std::string_view name);

// Scans `folder` (a backslash is added when it lacks one) into `pictures`,
// replacing it; true when at least one picture was found. A folder that
// cannot be listed gives an empty list.
bool LoadPictureList(platform::FileSystem& files, std::string_view folder,
                     std::vector<std::string>& pictures);

} // namespace orv::slideshow
