#include "win32/media_device.h"

#include <mmsystem.h>

#include "common/growing_buffer.h"
#include "win32/system_libraries.h"
#include "win32/wide.h"
#include "win32/window_base.h"

namespace orv::win32 {

bool Win32MediaDevice::SendCommand(const std::string& command, bool notify) {
    const MediaFunctions& media = Media();
    return media && media.mciSendStringW(Wide(command).c_str(), nullptr, 0,
                                         notify ? notifyWindow_ : nullptr) == 0;
}

std::string Win32MediaDevice::ShortPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    return Utf8(FillGrowing<wchar_t>(MAX_PATH, [&](wchar_t* buffer, std::size_t size) {
        return GetShortPathNameW(wide.c_str(), buffer, static_cast<DWORD>(size));
    }));
}

std::string Win32MediaDevice::HiddenWindow() {
    if (!hidden_)
        hidden_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"",
                                      WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    return std::to_string(reinterpret_cast<std::uintptr_t>(hidden_.get()));
}

namespace {

constexpr UINT kJobsDone = WM_APP + 1;
constexpr wchar_t kReceiverClass[] = L"OrvandelMedia";

} // namespace

// The message-only window on the owner's thread.
class Win32MediaThread::Receiver final : public WindowBase {
  public:
    explicit Receiver(Win32MediaThread& thread) : thread_(thread) {}

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        const Listener& listener = thread_.listener_;
        if (msg == kJobsDone && listener.jobsDone)
            listener.jobsDone();
        else if (msg == MM_MCINOTIFY && listener.endOfPlay)
            listener.endOfPlay(static_cast<std::uintptr_t>(wParam));
        else
            return Default(msg, wParam, lParam);
        return 0;
    }
    Win32MediaThread& thread_;
};

Win32MediaThread::Win32MediaThread() {
    WindowBase::RegisterClassOnce(kReceiverClass);
    receiver_ = WindowBase::Create(std::make_unique<Receiver>(*this), 0, kReceiverClass, L"", 0,
                                   RECT{}, HWND_MESSAGE);
}

Win32MediaThread::~Win32MediaThread() {
    DestroyWindow(receiver_);
}

void Win32MediaThread::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Win32MediaThread::Wait() {
    const HANDLE wake = wake_.get();
    MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_ALLINPUT);
}

void Win32MediaThread::JobsDone() {
    PostMessageW(receiver_, kJobsDone, 0, 0);
}

} // namespace orv::win32
