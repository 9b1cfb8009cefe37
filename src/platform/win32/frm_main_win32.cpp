#include "platform/win32/frm_main_win32.h"

#include <windows.h>
#include <windowsx.h>

#include <map>
#include <memory>
#include <optional>

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "platform/slideshow_view.h"
#include "platform/win32/picture_file.h"
#include "platform/win32/program_lifetime.h"
#include "platform/win32/slideshow_scene.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wallpaper_bitmap.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "slideshow/frm_main.h"

namespace orv::win32 {
namespace {

using platform::Label;
using platform::Timer;
using platform::TwipRect;

constexpr wchar_t kClassName[] = L"OrvandelSlideshow";
constexpr UINT_PTR kPictureTimerId = 1, kClockTimerId = 2, kHostWatchId = 3;
constexpr UINT kHostWatchMs = 1000;

UINT_PTR TimerId(Timer t) {
    return t == Timer::ShowPicture ? kPictureTimerId : kClockTimerId;
}

struct TimerState {
    std::uint32_t interval = 0;
    bool enabled = true;
};

class SlideshowWindow final : public platform::SlideshowView {
  public:
    SlideshowWindow(Win32Platform& services, modScreenSaver& module)
        : form_(services.bundle, module, services.audio, *this) {
        timers_[Timer::ShowPicture].interval = 100;
        timers_[Timer::Clock].interval = 1000;
        POINT cursor{};
        if (GetCursorPos(&cursor)) lastMouse_ = cursor;
    }

    // Creates the hidden window and runs the load; the window owns the object
    // from then on. Throws RuntimeError with the half-built window closed.
    static HWND Create(std::unique_ptr<SlideshowWindow> self, bool fullScreen) {
        RegisterOnce();
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        // From WM_NCCREATE on the window owns the object (WM_NCDESTROY deletes it).
        SlideshowWindow* raw = self.release();
        const HWND hwnd = CreateWindowExW(fullScreen ? WS_EX_TOPMOST : 0, kClassName,
                                          Wide(kAppTitle).c_str(), WS_POPUP, 0, 0, width, height,
                                          nullptr, nullptr, GetModuleHandleW(nullptr), raw);
        if (!hwnd) {
            if (!raw->hwnd_) delete raw; // the window never took it over
            throw RuntimeError(7, "Out of memory");
        }
        for (Timer t : {Timer::ShowPicture, Timer::Clock})
            raw->ApplyTimer(t);
        try {
            raw->form_.Form_Load();
        } catch (...) {
            raw->Abandon();
            throw;
        }
        raw->loaded_ = true;
        return hwnd;
    }

    static SlideshowWindow* From(HWND hwnd) {
        return reinterpret_cast<SlideshowWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }

    // Closes a window that never went into service: no unload handler runs.
    void Abandon() {
        loaded_ = false;
        DestroyWindow(hwnd_);
    }

    void Register() {
        FormLoaded();
        registered_ = true;
    }

    void WatchHost(HWND host) {
        host_ = host;
        SetTimer(hwnd_, kHostWatchId, kHostWatchMs, nullptr);
    }

