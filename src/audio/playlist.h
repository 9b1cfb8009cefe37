// Reading M3U playlists: how the text splits into lines and which lines name
// MP3 tracks. The music module resolves and stores the entries it keeps.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace orv::audio {

// The lines of a playlist text. A line ends at a carriage return or at a
// carriage return followed by a line feed; a line feed alone is kept as part
// of the line. A text that ends with a line end has no empty last line.
std::vector<std::string_view> SplitPlaylistLines(std::string_view text);

// The line trimmed of blanks when it names an MP3 track (longer than four
// characters, ending in ".mp3" in any case); empty otherwise.
std::string_view PlaylistEntry(std::string_view line);

} // namespace orv::audio
