// The music's media work on Windows. Win32MediaDevice sends command strings
// through mciSendStringW, naming the notification window for a notify
// command, and makes short paths through GetShortPathNameW; it lives on the
// media worker's thread (audio/media_worker.h), which alone calls it.
// Win32MediaThread is what that thread needs of Windows: it waits for work
// while pumping its own messages (the media stack makes windows on the
// thread that opens a file), and a message-only window on the owner's thread
// hears of jobs that have run and is the notification window: the
// end-of-play messages of the media commands come to it. One worker listens
// to it.
#pragma once
#include <windows.h>

#include <string>

#include "audio/media_worker.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

class Win32MediaDevice : public platform::MediaDevice {
  public:
    explicit Win32MediaDevice(HWND notifyWindow = nullptr) : notifyWindow_(notifyWindow) {}
    bool SendCommand(const std::string& command, bool notify) override;
    std::string ShortPath(const std::string& path) override;
    // A hidden top-level window of the worker's thread, made on first use.
    std::string HiddenWindow() override;

  private:
    HWND notifyWindow_;
    unique_hwnd hidden_;
};

class Win32MediaThread final : public audio::MediaThread {
  public:
    // Makes the notification window on this thread.
    Win32MediaThread();
    ~Win32MediaThread() override;
    Win32MediaThread(const Win32MediaThread&) = delete;
    Win32MediaThread& operator=(const Win32MediaThread&) = delete;

    HWND NotifyWindow() const { return receiver_; }

    void Listen(Listener listener) override { listener_ = std::move(listener); }
    void Wake() override { SetEvent(wake_.get()); }
    void Pump() override;
    void Wait() override;
    void JobsDone() override;

  private:
    class Receiver;
    Listener listener_;
    unique_handle wake_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    HWND receiver_ = nullptr; // owned by the window base
};

} // namespace orv::win32
