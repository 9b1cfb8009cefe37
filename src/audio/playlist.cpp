#include "audio/playlist.h"

#include "common/text.h"

namespace orv::audio {
namespace {

constexpr std::size_t kPiece = 64 * 1024;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

} // namespace

PlaylistReader::PlaylistReader(std::unique_ptr<platform::ByteStream> stream, AnsiDecoder ansiToUtf8)
    : stream_(std::move(stream)), ansiToUtf8_(std::move(ansiToUtf8)) {}

void PlaylistReader::Fill() {
    if (!stream_) ended_ = true; // no file: a list without lines
    if (ended_) return;
    buffer_.erase(0, pos_);
    pos_ = 0;
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kPiece);
    const std::size_t got = stream_->Read(buffer_.data() + old, kPiece);
    buffer_.resize(old + got);
    if (got == 0) ended_ = true;
    if (!started_ && (buffer_.size() >= 3 || ended_)) {
        started_ = true;
        if (buffer_.compare(0, 3, kByteOrderMark) == 0) {
            utf8_ = true;
            pos_ = 3;
        }
    }
}

std::optional<std::string> PlaylistReader::NextLine() {
    bool skipping = false; // within a line too long to be a name
    for (;;) {
        if (!started_ && !ended_) {
            Fill();
            continue;
        }
        const std::size_t end = buffer_.find_first_of("\r\n", pos_);
        // A carriage return at the end of what was read may be followed by
        // a line feed still in the file.
        if (end != std::string::npos &&
            (buffer_[end] == '\n' || end + 1 < buffer_.size() || ended_)) {
            std::string line = buffer_.substr(pos_, end - pos_);
            pos_ = end + 1;
            if (buffer_[end] == '\r' && pos_ < buffer_.size() && buffer_[pos_] == '\n') ++pos_;
            if (skipping || line.size() > kMaxLineBytes) {
                skipping = false;
                continue;
            }
            return utf8_ ? line : ansiToUtf8_(line);
        }
        if (end == std::string::npos && buffer_.size() - pos_ > kMaxLineBytes) {
            pos_ = buffer_.size(); // the long line's start is dropped
            skipping = true;
        }
        if (ended_) {
            // The last line has no end.
            if (pos_ >= buffer_.size() || skipping) return std::nullopt;
            std::string last = buffer_.substr(pos_);
            pos_ = buffer_.size();
            return utf8_ ? last : ansiToUtf8_(last);
        }
        Fill();
    }
}

std::optional<std::string> PlaylistReader::NextEntry() {
    while (const auto line = NextLine()) {
        const std::string_view entry = PlaylistEntry(*line);
        if (!entry.empty()) return std::string(entry);
    }
    return std::nullopt;
}

std::string_view PlaylistEntry(std::string_view line) {
    const std::string_view trimmed = TrimSpaces(line);
    if (CharCount(trimmed) > 4 && EndsWithNoCase(trimmed, ".mp3")) return trimmed;
    return {};
}

} // namespace orv::audio
