// The background music. Holds the track list of a playlist and the current
// track, sends the media command strings for one device under the alias
// "mp3", and advances a playlist when a track ends. The slideshow and the
// settings dialog call it; the notification window hands the status of each
// end-of-track message to OnMciNotify.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audio/music_control.h"
#include "platform/media.h"
#include "platform/platform.h"
#include "saver/program_state.h"

namespace orv::audio {

class MusicPlayer : public MusicControl {
  public:
    MusicPlayer(platform::Platform& platform, const saver::ProgramState& state,
                platform::MediaDevice& media, platform::AudioNotifyWindow& notifyWindow);

    // Reads an M3U playlist into the track list; true when it found a track
    // (then track 1 is current). A file that cannot be read is reported in a
    // message box.
    bool LoadPlaylist(std::string_view file) override;
    // Plays one existing .mp3, .wav or .mid file, closing the device first.
    // A playlist track (configured playlist, list position set) is played
    // with an end-of-track notification; anything else with "play mp3"
    // followed by playOptions. A missing or unsupported file sends nothing.
    void Play(std::string_view file, std::string_view playOptions) override;
    void Stop() override;
    // Next wraps from the last track to the first; Previous stops at the
    // first. Both do nothing while no list has ever been loaded.
    void NextTrack() override;
    void PreviousTrack() override;

    void LoadNotifyWindow() override;
    void UnloadNotifyWindow() override;
    // What the notification window does with an end-of-track message: only
    // a successful end (status 1) starts the next track.
    void OnMciNotify(std::uintptr_t status);

    // Slot 0 stays empty; slots 1 to N hold the tracks' paths.
    const std::vector<std::string>& Tracks() const { return tracks_; }
    // The current slot, 0 when there is none.
    std::int16_t Track() const { return track_; }
    std::string CurrentTrack() const override;

    // Status values of the end-of-play notification.
    static constexpr std::uintptr_t kNotifySuccessful = 1, kNotifySuperseded = 2,
                                    kNotifyAborted = 4, kNotifyFailure = 8;

  private:
    void Send(const std::string& command, bool notify);

    platform::Platform& platform_;
    const saver::ProgramState& state_;
    platform::MediaDevice& media_;
    platform::AudioNotifyWindow& notifyWindow_;
    std::vector<std::string> tracks_;
    std::int16_t track_ = 0;
};

} // namespace orv::audio
