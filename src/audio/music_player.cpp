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

MusicPlayer::MusicPlayer(platform::Platform& platform, const saver::ProgramState& state,
                         platform::MediaDevice& media, platform::AudioNotifyWindow& notifyWindow)
    : platform_(platform), state_(state), media_(media), notifyWindow_(notifyWindow) {}

void MusicPlayer::Send(const std::string& command, bool notify) {
    // The device's answer is never looked at; a failing command is skipped.
    media_.SendCommand(command, notify);
}

bool MusicPlayer::LoadPlaylist(std::string_view file) {
    const std::string listName(TrimSpaces(file));
    track_ = 0;
    if (listName.empty() || !platform_.files.NormalFileExists(listName)) return false;
    const std::string folder = WithTrailingBackslash(FolderPart(file));

    std::string text;
    try {
        text = platform_.files.ReadAnsiText(listName);
    } catch (const RuntimeError& error) {
        platform_.messages.Show("Module: modAudio\r" + std::to_string(error.Number()) + " " +
                                    error.Description(),
                                platform::MessageIcon::Exclamation, kAppTitle);
        return false;
    }

    int count = 0;
    for (const std::string_view line : SplitPlaylistLines(text)) {
        if (count == kMaxTracks) break;
        const std::string entry(PlaylistEntry(line));
        if (entry.empty()) continue;
        std::string track;
        if (platform_.files.NormalFileExists(entry))
            track = entry;
        else if (platform_.files.NormalFileExists(folder + entry))
            track = folder + entry;
        else
            continue;
        // The first track found replaces an earlier list; a load that finds
        // none leaves it as it was.
        ++count;
        tracks_.resize(static_cast<std::size_t>(count) + 1);
        tracks_[0].clear();
        tracks_[static_cast<std::size_t>(count)] = std::move(track);
    }
    if (count == 0) return false;
    track_ = 1;
    return true;
}

void MusicPlayer::Play(std::string_view file, std::string_view playOptions) {
    const std::string path(file);
    if (path.empty() || !platform_.files.NormalFileExists(path) || !IsMusicExtension(path)) return;

    std::string shortPath = media_.ShortPath(path);
    // Without a short form the file is still opened, under its own name.
    if (shortPath.empty()) shortPath = path;

    Send("close mp3", false);
    Send("open " + OpenArgument(shortPath) + " type MPEGVideo Alias mp3", false);
    if (state_.PlaylistConfigured() && track_ > 0) {
        if (!notifyWindow_.Loaded()) LoadNotifyWindow();
        Send("play mp3 notify", true);
    } else {
        Send("play mp3" + std::string(playOptions), false);
    }
}

void MusicPlayer::Stop() {
    Send("close mp3", false);
}

void MusicPlayer::NextTrack() {
    const int highest = static_cast<int>(tracks_.size()) - 1;
    if (highest < 1) return; // no list was ever loaded
    int track = track_ + 1;
    if (track > highest) track = 1;
    track_ = static_cast<std::int16_t>(track);
    Play(tracks_[static_cast<std::size_t>(track)], "");
}

void MusicPlayer::PreviousTrack() {
    const int highest = static_cast<int>(tracks_.size()) - 1;
    if (highest < 1) return; // no list was ever loaded
    int track = track_ - 1;
    if (track < 1) track = 1;
    if (track > highest) track = highest;
    track_ = static_cast<std::int16_t>(track);
    Play(tracks_[static_cast<std::size_t>(track)], "");
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
    if (status == kNotifySuccessful) NextTrack();
}

std::string MusicPlayer::CurrentTrack() const {
    if (track_ < 1 || static_cast<std::size_t>(track_) >= tracks_.size()) return {};
    return tracks_[static_cast<std::size_t>(track_)];
}

} // namespace orv::audio
