// The music calls the windows make, behind a small seam so that the
// settings dialog's tests can record them; MusicPlayer is the real one.
#pragma once
#include <string>
#include <string_view>

namespace orv::audio {

// How a single file plays: once to its end, or over and over.
enum class PlayMode { Once, Repeat };

class MusicControl {
  public:
    virtual ~MusicControl() = default;
    // The notification window: loading it installs the end-of-track handler,
    // unloading it restores the window's own.
    virtual void LoadNotifyWindow() = 0;
    virtual void UnloadNotifyWindow() = 0;
    // Starts reading an M3U playlist; false when the name cannot be one.
    // The first track found becomes current.
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
    // The current track of the list, or empty.
    virtual std::string CurrentTrack() const = 0;
};

} // namespace orv::audio
