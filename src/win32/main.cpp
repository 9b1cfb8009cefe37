// Entry point of Mirvo.scr: builds the Windows services (services.h), runs
// the start-up, then keeps the program alive for as long as one of its
// windows is open. Whatever escapes takes the fatal path, with the services
// still alive: they are built outside the try, so its catch can use them.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "startup/startup.h"
#include "win32/fatal_error.h"
#include "win32/message_loop.h"
#include "win32/services.h"
#include "win32/system_libraries.h"
#include "win32/unique_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace orv;
    // First: nothing of ours runs before this (no static initialisers), and
    // every library loaded from here on comes from the system folder.
    win32::SearchLibrariesInSystemFolderOnly();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const win32::ComApartment com;
    std::unique_ptr<win32::Services> services;
    int exitCode = 0;
    try {
        services = std::make_unique<win32::Services>();
        win32::SetSessionToRestore(&services->program.session);
        startup::Start(services->program.platform, services->windows);
        exitCode = win32::AnyWindowOpen() ? win32::RunMessageLoop() : 0;
        // Every window is gone. What still runs on another thread (a decode
        // being cancelled, the music device closing) gets a moment to end
        // and is then joined. What does not end by then (a device that does
        // not answer) is not waited for: the services stay as they are, with
        // their threads, until the process ends as usual.
        if (!services->program.Stop()) services.release();
    } catch (...) {
        win32::ReportFatalCurrentException();
    }
    win32::SetSessionToRestore(nullptr);
    return exitCode;
}
