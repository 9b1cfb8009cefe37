// The slideshow window on Windows: a borderless black window that covers
// every monitor (or, in preview, the host's client area), keeps its scene
// (slideshow_scene.h) as the form sets it, runs the timers and the form's
// background jobs, and turns paint, mouse, key, display and close messages
// into the calls of SlideshowForm.
#pragma once
#include <cstdint>

#include "audio/music_control.h"
#include "platform/platform.h"
#include "saver/program_state.h"

namespace orv::win32 {

// Loads a new full-screen slideshow window and shows it. A run-time error of
// the load reaches the caller, the half-built window closed.
void ShowFullScreenSlideshow(platform::Platform& platform, saver::ProgramState& state,
                             audio::MusicControl& music);

// Loads a new slideshow window, makes it a child (and owned window) of
// `host`, sized to its client area, and shows it without activating it.
// Throws RuntimeError when it cannot be built (the half-built window closed).
void ShowPreviewSlideshow(platform::Platform& platform, saver::ProgramState& state,
                          audio::MusicControl& music, std::int32_t host);

} // namespace orv::win32
