#include "win32/media_device.h"

#include <mmsystem.h>

#include "common/growing_buffer.h"
#include "common/serial_jobs.h"
#include "win32/file_system.h"
#include "win32/system_libraries.h"
#include "win32/wide.h"
#include "win32/window_base.h"

namespace orv::win32 {

bool Win32MediaDevice::SendCommand(const std::string& command, bool notify) {
    const MediaFunctions& media = Media();
    return media && media.mciSendStringW(Wide(command).c_str(), nullptr, 0,
                                         notify ? callback_ : nullptr) == 0;
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

struct Win32MediaWorker::Shared {
    unique_handle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    SerialJobs jobs{[this] { SetEvent(wake.get()); }};
    std::unique_ptr<Win32MediaDevice> device;
    Win32FileSystem files;

    static void Run(std::shared_ptr<Shared> self) noexcept;
};

namespace {

constexpr UINT kJobsDone = WM_APP + 1;
constexpr wchar_t kReceiverClass[] = L"OrvandelMedia";

// The message-only window on the posting thread.
class ReceiverWindow final : public WindowBase {
  public:
    explicit ReceiverWindow(Win32MediaWorker& worker) : worker_(worker) {}

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kJobsDone)
            worker_.ReportDone();
        else if (msg == MM_MCINOTIFY)
            worker_.ReportNotify(static_cast<std::uintptr_t>(wParam));
        else
            return Default(msg, wParam, lParam);
        return 0;
    }
    Win32MediaWorker& worker_;
};

} // namespace

void Win32MediaWorker::Shared::Run(std::shared_ptr<Shared> self) noexcept {
    const auto pump = [] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    };
    const auto wait = [&self] {
        const HANDLE wake = self->wake.get();
        MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_ALLINPUT);
    };
    self->jobs.Work(pump, wait);
    // The device's window belongs to this thread.
    self->device.reset();
}

Win32MediaWorker::Win32MediaWorker(std::function<void(std::uintptr_t)> onNotify,
                                   std::unique_ptr<Win32MediaDevice> device)
    : onNotify_(std::move(onNotify)), shared_(std::make_shared<Shared>()) {
    shared_->device = device ? std::move(device) : std::make_unique<Win32MediaDevice>();
    WindowBase::RegisterClassOnce(kReceiverClass);
    receiver_ = WindowBase::Create(std::make_unique<ReceiverWindow>(*this), 0, kReceiverClass, L"",
                                   0, RECT{}, HWND_MESSAGE);
    shared_->jobs.SetNotifier([receiver = receiver_] { PostMessageW(receiver, kJobsDone, 0, 0); });
    thread_ = std::thread(Shared::Run, shared_);
}

bool Win32MediaWorker::Stop(std::chrono::milliseconds limit) {
    return shared_->jobs.Close(limit);
}

// Stop has let the thread end (or the process ends without this).
Win32MediaWorker::~Win32MediaWorker() {
    shared_->jobs.Close(std::chrono::milliseconds(0));
    thread_.join();
    DestroyWindow(receiver_);
}

void Win32MediaWorker::Post(std::uint64_t id, Job job) {
    // The job runs on the worker's thread, which keeps `shared` alive.
    Shared& shared = *shared_;
    const HWND callback = loaded_ ? receiver_ : nullptr;
    shared.jobs.Post(id, [&shared, job = std::move(job), callback] {
        shared.device->SetCallback(callback);
        platform::MediaTools tools{*shared.device, shared.files};
        job(tools);
    });
}

void Win32MediaWorker::ReportDone() {
    // Only what had run by now: the jobs these answers start report later.
    for (const std::uint64_t id : shared_->jobs.TakeDone())
        if (done_) done_(id);
}

void Win32MediaWorker::ReportNotify(std::uintptr_t status) {
    if (loaded_ && onNotify_) onNotify_(status);
}

} // namespace orv::win32
