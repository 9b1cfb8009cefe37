#include "win32/audio_notify_window.h"

#include <mmsystem.h>

#include <memory>
#include <utility>

#include "common/errors.h"
#include "win32/window_base.h"

namespace orv::win32 {
namespace {

constexpr wchar_t kClassName[] = L"OrvandelAudioNotify";

// The window's procedure, which the window owns.
class NotifyProcedure final : public WindowBase {
  public:
    explicit NotifyProcedure(std::function<void(std::uintptr_t)> onNotify)
        : onNotify_(std::move(onNotify)) {}

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != MM_MCINOTIFY) return Default(msg, wParam, lParam);
        if (onNotify_) onNotify_(static_cast<std::uintptr_t>(wParam));
        return 0;
    }
    std::function<void(std::uintptr_t)> onNotify_;
};

} // namespace

Win32AudioNotifyWindow::Win32AudioNotifyWindow(std::function<void(std::uintptr_t)> onNotify)
    : onNotify_(std::move(onNotify)) {}

void Win32AudioNotifyWindow::Load() {
    if (window_) return;
    WindowBase::RegisterClassOnce(kClassName, true, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // 4680 x 3195 twips at 96 dpi; the window is never shown. Without it a
    // playlist only stops advancing by itself, so a failure is no error.
    try {
        window_.reset(WindowBase::Create(
            std::make_unique<NotifyProcedure>(onNotify_), 0, kClassName, L"Form1",
            WS_OVERLAPPEDWINDOW,
            {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 312, CW_USEDEFAULT + 213}, nullptr));
    } catch (const RuntimeError&) {
    }
}

} // namespace orv::win32
