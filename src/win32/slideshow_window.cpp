#include "win32/slideshow_window.h"

#include <windows.h>
#include <windowsx.h>

#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

#include "common/app_title.h"
#include "slideshow/show_driver.h"
#include "win32/display.h"
#include "win32/message_loop.h"
#include "win32/slideshow_scene.h"
#include "win32/system_libraries.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"
#include "win32/window_base.h"

namespace orv::win32 {
namespace {

namespace show = slideshow;
constexpr wchar_t kClassName[] = L"OrvandelSlideshow";
constexpr show::Timer kTimers[] = {show::Timer::ShowPicture, show::Timer::Clock,
                                   show::Timer::WallpaperWait};
// Posted by a background job when it is done; it carries nothing, the
// results wait in the show's workers, whence the driver takes them.
constexpr UINT kJobsFinished = WM_APP + 1;
// Posted when the application loses the foreground: by the time it comes,
// the window that took it is in the foreground.
constexpr UINT kForegroundTaken = WM_APP + 2;

// The power setting whose changes tell when the displays go off and on.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// Timer ids are the timers' values plus one (0 is no timer).
UINT_PTR TimerId(show::Timer t) {
    return static_cast<UINT_PTR>(t) + 1;
}

// Whether the window in the foreground is one of this program's or another
// show of ours.
bool WindowIsOurs(HWND window) {
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process)) return false;
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return process == GetCurrentProcessId() || lstrcmpW(name, kClassName) == 0;
}

class SlideshowWindow final : public WindowBase {
  public:
    SlideshowWindow(ShowWindowParts parts, HWND host)
        : driver_(std::move(parts.settings), parts.platform, parts.music, parts.workers),
          workers_(parts.workers), host_(host) {}

    // Creates the hidden window and starts the show in it, which places it;
    // the window owns the object from then on. Throws RuntimeError with the
    // half-built window closed.
    static SlideshowWindow& Create(std::unique_ptr<SlideshowWindow> self) {
        RegisterClassOnce(kClassName, true);
        SlideshowWindow& window = *self;
        const HWND hwnd =
            WindowBase::Create(std::move(self), window.host_ ? 0 : WS_EX_TOPMOST, kClassName,
                               Wide(kAppTitle).c_str(), WS_POPUP, RECT{}, nullptr);
        window.driver_.SetOwner(reinterpret_cast<std::intptr_t>(hwnd));
        // Keys reach the window as they are, never an input method's
        // composition: every key that types closes the show.
        using AssociateFn = BOOL(WINAPI*)(HWND, void*, DWORD);
        if (const auto associate =
                SystemFunction<AssociateFn>(L"imm32.dll", "ImmAssociateContextEx"))
            associate(hwnd, nullptr, 0);
        // The current state of the displays comes at once, then each change.
        window.power_.reset(RegisterPowerSettingNotification(hwnd, &kConsoleDisplayState,
                                                             DEVICE_NOTIFY_WINDOW_HANDLE));
        window.workers_.SetNotifier([hwnd] { PostMessageW(hwnd, kJobsFinished, 0, 0); });
        // A window that never went into service is closed again when the start
        // fails; no unload runs for it.
        unique_hwnd closeUnlessStarted(hwnd);
        POINT cursor{};
        window.Run(show::Start{window.CurrentDisplay(),
                               {},
                               GetCursorPos(&cursor)
                                   ? std::optional(show::ScreenPoint{cursor.x, cursor.y})
                                   : std::nullopt,
                               {}});
        closeUnlessStarted.release();
        return window;
    }

    void Register() {
        WindowOpened();
        registered_ = true;
        if (!host_) return;
        // The host's process going may tear its windows down without a word
        // to ours: the message loop watches it.
        DWORD hostProcess = 0;
        GetWindowThreadProcessId(host_, &hostProcess);
        hostProcess_.reset(OpenProcess(SYNCHRONIZE, FALSE, hostProcess));
        const HWND preview = Handle();
        SetWatch(hostProcess_.get(), [this, preview] {
            // Ended, or no longer there to be waited on.
            const bool processGone =
                hostProcess_ && WaitForSingleObject(hostProcess_.get(), 0) != WAIT_TIMEOUT;
            Run(show::HostChecked{!processGone && IsWindow(host_), IsWindow(preview) != FALSE});
        });
    }

  private:
    // Hands the event to the show and carries out what comes back.
    void Run(show::ShowEvent event) { driver_.Handle(std::move(event), Actions()); }
    show::ShowDriver::WindowSink Actions() {
        return [this](const show::ShowAction& action) {
            std::visit([this](const auto& a) { Do(a); }, action);
        };
    }

