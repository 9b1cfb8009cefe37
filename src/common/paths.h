// Helpers on Windows paths held as UTF-8 text: the folder part of a path,
// a folder with its final backslash, and whether a name is an M3U playlist.
#pragma once
#include <string>
#include <string_view>

namespace orv {

// The path, trimmed of blanks, up to and including its last backslash; the
// empty text when it holds none. "C:\Music\list.m3u" gives "C:\Music\".
std::string FolderPart(std::string_view path);

// Appends a backslash unless the text already ends in one.
std::string WithTrailingBackslash(std::string_view path);

// True when the name, trimmed of blanks, is longer than four characters and
// ends in ".m3u" in any case.
bool IsPlaylistName(std::string_view name);

} // namespace orv
