#include "win32/audio_notify_window.h"

#include <mmsystem.h>

#include <utility>

#include "win32/fatal_error.h"

namespace orv::win32 {
namespace {

constexpr wchar_t kClassName[] = L"OrvandelAudioNotify";

// The procedure the window is created with: that of any plain window.
LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterWindowClass() {
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
}

} // namespace

Win32AudioNotifyWindow::Win32AudioNotifyWindow(std::function<void(std::uintptr_t)> onNotify)
    : onNotify_(std::move(onNotify)) {}

Win32AudioNotifyWindow::~Win32AudioNotifyWindow() {
    Unload();
}

void Win32AudioNotifyWindow::Load() {
    if (loaded_) return;
    if (!window_) {
        RegisterWindowClass();
        // 4680 x 3195 twips at 96 dpi; the window is never shown.
        window_.reset(CreateWindowExW(0, kClassName, L"Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 312, 213, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
        if (!window_) return;
    }
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    oldProc_ = SetWindowLongPtrW(window_.get(), GWLP_WNDPROC,
                                 reinterpret_cast<LONG_PTR>(&AudioWindowProc));
    loaded_ = true;
}

void Win32AudioNotifyWindow::Unload() {
    if (!loaded_) return;
    SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, oldProc_);
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    oldProc_ = 0;
    loaded_ = false;
    window_.reset();
}

LRESULT CALLBACK Win32AudioNotifyWindow::AudioWindowProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                         LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<Win32AudioNotifyWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == MM_MCINOTIFY) {
        try {
            if (self->onNotify_) self->onNotify_(static_cast<std::uintptr_t>(wParam));
        } catch (...) {
            ReportFatalCurrentException();
        }
        return 0;
    }
    return CallWindowProcW(reinterpret_cast<WNDPROC>(self->oldProc_), hwnd, msg, wParam, lParam);
}

} // namespace orv::win32
