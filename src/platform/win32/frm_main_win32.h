// The slideshow window on Windows: a borderless black window that covers the
// primary screen (or, in preview, the host's client area), keeps its scene
// (slideshow_scene.h) as frmMain sets it, runs the two timers and turns
// paint, mouse, key and close messages into the calls of frmMain.
#pragma once
#include <cstdint>

namespace orv {
struct modScreenSaver;
}

namespace orv::win32 {

struct Win32Platform;

// Loads a new full-screen slideshow window and shows it. A run-time error of
// the load reaches the caller, the half-built window closed.
void ShowFullScreenSlideshow(Win32Platform& services, modScreenSaver& module);

// Loads a new slideshow window, makes it a child (and owned window) of
// `host`, sized to its client area, and shows it without activating it.
// Throws RuntimeError when it cannot be built (the half-built window closed);
// a handle that names no window ends the preview quietly.
void ShowPreviewSlideshow(Win32Platform& services, modScreenSaver& module, std::int32_t host);

} // namespace orv::win32
