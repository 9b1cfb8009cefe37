// The background music. Holds the track list of a playlist and the current
// track, sends the media command strings for one device under the alias
// "mp3", and advances a playlist when a track ends. A playlist is read as it
// is needed: loading it finds the first track, and later tracks are looked
// up when the list gets to them, so a list of any length starts at once.
// A track that cannot be opened or played is skipped; after a whole round
// in which nothing could be played the music stops. The slideshow and the
// settings dialog call it; the notification window hands the status of each
// end-of-track message to OnMciNotify.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/music_control.h"
#include "audio/playlist.h"
#include "platform/media.h"
#include "platform/platform.h"

namespace orv::audio {

class MusicPlayer : public MusicControl {
  public:
    MusicPlayer(platform::Platform& platform, platform::MediaDevice& media,
                platform::AudioNotifyWindow& notifyWindow);

    // Opens an M3U playlist and finds its first track; true when it found
    // one (then track 1 is current, and the list replaces an earlier one). A
    // file that cannot be opened is reported in a message box.
    bool LoadPlaylist(std::string_view file) override;
    // Plays the list's tracks with an end-of-track notification (loading the
    // notification window first), so the list advances by itself.
    void PlayTrack() override;
    // Plays one existing .mp3, .wav or .mid file, closing the device first:
    // "play mp3" once, or "play mp3 fullscreen repeat". A missing or
    // unsupported file sends nothing.
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
    // replaced) do nothing.
    void OnMciNotify(std::uintptr_t status);

    // The current slot, 0 when there is none.
    std::int16_t Track() const { return track_; }
    std::string CurrentTrack() const override;

    // Status values of the end-of-play notification.
    static constexpr std::uintptr_t kNotifySuccessful = 1, kNotifySuperseded = 2,
                                    kNotifyAborted = 4, kNotifyFailure = 8;

  private:
    bool Send(const std::string& command, bool notify);
    // Opens a file and starts it with `play` ("play mp3 notify" for a list
    // track); true when the device opened and started it.
    bool TryPlay(const std::string& file, std::string_view play);
    // The next track of the open playlist that exists, appended to the list;
    // false at the list's end (or its limit).
    bool FindNextTrack();
    // The slot after the current one, wrapping to the first at the end.
    int FollowingTrack();
    // Plays the current track or, when it cannot be played, the ones after
    // it; stops once every track has failed in a row.
    void PlayFromCurrent();
    // Every track of a fully read list failed, one after another.
    bool WholeRoundFailed() const;

    platform::Platform& platform_;
    platform::MediaDevice& media_;
    platform::AudioNotifyWindow& notifyWindow_;
    std::vector<std::string> tracks_;
    std::int16_t track_ = 0;
    // The playlist still being read, and the folder its names are relative to.
    std::unique_ptr<PlaylistReader> reader_;
    std::string folder_;
    // Tracks that failed one after another, across end-of-track messages.
    int failuresInARow_ = 0;
    // The list is playing (its end notifications advance it), not a file
    // by itself.
    bool playingList_ = false;
};

} // namespace orv::audio
