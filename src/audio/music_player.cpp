#include "audio/music_player.h"

#include <limits>

#include "audio/playlist.h"
#include "common/app_title.h"
#include "common/errors.h"
#include "common/paths.h"
#include "common/text.h"

namespace orv::audio {
namespace {

// The track number is 16 bits wide: a list never holds more tracks than it
// can reach.
constexpr int kMaxTracks = std::numeric_limits<std::int16_t>::max();
// A list track plays with an end-of-track notification.
constexpr std::string_view kPlayListTrack = "play mp3 notify";

bool IsMusicExtension(std::string_view file) {
    const std::string last = LowerAscii(LastChars(file, 4));
    return last == ".mp3" || last == ".wav" || last == ".mid";
}

// The path as the open command carries it. Where short names are switched off
// the short form keeps its blanks, and the command would split at them.
std::string OpenArgument(const std::string& path) {
    if (path.find(' ') == std::string::npos) return path;
    return '"' + path + '"';
}

} // namespace

MusicPlayer::MusicPlayer(platform::Platform& platform, platform::MediaDevice& media,
                         platform::AudioNotifyWindow& notifyWindow)
    : platform_(platform), media_(media), notifyWindow_(notifyWindow) {}

bool MusicPlayer::Send(const std::string& command, bool notify) {
    return media_.SendCommand(command, notify);
}

bool MusicPlayer::LoadPlaylist(std::string_view file) {
    const std::string listName(TrimSpaces(file));
    track_ = 0;
    if (listName.empty() || !platform_.files.NormalFileExists(listName)) return false;

    std::unique_ptr<platform::ByteStream> stream;
    try {
        stream = platform_.files.OpenForReading(listName);
    } catch (const RuntimeError& error) {
        platform_.messages.Show("Module: modAudio\r" + std::to_string(error.Number()) + " " +
                                    error.Description(),
                                platform::MessageIcon::Exclamation, kAppTitle);
        return false;
    }
    auto reader = std::make_unique<PlaylistReader>(
        std::move(stream),
        [&files = platform_.files](std::string_view text) { return files.AnsiToUtf8(text); });

    // The first track found replaces an earlier list; a load that finds
    // none leaves it as it was.
    std::vector<std::string> oldTracks = std::move(tracks_);
    std::unique_ptr<PlaylistReader> oldReader = std::move(reader_);
    std::string oldFolder = std::move(folder_);
    tracks_.assign(1, std::string());
    reader_ = std::move(reader);
    folder_ = WithTrailingBackslash(FolderPart(file));
    if (!FindNextTrack()) {
        tracks_ = std::move(oldTracks);
        reader_ = std::move(oldReader);
        folder_ = std::move(oldFolder);
        return false;
    }
    track_ = 1;
    failuresInARow_ = 0;
    return true;
}

bool MusicPlayer::FindNextTrack() {
    if (!reader_) return false;
    if (static_cast<int>(tracks_.size()) - 1 >= kMaxTracks) {
        reader_.reset();
        return false;
    }
    while (auto entry = reader_->NextEntry()) {
        if (platform_.files.NormalFileExists(*entry)) {
            tracks_.push_back(std::move(*entry));
            return true;
        }
        if (platform_.files.NormalFileExists(folder_ + *entry)) {
            tracks_.push_back(folder_ + *entry);
            return true;
        }
    }
    reader_.reset();
    return false;
}

int MusicPlayer::FollowingTrack() {
    const int next = track_ + 1;
    if (next < static_cast<int>(tracks_.size()) || FindNextTrack()) return next;
    return 1;
}

bool MusicPlayer::TryPlay(const std::string& file, std::string_view play) {
    if (file.empty() || !platform_.files.NormalFileExists(file) || !IsMusicExtension(file))
        return false;

    std::string shortPath = media_.ShortPath(file);
    // Without a short form the file is still opened, under its own name.
    if (shortPath.empty()) shortPath = file;

    Send("close mp3", false);
    if (!Send("open " + OpenArgument(shortPath) + " type MPEGVideo Alias mp3", false)) return false;
    const bool notify = play == kPlayListTrack;
    if (notify && !notifyWindow_.Loaded()) LoadNotifyWindow();
    return Send(std::string(play), notify);
}

void MusicPlayer::Play(std::string_view file, PlayMode mode) {
    playingList_ = false;
    TryPlay(std::string(file),
            mode == PlayMode::Repeat ? "play mp3 fullscreen repeat" : "play mp3");
}

bool MusicPlayer::WholeRoundFailed() const {
    return !reader_ && failuresInARow_ >= static_cast<int>(tracks_.size()) - 1;
}

void MusicPlayer::PlayFromCurrent() {
    playingList_ = true;
    for (;;) {
        if (TryPlay(tracks_[static_cast<std::size_t>(track_)], kPlayListTrack)) return;
        ++failuresInARow_;
        if (WholeRoundFailed()) {
            Stop();
            return;
        }
        track_ = static_cast<std::int16_t>(FollowingTrack());
    }
}

void MusicPlayer::PlayTrack() {
    if (track_ < 1 || static_cast<std::size_t>(track_) >= tracks_.size()) return;
    failuresInARow_ = 0;
    PlayFromCurrent();
}

void MusicPlayer::Stop() {
    playingList_ = false;
    Send("close mp3", false);
}

void MusicPlayer::NextTrack() {
    if (tracks_.size() < 2) return; // no list was ever loaded
    failuresInARow_ = 0;
    track_ = static_cast<std::int16_t>(FollowingTrack());
    PlayFromCurrent();
}

void MusicPlayer::PreviousTrack() {
    const int highest = static_cast<int>(tracks_.size()) - 1;
    if (highest < 1) return; // no list was ever loaded
    int track = track_ - 1;
    if (track < 1) track = 1;
    if (track > highest) track = highest;
    track_ = static_cast<std::int16_t>(track);
    failuresInARow_ = 0;
    PlayFromCurrent();
}

void MusicPlayer::LoadNotifyWindow() {
    // Without the window a playlist does not advance by itself; the music
    // still plays.
    notifyWindow_.Load();
}

void MusicPlayer::UnloadNotifyWindow() {
    notifyWindow_.Unload();
}

void MusicPlayer::OnMciNotify(std::uintptr_t status) {
    if (!playingList_ || tracks_.size() < 2 || track_ < 1) return;
    if (status == kNotifySuccessful) {
        failuresInARow_ = 0;
    } else if (status == kNotifyFailure) {
        // The track could not be played to its end.
        ++failuresInARow_;
        if (WholeRoundFailed()) {
            Stop();
            return;
        }
    } else {
        return;
    }
    track_ = static_cast<std::int16_t>(FollowingTrack());
    PlayFromCurrent();
}

std::string MusicPlayer::CurrentTrack() const {
    if (track_ < 1 || static_cast<std::size_t>(track_) >= tracks_.size()) return {};
    return tracks_[static_cast<std::size_t>(track_)];
}

} // namespace orv::audio
