// Path helpers shared by the music list and the screen-saver object.
#pragma once
#include <string>
#include <string_view>

namespace orv {

// The path, trimmed of blanks, up to and including its last backslash; the
// empty text when it holds none. "C:\Music\list.m3u" gives "C:\Music\".
std::string ExtractPath(std::string_view strFile);

} // namespace orv
