// Drives a show's engine (show_engine.h) with the program's services: fills
// in what an event needs from them (the time, the folder's pictures at the
// start), carries out the actions that are theirs (the music, the running
// flag and cursor, the background jobs, the wallpaper setting, the password
// check, whose answer goes back into the engine) and returns the rest, which
// are the window's: timers, pictures, labels, hide and end. The slideshow
// window owns one and hands it every message it translates.
#pragma once
#include <cstdint>
#include <functional>

#include "audio/music_control.h"
#include "platform/platform.h"
#include "saver/settings.h"
#include "slideshow/show_engine.h"
#include "slideshow/show_workers.h"

namespace orv::slideshow {

// A show's settings: the stored ones, the mode, and where the wallpaper may
// be written (the Windows folder, then the user's own).
ShowSettings MakeShowSettings(const saver::Settings& settings, bool preview,
                              platform::Environment& environment, platform::Wallpaper& wallpaper);

class ShowDriver {
  public:
    ShowDriver(ShowSettings settings, platform::Platform& platform, audio::MusicControl& music,
               ShowJobs& jobs);

    // The window that owns the password prompt.
    void SetOwner(std::intptr_t window) { owner_ = window; }

    // The window's part of the actions, carried out as they come, in order
    // with the services' (the show is hidden before the desktop is given
    // back, say).
    using WindowSink = std::function<void(const ShowAction&)>;

    // The event handled: the window's actions go to `window`, or, without
    // one, come back in order.
    ShowActions Handle(ShowEvent event, const WindowSink& window = nullptr);
    // The jobs that have finished (their notifier has been called), handled
    // as Handle does.
    void TakeFinishedJobs(const WindowSink& window);

  private:
    // Carries out a service's action; false when it is the window's.
    bool CarryOut(const ShowAction& action);

    platform::Platform& platform_;
    audio::MusicControl& music_;
    ShowJobs& jobs_;
    std::string picturesFolder_;
    ShowEngine engine_;
    std::intptr_t owner_ = 0;
};

} // namespace orv::slideshow
