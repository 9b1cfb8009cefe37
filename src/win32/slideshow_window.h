// The slideshow window on Windows: a borderless black window that covers
// every monitor (or, in preview, the host's client area). It turns its
// messages into the show's events (slideshow/show_driver.h), carries out the
// actions that come back (timers, its scene of pictures and labels, hide,
// end) and paints the scene.
#pragma once
#include <cstdint>

#include "audio/music_control.h"
#include "platform/platform.h"
#include "slideshow/show_engine.h"
#include "slideshow/show_workers.h"

namespace orv::win32 {

// What a show's window is made with.
struct ShowWindowParts {
    slideshow::ShowSettings settings;
    platform::Platform& platform;
    audio::MusicControl& music;
    slideshow::ShowWorkers& workers;
};

// Loads a new full-screen slideshow window and shows it. A run-time error of
// the load reaches the caller, the half-built window closed.
void ShowFullScreenSlideshow(ShowWindowParts parts);

// Loads a new slideshow window, makes it a child (and owned window) of
// `host`, sized to its client area, and shows it without activating it.
// Throws RuntimeError when it cannot be built (the half-built window closed).
void ShowPreviewSlideshow(ShowWindowParts parts, std::int32_t host);

} // namespace orv::win32
