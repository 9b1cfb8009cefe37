#include "win32/slideshow_window.h"

#include <windows.h>
#include <windowsx.h>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "common/app_title.h"
#include "common/errors.h"
#include "platform/slideshow_view.h"
#include "slideshow/layout.h"
#include "slideshow/slideshow_form.h"
#include "win32/display.h"
#include "win32/fatal_error.h"
#include "win32/program_lifetime.h"
#include "win32/show_workers.h"
#include "win32/slideshow_scene.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"
#include "win32/window_base.h"

namespace orv::win32 {
namespace {

using platform::Label;
using platform::Timer;

constexpr wchar_t kClassName[] = L"OrvandelSlideshow";
constexpr Timer kTimers[] = {Timer::ShowPicture, Timer::Clock, Timer::HostCheck};
// Posted by a background job when it is done; it carries nothing, the
// results wait in the job runners.
constexpr UINT kJobsFinished = WM_APP + 1;

// Timer ids are the timers' values plus one (0 is no timer).
UINT_PTR TimerId(Timer t) {
    return static_cast<UINT_PTR>(t) + 1;
}

class SlideshowWindow final : public WindowBase, public platform::SlideshowView {
  public:
    SlideshowWindow(platform::Platform& platform, saver::ProgramState& state,
                    audio::MusicControl& music)
        : form_(platform, state, music, *this) {}

    // Creates the hidden window and runs the load; the window owns the object
    // from then on. Full screen, it covers every monitor; a preview starts
    // at the primary screen's size until it is put in its host. Throws
    // RuntimeError with the half-built window closed.
    static SlideshowWindow& Create(std::unique_ptr<SlideshowWindow> self, bool fullScreen) {
        RegisterClassOnce(kClassName, true);
        const RECT area =
            fullScreen ? VirtualScreen()
                       : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        self->fullScreen_ = fullScreen;
        SlideshowWindow& window = *self;
        const HWND hwnd =
            WindowBase::Create(std::move(self), fullScreen ? WS_EX_TOPMOST : 0, kClassName,
                               Wide(kAppTitle).c_str(), WS_POPUP, area, nullptr);
        const auto notify = [hwnd] { PostMessageW(hwnd, kJobsFinished, 0, 0); };
        window.preparations_.SetNotifier(notify);
        window.wallpapers_.SetNotifier(notify);
        try {
            window.form_.Load();
        } catch (...) {
            // A window that never went into service: no unload handler runs.
            DestroyWindow(hwnd);
            throw;
        }
        return window;
    }

    void Register() {
        WindowOpened();
        registered_ = true;
    }

    void SetHost(HWND host) { host_ = host; }

