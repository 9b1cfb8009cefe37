#include "win32/program_windows.h"

#include <windows.h>

#include "win32/services.h"
#include "win32/settings_dialog.h"
#include "win32/slideshow_window.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

void Win32ProgramWindows::ShowSlideshow() {
    ShowFullScreenSlideshow(services_.platform, services_.state, services_.music);
}

platform::HostWindow Win32ProgramWindows::DescribeHost(std::int32_t host) {
    const HWND window = WindowOf(host);
    platform::HostWindow facts;
    facts.exists = IsWindow(window) != FALSE;
    if (!facts.exists) return facts;
    facts.desktop = window == GetDesktopWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    facts.ownProcess = process == GetCurrentProcessId();
    return facts;
}

void Win32ProgramWindows::ShowPreview(std::int32_t host) {
    ShowPreviewSlideshow(services_.platform, services_.state, services_.music, host);
}

void Win32ProgramWindows::ShowSettings() {
    ShowSettingsDialog(services_.platform, services_.state, services_.music, services_.pickers);
}

} // namespace orv::win32
