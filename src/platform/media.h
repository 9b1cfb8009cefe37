// The media device behind the music: command strings in, and a notification
// window that receives the end-of-track messages. The music module builds
// every command; these only carry them to the platform.
//
// A device can take long to answer (a file it decodes slowly) or never
// answer at all, so the device is used only on the media worker's thread:
// the music hands the worker jobs, which run one after another in the order
// given, and learns on its own thread which job has run.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_system.h"

namespace orv::platform {

class MediaDevice {
  public:
    virtual ~MediaDevice() = default;
    // Sends one command string; true when the device carried it out. With
    // `notify` the command names the notification window as the receiver of
    // its end-of-play message, if the window was loaded when the job was
    // handed over; otherwise it names none.
    virtual bool SendCommand(const std::string& command, bool notify) = 0;
    // The short form of an existing file's path; empty on failure. Where
    // short names are switched off it is the long path, blanks included.
    virtual std::string ShortPath(const std::string& path) = 0;
    // A window of the device's own that is never shown, as the number the
    // commands name it by: the parent of whatever the media stack opens for
    // a file, so that nothing it shows is seen or takes the keyboard.
    virtual std::string HiddenWindow() = 0;
};

// What a job works with on the worker's thread: the worker's own device, and
// a file system (one without state, which other threads may use too); both
// live as long as the worker does.
struct MediaTools {
    MediaDevice& device;
    FileSystem& files;
};

class MediaWorker {
  public:
    using Job = std::function<void(MediaTools&)>;
    virtual ~MediaWorker() = default;
    // Queues the job and returns at once; it runs after every job handed
    // over before it. The job owns what it touches besides the tools.
    virtual void Post(std::uint64_t id, Job job) = 0;
    // Receives, on the thread that posts, the id of every job that has run
    // (0 stands for "no answer wanted" and is never reported).
    virtual void OnDone(std::function<void(std::uint64_t)> done) = 0;
};

// The notification window: while it is loaded, the end-of-play messages of
// the commands that name it reach the music; while it is not, commands name
// no window and such messages are dropped, so a playlist does not advance by
// itself. Loading a loaded window does nothing; so does unloading one that
// is not loaded.
class AudioNotifyWindow {
  public:
    virtual ~AudioNotifyWindow() = default;
    virtual void Load() = 0;
    virtual void Unload() = 0;
    virtual bool Loaded() const = 0;
};

} // namespace orv::platform
