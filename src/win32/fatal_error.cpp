#include "win32/fatal_error.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "common/app_title.h"
#include "win32/session.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

Win32Session* sessionToRestore = nullptr;
std::atomic<bool> fatalShowing{false};

// Our windows number their timers from 1; a few more than any of them uses.
constexpr UINT_PTR kHighestTimerId = 16;

BOOL CALLBACK StopTimers(HWND window, LPARAM) noexcept {
    for (UINT_PTR id = 1; id <= kHighestTimerId; ++id)
        KillTimer(window, id);
    return TRUE;
}

void ShowBox(const RuntimeError& error) noexcept {
    // Topmost and task-modal: above our full-screen window, and none of our
    // windows takes input while it is up.
    constexpr UINT kStyle = MB_OK | MB_ICONERROR | MB_TOPMOST | MB_TASKMODAL | MB_SETFOREGROUND;
    try {
        MessageBoxW(nullptr, Wide(FatalBoxText(error)).c_str(), Wide(kAppTitle).c_str(), kStyle);
    } catch (...) {
        MessageBoxW(nullptr, L"Run-time error", L"Orvandel", kStyle);
    }
}

} // namespace

void SetSessionToRestore(Win32Session* session) noexcept {
    sessionToRestore = session;
}

bool FatalErrorShowing() noexcept {
    return fatalShowing.load();
}

void ReportFatal(const RuntimeError& error) noexcept {
    const UINT code = static_cast<UINT>(error.Number());
    // A second error while the box is up (from a message its loop handed
    // on) never shows a second box.
    if (fatalShowing.exchange(true)) ExitProcess(code);
    EnumThreadWindows(GetCurrentThreadId(), StopTimers, 0);
    if (sessionToRestore) sessionToRestore->Restore();
    ShowBox(error);
    ExitProcess(code);
}

void ReportFatalCurrentException() noexcept {
    try {
        ReportFatal(CurrentRuntimeError());
    } catch (...) {
        ReportFatal(OutOfMemory()); // no room even to copy the error's text
    }
}

} // namespace orv::win32
