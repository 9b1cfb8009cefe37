#include "audio/playlist.h"

#include "common/text.h"

namespace orv::audio {

std::vector<std::string_view> SplitPlaylistLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\r');
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        std::size_t next = end + 1;
        if (next < text.size() && text[next] == '\n') ++next;
        text.remove_prefix(next);
    }
    return lines;
}

std::string_view PlaylistEntry(std::string_view line) {
    const std::string_view trimmed = TrimSpaces(line);
    if (CharCount(trimmed) > 4 && EndsWithNoCase(trimmed, ".mp3")) return trimmed;
    return {};
}

} // namespace orv::audio
