#include "win32/program_windows.h"

#include <windows.h>

#include "win32/services.h"
#include "win32/settings_dialog.h"
#include "win32/slideshow_window.h"

namespace orv::win32 {

void Win32ProgramWindows::ShowSlideshow() {
    ShowFullScreenSlideshow(services_.platform, services_.state, services_.music);
}

bool Win32ProgramWindows::CanHostPreview(std::int32_t host) {
    return IsWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(host))) != FALSE;
}

void Win32ProgramWindows::ShowPreview(std::int32_t host) {
    ShowPreviewSlideshow(services_.platform, services_.state, services_.music, host);
}

void Win32ProgramWindows::ShowSettings() {
    ShowSettingsDialog(services_.platform, services_.state, services_.music, services_.pickers);
}

} // namespace orv::win32
