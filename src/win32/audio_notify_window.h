// The music's notification window: a hidden top-level window without
// controls that receives the media device's end-of-play messages. Load
// replaces its window procedure by AudioWindowProc (keeping the old one),
// Unload puts the old one back and destroys the window. It is never shown and does not keep
// the program alive; the windows that load it unload it.
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
    ~Win32AudioNotifyWindow() override;
    Win32AudioNotifyWindow(const Win32AudioNotifyWindow&) = delete;
    Win32AudioNotifyWindow& operator=(const Win32AudioNotifyWindow&) = delete;

    void Load() override;
    void Unload() override;
    bool Loaded() const override { return loaded_; }
    // The window's handle, or null while it is not loaded.
    HWND Handle() const { return window_.get(); }

  private:
    static LRESULT CALLBACK AudioWindowProc(HWND hwnd, UINT msg, WPARAM wParam,
                                            LPARAM lParam) noexcept;

    std::function<void(std::uintptr_t)> onNotify_;
    unique_hwnd window_;
    LONG_PTR oldProc_ = 0;
    bool loaded_ = false;
};

} // namespace orv::win32