    // platform::SlideshowView
    float ScreenWidth() const override {
        return GetSystemMetrics(SM_CXSCREEN) * scene_.TwipsPerPixel();
    }
    float ScreenHeight() const override {
        return GetSystemMetrics(SM_CYSCREEN) * scene_.TwipsPerPixel();
    }
    std::intptr_t WindowHandle() const override { return reinterpret_cast<std::intptr_t>(hwnd_); }
    void SetBackColor(std::uint32_t rgb) override {
        scene_.backColor = RGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
        Invalidate(nullptr);
    }
    TwipRect PictureBox() const override { return scene_.box; }
    void SetPictureBox(const TwipRect& box) override {
        scene_.box = box;
        if (scene_.pictureVisible) Invalidate(nullptr);
    }
    void SetPictureVisible(bool visible) override {
        scene_.pictureVisible = visible;
        Invalidate(nullptr);
    }
    void ShowCurrentPicture() override {
        scene_.shown = {};
        if (picture_) {
            const RECT r = scene_.ToPixels(scene_.box);
            const int w = r.right - r.left, h = r.bottom - r.top;
            if (w > 0 && h > 0) scene_.shown = picture_->Render(w, h);
            // Only the copy at the drawn size stays; the file is read again
            // when it is saved as the wallpaper.
            picture_.reset();
        }
        Invalidate(nullptr);
    }
    std::optional<platform::PictureSize> LoadPicture(const std::string& path) override {
        picture_ = PictureFile::Open(Wide(path));
        if (!picture_) return std::nullopt;
        currentPath_ = path;
        const SIZE natural = picture_->NaturalSize();
        return platform::PictureSize{static_cast<double>(natural.cx),
                                     static_cast<double>(natural.cy)};
    }
    bool HasPicture() const override { return !currentPath_.empty(); }
    void ReleasePicture() override {
        picture_.reset();
        scene_.shown = {};
        currentPath_.clear();
    }
    bool SavePictureAsBitmap(const std::string& bmpPath) override {
        if (currentPath_.empty()) return false;
        return SaveAsWindowsBitmap(Wide(currentPath_), Wide(bmpPath));
    }
    void SetLabelText(Label label, const std::string& text) override {
        scene_.LabelOf(label).text = Wide(text);
        InvalidateLabel(label);
    }
    void SetLabelVisible(Label label, bool visible) override {
        scene_.LabelOf(label).visible = visible;
        InvalidateLabel(label);
    }
    void SetLabelRect(Label label, const TwipRect& rect) override {
        InvalidateLabel(label);
        scene_.LabelOf(label).rect = rect;
        InvalidateLabel(label);
    }
    void SetLabelFont(Label label, float points, bool bold) override {
        scene_.SetLabelFont(label, points, bold);
        InvalidateLabel(label);
    }
    // lblNoPictures is the one label brought forward; the scene always
    // draws it last and hit-tests it first.
    void BringLabelToFront(Label) override {}
    void SetTimerInterval(Timer timer, std::uint32_t milliseconds) override {
        timers_[timer].interval = milliseconds;
        ApplyTimer(timer);
    }
    void SetTimerEnabled(Timer timer, bool enabled) override {
        timers_[timer].enabled = enabled;
        ApplyTimer(timer);
    }
    void RequestClose() override {
        if (closePending_) return;
        closePending_ = true;
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    }

  private:
    static void RegisterOnce() {
        static bool registered = false;
        if (registered) return;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        registered = RegisterClassExW(&wc) != 0;
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        if (msg == WM_NCCREATE) {
            auto* self =
                static_cast<SlideshowWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        SlideshowWindow* self = From(hwnd);
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            delete self;
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
        try {
            return self->Handle(msg, wp, lp);
        } catch (...) {
            ReportFatalCurrentException();
        }
    }

    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_TIMER:
            OnTimer(wp);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_GETDLGCODE:
            // Every key, Enter and Esc included, comes to this window.
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            form_.Form_KeyDown(static_cast<int>(wp), ShiftState());
            return 0;
        case WM_CHAR:
            form_.Form_KeyPress(static_cast<int>(wp));
            return 0;
        case WM_SYSCHAR:
        case WM_SYSKEYUP:
            // Alt combinations neither close the show nor open a menu.
            return 0;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
            break;
        case WM_CLOSE: {
            closePending_ = false;
            bool cancel = false;
            if (loaded_) form_.Form_QueryUnload(cancel);
            if (!cancel) DestroyWindow(hwnd_);
            return 0;
        }
        case WM_DESTROY:
            for (UINT_PTR id : {kPictureTimerId, kClockTimerId, kHostWatchId})
                KillTimer(hwnd_, id);
            if (loaded_) {
                loaded_ = false;
                form_.Form_Unload();
            }
            if (registered_) {
                registered_ = false;
                FormUnloaded();
            }
            return 0;
        default:
            break;
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }

