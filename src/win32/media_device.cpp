#include "win32/media_device.h"

#include <mmsystem.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "win32/file_system.h"
#include "win32/wide.h"
#include "win32/window_base.h"

namespace orv::win32 {

bool Win32MediaDevice::SendCommand(const std::string& command, bool notify) {
    return mciSendStringW(Wide(command).c_str(), nullptr, 0, notify ? callback_ : nullptr) == 0;
}

std::string Win32MediaDevice::ShortPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    // The first call gives the size needed, so long paths are not cut off.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = GetShortPathNameW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n >= buffer.size()) {
        buffer.assign(n, L'\0');
        n = GetShortPathNameW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n >= buffer.size()) return {};
    }
    buffer.resize(n);
    return Utf8(buffer);
}

std::string Win32MediaDevice::HiddenWindow() {
    if (!hidden_)
        hidden_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"",
                                      WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    return std::to_string(reinterpret_cast<std::uintptr_t>(hidden_.get()));
}

struct Win32MediaWorker::Shared {
    struct Queued {
        std::uint64_t id;
        Job job;
        HWND callback;
    };
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Queued> jobs;
    std::vector<std::uint64_t> done;
    bool busy = false;
    bool closing = false;
    HWND receiver = nullptr; // null once the worker object is gone
    unique_handle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::unique_ptr<Win32MediaDevice> device;
    Win32FileSystem files;

    static void Run(std::shared_ptr<Shared> self) noexcept;
};

namespace {

constexpr UINT kJobsDone = WM_APP + 1;
constexpr wchar_t kReceiverClass[] = L"OrvandelMediaDone";

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The message-only window on the posting thread that hears of finished jobs.
class DoneReceiver final : public WindowBase {
  public:
    explicit DoneReceiver(Win32MediaWorker& worker) : worker_(worker) {}

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kJobsDone) return Default(msg, wParam, lParam);
        worker_.ReportDone();
        return 0;
    }
    Win32MediaWorker& worker_;
};

} // namespace

void Win32MediaWorker::Shared::Run(std::shared_ptr<Shared> self) noexcept {
    platform::MediaTools tools{*self->device, self->files};
    for (;;) {
        PumpMessages();
        Queued next;
        {
            std::unique_lock lock(self->mutex);
            if (self->jobs.empty()) {
                if (self->closing) break;
                lock.unlock();
                const HANDLE wake = self->wake.get();
                MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_ALLINPUT);
                continue;
            }
            next = std::move(self->jobs.front());
            self->jobs.pop_front();
            self->busy = true;
        }
        self->device->SetCallback(next.callback);
        try {
            next.job(tools);
        } catch (...) {
            // A job that fails has run all the same; its result says so.
        }
        next.job = nullptr; // what the job owns goes on this thread
        const std::lock_guard lock(self->mutex);
        self->busy = false;
        if (next.id) {
            self->done.push_back(next.id);
            if (self->receiver && self->done.size() == 1)
                PostMessageW(self->receiver, kJobsDone, 0, 0);
        }
        self->changed.notify_all();
    }
    // The device's window belongs to this thread.
    self->device.reset();
}

Win32MediaWorker::Win32MediaWorker(Win32AudioNotifyWindow& notifyWindow,
                                   std::unique_ptr<Win32MediaDevice> device)
    : notifyWindow_(notifyWindow), shared_(std::make_shared<Shared>()) {
    shared_->device = device ? std::move(device) : std::make_unique<Win32MediaDevice>();
    WNDCLASSEXW wc{};
    wc.lpszClassName = kReceiverClass;
    WindowBase::RegisterClassOnce(wc);
    receiver_ = WindowBase::Create(std::make_unique<DoneReceiver>(*this), 0, kReceiverClass, L"", 0,
                                   RECT{}, HWND_MESSAGE);
    shared_->receiver = receiver_;
    std::thread(Shared::Run, shared_).detach();
}

Win32MediaWorker::~Win32MediaWorker() {
    std::unique_lock lock(shared_->mutex);
    shared_->receiver = nullptr;
    shared_->closing = true;
    SetEvent(shared_->wake.get());
    // The device is closed in a moment unless it hangs; then it is left.
    shared_->changed.wait_for(lock, std::chrono::milliseconds(500),
                              [&] { return shared_->jobs.empty() && !shared_->busy; });
    lock.unlock();
    DestroyWindow(receiver_);
}

void Win32MediaWorker::Post(std::uint64_t id, Job job) {
    const std::lock_guard lock(shared_->mutex);
    shared_->jobs.push_back({id, std::move(job), notifyWindow_.Handle()});
    SetEvent(shared_->wake.get());
}

bool Win32MediaWorker::Idle() {
    const std::lock_guard lock(shared_->mutex);
    return shared_->jobs.empty() && !shared_->busy && shared_->done.empty();
}

void Win32MediaWorker::ReportDone() {
    std::vector<std::uint64_t> done;
    {
        const std::lock_guard lock(shared_->mutex);
        done.swap(shared_->done);
    }
    // Only what had run by now: the jobs these answers start report later.
    for (const std::uint64_t id : done)
        if (done_) done_(id);
}

} // namespace orv::win32
