// The media device behind the music: command strings in, and a hidden
// notification window that receives the end-of-track message. The music
// module builds every command; these only carry them to the platform.
#pragma once
#include <string>

namespace orv::platform {

class MediaDevice {
  public:
    virtual ~MediaDevice() = default;
    // Sends one command string; true when the device carried it out. With
    // `notify` the notification window is named as the callback of the
    // command.
    virtual bool SendCommand(const std::string& command, bool notify) = 0;
    // The short form of an existing file's path; empty on failure. Where
    // short names are switched off it is the long path, blanks included.
    virtual std::string ShortPath(const std::string& path) = 0;
};

// The notification window: loading it (creating it first if needed) installs
// the music's window procedure, unloading it restores the one it had and
// destroys the window. Loading a loaded window does nothing; so does
// unloading one that is not loaded.
class AudioNotifyWindow {
  public:
    virtual ~AudioNotifyWindow() = default;
    virtual void Load() = 0;
    virtual void Unload() = 0;
    virtual bool Loaded() const = 0;
};

} // namespace orv::platform