    void Do(const show::PlaceWindow& a) {
        SetWindowPos(Handle(), nullptr, a.area.x, a.area.y, a.area.width, a.area.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void Do(const show::MeasureText& a) {
        Run(show::TextMeasured{a.label, SlideshowScene::TextExtent(a.font, Wide(a.text))});
    }
    void Do(const show::SetTimer& a) {
        if (!Handle()) return;
        if (a.milliseconds)
            ::SetTimer(Handle(), TimerId(a.timer), a.milliseconds, nullptr);
        else
            KillTimer(Handle(), TimerId(a.timer));
    }
    void Do(const show::ShowPictures& a) {
        std::vector<MonitorPicture> shown;
        for (const show::PreparedPicture& p : a.pictures)
            shown.push_back({p.box.pixels, p.bitmap});
        scene_.pictures = std::move(shown);
        // On the screen now, before whatever the show does next.
        if (!Handle()) return;
        InvalidateRect(Handle(), nullptr, FALSE);
        UpdateWindow(Handle());
    }
    void Do(const show::SetLabel& a) {
        InvalidateLabel(a.label);
        scene_.SetLabel(a.label, a.state);
        InvalidateLabel(a.label);
    }
    void Do(const show::Hide&) {
        if (Handle() && !destroying_) ShowWindow(Handle(), SW_HIDE);
    }
    void Do(const show::End&) {
        if (destroying_) return;
        if (Handle() && IsWindow(Handle())) {
            DestroyWindow(Handle());
        } else if (std::exchange(registered_, false)) {
            // Destroyed from outside without a message: nothing else ends it.
            ClearWatch();
            WindowClosed();
        }
    }
    // The show's services carry out the rest.
    template <class Action> void Do(const Action&) {}

    // A preview is laid out at the dots per inch of its host window.
    show::Display CurrentDisplay() const {
        return {SystemMonitors(), PrimaryScreen(), host_ ? WindowDpi(host_) : 0};
    }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            const PaintGuard paint(Handle());
            scene_.Paint(paint.Dc(), paint.Area());
            return 0;
        }
        case WM_TIMER:
            for (show::Timer t : kTimers)
                if (wp == TimerId(t)) Run(show::Tick{t, {}});
            return 0;
        case kJobsFinished:
            driver_.TakeFinishedJobs(Actions());
            return 0;
        case WM_DISPLAYCHANGE:
        case WM_DPICHANGED:
            Run(show::DisplayChanged{CurrentDisplay()});
            return 0;
        case WM_MOUSEMOVE: {
            POINT where{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            const show::ScreenPoint client{where.x, where.y};
            ClientToScreen(Handle(), &where);
            Run(show::MouseMoved{client, {where.x, where.y}});
            return 0;
        }
        case WM_GETDLGCODE:
            // Every key, Enter and Esc included, comes to this window.
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Run(show::KeyDown{static_cast<int>(wp), show::ShiftState(GetKeyState(VK_SHIFT) < 0,
                                                                     GetKeyState(VK_CONTROL) < 0,
                                                                     GetKeyState(VK_MENU) < 0)});
            return 0;
        case WM_CHAR:
            Run(show::Typed{static_cast<int>(wp)});
            return 0;
        case WM_SYSCHAR:
        case WM_SYSKEYUP:
            return 0; // Alt combinations neither close the show nor open a menu
        case WM_SYSCOMMAND:
            // No screen saver starts over the show.
            return (wp & 0xFFF0) == SC_SCREENSAVE ? 0 : Default(msg, wp, lp);
        case WM_POWERBROADCAST: {
            const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lp);
            if (wp == PBT_POWERSETTINGCHANGE && setting &&
                IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) &&
                setting->DataLength >= sizeof(DWORD)) {
                DWORD state = 0; // 0 off, 1 on, 2 dimmed
                memcpy(&state, setting->Data, sizeof state);
                Run(show::DisplayPower{state != 0});
            }
            return TRUE;
        }
        case WM_ACTIVATEAPP:
            if (!wp) PostMessageW(Handle(), kForegroundTaken, 0, 0);
            return 0;
        case kForegroundTaken:
            Run(show::Deactivated{WindowIsOurs(GetForegroundWindow())});
            return 0;
        case WM_CLOSE:
            Run(show::CloseAsked{});
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wp) Run(show::SessionEnding{});
            return 0;
        case WM_DESTROY:
            for (show::Timer t : kTimers)
                KillTimer(Handle(), TimerId(t));
            workers_.SetNotifier(nullptr);
            power_.reset();
            destroying_ = true;
            Run(show::Destroyed{});
            if (std::exchange(registered_, false)) {
                if (host_) ClearWatch();
                WindowClosed();
            }
            return 0;
        default:
            return Default(msg, wp, lp);
        }
    }

    void InvalidateLabel(show::Label label) {
        const RECT r = ToRect(scene_.LabelOf(label).rect);
        if (Handle()) InvalidateRect(Handle(), &r, FALSE);
    }

    show::ShowDriver driver_;
    show::ShowWorkers& workers_;
    HWND host_ = nullptr;
    unique_handle hostProcess_;
    SlideshowScene scene_;
    unique_any<NullTraits<HPOWERNOTIFY, UnregisterPowerSettingNotification>> power_;
    bool registered_ = false;
    bool destroying_ = false;
};

} // namespace

void ShowFullScreenSlideshow(ShowWindowParts parts) {
    SlideshowWindow& window =
        SlideshowWindow::Create(std::make_unique<SlideshowWindow>(std::move(parts), nullptr));
    const HWND hwnd = window.Handle();
    window.Register();
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
}

void ShowPreviewSlideshow(ShowWindowParts parts, std::int32_t host) {
    const HWND hostWindow = WindowOf(host);
    // Made in the host's DPI awareness: a child whose awareness differs from
    // its parent's is scaled wrongly, and reparenting it into a window of
    // another process would reset this process's awareness.
    const DpiAwarenessOf hostAwareness(hostWindow);
    SlideshowWindow& window =
        SlideshowWindow::Create(std::make_unique<SlideshowWindow>(std::move(parts), hostWindow));
    const HWND hwnd = window.Handle();
    RECT client{};
    GetClientRect(hostWindow, &client);
    // A child window cannot be a pop-up as well: Wine then still treats it
    // as a top-level window that takes the focus and is never drawn.
    const LONG_PTR style =
        (GetWindowLongPtrW(hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD;
    SetWindowLongPtrW(hwnd, GWL_STYLE, style);
    SetParent(hwnd, hostWindow);
    SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hostWindow));
    SetWindowPos(hwnd, nullptr, 0, 0, client.right, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    window.Register();
}

} // namespace orv::win32
