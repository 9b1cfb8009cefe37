#include "win32/audio_notify_window.h"

#include <mmsystem.h>

#include <memory>
#include <utility>

#include "win32/window_base.h"

namespace orv::win32 {
namespace {

constexpr wchar_t kClassName[] = L"OrvandelAudioNotify";

// The procedure the window is created with: that of any plain window.
LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The music's procedure, which the window owns once it is put in.
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
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = PlainWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    // 4680 x 3195 twips at 96 dpi; the window is never shown.
    window_.reset(CreateWindowExW(0, kClassName, L"Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 312, 213, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (window_) WindowBase::Adopt(window_.get(), std::make_unique<NotifyProcedure>(onNotify_));
}

} // namespace orv::win32
