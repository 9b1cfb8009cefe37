// Helpers on Windows paths held as UTF-8 text: the folder part of a path,
// a folder with its final backslash, whether a name is an M3U playlist, and
// the rules the file system's look-ups and the program's folder follow.
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

// The folder that holds `file`, without the final backslash except for a
// drive root ("C:\Saver\Mirvo.scr" gives "C:\Saver", "C:\Mirvo.scr" gives
// "C:\"); empty when the path holds no backslash.
std::string ContainingFolder(std::string_view file);

// True when the path holds a wildcard (* or ?).
bool HasWildcard(std::string_view path);

// The entry a path without wildcards names: a trailing backslash names the
// folder itself ("C:\Pics\" is "C:\Pics"), except in a drive root ("C:\").
std::string_view EntryPath(std::string_view path);

} // namespace orv
