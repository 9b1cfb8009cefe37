// The composition root: every Windows implementation of the platform
// services, built once by the entry point (main.cpp) and handed to the core
// as one Platform bundle, with the program state and the music player that
// the windows share.
#pragma once
#include "audio/music_player.h"
#include "platform/platform.h"
#include "saver/program_state.h"
#include "win32/audio_notify_window.h"
#include "win32/clock.h"
#include "win32/environment.h"
#include "win32/file_system.h"
#include "win32/media_device.h"
#include "win32/message_boxes.h"
#include "win32/pickers.h"
#include "win32/program_windows.h"
#include "win32/session.h"
#include "win32/settings_store.h"
#include "win32/wallpaper.h"

namespace orv::win32 {

struct Services {
    Services() = default;
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    saver::ProgramState state;
    Win32SettingsStore store;
    Win32Environment environment;
    Win32MessageBoxes messages;
    Win32Clock clock;
    Win32Random random;
    Win32Session session;
    Win32Wallpaper wallpaper;
    Win32ProgramWindows windows{*this};
    Win32FileSystem files;
    Win32Pickers pickers;
    platform::Platform platform{store,   environment, messages, clock, random,
                                session, wallpaper,   windows,  files};
    // The music: the notification window hands each end-of-play status to
    // the player, the media worker each finished job.
    Win32AudioNotifyWindow notifyWindow{
        [this](std::uintptr_t status) { music.OnMciNotify(status); }};
    Win32MediaWorker media{notifyWindow};
    audio::MusicPlayer music{platform, media, notifyWindow};
};

} // namespace orv::win32
