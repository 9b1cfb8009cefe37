#include "win32/program_lifetime.h"

#include <utility>

namespace orv::win32 {
namespace {

constexpr ULONGLONG kWatchMs = 500;

int openWindows = 0;
struct Watch {
    HANDLE signal = nullptr;
    std::function<void()> check;
} watch;

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
    ++openWindows;
}

void WindowClosed() {
    if (--openWindows == 0) PostQuitMessage(0);
}

bool AnyWindowOpen() {
    return openWindows > 0;
}

void SetWatch(HANDLE signal, std::function<void()> check) {
    watch = {signal, std::move(check)};
}

void ClearWatch() {
    watch = {};
}

int RunMessageLoop() {
    ULONGLONG nextCheck = GetTickCount64() + kWatchMs;
    for (;;) {
        DWORD timeout = INFINITE, handles = 0;
        if (watch.check) {
            const ULONGLONG now = GetTickCount64();
            timeout = now >= nextCheck ? 0 : static_cast<DWORD>(nextCheck - now);
            handles = watch.signal ? 1 : 0;
        }
        const DWORD woke = MsgWaitForMultipleObjectsEx(handles, &watch.signal, timeout, QS_ALLINPUT,
                                                       MWMO_INPUTAVAILABLE);
        // A handle that has been signalled stays so, and one that can no
        // longer be waited on (Wine's, once its process was killed) fails at
        // once: either way it is not waited on again.
        const bool signalled = handles && (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED);
        if (signalled) watch.signal = nullptr;
        if (watch.check && (signalled || woke == WAIT_TIMEOUT)) {
            nextCheck = GetTickCount64() + kWatchMs;
            const auto check = watch.check; // the check may clear the watch
            check();
        }
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            Dispatch(msg);
        }
    }
}

} // namespace orv::win32
