#include "platform/win32/program_lifetime.h"

#include <windows.h>

#include <exception>
#include <string>

#include "common/app_title.h"
#include "platform/win32/wide.h"

namespace orv::win32 {
namespace {
int loadedForms = 0;
}

void FormLoaded() {
    ++loadedForms;
}

void FormUnloaded() {
    if (--loadedForms == 0) PostQuitMessage(0);
}

bool AnyFormLoaded() {
    return loadedForms > 0;
}

int RunMessageLoop() {
    MSG msg{};
    const DWORD ourProcess = GetCurrentProcessId();
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Dialog keys (Tab, Enter, Esc, access keys) for the dialog that has
        // them; never for a preview host, which belongs to another process.
        HWND top = GetAncestor(msg.hwnd, GA_ROOT);
        DWORD owner = 0;
        if (top) GetWindowThreadProcessId(top, &owner);
        if (top && owner == ourProcess && IsDialogMessageW(top, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void ShowRunTimeError(const RuntimeError& error) {
    const std::string text =
        "Run-time error '" + std::to_string(error.Number()) + "':\r\r" + error.Description();
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(kAppTitle).c_str(),
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void ReportFatal(const RuntimeError& error) {
    ShowRunTimeError(error);
    ExitProcess(static_cast<UINT>(error.Number()));
}

void ReportFatalCurrentException() noexcept {
    try {
        throw;
    } catch (const RuntimeError& error) {
        ReportFatal(error);
    } catch (const std::exception& error) {
        ReportFatal(RuntimeError(51, std::string("Internal error: ") + error.what()));
    } catch (...) {
        ReportFatal(RuntimeError(51, "Internal error"));
    }
}

} // namespace orv::win32
