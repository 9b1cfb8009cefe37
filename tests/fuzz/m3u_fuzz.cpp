// Fuzz target for the playlist reader: a playlist's bytes into lines and
// track entries. Every entry is a piece of the text that names an MP3 file.
// Seeds: tests/fuzz/corpus/m3u/.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "audio/playlist.h"
#include "common/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view line : orv::audio::SplitPlaylistLines(text)) {
        const std::string_view entry = orv::audio::PlaylistEntry(line);
        if (!entry.empty() && !orv::EndsWithNoCase(entry, ".mp3")) __builtin_trap();
    }
    return 0;
}
