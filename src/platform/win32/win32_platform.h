// Every Windows implementation of the platform services, built once by
// wWinMain and handed to the core as one Platform bundle.
#pragma once
#include "audio/mod_audio.h"
#include "platform/platform.h"
#include "platform/win32/audio_notify_window.h"
#include "platform/win32/basic_services.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/environment_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/forms_win32.h"
#include "platform/win32/media_win32.h"
#include "platform/win32/registry_store.h"
#include "startup/mod_screen_saver.h"

namespace orv::win32 {

struct Win32Platform {
    explicit Win32Platform(modScreenSaver& module)
        : forms(*this, module), audio(bundle, module, media, notifyWindow) {}

    RegistryStore store;
    Win32Environment environment;
    Win32MessageBoxes messages;
    Win32Clock clock;
    Win32Random random;
    Win32Desktop desktop;
    Win32Forms forms;
    Win32FileSystem files;
    platform::Platform bundle{store, environment, messages, clock, random, desktop, forms, files};
    // The music: frmAudioNotify hands each end-of-play status to modAudio.
    Win32AudioNotifyWindow notifyWindow{
        [this](std::uintptr_t status) { audio.OnMciNotify(status); }};
    Win32MediaDevice media{notifyWindow};
    modAudio audio;
};

} // namespace orv::win32
