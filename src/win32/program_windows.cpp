#include "win32/program_windows.h"

#include <windows.h>

#include "slideshow/show_driver.h"
#include "win32/services.h"
#include "win32/settings_dialog.h"
#include "win32/slideshow_window.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

void Win32ProgramWindows::ShowSlideshow(const saver::Settings& settings) {
    ShowFullScreenSlideshow(
        {slideshow::MakeShowSettings(settings, false, services_.environment, services_.wallpaper),
         services_.program.platform, services_.program.music, services_.program.workers});
}

startup::HostWindow Win32ProgramWindows::DescribeHost(std::int32_t host) {
    const HWND window = WindowOf(host);
    startup::HostWindow facts;
    facts.exists = IsWindow(window) != FALSE;
    if (!facts.exists) return facts;
    facts.desktop = window == GetDesktopWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    facts.ownProcess = process == GetCurrentProcessId();
    return facts;
}

void Win32ProgramWindows::ShowPreview(std::int32_t host, const saver::Settings& settings) {
    ShowPreviewSlideshow(
        {slideshow::MakeShowSettings(settings, true, services_.environment, services_.wallpaper),
         services_.program.platform, services_.program.music, services_.program.workers},
        host);
}

void Win32ProgramWindows::ShowSettings(const saver::Settings& settings) {
    ShowSettingsDialog(services_.program.platform, settings, services_.program.music,
                       services_.pickers);
}

} // namespace orv::win32
