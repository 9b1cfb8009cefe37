// The background music. Holds the track list of a playlist and the current
// track, builds the media command strings for one device under the alias
// "mp3", and advances a playlist when a track ends. Nothing here waits for
// the device or the disk: opening and playing a track, reading a playlist
// and looking for its tracks are jobs for the media worker, each with an
// identity; the answer to a job that is no longer current (a track Alt+N
// has left, a list read again) is dropped. A playlist is read as it is
// needed: loading it finds the first track, and later tracks are looked up
// when the list gets to them, so a list of any length starts at once.
// A track that cannot be opened or played is skipped, one try per answer of
// the worker; after a whole round in which nothing could be played the music
// stops. The slideshow and the settings dialog call it; the notification
// window hands the status of each end-of-track message to OnMciNotify.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/music_control.h"
#include "audio/playlist.h"
#include "common/errors.h"
#include "platform/media.h"
#include "platform/platform.h"

namespace orv::audio {

class MusicPlayer : public MusicControl {
  public:
    MusicPlayer(platform::Platform& platform, platform::MediaWorker& worker,
                platform::AudioNotifyWindow& notifyWindow);

    // Starts reading an M3U playlist; false for an empty name or a device.
    // The first track found replaces an earlier list (a list without one
    // leaves it as it was) and becomes track 1; a file that cannot be
    // opened is reported in a message box.
    bool LoadPlaylist(std::string_view file) override;
    // Plays the list's tracks with an end-of-track notification (loading the
    // notification window first), so the list advances by itself.
    void PlayTrack() override;
    // Plays one .mp3, .wav or .mid plain disk file, closing the device first:
    // "play mp3" once, or "play mp3 repeat". A missing or unsupported file,
    // or a device, sends nothing.
    void Play(std::string_view file, PlayMode mode) override;
    void Stop() override;
    // Next wraps from the last track to the first; Previous stops at the
    // first. Both do nothing while no list has ever been loaded.
    void NextTrack() override;
    void PreviousTrack() override;

    void LoadNotifyWindow() override;
    void UnloadNotifyWindow() override;
    // What the notification window does with an end-of-track message while
    // the list plays: a successful end (status 1) starts the next track, a
    // failure (status 8) skips to it; the others (a track stopped or
    // replaced) do nothing. One that comes while a track is being opened
    // counts once the open has succeeded.
    void OnMciNotify(std::uintptr_t status);
    // The worker has run the job `id`.
    void OnJobDone(std::uint64_t id);

    // Status values of the end-of-play notification.
    static constexpr std::uintptr_t kNotifySuccessful = 1, kNotifySuperseded = 2,
                                    kNotifyAborted = 4, kNotifyFailure = 8;

    // A track to open and start, and whether that worked.
    struct TrackJob {
        std::string file;
        std::string play; // the play command
        bool played = false;
    };
    // A search for the next track of a playlist, opening the list first
    // when `list` names one.
    struct SearchJob {
        std::string list;
        std::unique_ptr<PlaylistReader> reader;
        std::string folder;
        std::optional<std::string> found;
        std::optional<RuntimeError> error; // the list could not be opened
    };
    // What the worker runs for them.
    static void RunTrack(TrackJob& job, platform::MediaTools& tools);
    static void RunSearch(SearchJob& job, platform::MediaTools& tools);

  private:
    // Hands the current track to the worker.
    void PlayFromCurrent();
    // Moves on to the track after the current one (wrapping to the first at
    // the list's end, reading the list further when needed) and plays it.
    void Advance();
    void StartSearch(std::shared_ptr<SearchJob> job, bool load);
    void FinishPlay();
    void FinishSearch();
    // Every track of a fully read list failed, one after another.
    bool WholeRoundFailed() const;

    platform::Platform& platform_;
    platform::MediaWorker& worker_;
    platform::AudioNotifyWindow& notifyWindow_;
    std::vector<std::string> tracks_;
    std::int16_t track_ = 0;
    // The playlist still being read (while a search runs, the search has
    // it), and the folder its names are relative to.
    std::unique_ptr<PlaylistReader> reader_;
    std::string folder_;
    // Tracks that failed one after another, across end-of-track messages.
    int failuresInARow_ = 0;
    // The list is playing (its end notifications advance it), not a file
    // by itself.
    bool playingList_ = false;

    // The jobs whose answers still count (0: none), and their data.
    std::uint64_t lastJob_ = 0;
    std::uint64_t playId_ = 0, searchId_ = 0;
    std::shared_ptr<TrackJob> play_;
    std::shared_ptr<SearchJob> search_;
    bool searchLoads_ = false;     // the search reads a new list
    bool playAfterSearch_ = false; // its track is to be played
    // An end of a track that came while the next was being opened.
    std::uintptr_t heldNotify_ = 0;
};

} // namespace orv::audio
