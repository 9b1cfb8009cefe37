// The displays: the monitors with their own scale, the screen's resolution,
// and the program's user-interface font, so twips and point sizes turn into
// the same pixels in every window. The program is aware of each monitor's
// scale (per-monitor, version 2, declared in its manifest): windows are laid
// out in physical pixels.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/display.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

// Vertical dots per inch of the screen; 96 when the screen cannot be asked.
int ScreenDpi();

// The dots per inch of one monitor, or of the monitor a window is on; the
// screen's where the system cannot tell them apart.
int MonitorDpi(HMONITOR monitor);
int WindowDpi(HWND window);

// While it lives, the windows this thread creates take the DPI awareness of
// `model` (a window of another process, say), so that they scale as it does
// once they are its children. Systems before Windows 10 version 1607 give
// every window the process's awareness: there it changes nothing.
class DpiAwarenessOf {
  public:
    explicit DpiAwarenessOf(HWND model) noexcept;
    ~DpiAwarenessOf();
    DpiAwarenessOf(const DpiAwarenessOf&) = delete;
    DpiAwarenessOf& operator=(const DpiAwarenessOf&) = delete;

  private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

// Every monitor of the desktop as the system reports them, in screen pixels
// (the virtual screen may start below 0), and the primary screen as the
// system's metrics give it; slideshow::ShowMonitors puts them in order.
std::vector<platform::MonitorArea> SystemMonitors();
platform::MonitorArea PrimaryScreen();

// The user-interface font at `points` for a display of `dpiY` dots per inch:
// "Microsoft Sans Serif", the TrueType successor of the bitmap font "MS Sans
// Serif" (which nothing replaces, so it would be scaled in blocks and would
// lack the characters of other scripts), and only ever a TrueType face.
unique_hfont MakeUiFont(double points, bool bold, int dpiY);

} // namespace orv::win32
