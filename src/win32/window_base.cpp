#include "win32/window_base.h"

#include "common/errors.h"
#include "win32/fatal_error.h"

namespace orv::win32 {

// On the creator's stack: the window marks it when it takes the object, so a
// failed creation never reads an object that the window may have deleted.
struct WindowBase::CreateParams {
    WindowBase* self;
    bool attached = false;
};

namespace {

WindowBase* From(HWND hwnd, int slot) {
    return reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, slot));
}

} // namespace

// The window made for the object; when there is none, the object is deleted
// unless the window took it before it failed, and the system's reason is thrown.
HWND WindowBase::Created(HWND hwnd, const CreateParams& params) {
    if (hwnd) return hwnd;
    const DWORD error = GetLastError();
    if (!params.attached) delete params.self;
    throw error ? FromSystemError(error) : InternalError("a window could not be created");
}

void WindowBase::RegisterClassOnce(const wchar_t* name, bool arrowCursor) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpszClassName = name;
    wc.hCursor = arrowCursor ? LoadCursorW(nullptr, IDC_ARROW) : nullptr;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    if (!GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) RegisterClassExW(&wc);
}

HWND WindowBase::Create(std::unique_ptr<WindowBase> self, DWORD exStyle, const wchar_t* className,
                        const wchar_t* title, DWORD style, const RECT& area, HWND parent) {
    CreateParams params{self.release()};
    const HWND hwnd = CreateWindowExW(exStyle, className, title, style, area.left, area.top,
                                      area.right - area.left, area.bottom - area.top, parent,
                                      nullptr, GetModuleHandleW(nullptr), &params);
    return Created(hwnd, params);
}

HWND WindowBase::CreateModeless(std::unique_ptr<WindowBase> self, const DLGTEMPLATE& dialog,
                                HWND owner) {
    CreateParams params{self.release()};
    const HWND hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialog, owner,
                                                 DialogProc, reinterpret_cast<LPARAM>(&params));
    return Created(hwnd, params);
}

void WindowBase::Attach(HWND hwnd, WindowBase* self, Kind kind) {
    self->hwnd_ = hwnd;
    self->kind_ = kind;
    SetWindowLongPtrW(hwnd, kind == Kind::Dialog ? DWLP_USER : GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(self));
}

LRESULT WindowBase::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return kind_ == Kind::Dialog ? FALSE : DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT WindowBase::Dispatch(WindowBase* self, UINT message, WPARAM wParam,
                             LPARAM lParam) noexcept {
    const HWND hwnd = self->hwnd_;
    LRESULT result = 0;
    if (!FatalErrorShowing()) {
        ++self->depth_;
        try {
            result = self->OnMessage(message, wParam, lParam);
        } catch (...) {
            ReportFatalCurrentException();
        }
        --self->depth_;
    } else if (message == WM_TIMER) {
        KillTimer(hwnd, wParam);
    } else {
        result = self->Default(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, self->kind_ == Kind::Dialog ? DWLP_USER : GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->destroyed_ = true;
    }
    if (self->destroyed_ && self->depth_ == 0) delete self;
    return result;
}

LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* params = static_cast<CreateParams*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        Attach(hwnd, params->self, Kind::Window);
        params->attached = true;
    }
    WindowBase* self = From(hwnd, GWLP_USERDATA);
    return self ? Dispatch(self, message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK WindowBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        auto* params = reinterpret_cast<CreateParams*>(lParam);
        Attach(hwnd, params->self, Kind::Dialog);
        params->attached = true;
    }
    WindowBase* self = From(hwnd, DWLP_USER);
    return self ? Dispatch(self, message, wParam, lParam) : FALSE;
}

} // namespace orv::win32
