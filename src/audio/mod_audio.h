// modAudio: the background music. Holds the track list of a playlist and the
// current track, sends the media command strings for one device under the
// alias "mp3", and advances a playlist when a track ends. The slideshow and
// the settings dialog call it; the notification window forwards end-of-track
// messages to AudioWindowProc, which hands their status to OnMciNotify.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace orv {

struct modScreenSaver;
namespace platform {
class MediaDevice;
class AudioNotifyWindow;
} // namespace platform

class modAudio {
  public:
    modAudio(platform::Platform& platform, modScreenSaver& module, platform::MediaDevice& media,
             platform::AudioNotifyWindow& notifyWindow);

    // Reads an M3U playlist into strTracks; true when it found a track (then
    // intTrack is 1). A file that cannot be read is reported in a message box.
    bool LoadPlayList(std::string_view strFile);
    // Plays one existing .mp3, .wav or .mid file, closing the device first.
    // A playlist track (configured playlist, list position set) is played with
    // an end-of-track notification; anything else with "play mp3" followed by
    // strPlayOptions. A missing or unsupported file sends nothing at all.
    void PlayMusic(std::string_view strFile, std::string_view strPlayOptions);
    void StopMusic();
    // Next wraps from the last track to the first; Previous stops at the
    // first. Both do nothing while no list has ever been loaded.
    void NextTrack();
    void PreviousTrack();

    // frmAudioNotify: load installs AudioWindowProc, unload restores the old one.
    void LoadNotifyWindow();
    void UnloadNotifyWindow();
    // What the notification window does with an end-of-track message: only
    // a successful end (status 1) starts the next track.
    void OnMciNotify(std::uintptr_t status);

    const std::vector<std::string>& strTracks() const { return strTracks_; }
    std::int16_t intTrack() const { return intTrack_; }
    // The current track's path (slot intTrack), or empty.
    std::string CurrentTrack() const;

    // Status values of the end-of-play notification.
    static constexpr std::uintptr_t kNotifySuccessful = 1, kNotifySuperseded = 2,
                                    kNotifyAborted = 4, kNotifyFailure = 8;

  private:
    bool FileExists(const std::string& path);
    void Send(const std::string& command, bool notify);
    bool IsPlayList() const;

    platform::Platform& platform_;
    modScreenSaver& module_;
    platform::MediaDevice& media_;
    platform::AudioNotifyWindow& notifyWindow_;
    std::vector<std::string> strTracks_;
    std::int16_t intTrack_ = 0;
};

} // namespace orv
