// The music calls that the settings dialog and the show make, behind a small
// seam so that their tests can record them; MusicPlayer is the real one.
#pragma once
#include <string_view>

namespace orv::audio {

// How a single file plays: once to its end, or over and over.
enum class PlayMode { Once, Repeat };

class MusicControl {
  public:
    virtual ~MusicControl() = default;
    // The notification window: while it is loaded, the end of a list's track
    // starts the next one; unloaded, the list no longer advances by itself.
    virtual void LoadNotifyWindow() = 0;
    virtual void UnloadNotifyWindow() = 0;
    // Starts reading an M3U playlist; false when the name cannot be one (it
    // is empty or a device). The first track found becomes current; a list
    // without one keeps the earlier tracks, none of them current.
    virtual bool LoadPlaylist(std::string_view file) = 0;
    // Plays the list from its current track (from its first, once a list
    // being read has found it), skipping tracks that cannot be played; each
    // track's end starts the next.
    virtual void PlayTrack() = 0;
    // Plays one file by itself, in the mode asked for; the list (if any)
    // no longer advances.
    virtual void Play(std::string_view file, PlayMode mode) = 0;
    virtual void Stop() = 0;
    virtual void NextTrack() = 0;
    virtual void PreviousTrack() = 0;
};

} // namespace orv::audio
