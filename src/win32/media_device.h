// The media device on Windows: command strings through mciSendStringW, with
// the notification window as callback of a "notify" command, and short paths
// through GetShortPathNameW.
#pragma once
#include "platform/media.h"
#include "win32/audio_notify_window.h"

namespace orv::win32 {

class Win32MediaDevice : public platform::MediaDevice {
  public:
    explicit Win32MediaDevice(Win32AudioNotifyWindow& notifyWindow) : notifyWindow_(notifyWindow) {}
    bool SendCommand(const std::string& command, bool notify) override;
    std::string ShortPath(const std::string& path) override;

  private:
    Win32AudioNotifyWindow& notifyWindow_;
};

} // namespace orv::win32
