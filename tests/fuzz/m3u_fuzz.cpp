// Fuzz target for the playlist reader: a playlist's bytes, handed over in
// pieces of a size the input chooses, into lines and track entries. No line
// is longer than the reader's limit and every entry names an MP3 file.
// Seeds: tests/fuzz/corpus/m3u/.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "audio/playlist.h"
#include "common/text.h"
#include "support/text_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 16;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    orv::audio::PlaylistReader reader(
        std::make_unique<orv::support::TextStream>(std::string(text), piece),
        [](std::string_view line) { return std::string(line); });
    while (const auto line = reader.NextLine()) {
        if (line->size() > orv::audio::PlaylistReader::kMaxLineBytes) __builtin_trap();
        const std::string_view entry = orv::audio::PlaylistEntry(*line);
        if (!entry.empty() && !orv::EndsWithNoCase(entry, ".mp3")) __builtin_trap();
    }
    return 0;
}
