#include "win32/message_loop.h"

#include <utility>

#include "program/program_lifetime.h"

namespace orv::win32 {
namespace {

using program::ProgramLifetime;
ProgramLifetime lifetime;
HANDLE watchSignal = nullptr;

// Dialog keys (Tab, Enter, Esc, access keys) for the dialog that has them;
// never for a preview host, which belongs to another process.
void Dispatch(MSG& msg) {
    const HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    DWORD owner = 0;
    if (top) GetWindowThreadProcessId(top, &owner);
    if (top && owner == GetCurrentProcessId() && IsDialogMessageW(top, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace

void WindowOpened() {
    lifetime.WindowOpened();
}

void WindowClosed() {
    if (lifetime.WindowClosed()) PostQuitMessage(0);
}

bool AnyWindowOpen() {
    return lifetime.AnyWindowOpen();
}

void SetWatch(HANDLE signal, std::function<void()> check) {
    watchSignal = signal;
    lifetime.SetWatch(std::move(check), ProgramLifetime::Clock::now());
}

void ClearWatch() {
    watchSignal = nullptr;
    lifetime.ClearWatch();
}

int RunMessageLoop() {
    for (;;) {
        const auto limit = lifetime.WaitLimit(ProgramLifetime::Clock::now());
        const DWORD handles = limit && watchSignal ? 1 : 0;
        const DWORD woke = MsgWaitForMultipleObjectsEx(
            handles, &watchSignal, limit ? static_cast<DWORD>(limit->count()) : INFINITE,
            QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        // A handle that has been signalled stays so, and one that can no
        // longer be waited on (Wine's, once its process was killed) fails at
        // once: either way it is not waited on again.
        const bool signalled = handles && (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED);
        if (signalled) watchSignal = nullptr;
        lifetime.AfterWait(signalled, ProgramLifetime::Clock::now());
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            Dispatch(msg);
        }
    }
}

} // namespace orv::win32
