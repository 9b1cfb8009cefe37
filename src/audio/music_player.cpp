#include "audio/music_player.h"

#include <limits>
#include <utility>

#include "audio/music_file.h"
#include "audio/playlist.h"
#include "common/app_title.h"
#include "common/paths.h"
#include "common/text.h"

namespace orv::audio {
namespace {

// The track number is 16 bits wide: a list never holds more tracks than it
// can reach.
constexpr int kMaxTracks = std::numeric_limits<std::int16_t>::max();
// A list track plays with an end-of-track notification.
constexpr std::string_view kPlayListTrack = "play mp3 notify";

// The path as the open command carries it. Where short names are switched off
// the short form keeps its blanks, and the command would split at them.
std::string OpenArgument(const std::string& path) {
    if (path.find(' ') == std::string::npos) return path;
    return '"' + path + '"';
}

} // namespace

MusicPlayer::MusicPlayer(platform::Platform& platform, platform::MediaWorker& worker,
                         platform::AudioNotifyWindow& notifyWindow)
    : platform_(platform), worker_(worker), notifyWindow_(notifyWindow) {
    worker_.OnDone([this](std::uint64_t id) { OnJobDone(id); });
}

void MusicPlayer::RunTrack(TrackJob& job, platform::MediaTools& tools) {
    if (!IsMusicFileName(job.file) || !tools.files.PlainDiskFileExists(job.file)) return;
    std::string shortPath = tools.device.ShortPath(job.file);
    // Without a short form the file is still opened, under its own name.
    if (shortPath.empty()) shortPath = job.file;

    tools.device.SendCommand("close mp3", false);
    // Whatever the media stack shows for the file (a picture or a video
    // under a music name) goes into a window that is never shown.
    if (!tools.device.SendCommand("open " + OpenArgument(shortPath) +
                                      " type MPEGVideo Alias mp3 style child parent " +
                                      tools.device.HiddenWindow(),
                                  false))
        return;
    job.played = tools.device.SendCommand(job.play, job.play == kPlayListTrack);
}

void MusicPlayer::RunSearch(SearchJob& job, platform::MediaTools& tools) {
    if (!job.list.empty()) {
        if (!tools.files.NormalFileExists(job.list)) return;
        platform::OpenedFile opened = tools.files.OpenForReading(job.list);
        if (opened.error) {
            job.error = std::move(opened.error);
            return;
        }
        job.reader = std::make_unique<PlaylistReader>(
            std::move(opened.stream),
            [&files = tools.files](std::string_view text) { return files.AnsiToUtf8(text); });
    }
    if (!job.reader) return;
    while (auto entry = job.reader->NextEntry()) {
        if (IsDeviceName(*entry)) continue;
        if (tools.files.NormalFileExists(*entry)) {
            job.found = std::move(*entry);
            return;
        }
        if (tools.files.NormalFileExists(job.folder + *entry)) {
            job.found = job.folder + *entry;
            return;
        }
    }
    job.reader.reset();
}

bool MusicPlayer::LoadPlaylist(std::string_view file) {
    const std::string listName(TrimSpaces(file));
    track_ = 0;
    if (listName.empty() || IsDeviceName(listName)) return false;
    auto job = std::make_shared<SearchJob>();
    job->list = listName;
    job->folder = WithTrailingBackslash(FolderPart(file));
    playAfterSearch_ = false;
    StartSearch(std::move(job), true);
    return true;
}

void MusicPlayer::StartSearch(std::shared_ptr<SearchJob> job, bool load) {
    search_ = job;
    searchLoads_ = load;
    searchId_ = ++lastJob_;
    worker_.Post(searchId_, [job](platform::MediaTools& tools) { RunSearch(*job, tools); });
}

void MusicPlayer::FinishSearch() {
    const std::shared_ptr<SearchJob> job = std::move(search_);
    searchId_ = 0;
    const bool play = playAfterSearch_;
    playAfterSearch_ = false;
    if (searchLoads_) {
        if (job->error) {
            platform_.messages.Show("Module: modAudio\r" + std::to_string(job->error->Number()) +
                                        " " + job->error->Description(),
                                    platform::MessageIcon::Exclamation, kAppTitle);
            return;
        }
        // A list without a track leaves the earlier one as it was.
        if (!job->found) return;
        tracks_.assign(1, std::string());
        tracks_.push_back(std::move(*job->found));
        reader_ = std::move(job->reader);
        folder_ = std::move(job->folder);
        track_ = 1;
        failuresInARow_ = 0;
        if (play) PlayFromCurrent();
        return;
    }
    reader_ = std::move(job->reader);
    if (job->found) tracks_.push_back(std::move(*job->found));
    if (!play) return;
    if (job->found) {
        track_ = static_cast<std::int16_t>(tracks_.size() - 1);
    } else if (WholeRoundFailed()) {
        Stop();
        return;
    } else {
        track_ = 1;
    }
    PlayFromCurrent();
}

void MusicPlayer::Advance() {
    if (searchId_) {
        playAfterSearch_ = true; // the search under way gets there
        return;
    }
    const int next = track_ + 1;
    if (next < static_cast<int>(tracks_.size())) {
        track_ = static_cast<std::int16_t>(next);
        PlayFromCurrent();
        return;
    }
    if (static_cast<int>(tracks_.size()) - 1 >= kMaxTracks) reader_.reset();
    if (reader_) {
        playId_ = 0; // the track before no longer counts
        auto job = std::make_shared<SearchJob>();
        job->reader = std::move(reader_);
        job->folder = folder_;
        playAfterSearch_ = true;
        StartSearch(std::move(job), false);
        return;
    }
    if (WholeRoundFailed()) {
        Stop();
        return;
    }
    track_ = 1;
    PlayFromCurrent();
}

void MusicPlayer::PlayFromCurrent() {
    playingList_ = true;
    if (!notifyWindow_.Loaded()) LoadNotifyWindow();
    play_ = std::make_shared<TrackJob>();
    play_->file = tracks_[static_cast<std::size_t>(track_)];
    play_->play = kPlayListTrack;
    heldNotify_ = 0;
    playId_ = ++lastJob_;
    worker_.Post(playId_, [job = play_](platform::MediaTools& tools) { RunTrack(*job, tools); });
}

void MusicPlayer::FinishPlay() {
    const std::shared_ptr<TrackJob> job = std::move(play_);
    playId_ = 0;
    const std::uintptr_t held = std::exchange(heldNotify_, 0);
    if (job->played) {
        if (held) OnMciNotify(held);
        return;
    }
    ++failuresInARow_;
    if (WholeRoundFailed()) {
        Stop();
        return;
    }
    Advance();
}

void MusicPlayer::OnJobDone(std::uint64_t id) {
    // Anything else answers a job that no longer counts.
    if (id != 0 && id == playId_)
        FinishPlay();
    else if (id != 0 && id == searchId_)
        FinishSearch();
}

void MusicPlayer::Play(std::string_view file, PlayMode mode) {
    playingList_ = false;
    playAfterSearch_ = false;
    playId_ = 0;
    auto job = std::make_shared<TrackJob>();
    job->file = std::string(file);
    job->play = mode == PlayMode::Repeat ? "play mp3 repeat" : "play mp3";
    worker_.Post(0, [job](platform::MediaTools& tools) { RunTrack(*job, tools); });
}

bool MusicPlayer::WholeRoundFailed() const {
    return !reader_ && !searchId_ && failuresInARow_ >= static_cast<int>(tracks_.size()) - 1;
}

void MusicPlayer::PlayTrack() {
    failuresInARow_ = 0;
    if (searchId_) {
        playAfterSearch_ = true;
        return;
    }
    if (track_ < 1 || static_cast<std::size_t>(track_) >= tracks_.size()) return;
    PlayFromCurrent();
}

void MusicPlayer::Stop() {
    playingList_ = false;
    playAfterSearch_ = false;
    playId_ = 0;
    worker_.Post(0,
                 [](platform::MediaTools& tools) { tools.device.SendCommand("close mp3", false); });
}

void MusicPlayer::NextTrack() {
    if (searchId_ && searchLoads_) {
        playAfterSearch_ = true;
        return;
    }
    if (tracks_.size() < 2) return; // no list was ever loaded
    failuresInARow_ = 0;
    Advance();
}

void MusicPlayer::PreviousTrack() {
    const int highest = static_cast<int>(tracks_.size()) - 1;
    if (highest < 1) return; // no list was ever loaded
    playAfterSearch_ = false;
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
    if (status != kNotifySuccessful && status != kNotifyFailure) return;
    if (playId_) {
        heldNotify_ = status;
        return;
    }
    if (searchId_) return; // no track plays while the list is searched
    if (status == kNotifySuccessful) {
        failuresInARow_ = 0;
    } else {
        // The track could not be played to its end.
        ++failuresInARow_;
        if (WholeRoundFailed()) {
            Stop();
            return;
        }
    }
    Advance();
}

} // namespace orv::audio
