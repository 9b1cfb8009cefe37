#include "win32/program_lifetime.h"

#include <windows.h>

namespace orv::win32 {
namespace {
int openWindows = 0;
}

void WindowOpened() {
    ++openWindows;
}

void WindowClosed() {
    if (--openWindows == 0) PostQuitMessage(0);
}

bool AnyWindowOpen() {
    return openWindows > 0;
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

} // namespace orv::win32
