#include "audio/mod_audio.h"

#include <limits>

#include "audio/mod_strings.h"
#include "audio/playlist.h"
#include "common/app_title.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "platform/media.h"
#include "startup/mod_screen_saver.h"

namespace orv {
namespace {

// intTrack is 16 bits wide: a list never holds more tracks than it can reach.
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

modAudio::modAudio(platform::Platform& platform, modScreenSaver& module,
                   platform::MediaDevice& media, platform::AudioNotifyWindow& notifyWindow)
    : platform_(platform), module_(module), media_(media), notifyWindow_(notifyWindow) {}

bool modAudio::FileExists(const std::string& path) {
    try {
        return platform_.files.NormalFileExists(path);
    } catch (const RuntimeError&) {
        return false; // a name that cannot be searched counts as missing
    }
}

void modAudio::Send(const std::string& command, bool notify) {
    try {
        media_.SendCommand(command, notify);
    } catch (const RuntimeError&) {
        // The device's answer is never looked at; a failing command is skipped.
    }
}

bool modAudio::IsPlayList() const {
    return module_.objPicSS && module_.objPicSS->IsPlayList();
}

bool modAudio::LoadPlayList(std::string_view strFile) {
    const std::string listName(TrimSpaces(strFile));
    intTrack_ = 0;
    if (listName.empty() || !FileExists(listName)) return false;
    const std::string folder = WithTrailingBackslash(ExtractPath(strFile));

    std::string text;
    try {
        text = platform_.files.ReadAnsiText(listName);
    } catch (const RuntimeError& error) {
        platform_.messages.Show("Module: modAudio\r" + std::to_string(error.Number()) + " " +
                                    error.Description(),
                                platform::kExclamation, kAppTitle);
        return false;
    }

    int count = 0;
    for (const std::string_view line : SplitPlayListLines(text)) {
        if (count == kMaxTracks) break;
        const std::string entry(PlayListEntry(line));
        if (entry.empty()) continue;
        std::string track;
        if (FileExists(entry))
            track = entry;
        else if (FileExists(folder + entry))
            track = folder + entry;
        else
            continue;
        // The first track found replaces an earlier list; a load that finds
        // none leaves it as it was.
        ++count;
        strTracks_.resize(static_cast<std::size_t>(count) + 1);
        strTracks_[0].clear();
        strTracks_[static_cast<std::size_t>(count)] = std::move(track);
    }
    if (count == 0) return false;
    intTrack_ = 1;
    return true;
}

void modAudio::PlayMusic(std::string_view strFile, std::string_view strPlayOptions) {
    const std::string file(strFile);
    if (file.empty() || !FileExists(file) || !IsMusicExtension(file)) return;

    std::string path;
    try {
        path = media_.ShortPath(file);
    } catch (const RuntimeError&) {
    }
    // Without a short form the file is still opened, under its own name.
    if (path.empty()) path = file;

    Send("close mp3", false);
    Send("open " + OpenArgument(path) + " type MPEGVideo Alias mp3", false);
    if (IsPlayList() && intTrack_ > 0) {
        if (!notifyWindow_.Loaded()) LoadNotifyWindow();
        Send("play mp3 notify", true);
    } else {
        Send("play mp3" + std::string(strPlayOptions), false);
    }
}

void modAudio::StopMusic() {
    Send("close mp3", false);
}

void modAudio::NextTrack() {
    const int highest = static_cast<int>(strTracks_.size()) - 1;
    if (highest < 1) return; // no list was ever loaded
    int track = intTrack_ + 1;
    if (track > highest) track = 1;
    intTrack_ = static_cast<std::int16_t>(track);
    PlayMusic(strTracks_[static_cast<std::size_t>(track)], "");
}

void modAudio::PreviousTrack() {
    const int highest = static_cast<int>(strTracks_.size()) - 1;
    if (highest < 1) return; // no list was ever loaded
    int track = intTrack_ - 1;
    if (track < 1) track = 1;
    if (track > highest) track = highest;
    intTrack_ = static_cast<std::int16_t>(track);
    PlayMusic(strTracks_[static_cast<std::size_t>(track)], "");
}

void modAudio::LoadNotifyWindow() {
    try {
        notifyWindow_.Load();
    } catch (const RuntimeError&) {
        // Without the window a playlist does not advance by itself; the music still plays.
    }
}

void modAudio::UnloadNotifyWindow() {
    notifyWindow_.Unload();
}

void modAudio::OnMciNotify(std::uintptr_t status) {
    if (status == kNotifySuccessful) NextTrack();
}

std::string modAudio::CurrentTrack() const {
    if (intTrack_ < 1 || static_cast<std::size_t>(intTrack_) >= strTracks_.size()) return {};
    return strTracks_[static_cast<std::size_t>(intTrack_)];
}

} // namespace orv
