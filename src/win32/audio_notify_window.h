// The music's notification window: a hidden top-level window without
// controls that receives the media device's end-of-play messages. Load
// creates it through the window base, whose object the window owns; Unload
// destroys it. It is never shown and does not keep the program alive; the
// windows that load it unload it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/media.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

class Win32AudioNotifyWindow : public platform::AudioNotifyWindow {
  public:
    // onNotify receives the status (wParam) of every MM_MCINOTIFY message.
    explicit Win32AudioNotifyWindow(std::function<void(std::uintptr_t)> onNotify);
    ~Win32AudioNotifyWindow() override = default;
    Win32AudioNotifyWindow(const Win32AudioNotifyWindow&) = delete;
    Win32AudioNotifyWindow& operator=(const Win32AudioNotifyWindow&) = delete;

    void Load() override;
    void Unload() override { window_.reset(); }
    bool Loaded() const override { return static_cast<bool>(window_); }
    // The window's handle, or null while it is not loaded.
    HWND Handle() const { return window_.get(); }

  private:
    std::function<void(std::uintptr_t)> onNotify_;
    unique_hwnd window_;
};

} // namespace orv::win32
