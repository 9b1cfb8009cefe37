// The media device behind the music: command strings in, and a hidden
// notification window that receives the end-of-track message.
#pragma once
#include <string>

namespace orv::platform {

class MediaDevice {
public:
    virtual ~MediaDevice() = default;
    // Sends one command string. With `notify` the notification window is
    // named as the callback of the command. Errors of the device are ignored.
    virtual void SendCommand(const std::string& command, bool notify) = 0;
    // The short form of an existing file's path; empty on failure.
    virtual std::string ShortPath(const std::string& path) = 0;
};

// frmAudioNotify: loading it installs the music module's window procedure,
// unloading it restores the one it had.
class AudioNotifyWindow {
public:
    virtual ~AudioNotifyWindow() = default;
    virtual void Load() = 0;
    virtual void Unload() = 0;
    virtual bool Loaded() const = 0;
};

} // namespace orv::platform
