// The music's media work on Windows. Win32MediaDevice sends command strings
// through mciSendStringW and makes short paths through GetShortPathNameW;
// it lives on the media worker's thread, which alone calls it.
// Win32MediaWorker is that thread: it runs the music's jobs one after
// another, in order, pumping its own messages meanwhile (the media stack
// makes windows on the thread that opens a file). A message-only window on
// the thread that posts hears of finished jobs and is the music's
// notification window: the end-of-play messages of the media commands come
// to it. The worker owns the thread and everything it touches (device, file
// system, the job queue of common/serial_jobs.h). At the program's end Stop
// lets the jobs still queued (the closing of the device) run for a bounded
// time; a device that does not answer by then is left to the end of the
// process, which does not wait for it.
#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/media.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

class Win32MediaDevice : public platform::MediaDevice {
  public:
    bool SendCommand(const std::string& command, bool notify) override;
    std::string ShortPath(const std::string& path) override;
    // A hidden top-level window of the worker's thread, made on first use.
    std::string HiddenWindow() override;
    // The notification window that the commands of the next job name.
    void SetCallback(HWND callback) { callback_ = callback; }

  private:
    HWND callback_ = nullptr;
    unique_hwnd hidden_;
};

class Win32MediaWorker : public platform::MediaWorker, public platform::AudioNotifyWindow {
  public:
    // `onNotify` receives the status (wParam) of every end-of-play message
    // (MM_MCINOTIFY) that comes while the notification window is loaded.
    explicit Win32MediaWorker(std::function<void(std::uintptr_t)> onNotify,
                              std::unique_ptr<Win32MediaDevice> device = nullptr);
    ~Win32MediaWorker() override;
    Win32MediaWorker(const Win32MediaWorker&) = delete;
    Win32MediaWorker& operator=(const Win32MediaWorker&) = delete;

    void Post(std::uint64_t id, Job job) override;
    void OnDone(std::function<void(std::uint64_t)> done) override { done_ = std::move(done); }
    // Lets the queued jobs run up to `limit`, then takes no more; true when
    // the thread has nothing left to do and ends.
    bool Stop(std::chrono::milliseconds limit);

    // The notification window is the receiver: the notify commands of the
    // jobs posted while it is loaded name it as their callback.
    void Load() override { loaded_ = true; }
    void Unload() override { loaded_ = false; }
    bool Loaded() const override { return loaded_; }
    HWND Receiver() const { return receiver_; }

    // What the receiver hears: jobs that have run, an end of play.
    void ReportDone();
    void ReportNotify(std::uintptr_t status);

    struct Shared;

  private:
    std::function<void(std::uintptr_t)> onNotify_;
    std::shared_ptr<Shared> shared_;
    std::function<void(std::uint64_t)> done_;
    HWND receiver_ = nullptr; // owned by the window base
    bool loaded_ = false;
    std::thread thread_;
};

} // namespace orv::win32
