// The composition root: every Windows implementation of the platform
// services, built once by the entry point (main.cpp), and the program's own
// parts over them (program/program.h), which the core is handed.
#pragma once
#include "program/program.h"
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
    Win32Session session;
    Win32Wallpaper wallpaper;
    Win32FileSystem files;
    Win32Pickers pickers;
    Win32JobSystem jobSystem;
    Win32MediaThread mediaThread;
    program::Program program{
        {{store, environment, messages, clock, random, session, wallpaper, files},
         mediaThread,
         std::make_unique<Win32MediaDevice>(mediaThread.NotifyWindow()),
         jobSystem}};
    Win32ProgramWindows windows{*this};
};

} // namespace orv::win32
