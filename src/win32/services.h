// The composition root: every Windows implementation of the platform
// services, built once by the entry point (main.cpp) and handed to the core
// as one Platform bundle, with the music player and the show's background
// workers, which outlive the windows that use them.
#pragma once
#include "audio/music_player.h"
#include "platform/platform.h"
#include "saver/tracked_session.h"
#include <chrono>

#include "win32/clock.h"
#include "win32/environment.h"
#include "win32/file_system.h"
#include "win32/media_device.h"
#include "win32/message_boxes.h"
#include "win32/pickers.h"
#include "win32/program_windows.h"
#include "win32/session.h"
#include "win32/settings_store.h"
#include "win32/show_workers.h"
#include "win32/wallpaper.h"

namespace orv::win32 {

struct Services {
    Services() = default;
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    Win32SettingsStore store;
    Win32Environment environment;
    Win32MessageBoxes messages;
    Win32Clock clock;
    Win32Random random;
    Win32Session systemSession;
    saver::TrackedSession session{systemSession};
    Win32Wallpaper wallpaper;
    Win32ProgramWindows windows{*this};
    Win32FileSystem files;
    Win32Pickers pickers;
    Win32JobSystem jobSystem;
    platform::Platform platform{store,  environment, messages,  clock,
                                random, session,     wallpaper, files};
    // The music: the media worker, which is also the notification window,
    // hands each finished job and each end-of-play status to the player.
    Win32MediaWorker media{[this](std::uintptr_t status) { music.OnMciNotify(status); }};
    audio::MusicPlayer music{platform, media, media};
    slideshow::ShowWorkers workers{jobSystem};

    // At the program's end, with every window gone: the jobs still under way
    // are cancelled and get up to 2 s to end (a wallpaper job removes its
    // file), the music device half a second for its last commands (one that
    // does not answer is no reason to stay). True when every thread has
    // ended, so that the services can go.
    bool Stop() {
        const bool jobs = workers.Stop(std::chrono::steady_clock::now() + std::chrono::seconds(2));
        return media.Stop(std::chrono::milliseconds(500)) && jobs;
    }
};

} // namespace orv::win32