    // platform::SlideshowView
    std::vector<platform::MonitorArea> Monitors() const override {
        POINT origin{0, 0};
        ClientToScreen(Handle(), &origin);
        return slideshow::ShowMonitors(SystemMonitors(), PrimaryScreen(), fullScreen_,
                                       {origin.x, origin.y}, fullScreen_ ? 0 : WindowDpi(host_));
    }
    std::intptr_t WindowHandle() const override {
        return reinterpret_cast<std::intptr_t>(Handle());
    }
    std::optional<platform::ScreenPoint> CursorPosition() const override {
        POINT cursor{};
        if (!GetCursorPos(&cursor)) return std::nullopt;
        return platform::ScreenPoint{cursor.x, cursor.y};
    }
    bool PreviewHostExists() const override { return IsWindow(host_) != FALSE; }
    void StartPreparation(platform::PreparationJob job) override {
        preparations_.Start(std::move(job));
    }
    void CancelPreparation(platform::JobId job) override { preparations_.Cancel(job); }
    void ShowPictures(const std::vector<platform::PreparedPicture>& pictures) override {
        std::vector<MonitorPicture> shown;
        for (const platform::PreparedPicture& p : pictures)
            shown.push_back({p.box.pixels, std::static_pointer_cast<const ScaledBitmap>(p.bitmap)});
        scene_.pictures = std::move(shown);
        // On the screen now, before whatever the form does next.
        Invalidate(nullptr);
        if (Handle()) UpdateWindow(Handle());
    }
    void StartWallpaper(platform::WallpaperJob job) override { wallpapers_.Start(std::move(job)); }
    std::vector<platform::WallpaperResult>
    WaitForWallpaper(platform::JobId job, std::chrono::milliseconds limit) override {
        if (!wallpapers_.Wait(job, limit)) return {};
        return wallpapers_.TakeFinished();
    }
    void SetLabelText(Label label, const std::string& text) override {
        scene_.LabelOf(label).text = text;
        InvalidateLabel(label);
    }
    void SetLabelVisible(Label label, bool visible) override {
        scene_.LabelOf(label).visible = visible;
        InvalidateLabel(label);
    }
    void SetLabelRect(Label label, const PixelRect& rect) override {
        InvalidateLabel(label);
        scene_.LabelOf(label).rect = rect;
        InvalidateLabel(label);
    }
    void SetLabelFont(Label label, float points, bool bold, int dpi) override {
        scene_.SetLabelFont(label, points, bold, dpi);
        InvalidateLabel(label);
    }
    PixelSize TextExtent(Label label, const std::string& text) const override {
        return scene_.TextExtent(label, Wide(text));
    }
    void StartTimer(Timer timer, std::uint32_t milliseconds) override {
        SetTimer(Handle(), TimerId(timer), milliseconds, nullptr);
    }
    void StopTimer(Timer timer) override { KillTimer(Handle(), TimerId(timer)); }
    void RequestClose() override { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        using Kind = slideshow::WindowEvent::Kind;
        // Does what the form answers to the message.
        const auto carry = [&](const slideshow::WindowEvent& event) -> LRESULT {
            switch (form_.OnWindowEvent(event)) {
            case slideshow::WindowReply::Destroy:
                DestroyWindow(Handle());
                return 0;
            case slideshow::WindowReply::Default:
                return Default(msg, wp, lp);
            default:
                return 0;
            }
        };
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_TIMER:
            for (Timer t : kTimers)
                if (wp == TimerId(t)) carry({.kind = Kind::Timer, .timer = t});
            return 0;
        case kJobsFinished:
            form_.OnJobsFinished(preparations_.TakeFinished(), wallpapers_.TakeFinished());
            return 0;
        case WM_DISPLAYCHANGE:
        case WM_DPICHANGED:
            // The window covers every monitor again.
            if (fullScreen_) {
                const RECT area = VirtualScreen();
                SetWindowPos(Handle(), nullptr, area.left, area.top, area.right - area.left,
                             area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return carry({.kind = Kind::DisplayChange});
        case WM_MOUSEMOVE: {
            POINT where{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            const platform::Surface surface = scene_.HitTest(where);
            ClientToScreen(Handle(), &where);
            return carry(
                {.kind = Kind::MouseMove, .surface = surface, .where = {where.x, where.y}});
        }
        case WM_GETDLGCODE:
            // Every key, Enter and Esc included, comes to this window.
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return carry({.kind = Kind::KeyDown,
                          .code = static_cast<int>(wp),
                          .shift = slideshow::ShiftState(GetKeyState(VK_SHIFT) < 0,
                                                         GetKeyState(VK_CONTROL) < 0,
                                                         GetKeyState(VK_MENU) < 0)});
        case WM_CHAR:
            return carry({.kind = Kind::Character, .code = static_cast<int>(wp)});
        case WM_SYSCHAR:
        case WM_SYSKEYUP:
            return carry({.kind = Kind::SystemKey});
        case WM_SYSCOMMAND:
            return carry({.kind = Kind::SystemCommand, .flag = (wp & 0xFFF0) == SC_SCREENSAVE});
        case WM_CLOSE:
            return carry({.kind = Kind::Close});
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            return carry({.kind = Kind::SessionEnd, .flag = wp != 0});
        case WM_DESTROY:
            for (Timer t : kTimers)
                KillTimer(Handle(), TimerId(t));
            carry({.kind = Kind::Destroying});
            if (std::exchange(registered_, false)) WindowClosed();
            return 0;
        default:
            return Default(msg, wp, lp);
        }
    }

    void Invalidate(const RECT* r) {
        if (Handle()) InvalidateRect(Handle(), r, FALSE);
    }
    void InvalidateLabel(Label label) {
        const RECT r = ToRect(scene_.LabelOf(label).rect);
        Invalidate(&r);
    }

    void Paint() {
        const PaintGuard paint(Handle());
        scene_.Paint(paint.Dc(), paint.Area());
    }

    slideshow::SlideshowForm form_;
    HWND host_ = nullptr;
    bool fullScreen_ = true;
    SlideshowScene scene_;
    PreparationRunner preparations_ = MakePreparationRunner();
    WallpaperRunner wallpapers_ = MakeWallpaperRunner();
    bool registered_ = false;
};

// Ends the preview when its host's process has gone (its windows may then
// be torn down without a word to ours) or when our own window was destroyed
// from outside: neither leaves a message for the window to act on.
class PreviewWatcher final : public platform::PreviewWatch {
  public:
    PreviewWatcher(HWND host, HWND preview) : host_(host), preview_(preview) {
        DWORD hostProcess = 0;
        GetWindowThreadProcessId(host, &hostProcess);
        process_.reset(OpenProcess(SYNCHRONIZE, FALSE, hostProcess));
    }
    bool WaitForHostProcess(std::uint32_t milliseconds) override {
        if (process_) return WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
        Sleep(milliseconds);
        return false;
    }
    void Pause(std::uint32_t milliseconds) override { Sleep(milliseconds); }
    bool PreviewExists() override { return IsWindow(preview_) != FALSE; }
    bool HostExists() override { return IsWindow(host_) != FALSE; }
    void ClosePreview() override { PostMessageW(preview_, WM_CLOSE, 0, 0); }
    void EndProgram() override { PostThreadMessageW(uiThread_, WM_QUIT, 0, 0); }

  private:
    HWND host_, preview_;
    DWORD uiThread_ = GetCurrentThreadId();
    unique_handle process_;
};

} // namespace

void ShowFullScreenSlideshow(platform::Platform& platform, saver::ProgramState& state,
                             audio::MusicControl& music) {
    SlideshowWindow& window =
        SlideshowWindow::Create(std::make_unique<SlideshowWindow>(platform, state, music), true);
    const HWND hwnd = window.Handle();
    window.Register();
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
}

void ShowPreviewSlideshow(platform::Platform& platform, saver::ProgramState& state,
                          audio::MusicControl& music, std::int32_t host) {
    const HWND hostWindow = WindowOf(host);
    // Made in the host's DPI awareness: a child whose awareness differs from
    // its parent's is scaled wrongly, and reparenting it into a window of
    // another process would reset this process's awareness.
    const DpiAwarenessOf hostAwareness(hostWindow);
    auto created = std::make_unique<SlideshowWindow>(platform, state, music);
    created->SetHost(hostWindow);
    SlideshowWindow& window = SlideshowWindow::Create(std::move(created), false);
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
    std::thread([watcher = std::make_unique<PreviewWatcher>(hostWindow, hwnd)] {
        slideshow::WatchPreview(*watcher);
    }).detach();
}

} // namespace orv::win32
