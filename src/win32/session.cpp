#include "win32/session.h"

#include <windows.h>

#include "win32/settings_store.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

void Win32Session::ShowCursor(bool show) {
    ::ShowCursor(show ? TRUE : FALSE);
    cursorHidden_ += show ? -1 : 1;
}

void Win32Session::SetScreenSaverRunning(bool running) {
    UINT previous = 0;
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
    running_ = running;
}

void Win32Session::Restore() noexcept {
    for (; cursorHidden_ > 0; --cursorHidden_)
        ::ShowCursor(TRUE);
    if (running_) SetScreenSaverRunning(false);
}

std::optional<platform::RegistryValue> Win32Session::ReadUserValue(const std::string& keyPath,
                                                                   const std::string& valueName) {
    return ReadUserRegistryValue(keyPath, valueName);
}

std::optional<std::int32_t> Win32Session::VerifyPassword(std::intptr_t owner) {
    // Only the old consumer line of Windows has this dialog; everywhere else
    // the system locks the session itself.
    const unique_hmodule cpl(LoadLibraryW(L"password.cpl"));
    if (!cpl) return std::nullopt;
    using Verify = BOOL(WINAPI*)(HWND);
    const auto verify = reinterpret_cast<Verify>(
        reinterpret_cast<void*>(GetProcAddress(cpl.get(), "VerifyScreenSavePwd")));
    if (!verify) return std::nullopt;
    return static_cast<std::int32_t>(verify(reinterpret_cast<HWND>(owner)));
}

void Win32Session::ChangePassword(std::int32_t owner) {
    // mpr exports only the ANSI form; the provider name is plain ASCII.
    using ChangeFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    const unique_hmodule mpr(LoadLibraryW(L"mpr.dll"));
    if (!mpr) return;
    const auto change = reinterpret_cast<ChangeFn>(
        reinterpret_cast<void*>(GetProcAddress(mpr.get(), "PwdChangePasswordA")));
    if (!change) return;
    change("SCRSAVE", reinterpret_cast<HWND>(static_cast<INT_PTR>(owner)), 0, nullptr);
}

} // namespace orv::win32
