// modAudio: the background music. Holds the track list of a playlist and the
// current track, sends the media command strings for one device under the
// alias "mp3", and advances a playlist when a track ends. The slideshow and
// the settings dialog call it; the notification window forwards end-of-track
// messages to AudioWindowProc.
//
// (Interface agreed between the subsystems; the music work fills it in.)
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

    // Reads an M3U playlist into strTracks; true when it found a track.
    bool LoadPlayList(std::string_view strFile);
    // Plays one file (closing the device first); see the rules in the .cpp.
    void PlayMusic(std::string_view strFile, std::string_view strPlayOptions);
    void StopMusic();
    void NextTrack();
    void PreviousTrack();

    // frmAudioNotify: load installs AudioWindowProc, unload restores the old one.
    void LoadNotifyWindow();
    void UnloadNotifyWindow();
    // What the notification window does with an end-of-track message.
    void OnMciNotify(std::uintptr_t status);

    const std::vector<std::string>& strTracks() const { return strTracks_; }
    std::int16_t intTrack() const { return intTrack_; }
    // The current track's path (slot intTrack), or empty.
    std::string CurrentTrack() const;

private:
    platform::Platform& platform_;
    modScreenSaver& module_;
    platform::MediaDevice& media_;
    platform::AudioNotifyWindow& notifyWindow_;
    std::vector<std::string> strTracks_;
    std::int16_t intTrack_ = 0;
};

} // namespace orv
