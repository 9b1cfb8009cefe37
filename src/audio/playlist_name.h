// Whether a music setting names an M3U playlist.
#pragma once
#include <string_view>

namespace orv {

// True when the name, trimmed of blanks, is longer than four characters and
// ends in ".m3u" in any case.
bool IsPlayListFile(std::string_view strFile);

} // namespace orv
