// Reading M3U playlists as people write them: the file is read in pieces
// (a playlist of any size), lines end at a carriage return, a line feed or
// both, and a file that starts with the UTF-8 byte-order mark is UTF-8 while
// any other is in the system's 8-bit code page. The music player takes the
// entries that name MP3 tracks one at a time, as it needs them.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace orv::audio {

class PlaylistReader {
  public:
    using AnsiDecoder = std::function<std::string(std::string_view)>;
    PlaylistReader(std::unique_ptr<platform::ByteStream> stream, AnsiDecoder ansiToUtf8);

    // The next line as UTF-8, without its end; nothing after the last one. A
    // text that ends with a line end has no empty last line. Lines longer
    // than kMaxLineBytes name no file and are skipped whole.
    std::optional<std::string> NextLine();
    // The next line that names an MP3 track (PlaylistEntry), or nothing.
    std::optional<std::string> NextEntry();

    static constexpr std::size_t kMaxLineBytes = 128 * 1024;

  private:
    // Reads another piece of the file onto the buffer, or marks its end.
    void Fill();

    std::unique_ptr<platform::ByteStream> stream_;
    AnsiDecoder ansiToUtf8_;
    std::string buffer_;
    std::size_t pos_ = 0;
    bool ended_ = false;
    bool started_ = false;
    bool utf8_ = false;
};

// The line trimmed of blanks when it names an MP3 track (longer than four
// characters, ending in ".mp3" in any case); empty otherwise.
std::string_view PlaylistEntry(std::string_view line);

} // namespace orv::audio