    static int ShiftState() {
        int state = 0;
        if (GetKeyState(VK_SHIFT) < 0) state |= kShiftMask;
        if (GetKeyState(VK_CONTROL) < 0) state |= kCtrlMask;
        if (GetKeyState(VK_MENU) < 0) state |= kAltMask;
        return state;
    }

    void OnTimer(WPARAM id) {
        if (!loaded_) return;
        if (id == kPictureTimerId) {
            form_.tmrShowPicture_Timer();
        } else if (id == kClockTimerId) {
            form_.tmrClock_Timer();
        } else if (id == kHostWatchId) {
            // A preview whose host went away has nothing left to show in.
            if (!IsWindow(host_)) DestroyWindow(hwnd_);
        }
    }

    void OnMouseMove(int x, int y) {
        POINT screen{x, y};
        ClientToScreen(hwnd_, &screen);
        // Windows also reports a "move" when a window appears or changes
        // under a resting mouse; only a real change of place counts.
        if (lastMouse_ && lastMouse_->x == screen.x && lastMouse_->y == screen.y) return;
        lastMouse_ = screen;
        if (!loaded_) return;
        switch (scene_.HitTest(POINT{x, y})) {
        case SceneHit::NoPictures:
            form_.lblNoPictures_MouseMove();
            break;
        case SceneHit::Clock:
            break; // the clock does not count moves
        case SceneHit::Picture:
            form_.imgSS_MouseMove();
            break;
        case SceneHit::Background:
            form_.Form_MouseMove();
            break;
        }
    }

    void ApplyTimer(Timer timer) {
        if (!hwnd_) return;
        const TimerState& state = timers_[timer];
        if (state.enabled && state.interval > 0)
            SetTimer(hwnd_, TimerId(timer), state.interval, nullptr);
        else
            KillTimer(hwnd_, TimerId(timer));
    }

    void Invalidate(const RECT* r) {
        if (hwnd_) InvalidateRect(hwnd_, r, FALSE);
    }
    void InvalidateLabel(Label label) {
        const RECT r = scene_.ToPixels(scene_.LabelOf(label).rect);
        Invalidate(&r);
    }

    void Paint() {
        PAINTSTRUCT ps;
        const HDC target = BeginPaint(hwnd_, &ps);
        scene_.Paint(target, ps.rcPaint);
        EndPaint(hwnd_, &ps);
    }

    frmMain form_;
    HWND hwnd_ = nullptr;
    HWND host_ = nullptr;
    SlideshowScene scene_;
    std::unique_ptr<PictureFile> picture_; // picCurrent until it is drawn
    std::string currentPath_;              // the file of picCurrent
    std::map<Timer, TimerState> timers_;
    std::optional<POINT> lastMouse_;
    bool loaded_ = false;
    bool registered_ = false;
    bool closePending_ = false;
};

} // namespace

void ShowFullScreenSlideshow(Win32Platform& services, modScreenSaver& module) {
    const HWND hwnd =
        SlideshowWindow::Create(std::make_unique<SlideshowWindow>(services, module), true);
    SlideshowWindow* window = SlideshowWindow::From(hwnd);
    window->Register();
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
}

void ShowPreviewSlideshow(Win32Platform& services, modScreenSaver& module, std::int32_t host) {
    const HWND hostWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(host));
    // Nothing to show in: end rather than linger without a window (and
    // before the folder is scanned for nothing).
    if (!IsWindow(hostWindow)) return;
    const HWND hwnd =
        SlideshowWindow::Create(std::make_unique<SlideshowWindow>(services, module), false);
    SlideshowWindow* window = SlideshowWindow::From(hwnd);
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
    window->Register();
    window->WatchHost(hostWindow);
}

} // namespace orv::win32
