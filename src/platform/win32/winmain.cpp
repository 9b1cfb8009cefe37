// Entry point of Mirvo.scr: builds the Windows services, runs Main, then
// keeps the program alive for as long as one of its windows is loaded.
#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <string>

#include "common/runtime_error.h"
#include "platform/win32/program_lifetime.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_platform.h"
#include "startup/mod_screen_saver.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace orv;
    SetProcessDPIAware();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const win32::ComApartment com;

    modScreenSaver module;
    win32::Win32Platform services(module);
    try {
        Main(services.bundle, module);
    } catch (const RuntimeError& error) {
        win32::ShowRunTimeError(error);
        return error.Number();
    } catch (const std::exception& error) {
        const RuntimeError internal(51, std::string("Internal error: ") + error.what());
        win32::ShowRunTimeError(internal);
        return internal.Number();
    }
    if (!win32::AnyFormLoaded()) return 0;
    return win32::RunMessageLoop();
}
