// The media worker: a thread of its own that runs the music's jobs one
// after another, in order (common/serial_jobs.h), with the device and file
// system they use, and the notification window's rule: a notify command
// names the window only if it was loaded when its job was handed over, and
// an end of play reaches the music only while it is loaded. What the thread
// needs of the system (waiting for work while it handles its own messages,
// telling the owner's thread that jobs have run, the end-of-play messages)
// comes through MediaThread.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "common/serial_jobs.h"
#include "platform/media.h"

namespace orv::audio {

class MediaThread {
  public:
    // What the owner's thread is told, on that thread, once the message
    // comes: that jobs have run (after JobsDone), and each end of play with
    // its status.
    struct Listener {
        std::function<void()> jobsDone;
        std::function<void(std::uintptr_t status)> endOfPlay;
    };
    virtual ~MediaThread() = default;
    virtual void Listen(Listener listener) = 0;
    // From any thread, never blocking: the worker may have work.
    virtual void Wake() = 0;
    // On the worker's thread: handles its messages; waits until woken or a
    // message comes (it may return earlier).
    virtual void Pump() = 0;
    virtual void Wait() = 0;
    // On the worker's thread, never blocking: jobs have run.
    virtual void JobsDone() = 0;
};

class MediaWorkerThread final : public platform::MediaWorker, public platform::AudioNotifyWindow {
  public:
    // The device is used and destroyed on the worker's thread alone (the
    // windows it makes belong to that thread); `files` must outlive the
    // worker. `endOfPlay` hears each end of play while the window is loaded.
    MediaWorkerThread(MediaThread& thread, std::unique_ptr<platform::MediaDevice> device,
                      platform::FileSystem& files, std::function<void(std::uintptr_t)> endOfPlay);
    // Joins the thread: Stop has let it end, or it has nothing left to do.
    ~MediaWorkerThread() override;
    MediaWorkerThread(const MediaWorkerThread&) = delete;
    MediaWorkerThread& operator=(const MediaWorkerThread&) = delete;

    void Post(std::uint64_t id, Job job) override;
    void OnDone(std::function<void(std::uint64_t)> done) override { done_ = std::move(done); }
    // Lets the queued jobs run up to `limit`, then takes no more; true when
    // the thread has nothing left to do and ends.
    bool Stop(std::chrono::milliseconds limit) { return jobs_.Close(limit); }

    void Load() override { loaded_ = true; }
    void Unload() override { loaded_ = false; }
    bool Loaded() const override { return loaded_; }

  private:
    void Run() noexcept;

    MediaThread& thread_;
    std::unique_ptr<platform::MediaDevice> device_;
    platform::FileSystem& files_;
    std::function<void(std::uintptr_t)> endOfPlay_;
    std::function<void(std::uint64_t)> done_;
    bool loaded_ = false;
    SerialJobs jobs_;
    std::thread worker_;
};

} // namespace orv::audio
