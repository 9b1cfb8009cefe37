#include "win32/display.h"

#include <cmath>
#include <exception>
#include <utility>

#include "win32/system_libraries.h"

namespace orv::win32 {
namespace {

// The monitors found so far, and what stopped the search.
struct MonitorSearch {
    std::vector<platform::MonitorArea> monitors;
    std::exception_ptr failure;
};

// No exception may leave a callback of the system's: a failure (no memory
// for one more) ends the search, and SystemMonitors throws it.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM search) noexcept {
    auto& found = *reinterpret_cast<MonitorSearch*>(search);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    try {
        found.monitors.push_back({{r.left, r.top, r.right - r.left, r.bottom - r.top},
                                  MonitorDpi(monitor),
                                  (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    } catch (...) {
        found.failure = std::current_exception();
        return FALSE;
    }
    return TRUE;
}

using ThreadAwarenessFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

ThreadAwarenessFn SetThreadAwareness() {
    static const auto set =
        SystemFunction<ThreadAwarenessFn>(L"user32.dll", "SetThreadDpiAwarenessContext");
    return set;
}

} // namespace

int ScreenDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi =
        SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (getDpi && monitor && SUCCEEDED(getDpi(monitor, 0 /* effective */, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return ScreenDpi();
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = SystemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpi && window)
        if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    return MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

DpiAwarenessOf::DpiAwarenessOf(HWND model) noexcept {
    using WindowAwarenessFn = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    static const auto windowAwareness =
        SystemFunction<WindowAwarenessFn>(L"user32.dll", "GetWindowDpiAwarenessContext");
    if (!windowAwareness || !SetThreadAwareness()) return;
    if (const DPI_AWARENESS_CONTEXT awareness = windowAwareness(model))
        previous_ = SetThreadAwareness()(awareness);
}

DpiAwarenessOf::~DpiAwarenessOf() {
    if (previous_) SetThreadAwareness()(previous_);
}

std::vector<platform::MonitorArea> SystemMonitors() {
    MonitorSearch search;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&search));
    if (search.failure) std::rethrow_exception(search.failure);
    return std::move(search.monitors);
}

platform::MonitorArea PrimaryScreen() {
    return {
        {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, ScreenDpi(), true};
}

unique_hfont MakeUiFont(double points, bool bold, int dpiY) {
    const int height = -static_cast<int>(std::lround(points * dpiY / 72.0));
    return unique_hfont(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                    FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                                    CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                    L"Microsoft Sans Serif"));
}

} // namespace orv::win32
